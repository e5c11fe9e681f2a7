// The error a damaged or truncated collection raises while it is read.
#pragma once

#include "framework/core/Exception.h"

class CArchiveException : public CException {
public:
    enum {
        none = 0,
        genericException = 1,
        readOnly = 2,
        endOfFile = 3,
        writeOnly = 4,
        badIndex = 5,
        badClass = 6,
        badSchema = 7
    };
    explicit CArchiveException(int cause = none) : m_cause(cause) {}
    int m_cause;
};
