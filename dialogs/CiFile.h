#pragma once
#include <windows.h>
#include <afxwin.h>
#include <afxver_.h>

// A file of one local folder offered for check-in.
class AFX_EXT_CLASS CiFile
{
public:
    CiFile();
    CiFile(const CiFile& other);
    CiFile& operator=(const CiFile& other);
    ~CiFile();

    CString m_sFileName; // the repository item name, without folder
    int m_bNew;          // non-zero: not yet in the repository (shown only)
};
