// A growable array of object pointers. It does not own the objects: whoever fills it deletes
// them.
#pragma once

#include <vector>

#include "framework/core/Object.h"
#include "framework/core/WinTypes.h"

class CObArray {
public:
    int GetSize() const { return (int)m_items.size(); }
    int GetCount() const { return GetSize(); }
    int GetUpperBound() const { return GetSize() - 1; }
    void SetSize(int n) { m_items.resize(n > 0 ? (size_t)n : 0, nullptr); }
    CObject* GetAt(int i) const { return m_items[(size_t)i]; }
    void SetAt(int i, CObject* p) { m_items[(size_t)i] = p; }
    CObject*& ElementAt(int i) { return m_items[(size_t)i]; }
    CObject*& operator[](int i) { return m_items[(size_t)i]; }
    CObject* operator[](int i) const { return m_items[(size_t)i]; }
    int Add(CObject* p) {
        m_items.push_back(p);
        return GetSize() - 1;
    }
    void RemoveAll() { m_items.clear(); }

private:
    std::vector<CObject*> m_items;
};
