#pragma once
#include <windows.h>
#include <afxwin.h>
#include <afxver_.h>

// A file offered for check-in together with its own local folder below the local root.
class AFX_EXT_CLASS CiFileEx
{
public:
    CiFileEx();
    CiFileEx(const CiFileEx& other);
    CiFileEx& operator=(const CiFileEx& other);
    ~CiFileEx();

    CString m_sFileName; // the repository item name, without folder
    int m_bNew;          // non-zero: not yet in the repository (shown only)
    CString m_sFilePath; // its local folder, without trailing backslash
};
