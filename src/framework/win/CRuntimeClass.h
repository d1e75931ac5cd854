// What a document template needs to make the objects of a class it is given by name: a
// factory per class, declared with DECLARE_DYNCREATE and defined with IMPLEMENT_DYNCREATE.
#pragma once

class CCmdTarget;

struct CRuntimeClass {
    const char* m_lpszClassName;
    CCmdTarget* (*m_pfnCreateObject)();

    CCmdTarget* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
};

#define DECLARE_DYNCREATE(theClass)                  \
public:                                              \
    static const CRuntimeClass class##theClass;      \
    static CCmdTarget* CreateObject();

#define IMPLEMENT_DYNCREATE(theClass, baseClass)                                         \
    CCmdTarget* theClass::CreateObject() { return new theClass; }                        \
    const CRuntimeClass theClass::class##theClass = { #theClass, &theClass::CreateObject };

#define RUNTIME_CLASS(theClass) (&theClass::class##theClass)
