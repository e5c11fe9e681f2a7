// Runtime classes: every class that declares one can be named, asked for its base and, when it
// is creatable, made from its name. The classes register themselves as the program starts.
#pragma once

#include "framework/core/Object.h"
#include "framework/core/WinTypes.h"

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    // Null for a class that cannot be made from its name.
    CObject* (*m_pfnCreateObject)();
    // A function rather than a pointer, so that no class depends on its base's start-up order.
    const CRuntimeClass* (*m_pfnGetBaseClass)();
    const CRuntimeClass* m_pNextClass;

    const CRuntimeClass* GetBaseClass() const;
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
    // A new object of this class, or null when the class is not creatable.
    CObject* CreateObject() const;
    // The registered class of that name, or null.
    static const CRuntimeClass* FromName(LPCSTR lpszClassName);
};

// Links one class into the registry; one static instance per class.
struct AFX_CLASSINIT {
    explicit AFX_CLASSINIT(CRuntimeClass* pNewClass);
};

// The runtime class of a type. Classes declare theirs with DECLARE_DYNAMIC/DECLARE_DYNCREATE;
// the framework classes below carry theirs here, so that their headers need not change.
template <class T> struct AfxRuntimeClassOf {
    static const CRuntimeClass* Get() { return T::GetThisClass(); }
};
#define RUNTIME_CLASS(class_name) (AfxRuntimeClassOf<class_name>::Get())

#define AFX_FRAMEWORK_RUNTIME_CLASS(class_name)                                                    \
    class class_name;                                                                              \
    template <> struct AfxRuntimeClassOf<class_name> { static const CRuntimeClass* Get(); }
AFX_FRAMEWORK_RUNTIME_CLASS(CObject);
AFX_FRAMEWORK_RUNTIME_CLASS(CCmdTarget);
AFX_FRAMEWORK_RUNTIME_CLASS(CWnd);
AFX_FRAMEWORK_RUNTIME_CLASS(CButton);
AFX_FRAMEWORK_RUNTIME_CLASS(CStatic);
AFX_FRAMEWORK_RUNTIME_CLASS(CComboBox);
AFX_FRAMEWORK_RUNTIME_CLASS(CDialog);
#undef AFX_FRAMEWORK_RUNTIME_CLASS

// The first class of a chain declares GetRuntimeClass and the later ones override it; one macro
// serves both, so clang is told not to ask for "override" on the later ones.
#ifdef __clang__
#define AFX_BEGIN_RUNTIMECLASS_OVERRIDE                                                            \
    _Pragma("clang diagnostic push")                                                               \
        _Pragma("clang diagnostic ignored \"-Winconsistent-missing-override\"")
#define AFX_END_RUNTIMECLASS_OVERRIDE _Pragma("clang diagnostic pop")
#else
#define AFX_BEGIN_RUNTIMECLASS_OVERRIDE
#define AFX_END_RUNTIMECLASS_OVERRIDE
#endif

#define DECLARE_DYNAMIC(class_name)                                                                \
public:                                                                                            \
    static CRuntimeClass class##class_name;                                                        \
    static const CRuntimeClass* GetThisClass() {                                                   \
        return &class_name::class##class_name;                                                     \
    }                                                                                              \
    AFX_BEGIN_RUNTIMECLASS_OVERRIDE                                                                \
    virtual const CRuntimeClass* GetRuntimeClass() const {                                         \
        return GetThisClass();                                                                     \
    }                                                                                              \
    AFX_END_RUNTIMECLASS_OVERRIDE

#define DECLARE_DYNCREATE(class_name)                                                              \
    DECLARE_DYNAMIC(class_name)                                                                    \
    static CObject* CreateObject();

#define AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, pfnNew)                            \
    CRuntimeClass class_name::class##class_name = {                                                \
        #class_name, (int)sizeof(class_name), pfnNew,                                              \
        []() -> const CRuntimeClass* { return RUNTIME_CLASS(base_class_name); }, nullptr};         \
    static const AFX_CLASSINIT _init_##class_name(&class_name::class##class_name);

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                             \
    AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                           \
    CObject* class_name::CreateObject() {                                                          \
        return new class_name;                                                                     \
    }                                                                                              \
    AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, class_name::CreateObject)
