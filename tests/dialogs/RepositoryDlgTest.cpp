#include <windows.h>

#include <gtest/gtest.h>

#include <HsdkTesting.h>
#include <XTBrowseDialog.h>

#include <algorithm>

#include "CHRepositoryDlg.h"
#include "DialogTesting.h"
#include "VORAgent.h"

using namespace dialog_testing;

namespace
{
const char kReceived[] = "하비스트 서버의 최신 파일을 받았습니다.";

class RepositoryDialog : public ::testing::Test
{
protected:
    void SetUp() override { LogInAsDev1(); }
    void TearDown() override
    {
        CXTBrowseDialog::SetTestHook(nullptr);
        hsdk_testing::ClearFailures();
    }
};

int CountSolutionQueries()
{
    const std::vector<std::string> calls = hsdk_testing::GetRecordedCalls();
    return static_cast<int>(std::count_if(calls.begin(), calls.end(),
                                          [](const std::string& call) {
                                              return call.find("CaSQL::SetSQLStatement") == 0 &&
                                                     call.find("qxsln") != std::string::npos;
                                          }));
}

int RowOf(HWND list, const std::string& name)
{
    const std::vector<std::string> names = ListColumn(list, 0);
    return static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin());
}

void ShowSolutionView(CDialog& dlg)
{
    AfxClickDlgButton(&dlg, IDC_VIEW_SOLUTION);
}
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
            EXPECT_TRUE(IsWindowVisible(tree));
            EXPECT_FALSE(IsWindowVisible(Control(dlg, IDC_SOLUTION_LIST)));
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

    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, kReceived);
    EXPECT_EQ(boxes.Seen()[0].type, static_cast<UINT>(MB_ICONINFORMATION));
    const std::string fetched = root + "\\QXRepo\\Proj1";
    EXPECT_TRUE(FileExists(fetched + "\\Screen1.xml"));
    EXPECT_TRUE(FileExists(fetched + "\\Screens\\Main.xml"));
    EXPECT_FALSE(FolderExists(root + "\\QXRepo\\Proj2"));
    EXPECT_EQ(MarkerViewPath(fetched), "\\QXRepo\\Proj1");
    ASSERT_GE(log.Lines().size(), 2u);
    EXPECT_NE(log.Lines().front().find("[Get Latest Version] started"), std::string::npos);
    EXPECT_NE(log.Lines().back().find("[Get Latest Version] ended"), std::string::npos);
    EXPECT_EQ(VORAgent::GetClientDirectory(), root.c_str());
}

TEST_F(RepositoryDialog, SolutionViewFetchesASolutionAndEveryProjectFolderItLists)
{
    const std::string root = FreshFolder("solution");
    VORAgent::SetClientDirectory(root.c_str());
    hsdk_testing::StartRecording();
    hsdk_testing::ClearRecordedCalls();
    MessageBoxes boxes;
    CHRepositoryDlg dialog;
    RunModal(dialog,
             [&](CDialog& dlg)
             {
                 HWND list = Control(dlg, IDC_SOLUTION_LIST);
                 Settle();
                 SelectTreeItem(Control(dlg, IDC_REPOSITORY_TREE), "\\Common");
                 ShowSolutionView(dlg);
                 EXPECT_TRUE(IsWindowVisible(list));
                 EXPECT_FALSE(IsWindowVisible(Control(dlg, IDC_REPOSITORY_TREE)));
                 EXPECT_FALSE(IsEnabled(dlg, IDOK)) << "no solution chosen yet";
                 EXPECT_EQ(Text(dlg, IDC_REAL_PATH), root);

                 const int row = RowOf(list, "Main.qxsln");
                 ASSERT_LT(row, ListView_GetItemCount(list));
                 EXPECT_EQ(ListColumn(list, 1)[row], "\\QXRepo");
                 SelectListRow(list, row);
                 EXPECT_TRUE(IsEnabled(dlg, IDOK));
                 EXPECT_EQ(Text(dlg, IDC_REAL_PATH), root + "\\QXRepo");
                 AfxClickDlgButton(&dlg, IDOK);

                 // Back and forth: the list is read from the repository once.
                 AfxClickDlgButton(&dlg, IDC_VIEW_FOLDER);
                 EXPECT_EQ(Text(dlg, IDC_REAL_PATH), root + "\\Common");
                 ShowSolutionView(dlg);
                 AfxClickDlgButton(&dlg, IDCANCEL);
             });
    hsdk_testing::StopRecording();
    EXPECT_EQ(CountSolutionQueries(), 1);
    EXPECT_EQ(boxes.Seen().size(), 1u);

    const std::string solution = root + "\\QXRepo";
    EXPECT_TRUE(FileExists(solution + "\\Main.qxsln"));
    EXPECT_TRUE(FileExists(solution + "\\Proj1\\Proj1.qxproj"));
    EXPECT_TRUE(FileExists(solution + "\\Proj1\\Screens\\Main.xml"));
    EXPECT_TRUE(FileExists(solution + "\\Proj2\\Order.xml"));
    EXPECT_EQ(MarkerViewPath(solution + "\\Proj2"), "\\QXRepo\\Proj2");
    EXPECT_FALSE(FolderExists(solution + "\\Docs")) << "only the solution's projects are fetched";
}

TEST_F(RepositoryDialog, AFailedSolutionFetchSkipsItsProjectsButStillReports)
{
    const std::string root = FreshFolder("failing");
    VORAgent::SetClientDirectory(root.c_str());
    hsdk_testing::FailCall("CaCheckout::Execute", 1);
    MessageBoxes boxes;
    CHRepositoryDlg dialog;
    RunModal(dialog,
             [&](CDialog& dlg)
             {
                 HWND list = Control(dlg, IDC_SOLUTION_LIST);
                 ShowSolutionView(dlg);
                 SelectListRow(list, RowOf(list, "Main.qxsln"));
                 AfxClickDlgButton(&dlg, IDOK);
                 AfxClickDlgButton(&dlg, IDCANCEL);
             });
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, kReceived);
    EXPECT_FALSE(FileExists(root + "\\QXRepo\\Main.qxsln"));
    EXPECT_FALSE(FolderExists(root + "\\QXRepo\\Proj1"));
}

TEST_F(RepositoryDialog, HeaderClicksSortTheSolutionListIgnoringCase)
{
    hsdk_testing::Admin(
        R"({"op":"admin.createItem","folder":"\\Common\\Lib","name":"apple.qxsln","noVersion":true})");
    hsdk_testing::Admin(
        R"({"op":"admin.createItem","folder":"\\QXRepo\\Docs","name":"Zeta.qxsln","noVersion":true})");
    CHRepositoryDlg dialog;
    RunModal(dialog,
             [&](CDialog& dlg)
             {
                 HWND list = Control(dlg, IDC_SOLUTION_LIST);
                 ShowSolutionView(dlg);
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
                 AfxClickDlgButton(&dlg, IDCANCEL);
             });
}

TEST_F(RepositoryDialog, ADriveRootKeepsItsBackslashOnlyOnce)
{
    VORAgent::SetClientDirectory("C:\\");
    CHRepositoryDlg dialog;
    RunModal(dialog,
             [&](CDialog& dlg)
             {
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
