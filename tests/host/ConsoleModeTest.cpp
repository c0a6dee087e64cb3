#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestFiles.h"

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;

// vorhost.exe --console run as a separate program, as a script runs it, against the sample
// repository of the broker that the test harness started. Each test installs the host into a
// folder of its own, so that its configuration file (sys\qxp_vor.ini) starts empty.
class ConsoleMode : public ::testing::Test
{
protected:
    struct Result
    {
        DWORD exitCode;
        std::string out;
        std::string err;
    };

    void SetUp() override
    {
        SetClientInstalled(true);
        CopyModules(m_install.Path());
        ASSERT_TRUE(::CopyFileA((ProgramFolder() + "\\vorhost.exe").c_str(),
                                (m_install.Path() + "\\vorhost.exe").c_str(), FALSE));
        ::CreateDirectoryA((m_install.Path() + "\\sys").c_str(), NULL);
    }

    Result Run(const std::vector<std::string>& args)
    {
        std::string command = "\"" + m_install.Path() + "\\vorhost.exe\"";
        for (const std::string& arg : args)
            command += " \"" + arg + "\"";
        // Fresh files for every run: a console helper of the previous run may still hold its
        // files open for a moment under Wine.
        const std::string run = m_install.Path() + "\\run" + std::to_string(++m_runs);
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
        HANDLE out = ::CreateFileA((run + ".out").c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                   CREATE_ALWAYS, 0, NULL);
        HANDLE err = ::CreateFileA((run + ".err").c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                   CREATE_ALWAYS, 0, NULL);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = out;
        startup.hStdError = err;
        PROCESS_INFORMATION process = {};
        Result result = {~0u, "", ""};
        if (::CreateProcessA(NULL, &command[0], NULL, NULL, TRUE, CREATE_NO_WINDOW, NULL,
                             m_install.Path().c_str(), &startup, &process))
        {
            if (::WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0)
                ::GetExitCodeProcess(process.hProcess, &result.exitCode);
            else
                ::TerminateProcess(process.hProcess, 99);
            ::CloseHandle(process.hThread);
            ::CloseHandle(process.hProcess);
        }
        ::CloseHandle(out);
        ::CloseHandle(err);
        result.out = ReadFile(run + ".out");
        result.err = ReadFile(run + ".err");
        return result;
    }

    TempFolder m_install;
    const std::string m_ini = m_install.Path() + "\\sys\\qxp_vor.ini";
    const std::string m_work = m_install.Path() + "\\work";
    int m_runs = 0;
};

TEST_F(ConsoleMode, BadArgumentsAndFailedLoginsAreRefusedWithTheReason)
{
    Result help = Run({"--help"});
    EXPECT_EQ(help.exitCode, 0u);
    EXPECT_THAT(help.out, AllOf(HasSubstr("--console"), HasSubstr("checkin [--keep]"),
                                HasSubstr("history FOLDER FILE")));

    const std::vector<std::vector<std::string>> bad = {
        {"--console"},
        {"--console", "publish", "x"},
        {"--console", "get", "\\QXRepo"},
        {"--console", "login", "127.0.0.1", "dev1"},
        {"--console", "checkout", "--force", "C:\\x", "a.xml"},
        {"--console", "history", "C:\\x", "a.xml", "b.xml"},
        {"--window"},
        {"C:\\x", "C:\\y"},
    };
    for (const auto& args : bad)
    {
        Result result = Run(args);
        EXPECT_EQ(result.exitCode, 2u) << args.back();
        EXPECT_THAT(result.err, HasSubstr("vorhost")) << args.back();
        EXPECT_EQ(result.out, "") << args.back();
    }
    // Nothing reached the repository: no configuration was written.
    EXPECT_FALSE(Exists(m_ini));

    // Login failures say why and never wait.
    Result noLogin = Run({"--console", "state", m_install.Path()});
    EXPECT_EQ(noLogin.exitCode, 6u);
    EXPECT_THAT(noLogin.err, HasSubstr("login BROKER USER PASSWORD"));

    Result wrongPassword = Run({"--console", "login", "127.0.0.1", "dev1", "wrong"});
    EXPECT_EQ(wrongPassword.exitCode, 4u);
    // The agent's own message box, answered and shown on stderr instead of on screen.
    EXPECT_THAT(wrongPassword.err, AllOf(HasSubstr(u8"vorhost: message: 로그인 실패!"),
                                         HasSubstr("refused the login")));

    Result unreachable = Run({"--console", "login", "127.0.0.1:1", "dev1", "dev1pw"});
    EXPECT_EQ(unreachable.exitCode, 5u);
    EXPECT_THAT(unreachable.err, HasSubstr("no broker answers at 127.0.0.1 port 1"));

    // A stored login whose broker went away is told apart from a wrong password too.
    ASSERT_EQ(Run({"--console", "login", "127.0.0.1", "dev1", "dev1pw"}).exitCode, 0u);
    std::string ini = ReadFile(m_ini);
    EXPECT_THAT(ini, AllOf(HasSubstr("User=dev1"), HasSubstr("Password=dev1pw")));
    size_t broker = ini.find("Broker=127.0.0.1");
    ASSERT_NE(broker, std::string::npos);
    WriteFile(m_ini, ini.replace(broker, 16, "Broker=127.0.0.1:1"));
    Result brokerGone = Run({"--console", "state", m_install.Path()});
    EXPECT_EQ(brokerGone.exitCode, 5u);

    SetClientInstalled(false);
    Result notInstalled = Run({"--console", "state", m_install.Path()});
    SetClientInstalled(true);
    EXPECT_EQ(notInstalled.exitCode, 3u);
    EXPECT_THAT(notInstalled.err, HasSubstr("RTHOME"));
}

TEST_F(ConsoleMode, FullCycleAndRefusalsAgainstTheSample)
{
    ASSERT_EQ(Run({"--console", "login", "127.0.0.1", "dev1", "dev1pw"}).exitCode, 0u);
    ASSERT_EQ(Run({"--console", "context", "QXP", "Development", "QXP-001"}).exitCode, 0u);
    // Laid out below the root as the repository dialog lays it out.
    std::string proj1 = m_work + "\\QXRepo\\Proj1";
    Result get = Run({"--console", "get", "\\QXRepo\\Proj1", m_work});
    ASSERT_EQ(get.exitCode, 0u) << get.err;
    EXPECT_THAT(get.out, AllOf(HasSubstr("---- [Get Latest Version] started at time"),
                               HasSubstr("Screen1.xml;0 updated to"),
                               HasSubstr("---- [Get Latest Version] ended at time")));
    // Screen1.qxs is dev1's, but checked out on another computer.
    EXPECT_THAT(Run({"--console", "state", proj1}).out,
                AllOf(HasSubstr("checked out elsewhere (1):\r\n  Screen1.qxs"),
                      HasSubstr("checked out here (0):")));

    Result checkOut = Run({"--console", "checkout", proj1, "Screen1.xml"});
    ASSERT_EQ(checkOut.exitCode, 0u) << checkOut.err;
    EXPECT_THAT(checkOut.out,
                AllOf(HasSubstr("checked out to"), HasSubstr("checked out 1 file(s)")));
    EXPECT_THAT(Run({"--console", "state", proj1}).out,
                HasSubstr("checked out here (1):\r\n  Screen1.xml"));

    WriteFile(proj1 + "\\Screen1.xml", "changed by the console test\r\n");
    Result checkIn =
        Run({"--console", "checkin", "--keep", proj1, "console change", "Screen1.xml"});
    ASSERT_EQ(checkIn.exitCode, 0u) << checkIn.err;
    EXPECT_THAT(checkIn.out, AllOf(HasSubstr("---- [Check In] started"), HasSubstr("checked into"),
                                   HasSubstr("kept checked out")));
    Result history = Run({"--console", "history", proj1, "Screen1.xml"});
    ASSERT_EQ(history.exitCode, 0u) << history.err;
    EXPECT_THAT(history.out, AllOf(HasSubstr("\\QXRepo\\Proj1\\Screen1.xml: 3 version(s)"),
                                   HasSubstr("console change"), HasSubstr("Initial import")));

    // Kept checked out, so it can be undone.
    Result undo = Run({"--console", "undo", proj1, "Screen1.xml"});
    ASSERT_EQ(undo.exitCode, 0u) << undo.err;
    EXPECT_THAT(undo.out, HasSubstr("---- [Undo Checkout] started"));
    EXPECT_THAT(Run({"--console", "state", proj1}).out, HasSubstr("checked out here (0):"));

    // Reserved by dev2: the server's refusal arrives as an error line.
    std::string proj2 = m_work + "\\QXRepo\\Proj2";
    ASSERT_EQ(Run({"--console", "get", "QXRepo\\Proj2", m_work}).exitCode, 0u);
    Result taken = Run({"--console", "checkout", proj2, "Order.xml"});
    EXPECT_EQ(taken.exitCode, 1u);
    EXPECT_THAT(taken.err, HasSubstr("could not check out: Order.xml"));
    Result notMapped = Run({"--console", "checkout", m_work, "Order.xml"});
    EXPECT_EQ(notMapped.exitCode, 1u);
    EXPECT_THAT(notMapped.err, HasSubstr("harvest.vor"));
    Result missingFile = Run({"--console", "checkin", proj2, "nothing", "Absent.xml"});
    EXPECT_EQ(missingFile.exitCode, 2u);
    EXPECT_THAT(missingFile.err, HasSubstr("no file Absent.xml"));
    Result nothingThere = Run({"--console", "get", "\\QXRepo\\Empty", m_work});
    EXPECT_EQ(nothingThere.exitCode, 1u);
    EXPECT_THAT(nothingThere.out + nothingThere.err, Not(HasSubstr("got the latest")));
    EXPECT_EQ(Run({"--console", "get", "\\", m_work}).exitCode, 2u);

    // A package the state does not have: the choices are named and the context stays.
    Result wrongPackage = Run({"--console", "context", "QXP", "Development", "NOPE"});
    EXPECT_EQ(wrongPackage.exitCode, 1u);
    EXPECT_THAT(wrongPackage.err, AllOf(HasSubstr("QXP-001"), HasSubstr("QXP-002")));
    EXPECT_THAT(ReadFile(m_ini), HasSubstr("Package=QXP-001"));
}
