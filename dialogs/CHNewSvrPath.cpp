#include <windows.h>

#include "CHNewSvrPath.h"

#include "FolderTree.h"
#include "VORAgent.h"

IMPLEMENT_DYNAMIC(CHNewSvrPath, CDialog)

// Reopens the label editor of a new folder (wParam: the item) once the tree has finished the
// end-of-edit notification; the tree destroys its editor after that notification returns.
static const UINT WM_REOPEN_LABEL_EDIT = WM_APP + 1;

static const char s_szNewFolderLabel[] = "No Name";
static const int kFolderImage = 2;
static const int kSelectedFolderImage = 3;

BEGIN_MESSAGE_MAP(CHNewSvrPath, CDialog)
    ON_WM_TIMER()
    ON_BN_CLICKED(IDC_NEW_PATH, OnBnClickedNewPath)
    ON_NOTIFY(TVN_ENDLABELEDIT, IDC_VOR_STRUCT, OnTvnEndlabeleditVorStruct)
    ON_NOTIFY(TVN_BEGINLABELEDIT, IDC_VOR_STRUCT, OnTvnBeginlabeleditVorStruct)
    ON_MESSAGE(WM_REOPEN_LABEL_EDIT, OnReopenLabelEdit)
END_MESSAGE_MAP()

CHNewSvrPath::CHNewSvrPath(CWnd* pParent) : CDialog(IDD, pParent), m_bNewFolder(0) {}

CHNewSvrPath::~CHNewSvrPath() {}

void CHNewSvrPath::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_VOR_STRUCT, m_treeVorStruct);
}

BOOL CHNewSvrPath::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!AttachFolderImages(m_treeVorStruct, m_imageList))
        return FALSE;
    // The repository query is slow: fill the tree once the dialog is on screen.
    SetTimer(kFillTreeTimer, kFillTreeDelay, nullptr);
    return TRUE;
}

void CHNewSvrPath::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kFillTreeTimer)
    {
        KillTimer(kFillTreeTimer);
        BeginWaitCursor();
        VORAgent::SetRepositoryTree(&m_treeVorStruct);
        SelectTreeItemToPath();
        EndWaitCursor();
    }
    CDialog::OnTimer(nIDEvent);
}

// Opens the folder named by m_sViewPath as far as its folders exist, matching labels exactly.
void CHNewSvrPath::SelectTreeItemToPath()
{
    HTREEITEM hFound = nullptr;
    for (int nSep = m_sViewPath.Find('\\'); nSep >= 0;)
    {
        const int nNext = m_sViewPath.Find('\\', nSep + 1);
        const CString sPiece =
            nNext < 0 ? m_sViewPath.Mid(nSep + 1) : m_sViewPath.Mid(nSep + 1, nNext - nSep - 1);
        if (sPiece.IsEmpty())
            break;
        HTREEITEM hItem = GetChildItemToStr(hFound, sPiece);
        if (!hItem)
            break;
        if (hFound)
            m_treeVorStruct.Expand(hFound, TVE_EXPAND);
        hFound = hItem;
        nSep = nNext;
    }
    if (hFound)
    {
        m_treeVorStruct.EnsureVisible(hFound);
        m_treeVorStruct.SelectItem(hFound);
    }
}

// The child of hParent (a top-level item for null) whose label is exactly sText, or null.
HTREEITEM CHNewSvrPath::GetChildItemToStr(HTREEITEM hParent, const CString& sText)
{
    HTREEITEM hChild =
        hParent ? m_treeVorStruct.GetChildItem(hParent) : m_treeVorStruct.GetRootItem();
    for (; hChild; hChild = m_treeVorStruct.GetNextSiblingItem(hChild))
    {
        if (m_treeVorStruct.GetItemText(hChild) == sText)
            return hChild;
    }
    return nullptr;
}

void CHNewSvrPath::GetViewPath()
{
    m_sViewPath = TreeViewPath(m_treeVorStruct, m_treeVorStruct.GetSelectedItem());
}

void CHNewSvrPath::OnOK()
{
    GetViewPath();
    CDialog::OnOK();
}

void CHNewSvrPath::OnBnClickedNewPath()
{
    HTREEITEM hParent = m_treeVorStruct.GetSelectedItem();
    if (!hParent)
    {
        AfxMessageBox("트리 컨트롤에서 선택된 폴더가 없습니다.\r\n부모 폴더를 선택하십시오.",
                      MB_ICONINFORMATION | MB_OK);
        return;
    }
    m_bNewFolder = 1;
    m_treeVorStruct.SetFocus();
    HTREEITEM hNew = m_treeVorStruct.InsertItem(s_szNewFolderLabel, kFolderImage,
                                                kSelectedFolderImage, hParent, TVI_LAST);
    m_treeVorStruct.Expand(hParent, TVE_EXPAND);
    m_treeVorStruct.EditLabel(hNew);
}

// Only the label of a folder just added may be edited; existing folders keep their names.
void CHNewSvrPath::OnTvnBeginlabeleditVorStruct(NMHDR*, LRESULT* pResult)
{
    *pResult = m_bNewFolder ? 0 : 1;
}

void CHNewSvrPath::OnTvnEndlabeleditVorStruct(NMHDR* pNMHDR, LRESULT* pResult)
{
    HTREEITEM hNew = reinterpret_cast<NMTVDISPINFO*>(pNMHDR)->item.hItem;
    // The label stays as the tree has it; the name is set below only once it is created.
    *pResult = 0;

    CString sName;
    if (CEdit* pEdit = m_treeVorStruct.GetEditControl())
        pEdit->GetWindowText(sName);
    if (sName.IsEmpty() || sName == s_szNewFolderLabel)
    {
        PostMessage(WM_REOPEN_LABEL_EDIT, reinterpret_cast<WPARAM>(hNew));
        return;
    }

    HTREEITEM hParent = m_treeVorStruct.GetParentItem(hNew);
    if (IsSiblingNamed(hNew, sName))
    {
        m_treeVorStruct.DeleteItem(hNew);
        m_treeVorStruct.SelectItem(hParent);
    }
    else
    {
        m_sViewPath = TreeViewPath(m_treeVorStruct, hParent);
        if (VORAgent::CreateItemPath(sName, m_sViewPath))
        {
            m_treeVorStruct.SetItemText(hNew, sName);
            m_treeVorStruct.SelectItem(hNew);
        }
        else
            m_treeVorStruct.DeleteItem(hNew);
    }
    m_bNewFolder = 0;
}

LRESULT CHNewSvrPath::OnReopenLabelEdit(WPARAM wParam, LPARAM)
{
    m_treeVorStruct.EditLabel(reinterpret_cast<HTREEITEM>(wParam));
    return 0;
}

// Whether another child of hItem's parent has the name, ignoring the case of Latin letters.
BOOL CHNewSvrPath::IsSiblingNamed(HTREEITEM hItem, const CString& sName)
{
    CString sLowerName = sName;
    sLowerName.MakeLower();
    HTREEITEM hParent = m_treeVorStruct.GetParentItem(hItem);
    for (HTREEITEM hSibling = m_treeVorStruct.GetChildItem(hParent); hSibling;
         hSibling = m_treeVorStruct.GetNextSiblingItem(hSibling))
    {
        CString sLabel = m_treeVorStruct.GetItemText(hSibling);
        sLabel.MakeLower();
        if (hSibling != hItem && sLabel == sLowerName)
            return TRUE;
    }
    return FALSE;
}

// Enter commits a label being edited and never closes the dialog.
BOOL CHNewSvrPath::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN)
    {
        m_treeVorStruct.EndEditLabelNow(FALSE);
        return TRUE;
    }
    return CDialog::PreTranslateMessage(pMsg);
}
