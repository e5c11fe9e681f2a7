// Text with value semantics. Held as UTF-8 in memory; lengths and indices count bytes.
#pragma once

#include <string>

#include "framework/core/WinTypes.h"

class CString {
public:
    CString() = default;
    CString(const char* s) : m_str(s ? s : "") {}
    CString(const char* s, int nLength)
        : m_str(s ? std::string(s, nLength > 0 ? nLength : 0) : "") {}
    CString(char ch, int nRepeat) : m_str(nRepeat > 0 ? nRepeat : 0, ch) {}
    CString(std::string s) : m_str(std::move(s)) {}

    int GetLength() const { return (int)m_str.size(); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    const char* GetString() const { return m_str.c_str(); }
    operator LPCTSTR() const { return m_str.c_str(); }
    char GetAt(int i) const { return m_str[(size_t)i]; }
    char operator[](int i) const { return m_str[(size_t)i]; }
    const std::string& Str() const { return m_str; }

    CString& operator=(const char* s) {
        m_str = s ? s : "";
        return *this;
    }
    CString& operator+=(const CString& s) {
        m_str += s.m_str;
        return *this;
    }
    CString& operator+=(const char* s) {
        if (s)
            m_str += s;
        return *this;
    }
    CString& operator+=(char c) {
        m_str += c;
        return *this;
    }
    friend CString operator+(const CString& a, const CString& b) {
        return CString(a.m_str + b.m_str);
    }
    friend CString operator+(const CString& a, const char* b) {
        return CString(a.m_str + (b ? b : ""));
    }
    friend CString operator+(const char* a, const CString& b) {
        return CString((a ? a : "") + b.m_str);
    }
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, const char* b) { return a.m_str == (b ? b : ""); }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const char* b) { return !(a == b); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_str < b.m_str; }
    // Byte-wise comparison: negative, zero or positive.
    int Compare(const char* s) const { return m_str.compare(s ? s : ""); }

    int Find(const char* sub, int nStart = 0) const;
    int Find(char ch, int nStart = 0) const;
    CString Left(int n) const;
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Right(int n) const;

    // printf-style formatting; the result replaces the text.
    void Format(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
    // The string-table entry of that id from the program's resources; FALSE leaves it empty.
    BOOL LoadString(UINT nID);

private:
    std::string m_str;
};
