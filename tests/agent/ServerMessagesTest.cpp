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
    // "text|lParam" of the last line sent.
    std::string Last() const
    {
        if (output.lines.empty())
            return "<none>";
        return output.lines.back().text + "|" + std::to_string(output.lines.back().lParam);
    }

    OutputWindow output;
    CaCheckout checkout{nullptr};
};
} // namespace

TEST_F(ServerMessagesTest, CheckInLinesTranslateTheTrickyRows)
{
    struct Case
    {
        const char* key;
        std::vector<const char*> args;
        const char* line;
    };
    const Case cases[] = {
        {"HSRV_E_PKG_BUSY",
         {"P1", "dev2"},
         "The package named P1 is being used by dev2. Client:  Server: |0"},
        // Placeholders stay as they stand when every argument is empty.
        {"HSRV_E_PKG_BUSY",
         {"", "", "", ""},
         "The package named %s is being used by %s. Client: %s Server: %s|0"},
        // An empty first argument still counts once a later one is given.
        {"HSRV_E_DB", {"", "ignored"}, "Database error .|0"},
        {"HSRV_I_CHECKIN",
         {"C:\\w\\a.xml", "\\R\\a.xml;1", "x", "y", "fifth"},
         "File C:\\w\\a.xml checked into \\R\\a.xml;1.|1"},
        {"HSRV_E_CHECKIN_NO_FILES", {}, "No files to checkin!|0"},
        {"HSRV_I_MESSAGE", {"퍼센트 %d 그대로"}, "퍼센트 %d 그대로.|1"},
        // Unknown keys: case-sensitive, and the check-out's own key has no row.
        {"HSRV_E_CHECKOUT_DELETED_VERSION",
         {"x"},
         "알 수 없는 오류 [key=HSRV_E_CHECKOUT_DELETED_VERSION]|0"},
        {"hsrv_e_db", {"x"}, "알 수 없는 오류 [key=hsrv_e_db]|1"},
        {"HSRV_I_CHECKOUT", {"a", "b"}, "알 수 없는 오류 [key=HSRV_I_CHECKOUT]|1"},
    };
    for (const Case& c : cases)
    {
        CheckIn(Message(c.key, c.args));
        EXPECT_EQ(c.line, Last()) << c.key;
    }

    // Only text elements of the two keys count, and the last text key wins.
    CaContainer mixed = Message("HSRV_I_MESSAGE", {});
    mixed.AddElement("_HEM_MsgKey", CaData("HSRV_E_DB"));
    mixed.AddElement("_HEM_MsgKey", CaData(7L));
    mixed.AddElement("Other", CaData("HSRV_I_MESSAGE"));
    mixed.AddElement("_HEM_MsgArg", CaData(42L));
    mixed.AddElement("_HEM_MsgArg", CaData("second"));
    CheckIn(mixed);
    EXPECT_EQ("Database error .|0", Last());

    size_t before = output.lines.size();
    CheckIn(Message(nullptr, {"argument only"}));
    CheckOut(Message(nullptr, {"argument only"}));
    CheckOut(Message("HSRV_E_CHECKOUT_DELETED_VERSION", {"x"}));
    CheckIn(CaContainer());
    OnCheckinMessage(0, nullptr, nullptr, nullptr);
    EXPECT_EQ(before, output.lines.size());

    // Without a window the line is still composed.
    VORAgent::SetOutputHwnd(nullptr);
    CheckIn(Message("HSRV_I_CHECKIN_RELEASE", {"\\R\\a.xml"}));
    EXPECT_EQ("Item \\R\\a.xml released.", Str(VORAgent::GetLatestMsg()));
    EXPECT_EQ(before, output.lines.size());
}

TEST_F(ServerMessagesTest, CheckoutLineNamesTheModeAndListsTrackedFiles)
{
    CheckOut(Message("HSRV_I_CHECKOUT", {"\\R\\a.XCML;0", "PC\\\\C:\\w\\a.XCML"}));
    EXPECT_EQ("File \\R\\a.XCML;0 updated to PC\\\\C:\\w\\a.XCML|1", Last());

    checkout.SetCheckoutMode(2);
    CheckOut(Message("HSRV_I_CHECKOUT", {"\\R\\b.qxs;3", "PC\\\\C:\\w.d\\b.qxs"}));
    EXPECT_EQ("File \\R\\b.qxs;3 checked out to PC\\\\C:\\w.d\\b.qxs|1", Last());

    // Not tracked: another extension, a machine separator at the very start or none, and an
    // extension on the folder only.
    CheckOut(Message("HSRV_I_CHECKOUT", {"\\R\\c.xml;0", "PC\\\\C:\\w\\c.xml"}));
    CheckOut(Message("HSRV_I_CHECKOUT", {"\\R\\d.xcml;0", "\\\\server\\d.xcml"}));
    CheckOut(Message("HSRV_I_CHECKOUT", {"\\R\\e.qxs;0", "no separator e.qxs"}));
    CheckOut(Message("HSRV_I_CHECKOUT", {"\\R\\f;0", "PC\\\\C:\\w.qxs\\f"}));
    CheckOut(Message("HSRV_I_SAME_VERSION_NOT_MODIFIED", {"C:\\w\\a.xcml", "0"}));
    EXPECT_EQ("No need to update file C:\\w\\a.xcml from repository version 0.|1", Last());

    // The same array the host reads and empties; a file fetched twice is listed twice.
    CStringArray* changed = VORAgent::GetChangedFiles();
    EXPECT_EQ(&VORAgent::m_sChangedFiles, changed);
    CheckOut(Message("HSRV_I_CHECKOUT", {"\\R\\a.XCML;0", "PC\\\\C:\\w\\a.XCML"}));
    ASSERT_EQ(3, changed->GetSize());
    EXPECT_EQ("C:\\w\\a.XCML", Str(changed->GetAt(0)));
    EXPECT_EQ("C:\\w.d\\b.qxs", Str(changed->GetAt(1)));
    EXPECT_EQ("C:\\w\\a.XCML", Str(changed->GetAt(2)));
}
