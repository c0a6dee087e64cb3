#include <windows.h>

#include "afxwin.h"

const CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), 0xFFFF, NULL, NULL};

CObject::CObject() {}

CObject::~CObject() {}

CRuntimeClass* PASCAL CObject::GetThisClass()
{
    return _RUNTIME_CLASS(CObject);
}

CRuntimeClass* CObject::GetRuntimeClass() const
{
    return _RUNTIME_CLASS(CObject);
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

CObject* CRuntimeClass::CreateObject() const
{
    return m_pfnCreateObject != NULL ? m_pfnCreateObject() : NULL;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    for (const CRuntimeClass* pClass = this; pClass != NULL;
         pClass = pClass->m_pfnGetBaseClass != NULL ? pClass->m_pfnGetBaseClass() : NULL)
        if (pClass == pBaseClass)
            return TRUE;
    return FALSE;
}

void AfxAssertFailed(const char* file, int line)
{
    char text[MAX_PATH + 64];
    wsprintfA(text, "Assertion failed: %s(%d)\n", file, line);
    OutputDebugStringA(text);
}

void AfxTrace(LPCSTR format, ...)
{
    CString text;
    va_list args;
    va_start(args, format);
    text.FormatV(format, args);
    va_end(args);
    OutputDebugStringA(text);
}
