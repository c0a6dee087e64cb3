#pragma once
#include <windows.h>
#include <afxwin.h>
#include <afxver_.h>

// One version of a repository item, as the history dialog shows it.
class AFX_EXT_CLASS HItemVerion
{
public:
    HItemVerion();
    HItemVerion(const HItemVerion& other);
    HItemVerion& operator=(const HItemVerion& other);
    ~HItemVerion();

    unsigned long m_nVersionObjId;
    CString m_sVersionName;
    CString m_sDescription;
    int m_nUserData;
    CString m_sModifier;
    CString m_sModifiedTime; // "yy-mm-dd hh:mm", the year counted from 2000
    CString m_sPackageName;
    CString m_sStatus;        // "N" normal, "R" reserved by a check-out, ...
    CString m_sClientMachine; // only for "R"
    CString m_sClientPath;    // only for "R"
};
