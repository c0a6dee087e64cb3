#include <windows.h>

#include <afxwin.h>

#include <gtest/gtest.h>

#include "CControlsDlg.h"

#include <string>
#include <vector>

using Events = std::vector<std::string>;

namespace
{

// A top-level window of the framework's own class, to own the dialogs.
class OwnerWindow : public CWnd
{
public:
    OwnerWindow()
    {
        CreateEx(0, NULL, "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, NULL, NULL);
    }
    ~OwnerWindow() { DestroyWindow(); }
};

struct ModalHookGuard
{
    explicit ModalHookGuard(AFX_MODAL_HOOK hook) { AfxSetModalHook(std::move(hook)); }
    ~ModalHookGuard() { AfxSetModalHook(nullptr); }
};

// Sends the notification a combo box sends when the user picks an entry.
void PickComboEntry(CControlsDlg& dlg, int index)
{
    dlg.m_combo.SetCurSel(index);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_COMBO, CBN_SELCHANGE),
                    reinterpret_cast<LPARAM>(dlg.m_combo.m_hWnd));
}

} // namespace

TEST(RuntimeClass, NamesTheClassAndWalksItsBases)
{
    CControlsDlg dlg;
    EXPECT_STREQ(RUNTIME_CLASS(CControlsDlg)->m_lpszClassName, "CControlsDlg");
    EXPECT_EQ(dlg.GetRuntimeClass(), RUNTIME_CLASS(CControlsDlg));
    EXPECT_EQ(CControlsDlg::GetThisClass(), &CControlsDlg::classCControlsDlg);
    EXPECT_EQ(CControlsDlg::classCControlsDlg.m_pfnGetBaseClass(), RUNTIME_CLASS(CBaseTestDlg));
    EXPECT_TRUE(dlg.IsKindOf(RUNTIME_CLASS(CBaseTestDlg)));
    EXPECT_TRUE(dlg.IsKindOf(RUNTIME_CLASS(CDialog)));
    EXPECT_TRUE(dlg.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(dlg.IsKindOf(RUNTIME_CLASS(CListCtrl)));
    EXPECT_TRUE(dlg.m_list.IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_FALSE(CDialog().IsKindOf(RUNTIME_CLASS(CControlsDlg)));
}

TEST(ModalDialog, DrivenToOkRoutesEveryNotificationAndExchangesData)
{
    OwnerWindow owner;
    CControlsDlg dlg(&owner);
    dlg.m_sText = "처음";
    bool ownerWasDisabled = false;
    CString shownText, comboFirst;
    int comboCount = 0;
    LRESULT appResult = 0;
    ModalHookGuard hook(
        [&](CDialog* pDialog)
        {
            ASSERT_EQ(pDialog, &dlg);
            EXPECT_TRUE(dlg.IsWindowVisible());
            ownerWasDisabled = !owner.IsWindowEnabled();
            dlg.m_edit.GetWindowText(shownText);
            comboCount = dlg.m_combo.GetCount();
            dlg.m_combo.GetLBText(0, comboFirst);

            dlg.m_events.clear();
            dlg.m_edit.SetWindowText("나중");
            AfxClickDlgButton(&dlg, IDC_PUSH);
            AfxClickDlgButton(&dlg, IDC_BASE_PUSH);
            PickComboEntry(dlg, 1);
            dlg.SetTimer(7, 10);
            AfxPumpMessages(200);
            appResult = dlg.SendMessage(WM_APP + 1, 5, 21);
            AfxClickDlgButton(&dlg, IDOK);
        });

    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(ownerWasDisabled);
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_EQ(shownText, "처음");
    // The template's initialisation data filled the sorted combo box.
    EXPECT_EQ(comboCount, 2);
    EXPECT_EQ(comboFirst, "alpha");
    EXPECT_EQ(appResult, 42);
    EXPECT_EQ(dlg.m_events,
              (Events{"edit changed", "push", "base push", "combo zeta", "timer 7", "app 5"}));
    EXPECT_EQ(dlg.m_sText, "나중");
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_list.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_nInitCount, 1);

    // The same object runs again, with its controls bound afresh.
    AfxSetModalHook(
        [&](CDialog*)
        {
            EXPECT_NE(dlg.m_list.m_hWnd, nullptr);
            AfxClickDlgButton(&dlg, IDOK);
        });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nInitCount, 2);
}

TEST(ModalDialog, EscapeCancelsWithoutTakingTheData)
{
    CControlsDlg dlg;
    dlg.m_sText = "그대로";
    ModalHookGuard hook(
        [&](CDialog*)
        {
            dlg.m_edit.SetWindowText("버림");
            dlg.m_edit.SetFocus();
            dlg.m_edit.PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
        });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_sText, "그대로");
}

TEST(ModalDialog, PreTranslateMessageSeesKeysBeforeTheDialogManager)
{
    CControlsDlg dlg;
    ModalHookGuard hook(
        [&](CDialog*)
        {
            dlg.m_events.clear();
            dlg.m_edit.SetFocus();
            dlg.m_edit.PostMessage(WM_KEYDOWN, VK_RETURN, 0);
        });
    // Enter reaches the default button when nobody takes it first...
    EXPECT_EQ(dlg.DoModal(), IDOK);

    // ...and never does when the dialog consumes it; nothing ends the dialog then, and a
    // non-interactive run gives it up rather than wait.
    dlg.m_bEnterEndsEdit = TRUE;
    EXPECT_EQ(dlg.DoModal(), IDABORT);
    EXPECT_EQ(dlg.m_events, Events{"enter"});
}

TEST(ModalDialog, NothingModalWaitsForAPersonInATestRun)
{
    ASSERT_TRUE(AfxIsNonInteractive());
    CControlsDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDABORT);
    EXPECT_EQ(dlg.m_hWnd, nullptr);

    CDialog missing(4242);
    EXPECT_EQ(missing.DoModal(), -1);
}

TEST(ModalDialog, EndDialogFromInitialisationNeverShowsTheDialog)
{
    class ClosingDlg : public CControlsDlg
    {
    public:
        BOOL OnInitDialog() override
        {
            CControlsDlg::OnInitDialog();
            EndDialog(IDCANCEL);
            return TRUE;
        }
    } dlg;
    bool hookRan = false;
    ModalHookGuard hook([&](CDialog*) { hookRan = true; });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_FALSE(hookRan);
}

TEST(ModalDialog, EnterCommitsALabelEditInsteadOfClosingTheDialog)
{
    CControlsDlg dlg;
    dlg.m_bEnterEndsEdit = TRUE;
    CString label;
    bool stillOpen = false;
    ModalHookGuard hook(
        [&](CDialog*)
        {
            HTREEITEM item = dlg.m_tree.InsertItem("No Name");
            dlg.m_tree.SetFocus();
            CEdit* editor = dlg.m_tree.EditLabel(item);
            ASSERT_NE(editor, nullptr);
            editor->SetWindowText("새 폴더");
            editor->PostMessage(WM_KEYDOWN, VK_RETURN, 0);
            AfxPumpMessages(50);
            label = dlg.m_tree.GetItemText(item);
            stillOpen = dlg.ContinueModal() != FALSE;
            AfxClickDlgButton(&dlg, IDCANCEL);
        });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(label, "새 폴더");
}
