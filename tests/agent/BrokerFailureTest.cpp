#include <windows.h>
#include "AgentTestSupport.h"

#include "BrokerProxy.h"

// The agent over a broker that restarts or vanishes: each call ends in its own result and
// message, and later calls work again.
namespace
{
// Logged out of the test's broker, for each test to log in through its own proxy.
class BrokerFailureTest : public RepositoryTest
{
protected:
    void SetUp() override
    {
        RepositoryTest::SetUp();
        VORAgent::LogOut();
    }
    void TearDown() override
    {
        VORAgent::LogOut();
        RepositoryTest::TearDown();
    }
};
} // namespace

TEST_F(BrokerFailureTest, ARestartGoesUnnoticedAndAVanishedBrokerIsReported)
{
    BrokerProxy proxy;
    ASSERT_EQ(1, VORAgent::LogIn(proxy.Address().c_str(), "dev1", "dev1pw"));
    HItemState state;
    ASSERT_EQ(1, VORAgent::GetLatestVerInfo("Screen1.xml", "\\QXRepo\\Proj1", &state));
    proxy.Cut();
    EXPECT_EQ(1, VORAgent::GetLatestVerInfo("Screen1.xml", "\\QXRepo\\Proj1", &state));
    EXPECT_EQ(2, proxy.Connections());
    EXPECT_TRUE(messages.boxes.empty());

    // Gone in the middle of a get-latest: the files that came are reported, the rest is not,
    // and the folder is not marked as fetched. The broker sends files ahead of their messages, so
    // the cut falls after about 1,500 bytes of file frames and within their messages.
    const std::string folder = work.Make("QXRepo\\Proj1");
    proxy.CutAfter(2100, "\"op\":\"checkout\"");
    EXPECT_EQ(0, VORAgent::GetLatestVersion("*", folder.c_str(), "\\QXRepo\\Proj1"));
    ASSERT_FALSE(output.lines.empty());
    for (const OutputLine& line : output.lines)
    {
        EXPECT_EQ(0u, line.text.find("File \\QXRepo\\Proj1\\")) << line.text;
        EXPECT_NE(std::string::npos, line.text.find(" updated to ")) << line.text;
        EXPECT_EQ(1, line.lParam);
    }
    EXPECT_LT(output.lines.size(), 7u);
    EXPECT_FALSE(Exists(folder + "\\harvest.vor"));

    proxy.SetDown(true);
    EXPECT_EQ(0, VORAgent::UndoCheckOut("Screen1.xml", folder.c_str(), "\\QXRepo\\Proj1"));
    EXPECT_EQ(0, VORAgent::GetLatestVerInfo("Screen1.xml", "\\QXRepo\\Proj1", &state));
    EXPECT_EQ((std::vector<std::string>{
                  folder + "\\Screen1.xml 파일의 체크아웃 취소 실패",
                  "\\QXRepo\\Proj1\\Screen1.xml 파일의 모든 버전 정보 읽는 과정에서 실패"}),
              messages.Texts());
    proxy.SetDown(false);
    EXPECT_EQ(1, VORAgent::GetLatestVersion("*", folder.c_str(), "\\QXRepo\\Proj1"));
}
