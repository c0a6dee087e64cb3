#pragma once
// The toolkit's folder browser: the shell's folder chooser opened at a chosen folder.
//
// Test seam: CXTBrowseDialog::SetTestHook answers DoModal instead of the shell dialog. The
// hook sees the dialog (GetTitle, GetSelPath), may choose a folder with SetSelPath and
// returns IDOK or IDCANCEL. Without a hook in a non-interactive run (VOR_NONINTERACTIVE),
// DoModal returns IDCANCEL.
#include <windows.h>

#include <afxwin.h>

#include <functional>

#ifdef _XTP_BUILD
#define XTP_API __declspec(dllexport)
#else
#define XTP_API __declspec(dllimport)
#endif

class XTP_API CXTBrowseDialog
{
public:
    explicit CXTBrowseDialog(CWnd* pParent = NULL);
    ~CXTBrowseDialog();

    void SetTitle(LPCSTR lpszTitle);
    void SetTitle(LPSTR lpszTitle);
    LPCSTR GetTitle() const;
    void SetSelPath(LPCSTR lpszSelPath);
    void SetSelPath(LPSTR lpszSelPath);
    // The chosen folder, a full path, after DoModal returned IDOK.
    LPCSTR GetSelPath() const;
    // IDOK when the user chose a folder, IDCANCEL otherwise.
    INT_PTR DoModal();

    typedef std::function<INT_PTR(CXTBrowseDialog& dialog)> TestHook;
    static void SetTestHook(TestHook hook);

private:
    CXTBrowseDialog(const CXTBrowseDialog&) = delete;
    CXTBrowseDialog& operator=(const CXTBrowseDialog&) = delete;

    CWnd* m_pParent;
    char m_szTitle[MAX_PATH];
    char m_szSelPath[MAX_PATH];
};
