// Zero-filled memory for bitmap bits. Large blocks come straight from the kernel, which hands
// them out zeroed, in transparent huge pages where the system allows them: the first write to
// a fresh 12-megapixel picture then costs a few dozen page faults instead of thousands, which
// on a virtual machine is most of the time a picture takes to load.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

class CPixelMemoryFree {
public:
    explicit CPixelMemoryFree(size_t nMappedBytes = 0) : m_nMappedBytes(nMappedBytes) {}
    void operator()(uint32_t* p) const;

private:
    size_t m_nMappedBytes; // 0: the block came from operator new
};

using PixelMemoryPtr = std::unique_ptr<uint32_t[], CPixelMemoryFree>;

// nWords zero-filled 32-bit words, or null when the memory cannot be had.
PixelMemoryPtr AllocatePixelMemory(size_t nWords);
