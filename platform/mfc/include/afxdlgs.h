#pragma once
// Common dialogs.
//
// Test seam: AfxSetFileDialogHook answers CFileDialog::DoModal instead of the system dialog.
// The hook sees the dialog as it would open (m_ofn: filter, default extension, flags,
// initial folder), copies the chosen path into m_ofn.lpstrFile (capacity m_ofn.nMaxFile)
// and returns IDOK, or returns IDCANCEL:
//     AfxSetFileDialogHook([](CFileDialog& dlg) {
//         lstrcpynA(dlg.m_ofn.lpstrFile, "C:\\work\\a.xml", dlg.m_ofn.nMaxFile);
//         return IDOK; });
// Without a hook in a non-interactive run (VOR_NONINTERACTIVE), DoModal returns IDCANCEL.
#include "afxwin.h"
#include <commdlg.h>

class AFX_CORE_API CCommonDialog : public CDialog
{
    DECLARE_DYNAMIC(CCommonDialog)
public:
    explicit CCommonDialog(CWnd* pParentWnd);
    ~CCommonDialog();
};

class AFX_CORE_API CFileDialog : public CCommonDialog
{
    DECLARE_DYNAMIC(CFileDialog)
public:
    // The filter separates its parts with '|' and ends with "||".
    explicit CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = NULL, LPCSTR lpszFileName = NULL,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         LPCSTR lpszFilter = NULL, CWnd* pParentWnd = NULL, DWORD dwSize = 0,
                         BOOL bVistaStyle = TRUE);
    ~CFileDialog();

    OPENFILENAMEA m_ofn;
    BOOL m_bOpenFileDialog;

    INT_PTR DoModal() override;
    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    CString GetFolderPath() const;

private:
    char m_szFileName[MAX_PATH * 4];
    char m_szFileTitle[MAX_PATH];
    CString m_strFilter;
};

typedef std::function<INT_PTR(CFileDialog& dialog)> AFX_FILEDIALOG_HOOK;
AFX_CORE_API void AFXAPI AfxSetFileDialogHook(AFX_FILEDIALOG_HOOK hook);
