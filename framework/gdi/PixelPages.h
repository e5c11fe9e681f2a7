// The platform's side of pixel memory: large zero-filled blocks straight from the system, and
// how much memory the machine and the process may have.
#pragma once

#include <cstddef>
#include <cstdint>

// Blocks are asked for in multiples of this (a huge page where the system has them).
constexpr size_t PIXEL_PAGE_GRAIN = 2u << 20;

// nBytes (a multiple of PIXEL_PAGE_GRAIN) of zeroed memory, or null.
void* AfxAllocatePixelPages(size_t nBytes);
void AfxFreePixelPages(void* p, size_t nBytes);
// The machine's physical memory in bytes; 0 when unknown.
uint64_t AfxGetPhysicalMemory();
// The address space the process may map in bytes; 0 when unlimited or unknown.
uint64_t AfxGetAddressSpaceLimit();
