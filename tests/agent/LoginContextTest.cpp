#include <windows.h>
#include "AgentTestSupport.h"

#include <regex>

using ContextTest = RepositoryTest;

TEST(LoginTest, FailureShowsOneBoxAndKeepsTheStoredNames)
{
    ASSERT_EQ(1, VORAgent::IsInstallVOR());
    VORAgent::LogOut();
    ASSERT_EQ(1, VORAgent::LogIn("127.0.0.1", "dev1", "dev1pw"));
    VORAgent::LogOut();

    MessageBoxRecorder messages;
    hsdk_testing::ClearRecordedCalls();
    hsdk_testing::StartRecording();
    EXPECT_EQ(0, VORAgent::LogIn("localhost", "dev2", "wrong"));
    EXPECT_EQ(0, VORAgent::LogIn("127.0.0.1:1", "dev2", "dev2pw"));
    hsdk_testing::OnCall("CaHarvest::Login").Throw("refused");
    EXPECT_EQ(0, VORAgent::LogIn("127.0.0.1", "dev1", "dev1pw"));
    hsdk_testing::StopRecording();
    EXPECT_EQ(0, VORAgent::IsLogIn());
    EXPECT_EQ("dev1", Str(VORAgent::GetUserNameA()));
    EXPECT_EQ("dev1pw", Str(VORAgent::GetPassword()));
    EXPECT_EQ("127.0.0.1", Str(VORAgent::GetBrokerName()));
    const std::string failed = "로그인 실패!\r\n사용자명, 패스워드, 브로커명을 확인하십시오";
    EXPECT_EQ(std::vector<std::string>(3, failed), messages.Texts());
    // One connection object serves every attempt; no password shows in the record.
    EXPECT_EQ((std::vector<std::string>{"CaHarvest::CaHarvest()",
                                        "CaHarvest::Login(localhost, dev2, ***)",
                                        "CaHarvest::Login(127.0.0.1:1, dev2, ***)",
                                        "CaHarvest::Login(127.0.0.1, dev1, ***)"}),
              CallsTo("CaHarvest::"));
    CaHarvest* connection = AgentAccess::m_pHarvest;
    EXPECT_EQ(1, VORAgent::LogIn("127.0.0.1", "dev1", "dev1pw"));
    EXPECT_EQ(connection, AgentAccess::m_pHarvest);
}

TEST_F(ContextTest, SetInfoToVORSetsOnlyWhatDiffers)
{
    ASSERT_EQ(1, AgentAccess::SetInfoToVOR(7));
    hsdk_testing::ClearRecordedCalls();
    EXPECT_EQ(1, AgentAccess::SetInfoToVOR(7));
    EXPECT_TRUE(CallsTo("CaContext::Set").empty());

    // A new project brings its state along in the same call.
    VORAgent::SetProjectName("Empty");
    EXPECT_EQ(1, AgentAccess::SetInfoToVOR(3));
    EXPECT_EQ((std::vector<std::string>{"CaContext::SetProject(Empty)",
                                        "CaContext::SetState(Development)"}),
              CallsTo("CaContext::Set"));

    // Names the server does not know: one box naming which, and nothing after it is tried.
    hsdk_testing::ClearRecordedCalls();
    EXPECT_EQ(0, AgentAccess::SetInfoToVOR(7));
    EXPECT_EQ(std::vector<std::string>{"CaContext::SetPackage(QXP-001)"},
              CallsTo("CaContext::Set"));
    VORAgent::SetStateName("Nowhere");
    EXPECT_EQ(0, AgentAccess::SetInfoToVOR(7));
    VORAgent::SetProjectName("Unknown");
    EXPECT_EQ(0, AgentAccess::SetInfoToVOR(1));
    const std::vector<std::string> boxes = {"하비스트 패키지 설정 실패", "하비스트 상태 설정 실패",
                                            "하비스트 프로젝트 설정 실패"};
    EXPECT_EQ(boxes, messages.Texts());

    // Missing names, or a context left behind by an earlier refusal, give 0 silently.
    VORAgent::SetProjectName("");
    EXPECT_EQ(0, AgentAccess::SetInfoToVOR(1));
    VORAgent::SetProjectName("QXP");
    VORAgent::SetStateName("Development");
    hsdk_testing::ClearRecordedCalls();
    EXPECT_EQ(0, AgentAccess::SetInfoToVOR(4));
    EXPECT_TRUE(CallsTo("CaContext::SetPackage").empty());
    VORAgent::SetPackageName("");
    EXPECT_EQ(0, AgentAccess::SetInfoToVOR(7));
    EXPECT_EQ(boxes, messages.Texts());
}

TEST_F(ContextTest, ListsAppendToTheCallersVectorOrShowTheirOwnBox)
{
    std::vector<CString> names;
    VORAgent::GetProjects(1, names);
    VORAgent::GetProjects(2, names);
    VORAgent::GetProjects(3, names);
    EXPECT_EQ((std::vector<std::string>{"QXP", "Empty", "QXP_OLD"}), Strs(names));
    VORAgent::GetStates(names);
    VORAgent::GetPackages(names);
    EXPECT_EQ((std::vector<std::string>{"QXP", "Empty", "QXP_OLD", "Development", "Test", "Release",
                                        "QXP-001", "QXP-002"}),
              Strs(names));
    EXPECT_TRUE(messages.boxes.empty());

    // A state without packages counts as a failure.
    names = {"kept"};
    VORAgent::SetStateName("Release");
    VORAgent::GetPackages(names);
    hsdk_testing::OnCall("CaHarvest::GetProjectList").Throw("down");
    hsdk_testing::OnCall("CaContext::GetStateList").Throw("down");
    VORAgent::GetProjects(0, names);
    VORAgent::GetStates(names);
    EXPECT_EQ(std::vector<std::string>{"kept"}, Strs(names));
    EXPECT_EQ((std::vector<std::string>{"하비스트 패키지 목록을 읽는 과정에서 실패",
                                        "하비스트 프로젝트 목록을 읽는 과정에서 실패",
                                        "하비스트 상태 목록을 읽는 과정에서 실패"}),
              messages.Texts());
    EXPECT_EQ(0, AfxGetWaitCursorCount());
}

TEST_F(ContextTest, StartAndEndLinesCarryTheTitleAndTheTime)
{
    VORAgent::SetOutputMsg("Check In", 1);
    VORAgent::SetOutputMsg("restarted Get", 0);
    ASSERT_EQ(2u, output.lines.size());
    EXPECT_TRUE(std::regex_match(
        output.lines[0].text,
        std::regex(R"(---- \[Check In\] started at time ([01]\d|2[0-3])(:[0-5]\d){2} ----)")))
        << output.lines[0].text;
    // Every "started" becomes "ended", the title's too.
    EXPECT_TRUE(
        std::regex_match(output.lines[1].text,
                         std::regex(R"(---- \[reended Get\] ended at time \d\d:\d\d:\d\d ----)")))
        << output.lines[1].text;
    EXPECT_EQ(1, output.lines[0].lParam);
    EXPECT_EQ(1, output.lines[1].lParam);
}
