#include "framework/gdi/PixelPages.h"

#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

size_t RoundUp(size_t n, size_t to) {
    return (n + to - 1) / to * to;
}

} // namespace

// Maps the block at a huge-page boundary, so that every part of it can be backed by huge
// pages: the first write to a fresh picture then costs a few dozen page faults instead of
// thousands. The unaligned head and tail are given back.
void* AfxAllocatePixelPages(size_t bytes) {
    const size_t span = bytes + PIXEL_PAGE_GRAIN;
    void* p = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        return nullptr;
    const uintptr_t start = (uintptr_t)p;
    const uintptr_t aligned = RoundUp(start, PIXEL_PAGE_GRAIN);
    if (aligned > start)
        munmap(p, aligned - start);
    const size_t tail = (start + span) - (aligned + bytes);
    if (tail > 0)
        munmap((void*)(aligned + bytes), tail);
    madvise((void*)aligned, bytes, MADV_HUGEPAGE);
    return (void*)aligned;
}

void AfxFreePixelPages(void* p, size_t nBytes) {
    munmap(p, nBytes);
}

uint64_t AfxGetPhysicalMemory() {
    const long pages = sysconf(_SC_PHYS_PAGES), pageSize = sysconf(_SC_PAGE_SIZE);
    return pages > 0 && pageSize > 0 ? (uint64_t)pages * (uint64_t)pageSize : 0;
}

uint64_t AfxGetAddressSpaceLimit() {
    rlimit space;
    if (getrlimit(RLIMIT_AS, &space) != 0 || space.rlim_cur == RLIM_INFINITY)
        return 0;
    return (uint64_t)space.rlim_cur;
}
