#include <windows.h>

#include <cstdlib>
#include <stdexcept>

#include "HsdkFixture.h"
#include "HsdkTesting.h"

// The agent and dialog tests drive the record and the scripts through the library; what they
// cannot see is checked here: the trace file, the record's own lines, and how scripts pick
// their calls.
TEST_F(HsdkFixture, TraceFileGetsTheRecordedLinesWhileItIsNamed)
{
    const std::string trace = NewFolder() + "\\trace.txt";
    _putenv_s("HSDK_TRACE", trace.c_str());
    m_harvest.GetContext().GetVersionChooser().SetItemName("Main.xml");
    m_harvest.GetContext().GetPackageChooser().SetPackageName("", 0);
    _putenv_s("HSDK_TRACE", "");
    m_harvest.GetContext().GetVersionChooser().SetItemName("other");
    EXPECT_EQ("CaHarvest::GetContext()\r\nCaContext::GetVersionChooser()\r\n"
              "CaVersionChooser::SetItemName(Main.xml)\r\n"
              "CaHarvest::GetContext()\r\nCaContext::GetPackageChooser()\r\n"
              "CaPackageChooser::SetPackageName(, 0)\r\n",
              ReadFile(trace));
}

TEST(HsdkRecordTest, ConnectionsAndStringListsAreRecordedAndPasswordsAreNot)
{
    hsdk_testing::ClearRecordedCalls();
    hsdk_testing::StartRecording();
    {
        CaHarvest harvest;
        harvest.Login("127.0.0.1:1", "dev1", "secret");
        harvest.Login("127.0.0.1:1", "dev1", "");
        CaStringList files;
        files.Add("a.xml");
        files.Add(nullptr);
        CaContainer message;
        message.AddElement("_HEM_MsgKey", CaData("HSRV_I_MESSAGE"));
        EXPECT_EQ(1, message.GetKeyList().GetSize());
    }
    hsdk_testing::StopRecording();
    EXPECT_THAT(
        hsdk_testing::GetRecordedCalls(),
        ::testing::ElementsAre("CaHarvest::CaHarvest()", "CaHarvest::Login(127.0.0.1:1, dev1, ***)",
                               "CaHarvest::Login(127.0.0.1:1, dev1, )", "CaStringList::Add(a.xml)",
                               "CaStringList::Add()", "CaHarvest::~CaHarvest()"));
}

TEST_F(HsdkFixture, ScriptsApplyToTheCallsTheyNameAsOftenAsAskedAndProbesFailAsCaException)
{
    CaContext& context = m_harvest.GetContext();
    CaSQL& sql = context.GetSQL();
    sql.SetSQLStatement("select itemname from haritems where itemobjid=1");
    hsdk_testing::OnCall("CaSQL::Execute").Occurrence(2).Throw("second");
    hsdk_testing::OnCall("CaContext::SetCheckout").WithArgument("In").Always().Return(true);
    EXPECT_THAT(hsdk_testing::UnusedScripts(),
                ::testing::ElementsAre("CaSQL::Execute", "CaContext::SetCheckout"));
    EXPECT_EQ(0, sql.Execute());
    EXPECT_EQ("second", FailureOf([&] { sql.Execute(); }));
    EXPECT_EQ(0, sql.Execute());
    EXPECT_STREQ("QXRepo", sql.GetSQLResult().Props("ITEMNAME", 0));
    EXPECT_FALSE(context.SetCheckout("Nothing"));
    EXPECT_TRUE(context.SetCheckout("CheckIn"));
    EXPECT_TRUE(context.SetCheckout("CheckIn"));
    EXPECT_TRUE(hsdk_testing::UnusedScripts().empty());

    std::string seen;
    hsdk_testing::OnCall("CaSQL::SetSQLStatement")
        .Probe(
            [&](const std::string& arguments)
            {
                seen = arguments;
                throw std::runtime_error("probe");
            });
    EXPECT_EQ("The SDK failed: probe", FailureOf([&] { sql.SetSQLStatement("select 1"); }));
    EXPECT_EQ("select 1", seen);
    hsdk_testing::ClearScripts();
}
