#include "framework/system/File.h"

#include <cstdint>

CFile::~CFile() {
    Close();
}

// The position is ours (reads and writes say where they go), so a seek costs no system call.
ULONGLONG CFile::Seek(int64_t offset, UINT nFrom) {
    if (m_hFile < 0)
        return (ULONGLONG)-1;
    const int64_t base =
        nFrom == end ? (int64_t)GetLength() : (nFrom == current ? (int64_t)m_nPosition : 0);
    if ((offset < 0 && base + offset < 0) || (offset > 0 && base > INT64_MAX - offset))
        return (ULONGLONG)-1;
    m_nPosition = (ULONGLONG)(base + offset);
    return m_nPosition;
}
