#include "framework/gdi/PixelMemory.h"

#include <atomic>
#include <new>

#include "framework/gdi/PixelPages.h"

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

// Below this a block is cheap to fault in and the heap serves it better.
constexpr size_t kMappedFrom = 4u << 20;

size_t RoundUp(size_t n, size_t to) {
    return (n + to - 1) / to * to;
}

} // namespace

uint64_t CPixelBudget::DefaultLimit() {
    const uint64_t nQuarter = AfxGetPhysicalMemory() / 4,
                   nHalfSpace = AfxGetAddressSpaceLimit() / 2;
    uint64_t limit = kTwoGiB;
    if (nQuarter > 0 && nQuarter < limit)
        limit = nQuarter;
    if (nHalfSpace > 0 && nHalfSpace < limit)
        limit = nHalfSpace;
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
        AfxFreePixelPages(p, m_nBytes);
    else
        delete[] p;
    CPixelBudget::Release(m_nBytes);
}

PixelMemoryPtr AllocatePixelMemory(size_t nWords) {
    if (nWords > (SIZE_MAX - PIXEL_PAGE_GRAIN) / sizeof(uint32_t))
        return nullptr;
    const size_t bytes = nWords * sizeof(uint32_t);
    const bool bMapped = bytes >= kMappedFrom;
    const size_t charged = bMapped ? RoundUp(bytes, PIXEL_PAGE_GRAIN) : bytes;
    if (!CPixelBudget::Reserve(charged))
        return nullptr;
    if (bMapped) {
        if (void* p = AfxAllocatePixelPages(charged))
            return PixelMemoryPtr(static_cast<uint32_t*>(p), CPixelMemoryFree(charged, true));
    }
    if (uint32_t* p = new (std::nothrow) uint32_t[nWords]())
        return PixelMemoryPtr(p, CPixelMemoryFree(charged, false));
    CPixelBudget::Release(charged);
    return nullptr;
}
