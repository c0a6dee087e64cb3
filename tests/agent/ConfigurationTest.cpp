#include <windows.h>
#include "AgentTestSupport.h"

// The installation check and the configuration are read once per process, so each test here
// runs in a process of its own and starts before anything else has asked.

TEST(FirstStartWithoutClient, NothingIsReadAndLogoutWritesInitialValues)
{
    SetClientInstalled(false);
    WriteConfig("[Connection]\nUser=dev1\nPassword=dev1pw\nBroker=127.0.0.1\n");
    MessageBoxRecorder messages;

    // Logging out before the check saves the initial state over the stored one.
    VORAgent::LogOut();
    EXPECT_EQ("", ReadConfig("Connection", "User"));
    EXPECT_EQ("", ReadConfig("Connection", "Password"));
    EXPECT_EQ("1", ReadConfig("Connection", "SavePW"));
    EXPECT_EQ("", ReadConfig("Default Context", "Package"));

    WriteConfig("[Connection]\nUser=dev1\nPassword=dev1pw\nBroker=127.0.0.1\n");
    EXPECT_EQ(0, VORAgent::IsInstallVOR());
    SetClientInstalled(true);
    EXPECT_EQ(0, VORAgent::IsInstallVOR()) << "the answer is kept for the process";
    EXPECT_EQ("", Str(VORAgent::GetUserNameA()));

    hsdk_testing::StartRecording();
    VORAgent::Connect();
    std::vector<CString> projects;
    VORAgent::GetProjects(0, projects);
    hsdk_testing::StopRecording();
    EXPECT_EQ(0, VORAgent::IsLogIn());
    EXPECT_TRUE(projects.empty());
    EXPECT_TRUE(hsdk_testing::GetRecordedCalls().empty());
    EXPECT_TRUE(messages.boxes.empty());
}

TEST(FirstStartWithStoredKeys, DefaultsApplyOnlyToMissingKeys)
{
    // Broker and Project are missing; Password is present but empty.
    WriteConfig("[Connection]\nUser=dev1\nPassword=\nSavePW=yes\n[Default Context]\nState=" +
                std::string(300, 's') + "\n");
    ASSERT_EQ(1, VORAgent::IsInstallVOR());
    EXPECT_EQ("dev1", Str(VORAgent::GetUserNameA()));
    EXPECT_EQ("", Str(VORAgent::GetPassword()));
    EXPECT_EQ("127.0.0.1", Str(VORAgent::GetBrokerName()));
    EXPECT_EQ(0, VORAgent::IsSavePassword());
    EXPECT_EQ("", Str(VORAgent::GetProjectName()));
    EXPECT_EQ(std::string(259, 's'), Str(VORAgent::GetStateName()));

    // Changes to the file after the first check are not seen.
    WriteConfig("[Connection]\nUser=dev2\n");
    EXPECT_EQ(1, VORAgent::IsInstallVOR());
    EXPECT_EQ("dev1", Str(VORAgent::GetUserNameA()));

    // An empty stored password makes no login attempt.
    MessageBoxRecorder messages;
    hsdk_testing::StartRecording();
    VORAgent::Connect();
    hsdk_testing::StopRecording();
    EXPECT_EQ(0, VORAgent::IsLogIn());
    EXPECT_TRUE(hsdk_testing::GetRecordedCalls().empty());
    EXPECT_TRUE(messages.boxes.empty());

    VORAgent::SavePassword(1);
    VORAgent::LogOut();
    EXPECT_EQ("", ReadConfig("Connection", "Password"));
    EXPECT_EQ("1", ReadConfig("Connection", "SavePW"));
    EXPECT_EQ("127.0.0.1", ReadConfig("Connection", "Broker"));
    EXPECT_EQ(std::string(259, 's'), ReadConfig("Default Context", "State"));
}

TEST(StoredSettings, ConnectLogsInAppliesContextAndLogoutSavesIt)
{
    WriteConfig("[Connection]\nUser=dev1\nPassword=dev1pw\nBroker=127.0.0.1\nSavePW=1\n"
                "ClientDir=C:\\QXWork\n[Default Context]\nProject=QXP\nState=Test\n"
                "Package=QXP-T01\n");
    MessageBoxRecorder messages;
    hsdk_testing::StartRecording();
    VORAgent::Connect();
    hsdk_testing::StopRecording();
    ASSERT_EQ(1, VORAgent::IsLogIn());
    EXPECT_TRUE(messages.boxes.empty());
    std::vector<std::string> made;
    for (const std::string& call : hsdk_testing::GetRecordedCalls())
        if (call.find("::Login(") != std::string::npos || call.find("::Set") != std::string::npos)
            made.push_back(call);
    EXPECT_EQ((std::vector<std::string>{"CaHarvest::Login(127.0.0.1, dev1, ***)",
                                        "CaContext::SetProject(QXP)", "CaContext::SetState(Test)",
                                        "CaContext::SetPackage(QXP-T01)"}),
              made);

    // A second login is a no-op whatever it is given.
    EXPECT_EQ(1, VORAgent::LogIn("localhost", "dev2", "dev2pw"));
    EXPECT_EQ("dev1", Str(VORAgent::GetUserNameA()));

    VORAgent::SavePassword(0);
    VORAgent::SetStateName("Development");
    VORAgent::LogOut();
    EXPECT_EQ(0, VORAgent::IsLogIn());
    EXPECT_EQ(nullptr, AgentAccess::m_pHarvest);
    EXPECT_EQ("dev1pw", Str(VORAgent::GetPassword()));
    EXPECT_EQ("", ReadConfig("Connection", "Password"));
    EXPECT_EQ("0", ReadConfig("Connection", "SavePW"));
    EXPECT_EQ("C:\\QXWork", ReadConfig("Connection", "ClientDir"));
    EXPECT_EQ("Development", ReadConfig("Default Context", "State"));
    EXPECT_EQ("QXP-T01", ReadConfig("Default Context", "Package"));

    // Logged out, nothing reaches the SDK; a new login makes a new connection.
    std::vector<CString> projects;
    VORAgent::GetProjects(0, projects);
    EXPECT_TRUE(projects.empty());
    EXPECT_EQ(1, VORAgent::LogIn("127.0.0.1", "dev2", "dev2pw"));
    EXPECT_NE(nullptr, AgentAccess::m_pHarvest);
    EXPECT_EQ("dev2", Str(VORAgent::GetUserNameA()));
}

TEST(BeforeOutputWindow, ServerMessagesAreUnknownUntilTheWindowIsSet)
{
    ASSERT_EQ(1, VORAgent::IsInstallVOR());
    ASSERT_EQ(1, VORAgent::LogIn("127.0.0.1", "dev1", "dev1pw"));
    VORAgent::SetProjectName("QXP");
    VORAgent::SetStateName("Development");
    VORAgent::SetPackageName("QXP-001");
    TempFolder work;
    ASSERT_TRUE(WriteFile(work.Path() + "\\first.txt", "first\r\n"));
    std::vector<CString> files = {"first.txt"};
    ASSERT_EQ(1, VORAgent::DoCheckIn(&files, work.Path().c_str(), 0, "", "\\QXRepo\\Docs"));
    EXPECT_EQ("알 수 없는 오류 [key=HSRV_I_CHECKIN]", Str(VORAgent::GetLatestMsg()));

    // Setting the window again does no harm.
    OutputWindow output;
    VORAgent::SetOutputHwnd(output.Handle());
    VORAgent::SetOutputHwnd(output.Handle());
    ASSERT_TRUE(WriteFile(work.Path() + "\\second.txt", "second\r\n"));
    files = {"second.txt"};
    ASSERT_EQ(1, VORAgent::DoCheckIn(&files, work.Path().c_str(), 0, nullptr, nullptr));
    ASSERT_EQ(1u, output.lines.size());
    EXPECT_EQ("File " + work.Path() + "\\second.txt checked into \\QXRepo\\Docs\\second.txt;0.",
              output.lines[0].text);
    VORAgent::LogOut();
}
