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

} // namespace

TEST(RuntimeClass, NamesTheClassAndWalksItsBases)
{
    CControlsDlg dlg;
    EXPECT_STREQ(dlg.GetRuntimeClass()->m_lpszClassName, "CControlsDlg");
    EXPECT_TRUE(dlg.IsKindOf(RUNTIME_CLASS(CBaseTestDlg)));
    EXPECT_TRUE(dlg.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(dlg.IsKindOf(RUNTIME_CLASS(CListCtrl)));
    EXPECT_FALSE(CDialog().IsKindOf(RUNTIME_CLASS(CControlsDlg)));
}

TEST(ModalDialog, DrivenToOkRoutesEveryNotificationAndExchangesData)
{
    OwnerWindow owner;
    CControlsDlg dlg(&owner);
    dlg.m_sText = "처음";
    bool ownerWasDisabled = false;
    CString shownText, comboFirst;
    LRESULT appResult = 0;
    ModalHookGuard hook(
        [&](CDialog* pDialog)
        {
            ASSERT_EQ(pDialog, &dlg);
            ownerWasDisabled = !owner.IsWindowEnabled();
            dlg.m_edit.GetWindowText(shownText);
            dlg.m_combo.GetLBText(0, comboFirst);

            dlg.m_events.clear();
            dlg.m_edit.SetWindowText("나중");
            AfxClickDlgButton(&dlg, IDC_PUSH);
            AfxClickDlgButton(&dlg, IDC_BASE_PUSH);
            // A disabled button is out of the user's reach.
            dlg.GetDlgItem(IDC_PUSH)->EnableWindow(FALSE);
            EXPECT_FALSE(AfxClickDlgButton(&dlg, IDC_PUSH));
            dlg.m_combo.SetCurSel(1);
            dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_COMBO, CBN_SELCHANGE),
                            reinterpret_cast<LPARAM>(dlg.m_combo.m_hWnd));
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
    EXPECT_EQ(comboFirst, "alpha");
    EXPECT_EQ(appResult, 42);
    EXPECT_EQ(dlg.m_events,
              (Events{"edit changed", "push", "base push", "combo zeta", "timer 7", "app 5"}));
    EXPECT_EQ(dlg.m_sText, "나중");
    EXPECT_EQ(dlg.m_list.m_hWnd, nullptr);

    // The same object runs again, with its controls bound afresh.
    AfxSetModalHook(
        [&](CDialog*)
        {
            EXPECT_NE(dlg.m_list.m_hWnd, nullptr);
            AfxClickDlgButton(&dlg, IDOK);
        });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(ModalDialog, EnterReachesTheDefaultButtonAndEscapeCancelsWithoutTakingTheData)
{
    CControlsDlg dlg;
    WPARAM key = VK_RETURN;
    ModalHookGuard hook(
        [&](CDialog*)
        {
            dlg.m_edit.SetWindowText("버림");
            dlg.m_edit.SetFocus();
            dlg.m_edit.PostMessage(WM_KEYDOWN, key, 0);
        });
    EXPECT_EQ(dlg.DoModal(), IDOK);

    key = VK_ESCAPE;
    dlg.m_sText = "그대로";
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_sText, "그대로");
}

TEST(ModalDialog, NothingModalWaitsForAPersonInATestRun)
{
    ASSERT_TRUE(AfxIsNonInteractive());
    CControlsDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDABORT);
    EXPECT_EQ(dlg.m_hWnd, nullptr);

    CDialog missing(4242);
    EXPECT_EQ(missing.DoModal(), -1);

    // Ended from its initialisation, a dialog is never shown.
    class ClosingDlg : public CControlsDlg
    {
    public:
        BOOL OnInitDialog() override
        {
            CControlsDlg::OnInitDialog();
            EndDialog(IDCANCEL);
            return TRUE;
        }
    } closing;
    bool hookRan = false;
    ModalHookGuard hook([&](CDialog*) { hookRan = true; });
    EXPECT_EQ(closing.DoModal(), IDCANCEL);
    EXPECT_FALSE(hookRan);
}
