#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <CHLogInDlg.h>
#include <VORAgent.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "HostMainWnd.h"
#include "HostResource.h"
#include "HostTestSupport.h"

using namespace host_test;
using ::testing::Contains;
using ::testing::HasSubstr;

// The host window's start-up against the sample repository. The installation check and the
// configuration are read once per process, so each case runs in a process of its own; the
// configuration file is the one beside this test program, restored afterwards.
class HostStartUp : public ::testing::Test
{
protected:
    void SetUp() override
    {
        _putenv("VOR_NONINTERACTIVE=1");
        SetClientInstalled(true);
        ::CreateDirectoryA((BinFolder() + "\\sys").c_str(), NULL);
        m_ini = BinFolder() + "\\sys\\qxp_vor.ini";
        m_bHadIni = ::GetFileAttributesA(m_ini.c_str()) != INVALID_FILE_ATTRIBUTES;
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
        AfxSetMessageBoxHandler(nullptr);
        SetClientInstalled(true);
        if (m_bHadIni)
            WriteFile(m_ini, m_savedIni);
        else
            ::DeleteFileA(m_ini.c_str());
    }

    void WriteConfig(const char* password)
    {
        WriteFile(m_ini, std::string("[Connection]\r\nUser=dev1\r\nPassword=") + password +
                             "\r\nBroker=127.0.0.1\r\nSavePW=1\r\n[Default Context]\r\n"
                             "Project=QXP\r\nState=Development\r\nPackage=QXP-001\r\n");
    }

    // Counts the login dialogs and answers each with its attempts in turn: a password pressed
    // with OK, or an empty text for Cancel.
    void AnswerLogins(std::vector<std::vector<std::string>> dialogs)
    {
        AfxSetModalHook(
            [this, dialogs](CDialog* dialog)
            {
                if (!dialog->IsKindOf(RUNTIME_CLASS(CHLogInDlg)))
                {
                    dialog->EndDialog(IDCANCEL);
                    return;
                }
                for (const std::string& password : dialogs.at(m_nLogins++))
                {
                    if (password.empty())
                    {
                        AfxClickDlgButton(dialog, IDCANCEL);
                        return;
                    }
                    dialog->SetDlgItemText(1001, password.c_str());
                    AfxClickDlgButton(dialog, IDOK);
                }
            });
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

    static bool IsEnabled(CHostMainWnd& wnd, UINT id)
    {
        UINT state = ::GetMenuState(::GetMenu(wnd.GetSafeHwnd()), id, MF_BYCOMMAND);
        return state != static_cast<UINT>(-1) && (state & MF_GRAYED) == 0;
    }

    std::string m_ini;
    std::string m_savedIni;
    bool m_bHadIni = false;
    int m_nLogins = 0;
    std::vector<std::string> m_boxes;
};

TEST_F(HostStartUp, StoredLoginConnectsAndTheOutputWindowShowsEveryLine)
{
    WriteConfig("dev1pw");
    AnswerLogins({});
    CHostMainWnd wnd;
    ASSERT_TRUE(wnd.Create());
    wnd.StartUp();

    EXPECT_EQ(m_nLogins, 0);
    ASSERT_TRUE(VORAgent::IsLogIn());
    EXPECT_EQ(VORAgent::GetOutputHwnd(), wnd.GetOutput().GetSafeHwnd());
    EXPECT_TRUE(IsEnabled(wnd, ID_VOR_CHECK_OUT));
    EXPECT_FALSE(IsEnabled(wnd, ID_VOR_LOGIN));

    // Server messages of a real fetch arrive through the agent's callbacks.
    std::string folder = MakeTempFolder("vs");
    VORAgent::SetOutputMsg("Get Latest Version", 1);
    ASSERT_TRUE(VORAgent::GetLatestVersion("*", folder.c_str(), "\\QXRepo\\Docs"));
    VORAgent::m_sLatestMsg = "Item readme.txt can not be processed.";
    wnd.GetOutput().SendMessage(WM_VOR_OUTPUT, 0, 0);
    std::vector<std::string> lines = Lines(wnd.GetOutput());
    EXPECT_THAT(lines, Contains(HasSubstr("---- [Get Latest Version] started")));
    EXPECT_THAT(lines, Contains(HasSubstr("readme.txt;0 updated to")));
    EXPECT_EQ(lines.back(), "[오류] Item readme.txt can not be processed.");

    // The working folder feeds the commands: the fetched folder now mirrors \QXRepo\Docs.
    wnd.GetWorkingFolder().SetPath(folder.c_str());
    CWorkingFolder::Split split;
    ASSERT_TRUE(wnd.GetWorkingFolder().ReadState(split));
    EXPECT_EQ(split.free.size(), 2u);
    EXPECT_TRUE(split.newFiles.empty());
    WriteFile(folder + "\\new.xml", "<new/>");
    ASSERT_TRUE(wnd.GetWorkingFolder().ReadState(split));
    ASSERT_EQ(split.newFiles.size(), 1u);
    EXPECT_EQ(split.newFiles[0], "new.xml");

    wnd.SendMessage(WM_CLOSE);
    EXPECT_FALSE(VORAgent::IsLogIn());
    EXPECT_THAT(ReadFile(m_ini), HasSubstr("Package=QXP-001"));
    EXPECT_TRUE(m_boxes.empty());
    RemoveTree(folder);
}

TEST_F(HostStartUp, LoginDialogOnlyWhileLoggedOut)
{
    WriteConfig("");
    // A wrong password keeps the dialog open; cancel leaves the host running logged out.
    AnswerLogins({{"wrong", ""}, {"dev1pw"}});
    CHostMainWnd wnd;
    ASSERT_TRUE(wnd.Create());
    wnd.StartUp();

    EXPECT_FALSE(VORAgent::IsLogIn());
    EXPECT_EQ(m_nLogins, 1);
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_THAT(m_boxes[0], HasSubstr("로그인 실패!"));
    EXPECT_TRUE(IsEnabled(wnd, ID_VOR_LOGIN));
    EXPECT_FALSE(IsEnabled(wnd, ID_VOR_CHECK_IN));
    EXPECT_EQ(VORAgent::GetOutputHwnd(), wnd.GetOutput().GetSafeHwnd());

    wnd.SendMessage(WM_COMMAND, ID_VOR_LOGIN);
    EXPECT_EQ(m_nLogins, 2);
    EXPECT_TRUE(VORAgent::IsLogIn());
    EXPECT_TRUE(IsEnabled(wnd, ID_VOR_CHECK_IN));
    EXPECT_FALSE(IsEnabled(wnd, ID_VOR_LOGIN));
    wnd.SendMessage(WM_CLOSE);
}

TEST_F(HostStartUp, WithoutTheClientNothingReachesTheRepository)
{
    WriteConfig("dev1pw");
    SetClientInstalled(false);
    AnswerLogins({});
    CHostMainWnd wnd;
    ASSERT_TRUE(wnd.Create());
    wnd.StartUp();

    EXPECT_EQ(m_nLogins, 0);
    EXPECT_FALSE(VORAgent::IsLogIn());
    EXPECT_FALSE(IsEnabled(wnd, ID_VOR_LOGIN));
    EXPECT_FALSE(IsEnabled(wnd, ID_VOR_REPOSITORY));
    EXPECT_THAT(Lines(wnd.GetOutput()).back(), HasSubstr("RTHOME"));
    // Closing must not overwrite the configuration that was never read.
    std::string before = ReadFile(m_ini);
    wnd.SendMessage(WM_CLOSE);
    EXPECT_EQ(ReadFile(m_ini), before);
}
