#include <windows.h>

#include "CControlsDlg.h"

IMPLEMENT_DYNAMIC(CControlsDlg, CBaseTestDlg)

BEGIN_MESSAGE_MAP(CControlsDlg, CBaseTestDlg)
    ON_BN_CLICKED(IDC_PUSH, &CControlsDlg::OnBnClickedPush)
    ON_CBN_SELCHANGE(IDC_COMBO, &CControlsDlg::OnCbnSelchangeCombo)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_LIST, &CControlsDlg::OnLvnItemchangedList)
    ON_NOTIFY(TVN_BEGINLABELEDITA, IDC_TREE, &CControlsDlg::OnTvnBeginlabeleditTree)
    ON_NOTIFY(TVN_ENDLABELEDITA, IDC_TREE, &CControlsDlg::OnTvnEndlabeleditTree)
    ON_WM_TIMER()
    ON_MESSAGE(WM_APP + 1, &CControlsDlg::OnAppMessage)
END_MESSAGE_MAP()

CControlsDlg::CControlsDlg(CWnd* pParent) : CBaseTestDlg(IDD, pParent) {}

CControlsDlg::~CControlsDlg() {}

void CControlsDlg::DoDataExchange(CDataExchange* pDX)
{
    CBaseTestDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_EDIT, m_edit);
    DDX_Control(pDX, IDC_COMBO, m_combo);
    DDX_Control(pDX, IDC_LIST, m_list);
    DDX_Control(pDX, IDC_TREE, m_tree);
    DDX_Text(pDX, IDC_EDIT, m_sText);
}

BOOL CControlsDlg::OnInitDialog()
{
    CBaseTestDlg::OnInitDialog();
    m_list.InsertColumn(0, "이름", LVCFMT_LEFT, 100);
    m_list.InsertColumn(1, "경로", LVCFMT_LEFT, 100);
    return TRUE;
}

void CControlsDlg::OnBnClickedPush()
{
    m_events.push_back("push");
}

void CControlsDlg::OnCbnSelchangeCombo()
{
    CString text;
    m_combo.GetLBText(m_combo.GetCurSel(), text);
    m_events.push_back("combo " + std::string(text));
}

void CControlsDlg::OnLvnItemchangedList(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMLISTVIEW* change = reinterpret_cast<NMLISTVIEW*>(pNMHDR);
    if (change->uChanged & LVIF_STATE)
        m_events.push_back("item " + std::to_string(change->iItem) + " check " +
                           std::to_string(m_list.GetCheck(change->iItem)));
    *pResult = 0;
}

void CControlsDlg::OnTvnBeginlabeleditTree(NMHDR*, LRESULT* pResult)
{
    m_events.push_back("begin edit");
    *pResult = 0;
}

void CControlsDlg::OnTvnEndlabeleditTree(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMTVDISPINFOA* info = reinterpret_cast<NMTVDISPINFOA*>(pNMHDR);
    CString typed;
    m_tree.GetEditControl()->GetWindowText(typed);
    m_events.push_back("end edit " + std::string(typed));
    if (info->item.hItem == m_hReopenItem && (typed.IsEmpty() || typed == "No Name"))
    {
        ++m_nReopened;
        m_tree.EditLabel(info->item.hItem);
        *pResult = 0;
        return;
    }
    m_tree.SetItemText(info->item.hItem, typed);
    *pResult = 0;
}

void CControlsDlg::OnTimer(UINT_PTR nIDEvent)
{
    KillTimer(nIDEvent);
    m_events.push_back("timer " + std::to_string(nIDEvent));
    CBaseTestDlg::OnTimer(nIDEvent);
}

LRESULT CControlsDlg::OnAppMessage(WPARAM wParam, LPARAM lParam)
{
    m_events.push_back("app " + std::to_string(wParam));
    return lParam * 2;
}
