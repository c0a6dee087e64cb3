#include <windows.h>

#include <gtest/gtest.h>

#include "CHLogInDlg.h"
#include "DialogTesting.h"
#include "VORAgent.h"

using namespace dialog_testing;

namespace
{
const char kLoginFailed[] = "로그인 실패!\r\n사용자명, 패스워드, 브로커명을 확인하십시오";
}

// Runs in a process of its own: it starts logged out, from the stored configuration (dev1,
// a password not to be shown, a broker that is neither default one).
TEST(LogInDialogFirstLogin, FailedLoginsKeepTheDialogAndTheSavePasswordChoiceUntilOneSucceeds)
{
    ASSERT_FALSE(VORAgent::IsLogIn());
    MessageBoxes boxes;
    CHLogInDlg dialog;
    const INT_PTR result =
        RunModal(dialog,
                 [&](CDialog& dlg)
                 {
                     EXPECT_EQ(Text(dlg, IDC_USER_NAME), "dev1");
                     EXPECT_EQ(Text(dlg, IDC_PASSWORD), "")
                         << "the stored password is not to be shown";
                     EXPECT_FALSE(IsChecked(dlg, IDC_SAVE_PASSWORD));
                     EXPECT_EQ(ComboEntries(dlg, IDC_BROKER),
                               (std::vector<std::string>{"127.0.0.1", "localhost"}));
                     EXPECT_EQ(ComboSelection(dlg, IDC_BROKER), "localhost");

                     // A wrong password with the box checked: the choice reaches the agent all the
                     // same.
                     Type(dlg, IDC_PASSWORD, "wrong");
                     AfxClickDlgButton(&dlg, IDC_SAVE_PASSWORD);
                     AfxClickDlgButton(&dlg, IDOK);
                     ASSERT_EQ(boxes.Texts(), std::vector<std::string>{kLoginFailed});
                     EXPECT_TRUE(IsWindowVisible(dlg.m_hWnd));
                     EXPECT_EQ(Text(dlg, IDC_USER_NAME), "dev1");
                     EXPECT_EQ(Text(dlg, IDC_PASSWORD), "wrong");
                     EXPECT_EQ(VORAgent::IsSavePassword(), 1);

                     // Unchecked and failing again: the flag goes off.
                     AfxClickDlgButton(&dlg, IDC_SAVE_PASSWORD);
                     AfxClickDlgButton(&dlg, IDOK);
                     EXPECT_EQ(boxes.Seen().size(), 2u);
                     EXPECT_EQ(VORAgent::IsSavePassword(), 0);
                     EXPECT_FALSE(VORAgent::IsLogIn());

                     // Another user on the first broker, remembering the password.
                     Type(dlg, IDC_USER_NAME, "dev2");
                     Type(dlg, IDC_PASSWORD, "dev2pw");
                     ChooseComboEntry(dlg, IDC_BROKER, "127.0.0.1");
                     AfxClickDlgButton(&dlg, IDC_SAVE_PASSWORD);
                     AfxClickDlgButton(&dlg, IDOK);
                 });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(boxes.Seen().size(), 2u);
    EXPECT_TRUE(VORAgent::IsLogIn());
    EXPECT_EQ(VORAgent::GetUserNameA(), "dev2");
    EXPECT_EQ(VORAgent::GetPassword(), "dev2pw");
    EXPECT_EQ(VORAgent::GetBrokerName(), "127.0.0.1");
    EXPECT_EQ(VORAgent::IsSavePassword(), 1);

    // Logged in: the saved password is shown, Cancel stores nothing, OK closes at once.
    CHLogInDlg cancelled;
    EXPECT_EQ(RunModal(cancelled,
                       [&](CDialog& dlg)
                       {
                           EXPECT_EQ(Text(dlg, IDC_PASSWORD), "dev2pw");
                           EXPECT_TRUE(IsChecked(dlg, IDC_SAVE_PASSWORD));
                           EXPECT_EQ(ComboSelection(dlg, IDC_BROKER), "127.0.0.1");
                           AfxClickDlgButton(&dlg, IDC_SAVE_PASSWORD);
                           AfxClickDlgButton(&dlg, IDCANCEL);
                       }),
              IDCANCEL);
    EXPECT_EQ(VORAgent::IsSavePassword(), 1);
    CHLogInDlg again;
    EXPECT_EQ(RunModal(again,
                       [&](CDialog& dlg)
                       {
                           Type(dlg, IDC_USER_NAME, "nobody");
                           Type(dlg, IDC_PASSWORD, "nothing");
                           AfxClickDlgButton(&dlg, IDOK);
                       }),
              IDOK);
    EXPECT_EQ(boxes.Seen().size(), 2u);
    EXPECT_EQ(VORAgent::GetUserNameA(), "dev2");
    EXPECT_EQ(VORAgent::GetPassword(), "dev2pw");
}
