#pragma once
#include <windows.h>
#include <afxwin.h>
#include <afxver_.h>

#include "resource.h"

// Asks for user name, password and broker and logs in to the repository. Stays open after a
// failed login so that the user can correct the values.
class AFX_EXT_CLASS CHLogInDlg : public CDialog
{
    DECLARE_DYNAMIC(CHLogInDlg)

public:
    explicit CHLogInDlg(CWnd* pParent = nullptr);
    virtual ~CHLogInDlg();

    enum
    {
        IDD = IDD_LOGIN
    };

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnInitDialog();
    virtual void OnOK();

    DECLARE_MESSAGE_MAP()

private:
    CComboBox* GetBrokerCombo();

    CString m_sUserName;
    CString m_sPassword;
    CString m_sBrokerName;
};
