#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <CHLogInDlg.h>
#include <CHShowHistoryDlg.h>
#include <VORAgent.h>
#include <afxdlgs.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "HostMainWnd.h"
#include "HostResource.h"
#include "TestFiles.h"
#include "resource.h"

using ::testing::AllOf;
using ::testing::Contains;
using ::testing::HasSubstr;

// The host window against the sample repository: its start-up, and commands that need it. The
// installation check and the configuration are read once per process, so each case runs in a
// process of its own; the configuration file is the one beside this test program, restored
// afterwards.
class HostStartUp : public ::testing::Test
{
protected:
    void SetUp() override
    {
        _putenv("VOR_NONINTERACTIVE=1");
        SetClientInstalled(true);
        ::CreateDirectoryA((ProgramFolder() + "\\sys").c_str(), NULL);
        m_savedIni = ReadFile(m_ini);
        AfxSetMessageBoxHandler(
            [this](HWND, LPCSTR text, LPCSTR, UINT)
            {
                m_boxes.push_back(text);
                return IDOK;
            });
    }

    void TearDown() override
    {
        AfxSetModalHook(nullptr);
        AfxSetFileDialogHook(nullptr);
        AfxSetMessageBoxHandler(nullptr);
        SetClientInstalled(true);
        if (m_savedIni.empty())
            ::DeleteFileA(m_ini.c_str());
        else
            WriteFile(m_ini, m_savedIni);
    }

    // Starts the host with the stored password given (empty: none) and answers each login
    // dialog with its attempts in turn: a password pressed with OK, or an empty text for Cancel.
    void Start(const char* password, std::vector<std::vector<std::string>> dialogs)
    {
        WriteFile(m_ini, std::string("[Connection]\r\nUser=dev1\r\nPassword=") + password +
                             "\r\nBroker=127.0.0.1\r\nSavePW=1\r\n[Default Context]\r\n"
                             "Project=QXP\r\nState=Development\r\nPackage=QXP-001\r\n");
        AfxSetModalHook(
            [this, dialogs](CDialog* dialog)
            {
                if (!dialog->IsKindOf(RUNTIME_CLASS(CHLogInDlg)))
                {
                    dialog->EndDialog(IDCANCEL);
                    return;
                }
                for (const std::string& answer : dialogs.at(m_nLogins++))
                {
                    if (answer.empty())
                    {
                        AfxClickDlgButton(dialog, IDCANCEL);
                        return;
                    }
                    dialog->SetDlgItemText(1001, answer.c_str());
                    AfxClickDlgButton(dialog, IDOK);
                }
            });
        ASSERT_TRUE(m_wnd.Create());
        m_wnd.StartUp();
    }

    static std::vector<std::string> Lines(COutputWnd& output)
    {
        std::vector<std::string> lines;
        for (int i = 0; i < output.GetCount(); ++i)
        {
            CString line;
            output.GetText(i, line);
            lines.push_back(static_cast<LPCSTR>(line));
        }
        return lines;
    }

    bool IsEnabled(UINT id)
    {
        UINT state = ::GetMenuState(::GetMenu(m_wnd.GetSafeHwnd()), id, MF_BYCOMMAND);
        return state != static_cast<UINT>(-1) && (state & MF_GRAYED) == 0;
    }

    const std::string m_ini = ProgramFolder() + "\\sys\\qxp_vor.ini";
    std::string m_savedIni;
    int m_nLogins = 0;
    std::vector<std::string> m_boxes;
    CHostMainWnd m_wnd;
};

TEST_F(HostStartUp, StoredLoginConnectsAndTheOutputWindowShowsEveryLine)
{
    Start("dev1pw", {});

    EXPECT_EQ(m_nLogins, 0);
    ASSERT_TRUE(VORAgent::IsLogIn());
    EXPECT_EQ(VORAgent::GetOutputHwnd(), m_wnd.GetOutput().GetSafeHwnd());
    EXPECT_TRUE(IsEnabled(ID_VOR_CHECK_OUT));
    EXPECT_FALSE(IsEnabled(ID_VOR_LOGIN));

    // Server messages of a real fetch arrive through the agent's callbacks.
    TempFolder temp;
    const std::string& folder = temp.Path();
    VORAgent::SetOutputMsg("Get Latest Version", 1);
    ASSERT_TRUE(VORAgent::GetLatestVersion("*", folder.c_str(), "\\QXRepo\\Docs"));
    VORAgent::m_sLatestMsg = "Item readme.txt can not be processed.";
    m_wnd.GetOutput().SendMessage(WM_VOR_OUTPUT, 0, 0);
    std::vector<std::string> lines = Lines(m_wnd.GetOutput());
    EXPECT_THAT(lines, Contains(HasSubstr("---- [Get Latest Version] started")));
    EXPECT_THAT(lines, Contains(HasSubstr("readme.txt;0 updated to")));
    EXPECT_EQ(lines.back(), "[오류] Item readme.txt can not be processed.");

    // The working folder feeds the commands: the fetched folder now mirrors \QXRepo\Docs.
    m_wnd.GetWorkingFolder().SetPath(folder.c_str());
    CWorkingFolder::Split split;
    ASSERT_TRUE(m_wnd.GetWorkingFolder().ReadState(split));
    EXPECT_EQ(split.free.size(), 2u);
    WriteFile(folder + "\\new.xml", "<new/>");
    ASSERT_TRUE(m_wnd.GetWorkingFolder().ReadState(split));
    ASSERT_EQ(split.newFiles.size(), 1u);
    EXPECT_EQ(split.newFiles[0], "new.xml");

    m_wnd.SendMessage(WM_CLOSE);
    EXPECT_FALSE(VORAgent::IsLogIn());
    EXPECT_THAT(ReadFile(m_ini), HasSubstr("Package=QXP-001"));
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(HostStartUp, HistoryOfAFileDeepInAFetchedTreeAndOfOneThatMirrorsNothing)
{
    Start("dev1pw", {});
    ASSERT_TRUE(VORAgent::IsLogIn());
    // Fetched as the repository dialog fetches: into the root followed by the view path.
    TempFolder root;
    const std::string repo = root.Make("QXRepo");
    ASSERT_TRUE(VORAgent::GetLatestVersion("*", repo.c_str(), "\\QXRepo"));
    m_wnd.GetWorkingFolder().SetPath(repo.c_str());

    std::string picked;
    AfxSetFileDialogHook(
        [&](CFileDialog& dlg)
        {
            lstrcpynA(dlg.m_ofn.lpstrFile, picked.c_str(), dlg.m_ofn.nMaxFile);
            return IDOK;
        });
    std::vector<std::string> shownPaths;
    int rows = -1;
    AfxSetModalHook(
        [&](CDialog* dialog)
        {
            if (dialog->IsKindOf(RUNTIME_CLASS(CHShowHistoryDlg)))
            {
                CString path;
                dialog->GetDlgItemText(IDC_HISTORY_FILE_PATH, path);
                shownPaths.push_back(static_cast<LPCSTR>(path));
                rows = ListView_GetItemCount(dialog->GetDlgItem(IDC_VERSIONS_LIST)->GetSafeHwnd());
            }
            dialog->EndDialog(IDCANCEL);
        });

    picked = repo + "\\Proj1\\Screens\\Main.xml";
    m_wnd.SendMessage(WM_COMMAND, ID_VOR_HISTORY);
    ASSERT_EQ(shownPaths.size(), 1u);
    EXPECT_EQ(shownPaths[0], "\\QXRepo\\Proj1\\Screens\\Main.xml");
    EXPECT_EQ(rows, 11);

    // A folder that no fetch laid out: no empty dialog, but which folder and what to do.
    picked = root.Write("loose.xml", "<loose/>");
    m_wnd.SendMessage(WM_COMMAND, ID_VOR_HISTORY);
    EXPECT_EQ(shownPaths.size(), 1u);
    EXPECT_THAT(Lines(m_wnd.GetOutput()), Contains(AllOf(HasSubstr("> " + root.Path() + " 폴더는"),
                                                         HasSubstr("harvest.vor 없음"))));
    EXPECT_THAT(Lines(m_wnd.GetOutput()).back(), HasSubstr("저장소에서 가져오기"));
    m_wnd.SendMessage(WM_CLOSE);
}

TEST_F(HostStartUp, LoginDialogOnlyWhileLoggedOut)
{
    // A wrong password keeps the dialog open; cancel leaves the host running logged out.
    Start("", {{"wrong", ""}, {"dev1pw"}});

    EXPECT_FALSE(VORAgent::IsLogIn());
    EXPECT_EQ(m_nLogins, 1);
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_THAT(m_boxes[0], HasSubstr("로그인 실패!"));
    EXPECT_TRUE(IsEnabled(ID_VOR_LOGIN));
    EXPECT_FALSE(IsEnabled(ID_VOR_CHECK_IN));

    m_wnd.SendMessage(WM_COMMAND, ID_VOR_LOGIN);
    EXPECT_EQ(m_nLogins, 2);
    EXPECT_TRUE(VORAgent::IsLogIn());
    EXPECT_TRUE(IsEnabled(ID_VOR_CHECK_IN));
    EXPECT_FALSE(IsEnabled(ID_VOR_LOGIN));
    m_wnd.SendMessage(WM_CLOSE);
}

TEST_F(HostStartUp, WithoutTheClientNothingReachesTheRepository)
{
    SetClientInstalled(false);
    Start("dev1pw", {});

    EXPECT_EQ(m_nLogins, 0);
    EXPECT_FALSE(VORAgent::IsLogIn());
    EXPECT_FALSE(IsEnabled(ID_VOR_LOGIN));
    EXPECT_FALSE(IsEnabled(ID_VOR_REPOSITORY));
    EXPECT_THAT(Lines(m_wnd.GetOutput()).back(), HasSubstr("RTHOME"));
    // Closing must not overwrite the configuration that was never read.
    std::string before = ReadFile(m_ini);
    m_wnd.SendMessage(WM_CLOSE);
    EXPECT_EQ(ReadFile(m_ini), before);
}
