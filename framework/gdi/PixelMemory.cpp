#include "framework/gdi/PixelMemory.h"

#include <atomic>
#include <new>

#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr uint64_t kTwoGiB = uint64_t(2) << 30;
// Pictures are decoded on several threads at once: the budget is charged and released with
// atomic operations, so that two decodes can never both take its last bytes.
std::atomic<uint64_t> g_nUsed{0};

// Set on first use: bitmaps made while statics are built are charged too.
std::atomic<uint64_t>& Limit() {
    static std::atomic<uint64_t> s_nLimit{CPixelBudget::DefaultLimit()};
    return s_nLimit;
}

constexpr size_t kHugePage = 2u << 20;
// Below this a block is cheap to fault in and the heap serves it better.
constexpr size_t kMappedFrom = 4u << 20;

size_t RoundUp(size_t n, size_t to) {
    return (n + to - 1) / to * to;
}

// Maps `bytes` (a multiple of the huge-page size) at a huge-page boundary, so that every part
// of the block can be backed by huge pages; the unaligned head and tail are given back.
void* MapAligned(size_t bytes) {
    const size_t span = bytes + kHugePage;
    void* p = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        return nullptr;
    const uintptr_t start = (uintptr_t)p;
    const uintptr_t aligned = RoundUp(start, kHugePage);
    if (aligned > start)
        munmap(p, aligned - start);
    const size_t tail = (start + span) - (aligned + bytes);
    if (tail > 0)
        munmap((void*)(aligned + bytes), tail);
    madvise((void*)aligned, bytes, MADV_HUGEPAGE);
    return (void*)aligned;
}

} // namespace

uint64_t CPixelBudget::DefaultLimit() {
    const long pages = sysconf(_SC_PHYS_PAGES), pageSize = sysconf(_SC_PAGE_SIZE);
    uint64_t limit = kTwoGiB;
    if (pages > 0 && pageSize > 0 && (uint64_t)pages * (uint64_t)pageSize / 4 < limit)
        limit = (uint64_t)pages * (uint64_t)pageSize / 4;
    rlimit space;
    if (getrlimit(RLIMIT_AS, &space) == 0 && space.rlim_cur != RLIM_INFINITY &&
        (uint64_t)space.rlim_cur / 2 < limit)
        limit = (uint64_t)space.rlim_cur / 2;
    return limit;
}

uint64_t CPixelBudget::GetLimit() {
    return Limit();
}
void CPixelBudget::SetLimit(uint64_t nBytes) {
    Limit() = nBytes;
}
uint64_t CPixelBudget::GetUsed() {
    return g_nUsed;
}
uint64_t CPixelBudget::GetAvailable() {
    const uint64_t used = g_nUsed.load(), limit = Limit().load();
    return used < limit ? limit - used : 0;
}

bool CPixelBudget::Reserve(uint64_t nBytes) {
    uint64_t used = g_nUsed.load();
    do {
        const uint64_t limit = Limit().load();
        if (used > limit || nBytes > limit - used)
            return false;
    } while (!g_nUsed.compare_exchange_weak(used, used + nBytes));
    return true;
}

void CPixelBudget::Release(uint64_t nBytes) {
    uint64_t used = g_nUsed.load();
    while (!g_nUsed.compare_exchange_weak(used, nBytes < used ? used - nBytes : 0)) {
    }
}

void CPixelMemoryFree::operator()(uint32_t* p) const {
    if (p == nullptr)
        return;
    if (m_bMapped)
        munmap(p, m_nBytes);
    else
        delete[] p;
    CPixelBudget::Release(m_nBytes);
}

PixelMemoryPtr AllocatePixelMemory(size_t nWords) {
    if (nWords > (SIZE_MAX - kHugePage) / sizeof(uint32_t))
        return nullptr;
    const size_t bytes = nWords * sizeof(uint32_t);
    const bool bMapped = bytes >= kMappedFrom;
    const size_t charged = bMapped ? RoundUp(bytes, kHugePage) : bytes;
    if (!CPixelBudget::Reserve(charged))
        return nullptr;
    if (bMapped) {
        if (void* p = MapAligned(charged))
            return PixelMemoryPtr(static_cast<uint32_t*>(p), CPixelMemoryFree(charged, true));
    }
    if (uint32_t* p = new (std::nothrow) uint32_t[nWords]())
        return PixelMemoryPtr(p, CPixelMemoryFree(charged, false));
    CPixelBudget::Release(charged);
    return nullptr;
}
