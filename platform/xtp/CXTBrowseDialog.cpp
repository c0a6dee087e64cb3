#include <windows.h>
#include <shlobj.h>

#include "XTBrowseDialog.h"

#include <utility>

namespace
{

CXTBrowseDialog::TestHook& Hook()
{
    static CXTBrowseDialog::TestHook hook;
    return hook;
}

// Opens the browser at the initial folder once it exists.
int CALLBACK BrowseCallback(HWND hWnd, UINT uMsg, LPARAM, LPARAM lpData)
{
    const char* initial = reinterpret_cast<const char*>(lpData);
    if (uMsg == BFFM_INITIALIZED && initial[0] != '\0')
        ::SendMessageA(hWnd, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(initial));
    return 0;
}

} // namespace

CXTBrowseDialog::CXTBrowseDialog(CWnd* pParent) : m_pParent(pParent)
{
    m_szTitle[0] = '\0';
    m_szSelPath[0] = '\0';
}

CXTBrowseDialog::~CXTBrowseDialog() {}

void CXTBrowseDialog::SetTitle(LPCSTR lpszTitle)
{
    lstrcpynA(m_szTitle, lpszTitle ? lpszTitle : "", sizeof m_szTitle);
}

void CXTBrowseDialog::SetTitle(LPSTR lpszTitle)
{
    SetTitle(static_cast<LPCSTR>(lpszTitle));
}

LPCSTR CXTBrowseDialog::GetTitle() const
{
    return m_szTitle;
}

void CXTBrowseDialog::SetSelPath(LPCSTR lpszSelPath)
{
    lstrcpynA(m_szSelPath, lpszSelPath ? lpszSelPath : "", sizeof m_szSelPath);
}

void CXTBrowseDialog::SetSelPath(LPSTR lpszSelPath)
{
    SetSelPath(static_cast<LPCSTR>(lpszSelPath));
}

LPCSTR CXTBrowseDialog::GetSelPath() const
{
    return m_szSelPath;
}

void CXTBrowseDialog::SetTestHook(TestHook hook)
{
    Hook() = std::move(hook);
}

INT_PTR CXTBrowseDialog::DoModal()
{
    if (Hook())
        return Hook()(*this);
    if (AfxIsNonInteractive())
        return IDCANCEL;

    char displayName[MAX_PATH] = {};
    BROWSEINFOA info = {};
    info.hwndOwner = m_pParent->GetSafeHwnd();
    info.pszDisplayName = displayName;
    info.lpszTitle = m_szTitle;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(m_szSelPath);

    LPITEMIDLIST chosen = ::SHBrowseForFolderA(&info);
    if (chosen == NULL)
        return IDCANCEL;
    char path[MAX_PATH] = {};
    BOOL isFolder = ::SHGetPathFromIDListA(chosen, path);
    ::CoTaskMemFree(chosen);
    if (!isFolder)
        return IDCANCEL;
    SetSelPath(path);
    return IDOK;
}
