#include "framework/gdi/PixelMemory.h"

#include <new>

#include <sys/mman.h>

namespace {

constexpr size_t kHugePage = 2u << 20;
// Below this a block is cheap to fault in and the heap serves it better.
constexpr size_t kMappedFrom = 4u << 20;

size_t RoundUp(size_t n, size_t to) { return (n + to - 1) / to * to; }

// Maps `bytes` (a multiple of the huge-page size) at a huge-page boundary, so that every part
// of the block can be backed by huge pages; the unaligned head and tail are given back.
void* MapAligned(size_t bytes) {
    const size_t span = bytes + kHugePage;
    void* p = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) return nullptr;
    const uintptr_t start = (uintptr_t)p;
    const uintptr_t aligned = RoundUp(start, kHugePage);
    if (aligned > start) munmap(p, aligned - start);
    const size_t tail = (start + span) - (aligned + bytes);
    if (tail > 0) munmap((void*)(aligned + bytes), tail);
    madvise((void*)aligned, bytes, MADV_HUGEPAGE);
    return (void*)aligned;
}

} // namespace

void CPixelMemoryFree::operator()(uint32_t* p) const {
    if (p == nullptr) return;
    if (m_nMappedBytes != 0)
        munmap(p, m_nMappedBytes);
    else
        delete[] p;
}

PixelMemoryPtr AllocatePixelMemory(size_t nWords) {
    const size_t bytes = nWords * sizeof(uint32_t);
    if (bytes >= kMappedFrom) {
        const size_t mapped = RoundUp(bytes, kHugePage);
        if (void* p = MapAligned(mapped))
            return PixelMemoryPtr(static_cast<uint32_t*>(p), CPixelMemoryFree(mapped));
    }
    return PixelMemoryPtr(new (std::nothrow) uint32_t[nWords](), CPixelMemoryFree());
}
