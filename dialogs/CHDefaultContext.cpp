#include <windows.h>

#include "CHDefaultContext.h"

#include <vector>

#include "VORAgent.h"

IMPLEMENT_DYNAMIC(CHDefaultContext, CDialog)

BEGIN_MESSAGE_MAP(CHDefaultContext, CDialog)
    ON_CBN_SELCHANGE(IDC_PROJECT, OnCbnSelchangeProject)
    ON_CBN_SELCHANGE(IDC_STATE, OnCbnSelchangeState)
    ON_CBN_SELCHANGE(IDC_PACKAGE, OnCbnSelchangePackage)
END_MESSAGE_MAP()

// Each list starts with its placeholder, which stands for "no name" and is never stored.
static const char s_szNoProject[] = "<<No Project>>";
static const char s_szNoState[] = "<<No State>>";
static const char s_szNoPackage[] = "<<No Package>>";

// Project kind of the agent's project list: only the active projects are offered.
static const int kActiveProjects = 1;

CHDefaultContext::CHDefaultContext(CWnd* pParent) : CDialog(IDD, pParent), m_bChangedProp(0) {}

CHDefaultContext::~CHDefaultContext() {}

int CHDefaultContext::IsChangedProp()
{
    return m_bChangedProp;
}

void CHDefaultContext::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
}

BOOL CHDefaultContext::OnInitDialog()
{
    CDialog::OnInitDialog();

    SetEmptyCombo(1, 1, 1);
    SetComboBoxList(IDC_PROJECT);

    // The lower lists are read for the agent's names even when the list above lacks them.
    const CString sProject = VORAgent::GetProjectName();
    if (!sProject.IsEmpty())
    {
        SelectComboString(IDC_PROJECT, sProject);
        SetComboBoxList(IDC_STATE);

        const CString sState = VORAgent::GetStateName();
        if (!sState.IsEmpty())
        {
            SelectComboString(IDC_STATE, sState);
            SetComboBoxList(IDC_PACKAGE);

            const CString sPackage = VORAgent::GetPackageName();
            if (!sPackage.IsEmpty())
                SelectComboString(IDC_PACKAGE, sPackage);
        }
    }
    return TRUE;
}

void CHDefaultContext::OnCbnSelchangeProject()
{
    SetEmptyCombo(0, 1, 1);
    const CString sProject = GetComboProject();
    if (sProject != s_szNoProject)
    {
        // Reading the states switches the SDK context to this project.
        VORAgent::SetProjectName(sProject);
        SetComboBoxList(IDC_STATE);
    }
}

void CHDefaultContext::OnCbnSelchangeState()
{
    SetEmptyCombo(0, 0, 1);
    const CString sState = GetComboState();
    if (sState != s_szNoState)
    {
        VORAgent::SetStateName(sState);
        SetComboBoxList(IDC_PACKAGE);
    }
}

void CHDefaultContext::OnCbnSelchangePackage() {}

void CHDefaultContext::OnOK()
{
    CString sProject = GetComboProject();
    CString sState = GetComboState();
    CString sPackage = GetComboPackage();
    if (sProject == s_szNoProject)
        sProject.Empty();
    if (sState == s_szNoState)
        sState.Empty();
    if (sPackage == s_szNoPackage)
        sPackage.Empty();

    // Compared with the names as the selection handlers have left them.
    if (sProject != VORAgent::GetProjectName() || sState != VORAgent::GetStateName() ||
        sPackage != VORAgent::GetPackageName())
        m_bChangedProp = 1;

    VORAgent::SetProjectName(sProject);
    VORAgent::SetStateName(sState);
    VORAgent::SetPackageName(sPackage);
    CDialog::OnOK();
}

CComboBox* CHDefaultContext::GetCombo(UINT nID)
{
    return static_cast<CComboBox*>(GetDlgItem(nID));
}

void CHDefaultContext::SetEmptyCombo(int bProject, int bState, int bPackage)
{
    const struct
    {
        int bEmpty;
        UINT nID;
        const char* pszPlaceholder;
    } lists[] = {{bProject, IDC_PROJECT, s_szNoProject},
                 {bState, IDC_STATE, s_szNoState},
                 {bPackage, IDC_PACKAGE, s_szNoPackage}};
    for (const auto& list : lists)
    {
        if (!list.bEmpty)
            continue;
        CComboBox* pCombo = GetCombo(list.nID);
        pCombo->ResetContent();
        pCombo->AddString(list.pszPlaceholder);
        pCombo->SetCurSel(0);
    }
}

void CHDefaultContext::SetComboBoxList(UINT nID)
{
    std::vector<CString> names;
    if (nID == IDC_PROJECT)
        VORAgent::GetProjects(kActiveProjects, names);
    else if (nID == IDC_STATE)
        VORAgent::GetStates(names);
    else if (nID == IDC_PACKAGE)
        VORAgent::GetPackages(names);

    CComboBox* pCombo = GetCombo(nID);
    for (const CString& sName : names)
        pCombo->AddString(sName);
}

// Selects the first entry after the placeholder that begins with the name, ignoring case;
// without a match the placeholder stays selected.
void CHDefaultContext::SelectComboString(UINT nID, const CString& sName)
{
    GetCombo(nID)->SelectString(0, sName);
}

CString CHDefaultContext::GetComboString(UINT nID)
{
    CString sText;
    CComboBox* pCombo = GetCombo(nID);
    const int nSel = pCombo->GetCurSel();
    if (nSel != CB_ERR)
        pCombo->GetLBText(nSel, sText);
    return sText;
}

CString CHDefaultContext::GetComboProject()
{
    return GetComboString(IDC_PROJECT);
}

CString CHDefaultContext::GetComboState()
{
    return GetComboString(IDC_STATE);
}

CString CHDefaultContext::GetComboPackage()
{
    return GetComboString(IDC_PACKAGE);
}
