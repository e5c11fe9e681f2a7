#include "framework/core/String.h"

#include <cstdarg>
#include <cstdio>

namespace {
int Clamp(int v, int lo, int hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}
} // namespace

int CString::Find(const char* sub, int nStart) const {
    if (!sub || nStart < 0 || nStart > GetLength())
        return -1;
    const size_t pos = m_str.find(sub, (size_t)nStart);
    return pos == std::string::npos ? -1 : (int)pos;
}

int CString::Find(char ch, int nStart) const {
    if (nStart < 0 || nStart > GetLength())
        return -1;
    const size_t pos = m_str.find(ch, (size_t)nStart);
    return pos == std::string::npos ? -1 : (int)pos;
}

CString CString::Left(int n) const {
    return CString(m_str.substr(0, (size_t)Clamp(n, 0, GetLength())));
}

CString CString::Mid(int nFirst) const {
    return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const {
    const int first = Clamp(nFirst, 0, GetLength());
    const int count = Clamp(nCount, 0, GetLength() - first);
    return CString(m_str.substr((size_t)first, (size_t)count));
}

CString CString::Right(int n) const {
    const int count = Clamp(n, 0, GetLength());
    return CString(m_str.substr((size_t)(GetLength() - count)));
}

void CString::Format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    if (n < 0) {
        m_str.clear();
    } else {
        std::string out((size_t)n + 1, '\0');
        std::vsnprintf(out.data(), out.size(), fmt, args);
        out.resize((size_t)n);
        m_str.swap(out);
    }
    va_end(args);
}
