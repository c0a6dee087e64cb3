#include <windows.h>
#include <commdlg.h>

#include "afxdlgs.h"
#include "AfxInternal.h"

#include <string.h>

#include <utility>

IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)
IMPLEMENT_DYNAMIC(CFileDialog, CCommonDialog)

namespace
{
AFX_FILEDIALOG_HOOK& FileDialogHook()
{
    static AFX_FILEDIALOG_HOOK hook;
    return hook;
}
} // namespace

void AFXAPI AfxSetFileDialogHook(AFX_FILEDIALOG_HOOK hook)
{
    FileDialogHook() = std::move(hook);
}

CCommonDialog::CCommonDialog(CWnd* pParentWnd) : CDialog(static_cast<UINT>(0), pParentWnd) {}

CCommonDialog::~CCommonDialog() {}

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName,
                         DWORD dwFlags, LPCSTR lpszFilter, CWnd* pParentWnd, DWORD, BOOL)
    : CCommonDialog(pParentWnd), m_ofn(), m_bOpenFileDialog(bOpenFileDialog), m_szFileName(),
      m_szFileTitle()
{
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = sizeof m_szFileName;
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = sizeof m_szFileTitle;
    m_ofn.lpstrDefExt = lpszDefExt;
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
    m_ofn.hInstance = AfxGetResourceHandle();
    if (lpszFileName != NULL)
        lstrcpynA(m_szFileName, lpszFileName, sizeof m_szFileName);
    if (lpszFilter != NULL)
    {
        // "Text|*.txt|All|*.*||" becomes the double-NUL-terminated list the system reads.
        m_strFilter = lpszFilter;
        LPSTR filter = m_strFilter.GetBuffer();
        for (LPSTR p = filter; *p; p += AfxCharLength(p))
            if (*p == '|')
                *p = '\0';
        m_ofn.lpstrFilter = filter;
    }
}

CFileDialog::~CFileDialog() {}

INT_PTR CFileDialog::DoModal()
{
    if (FileDialogHook())
        return FileDialogHook()(*this);
    if (AfxIsNonInteractive())
        return IDCANCEL;
    m_ofn.hwndOwner = PreModal();
    BOOL chosen = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    PostModal();
    return chosen ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const
{
    return m_ofn.lpstrFile;
}

CString CFileDialog::GetFileName() const
{
    CString path = GetPathName();
    return path.Mid(path.ReverseFind('\\') + 1);
}

CString CFileDialog::GetFileExt() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot < 0 ? CString() : name.Mid(dot + 1);
}

CString CFileDialog::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot < 0 ? name : name.Left(dot);
}

CString CFileDialog::GetFolderPath() const
{
    CString path = GetPathName();
    int slash = path.ReverseFind('\\');
    return slash < 0 ? CString() : path.Left(slash);
}
