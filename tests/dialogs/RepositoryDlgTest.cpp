#include <windows.h>

#include <gtest/gtest.h>

#include <HsdkTesting.h>
#include <XTBrowseDialog.h>

#include "CHRepositoryDlg.h"
#include "DialogTest.h"
#include "VORAgent.h"

using namespace dialog_testing;

namespace
{
const char kReceived[] = "하비스트 서버의 최신 파일을 받았습니다.";

class RepositoryDialog : public DialogTest
{
protected:
    void TearDown() override
    {
        CXTBrowseDialog::SetTestHook(nullptr);
        DialogTest::TearDown();
    }
};
} // namespace

TEST_F(RepositoryDialog, FolderViewFetchesTheSelectedFolderIntoTheRealPathAndStaysOpen)
{
    const std::string root = FreshFolder("folder");
    VORAgent::SetClientDirectory(root.c_str());
    MessageBoxes boxes;
    OutputLog log;
    CHRepositoryDlg dialog;
    const INT_PTR result = RunModal(
        dialog,
        [&](CDialog& dlg)
        {
            HWND tree = Control(dlg, IDC_REPOSITORY_TREE);
            EXPECT_EQ(Text(dlg, IDC_CLIENT_PATH), root);
            EXPECT_EQ(Text(dlg, IDC_REAL_PATH), root);
            EXPECT_FALSE(IsEnabled(dlg, IDOK)) << "nothing to fetch before the tree is filled";

            Settle();
            EXPECT_EQ(TreeChildren(tree, nullptr), (std::vector<std::string>{"QXRepo", "Common"}));
            SelectTreeItem(tree, "\\QXRepo\\Proj1");
            EXPECT_TRUE(IsEnabled(dlg, IDOK));
            EXPECT_EQ(Text(dlg, IDC_REAL_PATH), root + "\\QXRepo\\Proj1");

            AfxClickDlgButton(&dlg, IDOK);
            EXPECT_TRUE(IsWindowVisible(dlg.m_hWnd));
            AfxClickDlgButton(&dlg, IDCANCEL);
        });
    EXPECT_EQ(result, IDCANCEL);

    ASSERT_EQ(boxes.Texts(), std::vector<std::string>{kReceived});
    EXPECT_EQ(boxes.Seen()[0].type, static_cast<UINT>(MB_ICONINFORMATION));
    const std::string fetched = root + "\\QXRepo\\Proj1";
    EXPECT_TRUE(Exists(fetched + "\\Screen1.xml"));
    EXPECT_FALSE(Exists(root + "\\QXRepo\\Proj2"));
    EXPECT_EQ(MarkerViewPath(fetched), "\\QXRepo\\Proj1");
    EXPECT_TRUE(log.Frames("Get Latest Version"));
    EXPECT_EQ(VORAgent::GetClientDirectory(), root.c_str());
}

TEST_F(RepositoryDialog, SolutionViewFetchesASolutionAndEveryProjectFolderItLists)
{
    const std::string root = FreshFolder("solution");
    VORAgent::SetClientDirectory(root.c_str());
    const std::string solution = root + "\\QXRepo";
    hsdk_testing::StartRecording();
    hsdk_testing::ClearRecordedCalls();
    hsdk_testing::OnCall("CaCheckout::Execute").Return(1);
    MessageBoxes boxes;
    CHRepositoryDlg dialog;
    RunModal(dialog,
             [&](CDialog& dlg)
             {
                 HWND list = Control(dlg, IDC_SOLUTION_LIST);
                 Settle();
                 SelectTreeItem(Control(dlg, IDC_REPOSITORY_TREE), "\\Common");
                 AfxClickDlgButton(&dlg, IDC_VIEW_SOLUTION);
                 EXPECT_TRUE(IsWindowVisible(list));
                 EXPECT_FALSE(IsWindowVisible(Control(dlg, IDC_REPOSITORY_TREE)));
                 EXPECT_FALSE(IsEnabled(dlg, IDOK)) << "no solution chosen yet";
                 EXPECT_EQ(Text(dlg, IDC_REAL_PATH), root);

                 const int row = RowNamed(list, "Main.qxsln");
                 ASSERT_GE(row, 0);
                 EXPECT_EQ(ListColumn(list, 1)[row], "\\QXRepo");
                 SelectRows(list, {row});
                 EXPECT_TRUE(IsEnabled(dlg, IDOK));
                 EXPECT_EQ(Text(dlg, IDC_REAL_PATH), solution);

                 // A solution that fails to arrive takes none of its projects, but is reported.
                 AfxClickDlgButton(&dlg, IDOK);
                 EXPECT_EQ(boxes.Texts(), std::vector<std::string>{kReceived});
                 EXPECT_FALSE(Exists(solution + "\\Main.qxsln"));
                 EXPECT_FALSE(Exists(solution + "\\Proj1"));
                 AfxClickDlgButton(&dlg, IDOK);

                 // Back and forth: the list is read from the repository once.
                 AfxClickDlgButton(&dlg, IDC_VIEW_FOLDER);
                 EXPECT_EQ(Text(dlg, IDC_REAL_PATH), root + "\\Common");
                 AfxClickDlgButton(&dlg, IDC_VIEW_SOLUTION);
                 AfxClickDlgButton(&dlg, IDCANCEL);
             });
    hsdk_testing::StopRecording();
    EXPECT_EQ(CountRecordedCalls("CaSQL::SetSQLStatement", "qxsln"), 1);
    EXPECT_EQ(boxes.Seen().size(), 2u);
    EXPECT_TRUE(Exists(solution + "\\Main.qxsln"));
    EXPECT_TRUE(Exists(solution + "\\Proj1\\Proj1.qxproj"));
    EXPECT_TRUE(Exists(solution + "\\Proj2\\Order.xml"));
    EXPECT_FALSE(Exists(solution + "\\Docs")) << "only the solution's projects are fetched";
}

TEST_F(RepositoryDialog, HeaderClicksSortTheSolutionListIgnoringCaseAndADriveRootStaysWhole)
{
    VORAgent::SetClientDirectory("C:\\");
    hsdk_testing::Admin(
        R"({"op":"admin.createItem","folder":"\\Common\\Lib","name":"apple.qxsln","noVersion":true})");
    hsdk_testing::Admin(
        R"({"op":"admin.createItem","folder":"\\QXRepo\\Docs","name":"Zeta.qxsln","noVersion":true})");
    CHRepositoryDlg dialog;
    RunModal(dialog,
             [&](CDialog& dlg)
             {
                 HWND list = Control(dlg, IDC_SOLUTION_LIST);
                 AfxClickDlgButton(&dlg, IDC_VIEW_SOLUTION);
                 const std::vector<std::string> byName = {"apple.qxsln", "Main.qxsln",
                                                          "Shared.qxsln", "Zeta.qxsln"};
                 EXPECT_EQ(ListColumn(list, 0), byName);

                 ClickListHeader(list, 0);
                 EXPECT_EQ(ListColumn(list, 0),
                           std::vector<std::string>(byName.rbegin(), byName.rend()));

                 ClickListHeader(list, 1);
                 EXPECT_EQ(ListColumn(list, 1),
                           (std::vector<std::string>{"\\Common", "\\Common\\Lib", "\\QXRepo",
                                                     "\\QXRepo\\Docs"}));
                 EXPECT_EQ(ListColumn(list, 0),
                           (std::vector<std::string>{"Shared.qxsln", "apple.qxsln", "Main.qxsln",
                                                     "Zeta.qxsln"}));
                 ClickListHeader(list, 1);
                 EXPECT_EQ(ListColumn(list, 1).front(), "\\QXRepo\\Docs");

                 AfxClickDlgButton(&dlg, IDC_VIEW_FOLDER);
                 Settle();
                 SelectTreeItem(Control(dlg, IDC_REPOSITORY_TREE), "\\QXRepo\\Proj1");
                 EXPECT_EQ(Text(dlg, IDC_REAL_PATH), "C:\\QXRepo\\Proj1");
                 AfxClickDlgButton(&dlg, IDCANCEL);
             });
    EXPECT_EQ(VORAgent::GetClientDirectory(), "C:\\");
}

TEST_F(RepositoryDialog, TheRootPathIsChosenInTheFolderBrowserAndStoredOnExit)
{
    const std::string first = FreshFolder("first");
    const std::string second = FreshFolder("second");
    VORAgent::SetClientDirectory((first + "\\gone").c_str());

    std::vector<std::string> offered;
    std::string answer;
    CXTBrowseDialog::SetTestHook(
        [&](CXTBrowseDialog& browser) -> INT_PTR
        {
            EXPECT_STREQ(browser.GetTitle(), "작업할 폴더 지정");
            offered.push_back(browser.GetSelPath());
            if (answer.empty())
                return IDCANCEL;
            browser.SetSelPath(answer.c_str());
            return IDOK;
        });

    CHRepositoryDlg dialog;
    RunModal(
        dialog,
        [&](CDialog& dlg)
        {
            // A stored folder that does not exist gives way to the system drive.
            EXPECT_EQ(Text(dlg, IDC_CLIENT_PATH), static_cast<LPCSTR>(VORAgent::GetSysDrive()));
            Settle();
            SelectTreeItem(Control(dlg, IDC_REPOSITORY_TREE), "\\Common\\Lib");

            AfxClickDlgButton(&dlg, IDC_CHANGE_PATH);
            EXPECT_EQ(Text(dlg, IDC_CLIENT_PATH), static_cast<LPCSTR>(VORAgent::GetSysDrive()));

            answer = first;
            AfxClickDlgButton(&dlg, IDC_CHANGE_PATH);
            EXPECT_EQ(Text(dlg, IDC_CLIENT_PATH), first);
            EXPECT_EQ(Text(dlg, IDC_REAL_PATH), first + "\\Common\\Lib");

            answer = second + "\\";
            AfxClickDlgButton(&dlg, IDC_CHANGE_PATH);
            EXPECT_EQ(Text(dlg, IDC_CLIENT_PATH), second + "\\");
            AfxClickDlgButton(&dlg, IDCANCEL);
        });
    ASSERT_EQ(offered.size(), 3u);
    EXPECT_EQ(offered[0], static_cast<LPCSTR>(VORAgent::GetSysDrive()));
    EXPECT_EQ(offered[2], first);
    EXPECT_EQ(VORAgent::GetClientDirectory(), second.c_str()) << "stored without the backslash";

    // A root that has vanished by the time of Exit is stored as the system drive.
    CHRepositoryDlg vanishing;
    RunModal(vanishing,
             [&](CDialog& dlg)
             {
                 RemoveDirectoryA(second.c_str());
                 AfxClickDlgButton(&dlg, IDCANCEL);
             });
    EXPECT_EQ(VORAgent::GetClientDirectory(), VORAgent::GetSysDrive());
}
