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
    hsdk_testing::StopRecording();
    EXPECT_EQ(0, VORAgent::IsLogIn());
    EXPECT_EQ("dev1", Str(VORAgent::GetUserNameA()));
    EXPECT_EQ("dev1pw", Str(VORAgent::GetPassword()));
    EXPECT_EQ("127.0.0.1", Str(VORAgent::GetBrokerName()));
    ASSERT_EQ(2u, messages.boxes.size());
    for (const MessageBoxCall& box : messages.boxes)
    {
        EXPECT_EQ("로그인 실패!\r\n사용자명, 패스워드, 브로커명을 확인하십시오", box.text);
        EXPECT_EQ(16u, box.type);
    }
    EXPECT_EQ(2u, CallsTo("CaHarvest::Login").size());
    // One connection object serves every attempt.
    CaHarvest* connection = AgentAccess::m_pHarvest;

    hsdk_testing::ThrowOnCall("CaHarvest::Login", "refused");
    EXPECT_EQ(0, VORAgent::LogIn("127.0.0.1", "dev1", "dev1pw"));
    EXPECT_EQ(3u, messages.boxes.size());
    hsdk_testing::ClearFailures();
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
    std::vector<std::string> expected = {"CaContext::SetProject(Empty)",
                                         "CaContext::SetState(Development)"};
    EXPECT_EQ(expected, CallsTo("CaContext::Set"));
    EXPECT_TRUE(messages.boxes.empty());

    // Names the server does not know: one box naming which, and nothing after it is tried.
    hsdk_testing::ClearRecordedCalls();
    EXPECT_EQ(0, AgentAccess::SetInfoToVOR(7));
    EXPECT_EQ(std::vector<std::string>{"CaContext::SetPackage(QXP-001)"},
              CallsTo("CaContext::Set"));
    VORAgent::SetStateName("Nowhere");
    EXPECT_EQ(0, AgentAccess::SetInfoToVOR(7));
    VORAgent::SetProjectName("Unknown");
    EXPECT_EQ(0, AgentAccess::SetInfoToVOR(1));
    ASSERT_EQ(3u, messages.boxes.size());
    EXPECT_EQ("하비스트 패키지 설정 실패", messages.boxes[0].text);
    EXPECT_EQ("하비스트 상태 설정 실패", messages.boxes[1].text);
    EXPECT_EQ("하비스트 프로젝트 설정 실패", messages.boxes[2].text);
    EXPECT_EQ(16u, messages.boxes[2].type);

    // Missing names, or a context left behind by an earlier refusal, give 0 silently.
    VORAgent::SetProjectName("");
    EXPECT_EQ(0, AgentAccess::SetInfoToVOR(1));
    VORAgent::SetProjectName("QXP");
    VORAgent::SetStateName("Development");
    hsdk_testing::ClearRecordedCalls();
    EXPECT_EQ(0, AgentAccess::SetInfoToVOR(4));
    EXPECT_TRUE(CallsTo("CaContext::SetPackage").empty());
    VORAgent::SetStateName("");
    EXPECT_EQ(0, AgentAccess::SetInfoToVOR(2));
    VORAgent::SetStateName("Development");
    VORAgent::SetPackageName("");
    EXPECT_EQ(0, AgentAccess::SetInfoToVOR(7));
    EXPECT_EQ(3u, messages.boxes.size());
}

TEST_F(ContextTest, ListsAppendToTheCallersVector)
{
    std::vector<CString> names;
    VORAgent::GetProjects(1, names);
    VORAgent::GetProjects(2, names);
    VORAgent::GetProjects(3, names);
    std::vector<std::string> got;
    for (const CString& name : names)
        got.push_back(Str(name));
    EXPECT_EQ((std::vector<std::string>{"QXP", "Empty", "QXP_OLD"}), got);

    names.clear();
    VORAgent::GetStates(names);
    VORAgent::GetStates(names);
    ASSERT_EQ(6u, names.size());
    EXPECT_EQ("Development", Str(names[0]));
    EXPECT_EQ("Release", Str(names[5]));

    names.clear();
    VORAgent::GetPackages(names);
    ASSERT_EQ(2u, names.size());
    EXPECT_EQ("QXP-002", Str(names[1]));
    EXPECT_TRUE(messages.boxes.empty());
    EXPECT_EQ(0, AfxGetWaitCursorCount());
}

TEST_F(ContextTest, ListFailuresShowTheirOwnBox)
{
    // A state without packages counts as a failure.
    VORAgent::SetStateName("Release");
    std::vector<CString> names = {"kept"};
    VORAgent::GetPackages(names);
    EXPECT_EQ(1u, names.size());

    hsdk_testing::ThrowOnCall("CaHarvest::GetProjectList", "down");
    hsdk_testing::ThrowOnCall("CaContext::GetStateList", "down");
    VORAgent::GetProjects(0, names);
    VORAgent::GetStates(names);
    EXPECT_EQ(1u, names.size());
    std::vector<std::string> texts;
    for (const MessageBoxCall& box : messages.boxes)
    {
        texts.push_back(box.text);
        EXPECT_EQ(16u, box.type);
    }
    EXPECT_EQ((std::vector<std::string>{"하비스트 패키지 목록을 읽는 과정에서 실패",
                                        "하비스트 프로젝트 목록을 읽는 과정에서 실패",
                                        "하비스트 상태 목록을 읽는 과정에서 실패"}),
              texts);
    EXPECT_EQ(0, AfxGetWaitCursorCount());
}

TEST_F(ContextTest, StartAndEndLinesCarryTheTitleAndTheTime)
{
    SYSTEMTIME before;
    GetLocalTime(&before);
    VORAgent::SetOutputMsg("Check In", 1);
    VORAgent::SetOutputMsg("restarted Get", 0);
    ASSERT_EQ(2u, output.lines.size());
    std::smatch match;
    ASSERT_TRUE(std::regex_match(output.lines[0].text, match,
                                 std::regex(R"(---- \[Check In\] started at time (\d\d):(\d\d):(\d\d) ----)")))
        << output.lines[0].text;
    EXPECT_LE(std::abs(std::stoi(match[1]) - before.wHour), 1);
    EXPECT_TRUE(std::regex_match(output.lines[1].text,
                                 std::regex(R"(---- \[reended Get\] ended at time \d\d:\d\d:\d\d ----)")))
        << output.lines[1].text;
    EXPECT_EQ(1, output.lines[0].lParam);
    EXPECT_EQ(1, output.lines[1].lParam);
    EXPECT_EQ(output.lines[1].text, Str(VORAgent::GetLatestMsg()));
}
