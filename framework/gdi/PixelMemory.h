// Zero-filled memory for bitmap bits. Large blocks come straight from the kernel, which hands
// them out zeroed, in transparent huge pages where the system allows them: the first write to
// a fresh 12-megapixel picture then costs a few dozen page faults instead of thousands, which
// on a virtual machine is most of the time a picture takes to load.
//
// Every block is charged to one budget for all the pixels the program holds at once (bitmap
// bits here, image lists in ImageList.cpp): a collection may point many items at one huge
// record, and each held copy of it would otherwise be honoured.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

class CPixelBudget {
public:
    // The smaller of a quarter of the machine's memory, 2 GiB and half the address space the
    // process may map (ulimit -v).
    static uint64_t DefaultLimit();
    static uint64_t GetLimit();
    // Tests set a small one; the bytes already held stay charged.
    static void SetLimit(uint64_t nBytes);
    static uint64_t GetUsed();
    // What a new block may still take (0 when the budget is spent).
    static uint64_t GetAvailable();
    // Charges nBytes; false, and nothing charged, when they would pass the limit.
    static bool Reserve(uint64_t nBytes);
    static void Release(uint64_t nBytes);
};

class CPixelMemoryFree {
public:
    CPixelMemoryFree() = default;
    CPixelMemoryFree(size_t nBytes, bool bMapped) : m_nBytes(nBytes), m_bMapped(bMapped) {}
    void operator()(uint32_t* p) const;

private:
    size_t m_nBytes = 0;    // charged to the budget (the mapped length when mapped)
    bool m_bMapped = false; // false: the block came from operator new
};

using PixelMemoryPtr = std::unique_ptr<uint32_t[], CPixelMemoryFree>;

// nWords zero-filled 32-bit words, or null when the memory cannot be had or would pass the
// pixel budget.
PixelMemoryPtr AllocatePixelMemory(size_t nWords);
