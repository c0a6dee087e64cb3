#include <windows.h>

#include "HsdkFixture.h"

#include "HsdkTesting.h"

using ::testing::ElementsAre;

namespace
{
void Choose(CaVersionChooser& chooser, const char* path, const char* name, int versionOption)
{
    chooser.Clear();
    chooser.SetParentPath(path);
    chooser.SetItemName(name);
    chooser.SetRecursive(true);
    chooser.SetBranchOption(273);
    chooser.SetVersionOption(versionOption);
    ASSERT_EQ(0, chooser.Execute());
}

int CheckOut(CaContext& context, const char* path, const std::string& folder, int mode,
             int pathOption)
{
    EXPECT_TRUE(context.SetCheckout("CheckOut"));
    CaCheckout& checkout = context.GetCheckout();
    checkout.SetViewPath(path);
    checkout.SetClientDir(folder.c_str());
    checkout.SetCheckoutMode(mode);
    checkout.SetPathOption(pathOption);
    checkout.SetReplaceFile(true);
    checkout.SetCallBack(MessageSink::OnMessage);
    MessageSink::s_messages.clear();
    return checkout.Execute();
}

int CheckIn(CaContext& context, const char* path, const std::string& folder, const char* file,
            int mode)
{
    EXPECT_TRUE(context.SetCheckin(CaString("CheckIn")));
    CaCheckin& checkin = context.GetCheckin();
    CaStringList files;
    files.Add(file);
    checkin.SetCheckinMode(mode);
    checkin.SetDeleteAfterCI(false);
    checkin.SetItemOption(0);
    checkin.SetPathOption(1);
    checkin.SetClientDir(folder.c_str());
    checkin.SetFileList(files);
    checkin.SetViewPath(path);
    checkin.SetDescription("changed by a test");
    checkin.SetCallBack(MessageSink::OnMessage);
    MessageSink::s_messages.clear();
    return checkin.Execute(true);
}

std::vector<std::string> Keys()
{
    std::vector<std::string> keys;
    for (const ReceivedMessage& message : MessageSink::s_messages)
        keys.push_back(message.key);
    return keys;
}
} // namespace

using HsdkProcessTest = HsdkFixture;

TEST_F(HsdkProcessTest, GetLatestWritesReadOnlyFilesInSubFoldersAndReportsEachInOrder)
{
    CaContext& context = m_harvest.GetContext();
    Choose(context.GetVersionChooser(), "\\QXRepo\\Proj1", "*", 4096);
    const CaContainer chosen = context.GetVersionChooser().GetVersionList();
    ASSERT_EQ(7, chosen.GetKeyElementCount("CA_ATTRKEY_NAME"));
    EXPECT_STREQ("\\QXRepo\\Proj1\\Proj1.qxproj", chosen.Props("CA_ATTRKEY_FULL_PATH_NAME", 0));

    const std::string folder = NewFolder() + "\\QXRepo\\Proj1";
    ASSERT_EQ(0, CheckOut(context, "\\QXRepo\\Proj1", folder, 4, 2))
        << ::testing::PrintToString(Keys());
    EXPECT_EQ("Main.xml 10\r\n", ReadFile(folder + "\\Screens\\Main.xml"));
    EXPECT_TRUE(IsReadOnly(folder + "\\Screens\\Main.xml"));
    EXPECT_TRUE(IsReadOnly(folder + "\\Screen1.xml"));

    ASSERT_EQ(7u, MessageSink::s_messages.size());
    for (size_t i = 0; i < MessageSink::s_messages.size(); ++i)
    {
        const ReceivedMessage& message = MessageSink::s_messages[i];
        EXPECT_EQ(static_cast<int>(i), message.index);
        EXPECT_EQ(&context.GetCheckout(), message.process);
        EXPECT_EQ("HSRV_I_CHECKOUT", message.key);
        ASSERT_EQ(2u, message.args.size());
    }
    const ReceivedMessage& main = MessageSink::s_messages[6];
    EXPECT_EQ("\\QXRepo\\Proj1\\Screens\\Main.xml;10", main.args[0]);
    EXPECT_EQ(ComputerName() + "\\\\" + folder + "\\Screens\\Main.xml", main.args[1]);

    EXPECT_EQ(3, CheckOut(context, "\\QXRepo\\Proj1", folder, 4, 2)) << "identical files are left";
    EXPECT_EQ("HSRV_I_SAME_VERSION_NOT_MODIFIED", MessageSink::s_messages[0].key);
}

TEST_F(HsdkProcessTest, CheckOutReservesForOneUserAndCheckInReleasesWithANewVersion)
{
    CaContext& context = m_harvest.GetContext();
    const std::string folder = NewFolder();
    const std::string local = folder + "\\Screen1.xml";
    Choose(context.GetVersionChooser(), "\\QXRepo\\Proj1", "Screen1.xml", 256);
    ASSERT_EQ(0, CheckOut(context, "\\QXRepo\\Proj1", folder, 2, 2));
    EXPECT_FALSE(IsReadOnly(local));
    EXPECT_EQ("Screen1.xml 0\r\n", ReadFile(local));

    Choose(context.GetVersionChooser(), "\\QXRepo\\Proj1", "Screen1.xml", 256);
    CaVersionList versions = context.GetVersionChooser().GetVersionListAsList();
    ASSERT_EQ(1, versions.GetSize());
    EXPECT_STREQ("R", versions[0].GetVersionStatus());
    EXPECT_STREQ("1", versions[0].GetMappedVersionName());
    EXPECT_STREQ(ComputerName().c_str(), versions[0].GetClientMachine());
    EXPECT_STREQ(local.c_str(), versions[0].GetClientPath());

    CaHarvest other;
    LogIn(other, "dev2", "dev2pw");
    Choose(other.GetContext().GetVersionChooser(), "\\QXRepo\\Proj1", "Screen1.xml", 256);
    EXPECT_NE(0, CheckOut(other.GetContext(), "\\QXRepo\\Proj1", NewFolder(), 2, 2));
    EXPECT_THAT(Keys(), ElementsAre("HSRV_E_RESERVED_VERSION_EXIST"));
    EXPECT_EQ("\\QXRepo\\Proj1\\Screen1.xml", MessageSink::s_messages[0].args.at(0));
    EXPECT_NE(0, CheckIn(other.GetContext(), "\\QXRepo\\Proj1", folder, "Screen1.xml", 0))
        << "only the holder checks in";

    WriteFile(local, "Screen1.xml changed\r\n");
    EXPECT_EQ(0, CheckIn(context, "\\QXRepo\\Proj1", folder, "Screen1.xml", 0));
    ASSERT_THAT(Keys(), ElementsAre("HSRV_I_CHECKIN"));
    EXPECT_EQ(local, MessageSink::s_messages[0].args.at(0));
    EXPECT_EQ("\\QXRepo\\Proj1\\Screen1.xml;1", MessageSink::s_messages[0].args.at(1));
    EXPECT_EQ(&context.GetCheckin(), MessageSink::s_messages[0].process);

    Choose(context.GetVersionChooser(), "\\QXRepo\\Proj1", "Screen1.xml", 256);
    versions = context.GetVersionChooser().GetVersionListAsList();
    ASSERT_EQ(1, versions.GetSize());
    EXPECT_STREQ("N", versions[0].GetVersionStatus());
    EXPECT_STREQ("changed by a test", versions[0].GetDescription());

    // Undo deletes only a reservation of one's own.
    ASSERT_TRUE(context.SetDeleteVersion(CaString("DeleteVersion")));
    Choose(context.GetVersionChooser(), "\\QXRepo\\Proj1", "Screen1.xml", 256);
    EXPECT_NE(0, context.GetDeleteVersion().Execute()) << "a normal version stays";
    Choose(context.GetVersionChooser(), "\\QXRepo\\Proj2", "Order.xml", 256);
    EXPECT_NE(0, context.GetDeleteVersion().Execute()) << "another user's reservation stays";
}

TEST_F(HsdkProcessTest, KoreanFoldersAndFilesSurviveTheRoundTrip)
{
    CaContext& context = m_harvest.GetContext();
    ASSERT_TRUE(context.SetCheckin(CaString("CheckIn")));
    EXPECT_EQ(0, context.GetCheckin().CreateItemPath("새폴더\\하위", "\\QXRepo\\화면"));
    EXPECT_EQ(0, context.GetCheckin().CreateItemPath("새폴더", "\\QXRepo\\화면"))
        << "exists already";
    EXPECT_NE(0, context.GetCheckin().CreateItemPath("x", "\\QXRepo\\없음"));

    const std::string folder = NewFolder();
    CreateDirectoryA((folder + "\\하위").c_str(), nullptr);
    WriteFile(folder + "\\하위\\새화면.xml", "한글 내용");
    ASSERT_EQ(0, CheckIn(context, "\\QXRepo\\화면\\새폴더", folder, "하위\\새화면.xml", 0));
    ASSERT_THAT(Keys(), ElementsAre("HSRV_I_CHECKIN"));
    EXPECT_EQ("\\QXRepo\\화면\\새폴더\\하위\\새화면.xml;0", MessageSink::s_messages[0].args.at(1));

    Choose(context.GetVersionChooser(), "\\QXRepo\\화면", "*화면.xml", 4096);
    EXPECT_THAT(Names(context.GetVersionChooser().GetVersionList(), "CA_ATTRKEY_NAME"),
                ElementsAre("종합화면.xml", "새화면.xml"));
    const std::string copy = NewFolder();
    ASSERT_EQ(0, CheckOut(context, "\\QXRepo\\화면", copy, 4, 2));
    EXPECT_EQ("한글 내용", ReadFile(copy + "\\새폴더\\하위\\새화면.xml"));
    EXPECT_TRUE(IsReadOnly(copy + "\\종합화면.xml"));
}
