// A growable array of strings that owns them. Stored in blocks, so that growing it one string
// at a time never moves or copies the strings already held.
#pragma once

#include <deque>

#include "framework/core/String.h"

class CStringArray {
public:
    int GetSize() const { return (int)m_items.size(); }
    int GetCount() const { return GetSize(); }
    int GetUpperBound() const { return GetSize() - 1; }
    BOOL IsEmpty() const { return m_items.empty(); }
    void SetSize(int n) { m_items.resize(n > 0 ? (size_t)n : 0); }
    const CString& GetAt(int i) const { return m_items[(size_t)i]; }
    void SetAt(int i, const CString& s) { m_items[(size_t)i] = s; }
    CString& ElementAt(int i) { return m_items[(size_t)i]; }
    CString& operator[](int i) { return m_items[(size_t)i]; }
    const CString& operator[](int i) const { return m_items[(size_t)i]; }
    int Add(const CString& s) {
        m_items.push_back(s);
        return GetSize() - 1;
    }
    int Add(CString&& s) {
        m_items.push_back(std::move(s));
        return GetSize() - 1;
    }
    void RemoveAll() { m_items.clear(); }

private:
    std::deque<CString> m_items;
};
