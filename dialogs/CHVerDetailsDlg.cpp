#include <windows.h>

#include "CHVerDetailsDlg.h"

IMPLEMENT_DYNAMIC(CHVerDetailsDlg, CDialog)

BEGIN_MESSAGE_MAP(CHVerDetailsDlg, CDialog)
END_MESSAGE_MAP()

CHVerDetailsDlg::CHVerDetailsDlg(CWnd* pParent) : CDialog(IDD, pParent), m_pVersion(nullptr) {}

CHVerDetailsDlg::~CHVerDetailsDlg() {}

BOOL CHVerDetailsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!m_pVersion)
        return TRUE;
    SetDlgItemText(IDC_VER_NAME, m_pVersion->m_sVersionName);
    SetDlgItemText(IDC_VER_MODIFIED_TIME, m_pVersion->m_sModifiedTime);
    SetDlgItemText(IDC_VER_USER, m_pVersion->m_sModifier);
    SetDlgItemText(IDC_VER_PACKAGE, m_pVersion->m_sPackageName);
    SetDlgItemText(IDC_VER_STATUS, m_pVersion->m_sStatus);
    SetDlgItemText(IDC_VER_DESCRIPTION, m_pVersion->m_sDescription);
    SetDlgItemText(IDC_VER_LOCATION,
                   m_pVersion->m_sClientMachine + "\\\\" + m_pVersion->m_sClientPath);
    return TRUE;
}
