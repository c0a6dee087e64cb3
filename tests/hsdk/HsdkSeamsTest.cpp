#include <windows.h>

#include <cstdlib>

#include "HsdkFixture.h"
#include "HsdkTesting.h"

using ::testing::ElementsAre;

class HsdkSeamsTest : public HsdkFixture
{
protected:
    void TearDown() override
    {
        hsdk_testing::StopRecording();
        hsdk_testing::ClearRecordedCalls();
        hsdk_testing::ClearFailures();
        HsdkFixture::TearDown();
    }
};

TEST_F(HsdkSeamsTest, RecordsEachCallWithItsArgumentsOnlyWhileRecording)
{
    CaVersionChooser& chooser = m_harvest.GetContext().GetVersionChooser();
    chooser.Clear();
    hsdk_testing::StartRecording();
    chooser.SetParentPath("\\QXRepo\\화면");
    chooser.SetVersionObjId(12, 0);
    chooser.SetRecursive(true);
    CaStringList files;
    files.Add("a.xml");
    files.Add("b\\c.xml");
    m_harvest.GetContext().GetCheckin().SetFileList(files);
    hsdk_testing::StopRecording();
    chooser.SetRecursive(false);
    EXPECT_THAT(hsdk_testing::GetRecordedCalls(),
                ElementsAre("CaVersionChooser::SetParentPath(\\QXRepo\\화면)",
                            "CaVersionChooser::SetVersionObjId(12, 0)",
                            "CaVersionChooser::SetRecursive(true)", "CaHarvest::GetContext()",
                            "CaContext::GetCheckin()",
                            "CaCheckin::SetFileList({a.xml, b\\c.xml})"));
    hsdk_testing::ClearRecordedCalls();
    EXPECT_TRUE(hsdk_testing::GetRecordedCalls().empty());
}

TEST_F(HsdkSeamsTest, ForcedFailuresReplaceTheCallUntilCleared)
{
    CaContext& context = m_harvest.GetContext();
    hsdk_testing::FailCall("CaCheckout::Execute", 5);
    hsdk_testing::FailCall("CaContext::SetCheckout", 1);
    hsdk_testing::FailCall("CaHarvest::GetProjectList", 1);
    hsdk_testing::ThrowOnCall("CaSQL::Execute", "no database");
    EXPECT_EQ(5, context.GetCheckout().Execute());
    EXPECT_FALSE(context.SetCheckout("CheckOut"));
    EXPECT_TRUE(m_harvest.GetProjectList().IsEmpty());
    try
    {
        context.GetSQL().Execute();
        ADD_FAILURE() << "no exception";
    }
    catch (CaException e)
    {
        EXPECT_STREQ("no database", e.GetText());
    }

    hsdk_testing::ClearFailures();
    EXPECT_TRUE(context.SetCheckout("CheckOut"));
    EXPECT_FALSE(m_harvest.GetProjectList().IsEmpty());
}

TEST_F(HsdkSeamsTest, AdminRequestsSetUpScenariosThatTheSdkThenSees)
{
    const std::string created =
        hsdk_testing::Admin(R"({"op":"admin.createFolder","path":"\\QXRepo\\Empty\\관리"})");
    EXPECT_NE(std::string::npos, created.find("\"ok\":true")) << created;
    const std::string item = hsdk_testing::Admin(
        R"({"op":"admin.createItem","folder":"\\QXRepo\\Empty\\관리","name":"추가.xml"})", "bytes");
    EXPECT_NE(std::string::npos, item.find("\"ok\":true")) << item;
    EXPECT_NE(std::string::npos, hsdk_testing::Admin("not json").find("\"ok\":false"));

    CaVersionChooser& chooser = m_harvest.GetContext().GetVersionChooser();
    chooser.Clear();
    chooser.SetParentPath("\\QXRepo\\Empty\\관리");
    chooser.SetItemName("*");
    chooser.Execute();
    EXPECT_THAT(Names(chooser.GetVersionList(), "CA_ATTRKEY_NAME"), ElementsAre("추가.xml"));
}

TEST_F(HsdkSeamsTest, TraceFileGetsTheSameLines)
{
    const std::string trace = NewFolder() + "\\trace.txt";
    _putenv_s("HSDK_TRACE", trace.c_str());
    m_harvest.GetContext().GetVersionChooser().SetItemName("Main.xml");
    _putenv_s("HSDK_TRACE", "");
    m_harvest.GetContext().GetVersionChooser().SetItemName("other");
    EXPECT_EQ("CaHarvest::GetContext()\r\nCaContext::GetVersionChooser()\r\n"
              "CaVersionChooser::SetItemName(Main.xml)\r\n",
              ReadFile(trace));
}
