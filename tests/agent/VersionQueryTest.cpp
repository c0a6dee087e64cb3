#include <windows.h>
#include "AgentTestSupport.h"

using VersionQueryTest = RepositoryTest;

TEST_F(VersionQueryTest, AllVersionsOldestFirstWithTheirFields)
{
    std::string folder = work.Make("Screens");
    WriteMarker(folder, "\\QXRepo\\Proj1\\Screens");
    HItemVerions versions;
    ASSERT_EQ(11, VORAgent::GetAllVersions("Main.xml", folder.c_str(), &versions));
    EXPECT_EQ("\\QXRepo\\Proj1\\Screens\\Main.xml", Str(versions.m_sItemPath));
    for (int k = 0; k < 11; ++k)
    {
        const HItemVerion& version = *versions.m_vecVersions[k];
        EXPECT_EQ(7u + k, version.m_nVersionObjId);
        EXPECT_EQ(std::to_string(k), Str(version.m_sVersionName));
        EXPECT_EQ("Main screen revision " + std::to_string(k), Str(version.m_sDescription));
        EXPECT_EQ("dev1", Str(version.m_sModifier));
        EXPECT_EQ("QXP-001", Str(version.m_sPackageName));
        EXPECT_EQ("N", Str(version.m_sStatus));
        EXPECT_EQ("", Str(version.m_sClientMachine));
        EXPECT_EQ(0, version.m_nUserData);
    }
    EXPECT_EQ("09-03-07 14:05", Str(versions.m_vecVersions[0]->m_sModifiedTime));
    EXPECT_EQ("09-03-17 14:05", Str(versions.m_vecVersions[10]->m_sModifiedTime));

    // Appended again, never cleared; an item without versions changes nothing.
    EXPECT_EQ(22, VORAgent::GetAllVersions("Main.xml", folder.c_str(), &versions));
    EXPECT_EQ(22, VORAgent::GetAllVersions("none.xml", folder.c_str(), &versions));
    HItemVerions none;
    EXPECT_EQ(0, VORAgent::GetAllVersions("none.xml", folder.c_str(), &none));
    EXPECT_EQ("", Str(none.m_sItemPath));
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(VersionQueryTest, ReservedVersionCarriesItsClient)
{
    std::string folder = work.Make("Proj1");
    WriteMarker(folder, "\\QXRepo\\Proj1");
    HItemVerions versions;
    ASSERT_EQ(2, VORAgent::GetAllVersions("Screen1.qxs", folder.c_str(), &versions));
    const HItemVerion& reserved = *versions.m_vecVersions[1];
    EXPECT_EQ("R", Str(reserved.m_sStatus));
    EXPECT_EQ("OTHER-PC", Str(reserved.m_sClientMachine));
    EXPECT_EQ("D:\\Other\\QXRepo\\Proj1\\Screen1.qxs", Str(reserved.m_sClientPath));

    // Held by this user on another computer.
    HItemState state;
    ASSERT_EQ(1, VORAgent::GetLatestVerInfo("Screen1.qxs", "\\QXRepo\\Proj1", &state));
    EXPECT_EQ("R1", Str(state.m_sStatus));
    HItemState free;
    ASSERT_EQ(1, VORAgent::GetLatestVerInfo("Screen1.xml", "\\QXRepo\\Proj1", &free));
    EXPECT_EQ("N", Str(free.m_sStatus));
    EXPECT_EQ("", Str(free.m_sModifier));
    HItemState untouched;
    untouched.m_sStatus = "before";
    ASSERT_EQ(1, VORAgent::GetLatestVerInfo("none.xml", "\\QXRepo\\Proj1", &untouched));
    EXPECT_EQ("before", Str(untouched.m_sStatus));
}

TEST_F(VersionQueryTest, VersionIntoAnotherFolderLeavesTheWorkingFile)
{
    std::string folder = work.Make("Screens");
    std::string temp = work.Make("temp");
    WriteMarker(folder, "\\QXRepo\\Proj1\\Screens");
    WriteFile(folder + "\\Main.xml", "working copy\r\n");

    ASSERT_EQ(1, VORAgent::GetFileAtVersion(9, folder.c_str(), temp.c_str()));
    EXPECT_EQ("Main.xml 2\r\n", ReadFile(temp + "\\Main.xml"));
    EXPECT_EQ("working copy\r\n", ReadFile(folder + "\\Main.xml"));
    EXPECT_FALSE(Exists(temp + "\\harvest.vor"));
    ASSERT_FALSE(output.lines.empty());
    EXPECT_NE(std::string::npos, output.lines.back().text.find(" updated to "));

    ASSERT_EQ(1, VORAgent::GetFileAtVersion(7, folder.c_str(), nullptr));
    EXPECT_EQ("Main.xml 0\r\n", ReadFile(folder + "\\Main.xml"));

    std::vector<std::string> chooser = CallsTo("CaVersionChooser::Set");
    EXPECT_EQ("CaVersionChooser::SetVersionObjId(7, 0)", chooser[chooser.size() - 5]);
    EXPECT_TRUE(CallsTo("CaVersionChooser::SetParentPath").empty());
}

TEST_F(VersionQueryTest, FailuresOfTheQueries)
{
    std::string folder = work.Make("Screens");
    WriteMarker(folder, "\\QXRepo\\Proj1\\Screens");
    hsdk_testing::ThrowOnCall("CaVersionChooser::Execute", "lost");
    HItemVerions versions;
    HItemState state;
    EXPECT_EQ(-1, VORAgent::GetAllVersions("Main.xml", folder.c_str(), &versions));
    EXPECT_EQ(0, VORAgent::GetLatestVerInfo("Main.xml", "\\QXRepo\\Proj1\\Screens", &state));
    EXPECT_EQ(0, VORAgent::GetVersionState("Main.xml", folder.c_str(), nullptr, nullptr, nullptr));
    EXPECT_EQ(0, VORAgent::GetFileAtVersion(7, folder.c_str(), nullptr));
    ASSERT_EQ(2u, messages.boxes.size());
    EXPECT_EQ("\\QXRepo\\Proj1\\Screens\\Main.xml 파일의 모든 버전 정보 읽는 과정에서 실패",
              messages.boxes[0].text);
    EXPECT_EQ(messages.boxes[0].text, messages.boxes[1].text);
    EXPECT_EQ(16u, messages.boxes[1].type);

    hsdk_testing::ClearFailures();
    hsdk_testing::FailCall("CaCheckout::Execute", 1);
    EXPECT_EQ(0, VORAgent::GetFileAtVersion(7, folder.c_str(), nullptr));

    // Without a marker or a context nothing is asked.
    std::string unmapped = work.Make("unmapped");
    EXPECT_EQ(-1, VORAgent::GetAllVersions("Main.xml", unmapped.c_str(), &versions));
    VORAgent::SetPackageName("");
    EXPECT_EQ(0, VORAgent::GetLatestVerInfo("Main.xml", "\\QXRepo\\Proj1\\Screens", &state));
    EXPECT_EQ(2u, messages.boxes.size());
}
