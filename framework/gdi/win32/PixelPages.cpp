#include "framework/gdi/PixelPages.h"

#include <windows.h>

// VirtualAlloc hands out committed pages that the system zeroes on first touch.
void* AfxAllocatePixelPages(size_t nBytes) {
    return VirtualAlloc(nullptr, nBytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void AfxFreePixelPages(void* p, size_t) {
    VirtualFree(p, 0, MEM_RELEASE);
}

uint64_t AfxGetPhysicalMemory() {
    MEMORYSTATUSEX status;
    status.dwLength = sizeof status;
    return GlobalMemoryStatusEx(&status) ? status.ullTotalPhys : 0;
}

// A 64-bit process's address space is never the limit; the commit charge is, and the
// physical-memory quarter already stays well inside it.
uint64_t AfxGetAddressSpaceLimit() {
    return 0;
}
