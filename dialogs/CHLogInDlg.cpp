#include <windows.h>

#include "CHLogInDlg.h"

#include "BrokerNames.h"
#include "VORAgent.h"

IMPLEMENT_DYNAMIC(CHLogInDlg, CDialog)

BEGIN_MESSAGE_MAP(CHLogInDlg, CDialog)
END_MESSAGE_MAP()

// The broker list holds the two default brokers, sorted, so the first is entry 0.
static const int kFirstBrokerEntry = 0;
static const int kSecondBrokerEntry = 1;

CHLogInDlg::CHLogInDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

CHLogInDlg::~CHLogInDlg() {}

void CHLogInDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
}

CComboBox* CHLogInDlg::GetBrokerCombo()
{
    return static_cast<CComboBox*>(GetDlgItem(IDC_BROKER));
}

BOOL CHLogInDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    m_sUserName = VORAgent::GetUserNameA();
    m_sPassword = VORAgent::GetPassword();
    m_sBrokerName = VORAgent::GetBrokerName();

    const BOOL bSavePassword = VORAgent::IsSavePassword() != 0;
    SetDlgItemText(IDC_USER_NAME, m_sUserName);
    SetDlgItemText(IDC_PASSWORD, bSavePassword ? m_sPassword : CString());
    CheckDlgButton(IDC_SAVE_PASSWORD, bSavePassword ? BST_CHECKED : BST_UNCHECKED);
    GetBrokerCombo()->SetCurSel(m_sBrokerName == VOR_DEFAULT_BROKER_1 ? kFirstBrokerEntry
                                                                      : kSecondBrokerEntry);
    return TRUE;
}

void CHLogInDlg::OnOK()
{
    GetDlgItemText(IDC_USER_NAME, m_sUserName);
    GetDlgItemText(IDC_PASSWORD, m_sPassword);
    m_sBrokerName = GetBrokerCombo()->GetCurSel() == kFirstBrokerEntry ? VOR_DEFAULT_BROKER_1
                                                                       : VOR_DEFAULT_BROKER_2;

    // The choice counts even when the login fails or the user cancels afterwards.
    VORAgent::SavePassword(IsDlgButtonChecked(IDC_SAVE_PASSWORD) == BST_CHECKED ? 1 : 0);
    if (VORAgent::LogIn(m_sBrokerName, m_sUserName, m_sPassword))
        CDialog::OnOK();
}
