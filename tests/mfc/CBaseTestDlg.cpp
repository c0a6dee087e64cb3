#include <windows.h>

#include "CBaseTestDlg.h"
#include "TestResources.h"

IMPLEMENT_DYNAMIC(CBaseTestDlg, CDialog)

BEGIN_MESSAGE_MAP(CBaseTestDlg, CDialog)
    ON_BN_CLICKED(IDC_BASE_PUSH, &CBaseTestDlg::OnBnClickedBasePush)
    ON_BN_CLICKED(IDC_PUSH, &CBaseTestDlg::OnBnClickedPush)
    ON_EN_CHANGE(IDC_EDIT, &CBaseTestDlg::OnEnChangeEdit)
END_MESSAGE_MAP()

CBaseTestDlg::CBaseTestDlg(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent) {}

CBaseTestDlg::~CBaseTestDlg() {}

void CBaseTestDlg::OnBnClickedBasePush()
{
    m_events.push_back("base push");
}

void CBaseTestDlg::OnBnClickedPush()
{
    m_events.push_back("base handled push");
}

void CBaseTestDlg::OnEnChangeEdit()
{
    m_events.push_back("edit changed");
}
