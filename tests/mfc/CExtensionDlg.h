#pragma once
#include <windows.h>

#include <afxwin.h>

// A dialog exported by an extension library, its template inside that library.
class AFX_EXT_CLASS CExtensionDlg : public CDialog
{
    DECLARE_DYNAMIC(CExtensionDlg)
public:
    explicit CExtensionDlg(CWnd* pParent = NULL);
    ~CExtensionDlg();

    CString m_sText;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()
};
