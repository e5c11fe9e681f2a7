// A forward-only source of bytes that knows how many remain, so that a reader can check a
// length taken from its input before it allocates for it.
#pragma once

#include "framework/core/WinTypes.h"

class CByteSource {
public:
    virtual ~CByteSource() = default;
    // Copies up to n bytes; returns how many were copied (fewer only at the end).
    virtual UINT Read(void* buffer, UINT n) = 0;
    // The number of bytes that remain to be read.
    virtual ULONGLONG GetRemaining() const = 0;
};
