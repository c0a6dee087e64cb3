#include <windows.h>
#include "AgentTestSupport.h"

namespace
{
class VersionQueryTest : public RepositoryTest
{
protected:
    void SetUp() override
    {
        RepositoryTest::SetUp();
        WriteMarker(screens, "\\QXRepo\\Proj1\\Screens");
    }
    std::string screens = work.Make("Screens");
};
} // namespace

TEST_F(VersionQueryTest, AllVersionsOldestFirstWithTheirFields)
{
    HItemVerions versions;
    ASSERT_EQ(11, VORAgent::GetAllVersions("Main.xml", screens.c_str(), &versions));
    EXPECT_EQ("\\QXRepo\\Proj1\\Screens\\Main.xml", Str(versions.m_sItemPath));
    for (int k = 0; k < 11; ++k)
    {
        const HItemVerion& version = *versions.m_vecVersions[k];
        EXPECT_EQ(7u + k, version.m_nVersionObjId);
        EXPECT_EQ(std::to_string(k), Str(version.m_sVersionName));
        EXPECT_EQ("Main screen revision " + std::to_string(k), Str(version.m_sDescription));
        EXPECT_EQ("dev1|QXP-001|N|", Str(version.m_sModifier) + "|" + Str(version.m_sPackageName) +
                                         "|" + Str(version.m_sStatus) + "|" +
                                         Str(version.m_sClientMachine));
    }
    EXPECT_EQ("09-03-07 14:05", Str(versions.m_vecVersions[0]->m_sModifiedTime));
    EXPECT_EQ("09-03-17 14:05", Str(versions.m_vecVersions[10]->m_sModifiedTime));

    // Appended again, never cleared; an item without versions changes nothing.
    EXPECT_EQ(22, VORAgent::GetAllVersions("Main.xml", screens.c_str(), &versions));
    EXPECT_EQ(22, VORAgent::GetAllVersions("none.xml", screens.c_str(), &versions));

    // A reserved version carries its client; held by this user on another computer (R1) or
    // by another user (R2).
    std::string proj1 = work.Make("Proj1");
    WriteMarker(proj1, "\\QXRepo\\Proj1");
    HItemVerions reserved;
    ASSERT_EQ(2, VORAgent::GetAllVersions("Screen1.qxs", proj1.c_str(), &reserved));
    EXPECT_EQ("R", Str(reserved.m_vecVersions[1]->m_sStatus));
    EXPECT_EQ("OTHER-PC", Str(reserved.m_vecVersions[1]->m_sClientMachine));
    EXPECT_EQ("D:\\Other\\QXRepo\\Proj1\\Screen1.qxs",
              Str(reserved.m_vecVersions[1]->m_sClientPath));
    HItemState state;
    ASSERT_EQ(1, VORAgent::GetLatestVerInfo("Screen1.qxs", "\\QXRepo\\Proj1", &state));
    EXPECT_EQ("R1", Str(state.m_sStatus));
    ASSERT_EQ(1, VORAgent::GetLatestVerInfo("Order.xml", "\\QXRepo\\Proj2", &state));
    EXPECT_EQ("R2|dev2", Str(state.m_sStatus) + "|" + Str(state.m_sModifier));
    state.m_sStatus = "before";
    ASSERT_EQ(1, VORAgent::GetLatestVerInfo("none.xml", "\\QXRepo\\Proj1", &state));
    EXPECT_EQ("before", Str(state.m_sStatus));
    EXPECT_TRUE(messages.boxes.empty());

    // A client is kept for a reserved version only; the year 2100 shows as 100.
    hsdk_testing::Version late;
    late.status = "N";
    late.clientMachine = "PC";
    late.clientPath = "C:\\w\\Main.xml";
    late.modified = CaTimeStamp(2100, 1, 2, 3, 4, 5);
    hsdk_testing::OnCall("CaVersionChooser::Execute").ChooseVersions({late});
    HItemVerions scripted;
    ASSERT_EQ(1, VORAgent::GetAllVersions("Main.xml", screens.c_str(), &scripted));
    EXPECT_EQ("100-01-02 03:04||", Str(scripted.m_vecVersions[0]->m_sModifiedTime) + "|" +
                                       Str(scripted.m_vecVersions[0]->m_sClientMachine) + "|" +
                                       Str(scripted.m_vecVersions[0]->m_sClientPath));
}

TEST_F(VersionQueryTest, VersionIntoAnotherFolderLeavesTheWorkingFile)
{
    std::string temp = work.Make("temp");
    ASSERT_TRUE(WriteFile(screens + "\\Main.xml", "working copy\r\n"));
    ASSERT_EQ(1, VORAgent::GetFileAtVersion(9, screens.c_str(), temp.c_str()));
    EXPECT_EQ("Main.xml 2\r\n", ReadFile(temp + "\\Main.xml"));
    EXPECT_EQ("working copy\r\n", ReadFile(screens + "\\Main.xml"));
    EXPECT_FALSE(Exists(temp + "\\harvest.vor"));
    ASSERT_FALSE(output.lines.empty());
    EXPECT_NE(std::string::npos, output.lines.back().text.find(" updated to "));

    ASSERT_EQ(1, VORAgent::GetFileAtVersion(7, screens.c_str(), nullptr));
    EXPECT_EQ("Main.xml 0\r\n", ReadFile(screens + "\\Main.xml"));
}

TEST_F(VersionQueryTest, FailuresOfTheQueries)
{
    hsdk_testing::OnCall("CaVersionChooser::Execute").Always().Throw("lost");
    HItemVerions versions;
    HItemState state;
    EXPECT_EQ(-1, VORAgent::GetAllVersions("Main.xml", screens.c_str(), &versions));
    EXPECT_EQ(0, VORAgent::GetLatestVerInfo("Main.xml", "\\QXRepo\\Proj1\\Screens", &state));
    EXPECT_EQ(0, VORAgent::GetVersionState("Main.xml", screens.c_str(), nullptr, nullptr, nullptr));
    EXPECT_EQ(0, VORAgent::GetFileAtVersion(7, screens.c_str(), nullptr));
    const std::vector<std::string> boxes(
        2, "\\QXRepo\\Proj1\\Screens\\Main.xml 파일의 모든 버전 정보 읽는 과정에서 실패");
    EXPECT_EQ(boxes, messages.Texts());

    hsdk_testing::ClearScripts();
    hsdk_testing::OnCall("CaCheckout::Execute").Return(1);
    EXPECT_EQ(0, VORAgent::GetFileAtVersion(7, screens.c_str(), nullptr));

    // Without a marker or a context nothing is asked.
    std::string unmapped = work.Make("unmapped");
    EXPECT_EQ(-1, VORAgent::GetAllVersions("Main.xml", unmapped.c_str(), &versions));
    VORAgent::SetPackageName("");
    EXPECT_EQ(0, VORAgent::GetLatestVerInfo("Main.xml", "\\QXRepo\\Proj1\\Screens", &state));
    EXPECT_EQ(boxes, messages.Texts());
}
