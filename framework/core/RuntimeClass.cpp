#include "framework/core/RuntimeClass.h"

#include <cstring>

namespace {

// The registry is a list threaded through the classes themselves: registering allocates
// nothing and works from any static initialiser.
CRuntimeClass*& FirstClass() {
    static CRuntimeClass* s_pFirst = nullptr;
    return s_pFirst;
}

CRuntimeClass* LinkClass(CRuntimeClass* pClass) {
    pClass->m_pNextClass = FirstClass();
    FirstClass() = pClass;
    return pClass;
}

} // namespace

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass) {
    LinkClass(pNewClass);
}

const CRuntimeClass* CRuntimeClass::GetBaseClass() const {
    return m_pfnGetBaseClass ? m_pfnGetBaseClass() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
    for (const CRuntimeClass* p = this; p; p = p->GetBaseClass())
        if (p == pBaseClass)
            return TRUE;
    return FALSE;
}

CObject* CRuntimeClass::CreateObject() const {
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

const CRuntimeClass* CRuntimeClass::FromName(LPCSTR lpszClassName) {
    if (!lpszClassName)
        return nullptr;
    for (const CRuntimeClass* p = FirstClass(); p; p = p->m_pNextClass)
        if (std::strcmp(p->m_lpszClassName, lpszClassName) == 0)
            return p;
    return nullptr;
}

// The framework's own classes, registered by name with their bases; none is made by name.
#define AFX_FRAMEWORK_CLASS(class_name, pfnBase)                                                   \
    static CRuntimeClass class##class_name = {#class_name, 0, nullptr, pfnBase, nullptr};          \
    static const AFX_CLASSINIT _init_##class_name(&class##class_name);                             \
    const CRuntimeClass* AfxRuntimeClassOf<class_name>::Get() {                                    \
        return &class##class_name;                                                                 \
    }
AFX_FRAMEWORK_CLASS(CObject, nullptr)
AFX_FRAMEWORK_CLASS(CCmdTarget, []() { return RUNTIME_CLASS(CObject); })
AFX_FRAMEWORK_CLASS(CWnd, []() { return RUNTIME_CLASS(CCmdTarget); })
AFX_FRAMEWORK_CLASS(CButton, []() { return RUNTIME_CLASS(CWnd); })
AFX_FRAMEWORK_CLASS(CStatic, []() { return RUNTIME_CLASS(CWnd); })
AFX_FRAMEWORK_CLASS(CComboBox, []() { return RUNTIME_CLASS(CWnd); })
AFX_FRAMEWORK_CLASS(CDialog, []() { return RUNTIME_CLASS(CWnd); })
#undef AFX_FRAMEWORK_CLASS
