#include <windows.h>
#include "AgentTestSupport.h"

#include "ServerMessages.h"

// The callbacks as the SDK calls them during a process, with messages built here so that
// every row and argument pattern can be tried (the broker sends only some of them).
namespace
{
CaContainer Message(const char* key, const std::vector<const char*>& args)
{
    CaContainer message;
    if (key != nullptr)
        message.AddElement("_HEM_MsgKey", CaData(key));
    message.AddKey("_HEM_MsgArg");
    for (const char* arg : args)
        message.AddElement("_HEM_MsgArg", CaData(arg));
    return message;
}

class ServerMessagesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        VORAgent::SetOutputHwnd(output.Handle());
        FillServerMessageTable();
        checkout.SetCheckoutMode(4);
    }
    void TearDown() override { VORAgent::GetChangedFiles()->RemoveAll(); }

    void CheckIn(CaContainer message) { OnCheckinMessage(0, nullptr, nullptr, &message); }
    void CheckOut(CaContainer message) { OnCheckoutMessage(0, &checkout, nullptr, &message); }
    OutputLine Last() const { return output.lines.empty() ? OutputLine{"<none>", -1} : output.lines.back(); }

    OutputWindow output;
    CaCheckout checkout{nullptr};
};
} // namespace

TEST_F(ServerMessagesTest, PlaceholdersTakeArgumentsUpToTheLastOneGiven)
{
    CheckIn(Message("HSRV_E_PKG_BUSY", {"P1", "dev2"}));
    EXPECT_EQ("The package named P1 is being used by dev2. Client:  Server: ", Last().text);
    EXPECT_EQ(0, Last().lParam);

    CheckIn(Message("HSRV_E_PKG_BUSY", {"", "", "", ""}));
    EXPECT_EQ("The package named %s is being used by %s. Client: %s Server: %s", Last().text);

    // An empty first argument still counts once a later one is given.
    CheckIn(Message("HSRV_E_DB", {"", "ignored"}));
    EXPECT_EQ("Database error .", Last().text);

    CheckIn(Message("HSRV_I_CHECKIN", {"C:\\w\\a.xml", "\\R\\a.xml;1", "x", "y", "fifth"}));
    EXPECT_EQ("File C:\\w\\a.xml checked into \\R\\a.xml;1.", Last().text);
    EXPECT_EQ(1, Last().lParam);

    CheckIn(Message("HSRV_E_CHECKIN_NO_FILES", {}));
    EXPECT_EQ("No files to checkin!", Last().text);

    CheckIn(Message("HSRV_I_MESSAGE", {"퍼센트 %d 그대로"}));
    EXPECT_EQ("퍼센트 %d 그대로.", Last().text);
}

TEST_F(ServerMessagesTest, OnlyTextElementsOfTheTwoKeysCount)
{
    CaContainer message;
    message.AddElement("_HEM_MsgKey", CaData("HSRV_E_DB"));
    message.AddElement("_HEM_MsgKey", CaData(7L));
    message.AddElement("Other", CaData("HSRV_I_MESSAGE"));
    message.AddElement("_HEM_MsgArg", CaData(42L));
    message.AddElement("_HEM_MsgArg", CaData("second"));
    CheckIn(message);
    EXPECT_EQ("Database error .", Last().text);

    // The last text element of the key wins.
    CaContainer twoKeys = Message("HSRV_I_MESSAGE", {"hello"});
    twoKeys.AddElement("_HEM_MsgKey", CaData("HSRV_E_MESSAGE"));
    CheckIn(twoKeys);
    EXPECT_EQ("hello.", Last().text);
    EXPECT_EQ(0, Last().lParam);

    size_t before = output.lines.size();
    CheckIn(Message(nullptr, {"argument only"}));
    CheckOut(Message(nullptr, {"argument only"}));
    CheckIn(CaContainer());
    OnCheckinMessage(0, nullptr, nullptr, nullptr);
    EXPECT_EQ(before, output.lines.size());
}

TEST_F(ServerMessagesTest, UnknownKeysGiveTheFallbackLine)
{
    CheckIn(Message("HSRV_E_CHECKOUT_DELETED_VERSION", {"x"}));
    EXPECT_EQ("알 수 없는 오류 [key=HSRV_E_CHECKOUT_DELETED_VERSION]", Last().text);
    EXPECT_EQ(0, Last().lParam);

    CheckIn(Message("HSRV_W_SOMETHING", {}));
    EXPECT_EQ("알 수 없는 오류 [key=HSRV_W_SOMETHING]", Last().text);
    EXPECT_EQ(1, Last().lParam);

    // Keys are case-sensitive, and the check-out's own key has no table row.
    CheckIn(Message("hsrv_e_db", {"x"}));
    EXPECT_EQ("알 수 없는 오류 [key=hsrv_e_db]", Last().text);
    EXPECT_EQ(1, Last().lParam);
    CheckIn(Message("HSRV_I_CHECKOUT", {"a", "b"}));
    EXPECT_EQ("알 수 없는 오류 [key=HSRV_I_CHECKOUT]", Last().text);

    size_t before = output.lines.size();
    CheckOut(Message("HSRV_E_CHECKOUT_DELETED_VERSION", {"x"}));
    EXPECT_EQ(before, output.lines.size());
}

TEST_F(ServerMessagesTest, CheckoutLineNamesTheModeAndListsTrackedFiles)
{
    CheckOut(Message("HSRV_I_CHECKOUT", {"\\R\\a.XCML;0", "PC\\\\C:\\w\\a.XCML"}));
    EXPECT_EQ("File \\R\\a.XCML;0 updated to PC\\\\C:\\w\\a.XCML", Last().text);
    EXPECT_EQ(1, Last().lParam);

    checkout.SetCheckoutMode(2);
    CheckOut(Message("HSRV_I_CHECKOUT", {"\\R\\b.qxs;3", "PC\\\\C:\\w.d\\b.qxs"}));
    EXPECT_EQ("File \\R\\b.qxs;3 checked out to PC\\\\C:\\w.d\\b.qxs", Last().text);

    CheckOut(Message("HSRV_I_CHECKOUT", {"\\R\\c.xml;0", "PC\\\\C:\\w\\c.xml"}));
    CheckOut(Message("HSRV_I_CHECKOUT", {"\\R\\d.xcml;0", "\\\\server\\d.xcml"}));
    CheckOut(Message("HSRV_I_CHECKOUT", {"\\R\\e.qxs;0", "no separator e.qxs"}));
    CheckOut(Message("HSRV_I_CHECKOUT", {"\\R\\f;0", "PC\\\\C:\\w.qxs\\f"}));
    CheckOut(Message("HSRV_I_SAME_VERSION_NOT_MODIFIED", {"C:\\w\\a.xcml", "0"}));
    EXPECT_EQ("No need to update file C:\\w\\a.xcml from repository version 0.", Last().text);

    // The same array the host reads and empties; a file fetched twice is listed twice.
    CStringArray* changed = VORAgent::GetChangedFiles();
    EXPECT_EQ(&VORAgent::m_sChangedFiles, changed);
    ASSERT_EQ(2, changed->GetSize());
    EXPECT_EQ("C:\\w\\a.XCML", Str(changed->GetAt(0)));
    EXPECT_EQ("C:\\w.d\\b.qxs", Str(changed->GetAt(1)));
    CheckOut(Message("HSRV_I_CHECKOUT", {"\\R\\a.XCML;0", "PC\\\\C:\\w\\a.XCML"}));
    EXPECT_EQ(3, changed->GetSize());
}

TEST_F(ServerMessagesTest, LinesWithoutWindowAreStillComposed)
{
    VORAgent::SetOutputHwnd(nullptr);
    CheckIn(Message("HSRV_I_CHECKIN_RELEASE", {"\\R\\a.xml"}));
    EXPECT_EQ("Item \\R\\a.xml released.", Str(VORAgent::GetLatestMsg()));
    EXPECT_TRUE(output.lines.empty());
}
