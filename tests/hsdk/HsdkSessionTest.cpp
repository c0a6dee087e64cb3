#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>

#include "BrokerProxy.h"
#include "FakeBroker.h"
#include "HsdkFixture.h"
#include "HsdkTesting.h"
#include "TestFiles.h"

TEST(HsdkLoginTest, RefusesBadPasswordsAndNeverHangsOnADeadPort)
{
    if (!HsdkFixture::HasBroker())
        GTEST_SKIP() << "no broker";
    CaHarvest harvest;
    EXPECT_NE(0, harvest.Login("localhost", "dev1", "wrong"));
    EXPECT_NE(0, harvest.Login("localhost", "nobody", "dev1pw"));
    EXPECT_THROW(harvest.GetProjectList(), CaException);

    const auto start = std::chrono::steady_clock::now();
    EXPECT_NE(0, harvest.Login("127.0.0.1:1", "dev1", "dev1pw"));
    EXPECT_NE(0, harvest.Login("no-such-host.invalid", "dev1", "dev1pw"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));

    const std::string broker = std::string("127.0.0.1:") + std::getenv("HARBROKER_PORT");
    EXPECT_EQ(0, harvest.Login(broker.c_str(), "dev1", "dev1pw"));
    harvest.Logout();
    EXPECT_THROW(harvest.GetProjectList(), CaException);
}

using HsdkContextTest = HsdkFixture;

TEST_F(HsdkContextTest, RunsTheFolderQueriesWithTypedColumnsAndRefusesWrites)
{
    CaSQL& sql = m_harvest.GetContext().GetSQL();
    sql.SetSQLStatement("select itemobjid, trim(itemname) as itemname, parentobjid from haritems "
                        "where repositobjid=2 and itemtype=0 order by parentobjid, itemobjid");
    EXPECT_EQ(0, sql.Execute());
    CaContainer result = sql.GetSQLResult();
    ASSERT_EQ(4, result.GetKeyElementCount("ITEMOBJID"));
    EXPECT_EQ(1, result.Props("ITEMOBJID", 0).GetType());
    EXPECT_EQ(22, result.Props("ITEMOBJID", 0).GetLong());
    EXPECT_EQ(2, result.Props("ITEMNAME", 0).GetType());
    EXPECT_STREQ("Common", result.Props("ITEMNAME", 0));
    EXPECT_STREQ("Screens", result.Props("ITEMNAME", 3));

    sql.SetSQLStatement(
        "select pathfullname, null as absent from harpathfullname where itemobjid=5");
    sql.Execute();
    result = sql.GetSQLResult();
    EXPECT_STREQ("\\QXRepo\\화면", result.Props("PATHFULLNAME", 0))
        << "Korean comes back in code page 949";
    EXPECT_TRUE(result.Props("ABSENT", 0).IsNull());

    sql.SetSQLStatement("delete from haritems");
    EXPECT_THROW(sql.Execute(), CaException);
    EXPECT_TRUE(sql.GetSQLResult().IsEmpty());
}

namespace
{
double SecondsOf(const std::function<void()>& call)
{
    const auto start = std::chrono::steady_clock::now();
    call();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The reply deadline of HSDK.ini beside HSDK.dll and of the environment, undone at the end.
struct DeadlineSettings
{
    explicit DeadlineSettings(const char* iniMs)
    {
        WriteFile(ini, std::string("[Connection]\r\nReplyTimeoutMs=") + iniMs + "\r\n");
    }
    ~DeadlineSettings()
    {
        DeleteFileA(ini.c_str());
        _putenv_s("HSDK_REPLY_TIMEOUT_MS", "");
    }
    const std::string ini = ProgramFolder() + "\\HSDK.ini";
};
} // namespace

TEST(HsdkDeadlineTest, ASilentBrokerCostsOneDeadlineAndTheNextCallConnectsAnew)
{
    FakeBroker silent(
        [](const std::string& op, const std::string&) -> FakeBroker::Answer {
            return {op == "login" ? FakeBroker::Frame(R"({"ok":true})") : "", false};
        });
    DeadlineSettings settings("400");
    CaHarvest harvest;
    ASSERT_EQ(0, harvest.Login(silent.Address().c_str(), "dev1", "pw"));
    std::string text;
    const double fromIni =
        SecondsOf([&] { text = HsdkFixture::FailureOf([&] { harvest.GetProjectList(); }); });
    EXPECT_EQ("The broker did not answer within 0.4 s.", text);
    EXPECT_GE(fromIni, 0.4);
    EXPECT_LT(fromIni, 3.4);

    // The environment wins over HSDK.ini; the lost session logs in again on a new connection.
    _putenv_s("HSDK_REPLY_TIMEOUT_MS", "1500");
    const double fromEnvironment =
        SecondsOf([&] { EXPECT_THROW(harvest.GetContext().GetStateList(), CaException); });
    EXPECT_GE(fromEnvironment, 1.5);
    EXPECT_LT(fromEnvironment, 4.5);
    _putenv_s("HSDK_REPLY_TIMEOUT_MS", "100");
    EXPECT_FALSE(harvest.GetContext().SetProject("QXP"));
    EXPECT_EQ(-1, harvest.GetContext().GetDeleteVersion().Execute());
    EXPECT_EQ(4, silent.Connections());
}

TEST(HsdkReconnectTest, ALostConnectionIsReplacedAndOnlyReadsRunAgain)
{
    if (!HsdkFixture::HasBroker())
        GTEST_SKIP() << "no broker";
    ASSERT_NE(std::string::npos,
              hsdk_testing::Admin(R"({"op":"admin.createItem","folder":"\\QXRepo\\Docs",)"
                                  R"("name":"cut.txt"})")
                  .find("\"ok\":true"));
    BrokerProxy proxy;
    CaHarvest harvest;
    ASSERT_NO_FATAL_FAILURE(HsdkFixture::LogIn(harvest, "dev1", "dev1pw", proxy.Address().c_str()));
    CaContext& context = harvest.GetContext();
    ASSERT_TRUE(context.SetCheckout("CheckOut"));
    CaVersionChooser& chooser = context.GetVersionChooser();
    auto choose = [&](const char* name)
    {
        chooser.Clear();
        chooser.SetParentPath("\\QXRepo");
        chooser.SetItemName(name);
        chooser.SetRecursive(true);
        chooser.SetVersionOption(256);
        return chooser.Execute() == 0 ? chooser.GetVersionListAsList().GetSize() : -1;
    };
    CaCheckout& checkout = context.GetCheckout();
    auto checkOut = [&](int mode)
    {
        checkout.SetViewPath("\\QXRepo\\Docs");
        checkout.SetClientDir(HsdkFixture::NewFolder().c_str());
        checkout.SetCheckoutMode(mode);
        checkout.SetPathOption(2);
        checkout.SetReplaceFile(true);
        return checkout.Execute();
    };

    // A restart, or an idle session the broker dropped: the next call, read or process, logs
    // in again, with the context and the chosen process kept.
    proxy.Cut();
    EXPECT_EQ(1, choose("cut.txt"));
    EXPECT_EQ(2, proxy.Connections());
    proxy.Cut();
    EXPECT_EQ(0, checkOut(1));
    EXPECT_EQ(3, proxy.Connections());
    EXPECT_STREQ("QXP-001", context.GetPackageName());

    // Cut inside a reply: a read runs once more and succeeds.
    const int everything = choose("*");
    proxy.CutAfter(300);
    EXPECT_EQ(everything, choose("*"));
    EXPECT_EQ(4, proxy.Connections());

    // A process never: the reservation was committed before its file was cut, which the
    // item's state tells.
    ASSERT_EQ(1, choose("cut.txt"));
    proxy.CutAfter(20);
    EXPECT_EQ(-1, checkOut(2));
    EXPECT_EQ(4, proxy.Connections()) << "not run again";
    ASSERT_EQ(1, choose("cut.txt"));
    EXPECT_STREQ("R", chooser.GetVersionListAsList()[0].GetVersionStatus());
    EXPECT_STREQ("dev1", chooser.GetVersionListAsList()[0].GetModifierName());

    // No broker answers: the call fails at once; back again, the next one works.
    proxy.SetDown(true);
    proxy.Cut();
    EXPECT_THROW(chooser.Execute(), CaException);
    proxy.SetDown(false);
    EXPECT_EQ(1, choose("cut.txt"));

    // The processes are asked for once per connection: one added since is still found, and a
    // new connection no longer offers one deleted meanwhile.
    const auto process = [](const char* op)
    {
        return hsdk_testing::Admin((std::string(R"({"op":")") + op +
                                    R"(","project":"QXP","state":"Development","name":"Late",)"
                                    R"("kind":"checkout"})")
                                       .c_str());
    };
    ASSERT_NE(std::string::npos, process("admin.createProcess").find("\"ok\":true"));
    EXPECT_TRUE(context.SetCheckout("Late"));
    ASSERT_NE(std::string::npos, process("admin.deleteProcess").find("\"ok\":true"));
    proxy.Cut();
    EXPECT_FALSE(context.SetCheckout("Late"));
    EXPECT_TRUE(context.SetCheckout("CheckOut"));
}

TEST(HsdkReconnectTest, ALoginRefusedAfterALostConnectionIsNotTriedAgain)
{
    // The broker drops every connection after its login, and accepts only the first login.
    std::atomic<int> logins{0};
    FakeBroker broker(
        [&](const std::string& op, const std::string&) -> FakeBroker::Answer
        {
            if (op != "login")
                return {"", true};
            return {FakeBroker::Frame(++logins == 1 ? R"({"ok":true})"
                                                    : R"({"ok":false,"error":"locked"})"),
                    false};
        });
    CaHarvest harvest;
    ASSERT_EQ(0, harvest.Login(broker.Address().c_str(), "dev1", "pw"));
    auto failure = [&] { return HsdkFixture::FailureOf([&] { harvest.GetProjectList(); }); };
    EXPECT_EQ("The connection to the broker was lost, and the broker refused to log in again.",
              failure());
    EXPECT_EQ("Not connected to the broker.", failure());
    EXPECT_EQ(-1, harvest.GetContext().GetCheckout().Execute());
    EXPECT_EQ(2, logins.load());
}
