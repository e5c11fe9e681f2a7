#include "framework/system/Resources.h"

#include <cstring>

#include "framework/core/String.h"

namespace {
const RESOURCE_ENTRY* g_pResources = nullptr;
int g_nResources = 0;

// Integer types match by value, named types by text; an integer never matches a name.
bool SameType(LPCSTR a, LPCSTR b) {
    if (IS_INTRESOURCE(a) || IS_INTRESOURCE(b))
        return a == b;
    return std::strcmp(a, b) == 0;
}

const RESOURCE_ENTRY* ToEntry(HRSRC res) {
    return reinterpret_cast<const RESOURCE_ENTRY*>(res);
}
} // namespace

void AfxSetResourceTable(const RESOURCE_ENTRY* entries, int count) {
    g_pResources = entries;
    g_nResources = entries && count > 0 ? count : 0;
}

const RESOURCE_ENTRY* AfxFindResource(LPCSTR type, UINT id) {
    if (!type)
        return nullptr;
    for (int i = 0; i < g_nResources; ++i) {
        const RESOURCE_ENTRY& entry = g_pResources[i];
        if (entry.id == id && SameType(entry.type, type))
            return &entry;
    }
    return nullptr;
}

HINSTANCE AfxGetResourceHandle() {
    // The program has one module; any non-null handle names it.
    static char s_module;
    return reinterpret_cast<HINSTANCE>(&s_module);
}

HRSRC FindResource(HMODULE, LPCSTR name, LPCSTR type) {
    // Resources are known by number only, as the program names them.
    if (!name || !IS_INTRESOURCE(name))
        return nullptr;
    const RESOURCE_ENTRY* entry = AfxFindResource(type, (UINT)(ULONG_PTR)name);
    return reinterpret_cast<HRSRC>(const_cast<RESOURCE_ENTRY*>(entry));
}

HGLOBAL LoadResource(HMODULE, HRSRC res) {
    return reinterpret_cast<HGLOBAL>(res);
}

LPVOID LockResource(HGLOBAL data) {
    if (!data)
        return nullptr;
    return const_cast<void*>(ToEntry(reinterpret_cast<HRSRC>(data))->data);
}

DWORD SizeofResource(HMODULE, HRSRC res) {
    return res ? ToEntry(res)->size : 0;
}

BOOL CString::LoadString(UINT nID) {
    const RESOURCE_ENTRY* entry = AfxFindResource(RT_STRING, nID);
    if (!entry || !entry->data) {
        Empty();
        return FALSE;
    }
    m_str.assign(static_cast<const char*>(entry->data), entry->size);
    return TRUE;
}
