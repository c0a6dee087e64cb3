#include <windows.h>

#include "CHCheckOutDlg.h"

#include <sys/stat.h>

#include "ListRows.h"
#include "VORAgent.h"

IMPLEMENT_DYNAMIC(CHCheckOutDlg, CDialog)

BEGIN_MESSAGE_MAP(CHCheckOutDlg, CDialog)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_CHECKOUT_FILE, OnLvnItemchangedCheckoutFile)
    ON_BN_CLICKED(IDC_CHECKOUT_SELECT_ALL, OnBnClickedSelectAll)
    ON_BN_CLICKED(IDC_CHECKOUT_NON_SELECT_ALL, OnBnClickedNonSelectAll)
END_MESSAGE_MAP()

static const int kCheckOutType = 1;
static const int kUndoCheckOutType = 2;
static const int kNameColumn = 0;
static const int kFolderColumn = 1;

CHCheckOutDlg::CHCheckOutDlg(CWnd* pParent)
    : CDialog(IDD, pParent), m_bMMapFiles(0), m_pMMapFiles(nullptr), m_pCollFiles(nullptr),
      m_nDlgType(0)
{
}

CHCheckOutDlg::~CHCheckOutDlg() {}

void CHCheckOutDlg::SetCollFiles(std::vector<CString>* pCollFiles, const char* szCollPath)
{
    m_pCollFiles = pCollFiles;
    m_sCollPath = szCollPath;
    m_bMMapFiles = 0;
}

void CHCheckOutDlg::SetMMapFiles(std::multimap<CString, CString>* pMMapFiles)
{
    m_pMMapFiles = pMMapFiles;
    m_bMMapFiles = 1;
}

void CHCheckOutDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CHECKOUT_FILE, m_listCheckoutFile);
}

BOOL CHCheckOutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_nDlgType == 0)
        return FALSE;

    m_listCheckoutFile.InsertColumn(kNameColumn, "파일명", LVCFMT_LEFT, 140);
    m_listCheckoutFile.InsertColumn(kFolderColumn, "파일경로", LVCFMT_LEFT, 300);
    m_listCheckoutFile.SetExtendedStyle(m_listCheckoutFile.GetExtendedStyle() | LVS_EX_CHECKBOXES |
                                        LVS_EX_FULLROWSELECT);

    if (m_nDlgType == kCheckOutType)
        SetWindowText("체크아웃 항목 선택");
    else if (m_nDlgType == kUndoCheckOutType)
        SetWindowText("체크아웃취소 항목 선택");

    if (m_bMMapFiles && m_pMMapFiles)
    {
        for (const auto& file : *m_pMMapFiles)
            InsertFileRow(file.first, file.second);
    }
    else if (!m_bMMapFiles && m_pCollFiles)
    {
        for (const CString& sName : *m_pCollFiles)
            InsertFileRow(sName, m_sCollPath);
    }
    GetDlgItem(IDOK)->EnableWindow(m_listCheckoutFile.GetItemCount() > 0);
    return TRUE;
}

void CHCheckOutDlg::InsertFileRow(const CString& sName, const CString& sFolder)
{
    const int nRow = m_listCheckoutFile.InsertItem(m_listCheckoutFile.GetItemCount(), sName);
    m_listCheckoutFile.SetItemText(nRow, kFolderColumn, sFolder);
    m_listCheckoutFile.SetCheck(nRow, TRUE);
}

void CHCheckOutDlg::OnLvnItemchangedCheckoutFile(NMHDR*, LRESULT* pResult)
{
    GetDlgItem(IDOK)->EnableWindow(CountCheckedRows() > 0);
    *pResult = 0;
}

void CHCheckOutDlg::OnBnClickedSelectAll()
{
    SetAllChecks(m_listCheckoutFile, TRUE);
}

void CHCheckOutDlg::OnBnClickedNonSelectAll()
{
    SetAllChecks(m_listCheckoutFile, FALSE);
}

int CHCheckOutDlg::CountCheckedRows() const
{
    int nChecked = 0;
    for (int nRow = 0; nRow < m_listCheckoutFile.GetItemCount(); ++nRow)
        nChecked += m_listCheckoutFile.GetCheck(nRow) ? 1 : 0;
    return nChecked;
}

const char* CHCheckOutDlg::OperationTitle() const
{
    if (m_nDlgType == kCheckOutType)
        return "Check Out";
    if (m_nDlgType == kUndoCheckOutType)
        return "Undo Checkout";
    return nullptr;
}

void CHCheckOutDlg::OnOK()
{
    const int nChecked = CountCheckedRows();
    // OK is meant to be disabled then; the host's files stay as they were.
    if (nChecked == 0)
    {
        CDialog::OnCancel();
        return;
    }

    GetDlgItem(IDC_CHECKOUT_SELECT_ALL)->ShowWindow(SW_HIDE);
    GetDlgItem(IDC_CHECKOUT_NON_SELECT_ALL)->ShowWindow(SW_HIDE);
    CProgressCtrl* pProgress = static_cast<CProgressCtrl*>(GetDlgItem(IDC_CHECKOUT_PROGRESS));
    pProgress->ShowWindow(SW_SHOW);

    EmptyHostCollection();
    BeginWaitCursor();
    const char* szTitle = OperationTitle();
    if (szTitle)
        VORAgent::SetOutputMsg(szTitle, 1);

    const int nStep = 100 / nChecked;
    int nPos = 0;
    pProgress->SetPos(1);
    for (int nRow = 0; nRow < m_listCheckoutFile.GetItemCount(); ++nRow)
    {
        if (!m_listCheckoutFile.GetCheck(nRow))
            continue;
        const CString sName = m_listCheckoutFile.GetItemText(nRow, kNameColumn);
        const CString sFolder = m_listCheckoutFile.GetItemText(nRow, kFolderColumn);
        if (ProcessFile(sName, sFolder))
            WriteBack(sName, sFolder);
        nPos += nStep;
        pProgress->SetPos(nPos);
    }

    if (szTitle)
        VORAgent::SetOutputMsg(szTitle, 0);
    EndWaitCursor();
    CDialog::OnOK();
}

// FALSE when the file is to be left out of the host's collection: only a failed check-out.
BOOL CHCheckOutDlg::ProcessFile(const CString& sName, const CString& sFolder)
{
    if (m_nDlgType == kCheckOutType)
        return VORAgent::DoCheckOut(sName, sFolder, nullptr) != 0;
    if (m_nDlgType == kUndoCheckOutType)
    {
        // The local copy goes back to read-only and to the latest version even when the
        // release failed, so that no edit is made on a file nobody holds.
        VORAgent::UndoCheckOut(sName, sFolder, nullptr);
        _chmod(sFolder + "\\" + sName, _S_IREAD);
        VORAgent::GetLatestVersion(sName, sFolder, nullptr);
    }
    return TRUE;
}

void CHCheckOutDlg::EmptyHostCollection()
{
    if (m_bMMapFiles && m_pMMapFiles)
        m_pMMapFiles->clear();
    else if (!m_bMMapFiles && m_pCollFiles)
        m_pCollFiles->clear();
}

void CHCheckOutDlg::WriteBack(const CString& sName, const CString& sFolder)
{
    if (m_bMMapFiles && m_pMMapFiles)
        m_pMMapFiles->insert(std::make_pair(sName, sFolder));
    else if (!m_bMMapFiles && m_pCollFiles)
        m_pCollFiles->push_back(sName);
}
