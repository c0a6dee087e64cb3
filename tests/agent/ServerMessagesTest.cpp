#include <windows.h>
#include "AgentTestSupport.h"

// Server messages as the SDK hands them to the agent's callbacks during a real check-in or
// check-out, scripted so that every row and argument pattern can be tried (the broker sends only
// some of them).
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

class ServerMessagesTest : public RepositoryTest
{
protected:
    // "text|lParam" of every line sent since the last call.
    std::vector<std::string> NewLines()
    {
        std::vector<std::string> lines;
        for (size_t i = m_nSeen; i < output.lines.size(); ++i)
            lines.push_back(output.lines[i].text + "|" + std::to_string(output.lines[i].lParam));
        m_nSeen = output.lines.size();
        return lines;
    }

    size_t m_nSeen = 0;
};
} // namespace

TEST_F(ServerMessagesTest, CheckInLinesTranslateTheTrickyRows)
{
    // Only text elements of the two keys count, and the last text key wins.
    CaContainer mixed = Message("HSRV_I_MESSAGE", {});
    mixed.AddElement("_HEM_MsgKey", CaData("HSRV_E_DB"));
    mixed.AddElement("_HEM_MsgKey", CaData(7L));
    mixed.AddElement("_HEM_MsgKey", CaData());
    mixed.AddElement("Other", CaData("HSRV_I_MESSAGE"));
    mixed.AddElement("_HEM_MsgArg", CaData(42L));
    mixed.AddElement("_HEM_MsgArg", CaData("second"));

    hsdk_testing::OnCall("CaCheckin::Execute")
        .Deliver({Message("HSRV_E_PKG_BUSY", {"P1", "dev2"}),
                  Message("HSRV_E_PKG_BUSY", {"P2", "dev3", "PC3", "SRV"}),
                  // Placeholders stay as they stand when every argument is empty.
                  Message("HSRV_E_PKG_BUSY", {"", "", "", ""}),
                  // An empty first argument still counts once a later one is given.
                  Message("HSRV_E_DB", {"", "ignored"}),
                  Message("HSRV_I_CHECKIN", {"C:\\w\\a.xml", "\\R\\a.xml;1", "x", "y", "fifth"}),
                  Message("HSRV_E_CHECKIN_NO_FILES", {}), Message("HSRV_I_MESSAGE", {"%d 그대로"}),
                  // Unknown keys: case-sensitive, and the check-out's own keys have no row.
                  Message("HSRV_E_CHECKOUT_DELETED_VERSION", {"x"}), Message("hsrv_e_db", {"x"}),
                  Message("HSRV_I_CHECKOUT", {"a", "b"}),
                  // An error key is one that holds HSRV_E_ anywhere.
                  Message("MY_HSRV_E_KEY", {}), mixed,
                  // No key, or nothing at all: no line.
                  Message(nullptr, {"argument only"}), CaContainer()},
                 1);
    std::vector<CString> files = {"a.xml"};
    EXPECT_EQ(0, VORAgent::DoCheckIn(&files, work.Path().c_str(), 0, "", "\\QXRepo\\Docs"));
    EXPECT_EQ((std::vector<std::string>{
                  "The package named P1 is being used by dev2. Client:  Server: |0",
                  "The package named P2 is being used by dev3. Client: PC3 Server: SRV|0",
                  "The package named %s is being used by %s. Client: %s Server: %s|0",
                  "Database error .|0", "File C:\\w\\a.xml checked into \\R\\a.xml;1.|1",
                  "No files to checkin!|0", "%d 그대로.|1",
                  "알 수 없는 오류 [key=HSRV_E_CHECKOUT_DELETED_VERSION]|0",
                  "알 수 없는 오류 [key=hsrv_e_db]|1", "알 수 없는 오류 [key=HSRV_I_CHECKOUT]|1",
                  "알 수 없는 오류 [key=MY_HSRV_E_KEY]|0", "Database error .|0"}),
              NewLines());
    EXPECT_EQ(std::vector<std::string>{work.Path() + " 폴더의 파일 체크인 실패"}, messages.Texts());

    // Without a window the line is still composed.
    VORAgent::SetOutputHwnd(nullptr);
    hsdk_testing::OnCall("CaCheckin::Execute")
        .Deliver({Message("HSRV_I_CHECKIN_RELEASE", {"\\R\\a.xml"})}, 0);
    EXPECT_EQ(1, VORAgent::DoCheckIn(&files, work.Path().c_str(), 0, "", "\\QXRepo\\Docs"));
    EXPECT_EQ("Item \\R\\a.xml released.", Str(VORAgent::GetLatestMsg()));
    EXPECT_TRUE(NewLines().empty());
}

TEST_F(ServerMessagesTest, CheckoutLinesNameTheModeAndListTrackedFiles)
{
    const std::string folder = work.Make("Docs");
    hsdk_testing::OnCall("CaCheckout::Execute")
        .Deliver({Message("HSRV_I_CHECKOUT", {"\\R\\a.XCML;0", "PC\\\\C:\\w\\a.XCML"}),
                  // Not tracked: another extension, a machine separator at the very start or
                  // none, and an extension on the folder only.
                  Message("HSRV_I_CHECKOUT", {"\\R\\c.xml;0", "PC\\\\C:\\w\\c.xml"}),
                  Message("HSRV_I_CHECKOUT", {"\\R\\d.xcml;0", "\\\\server\\d.xcml"}),
                  Message("HSRV_I_CHECKOUT", {"\\R\\e.qxs;0", "no separator e.qxs"}),
                  Message("HSRV_I_CHECKOUT", {"\\R\\f;0", "PC\\\\C:\\w.qxs\\f"}),
                  Message("HSRV_E_CHECKOUT_DELETED_VERSION", {"x"}),
                  Message("HSRV_I_SAME_VERSION_NOT_MODIFIED", {"C:\\w\\a.xcml", "0"})},
                 0);
    ASSERT_EQ(1, VORAgent::GetLatestVersion("readme.txt", folder.c_str(), "\\QXRepo\\Docs"));
    EXPECT_EQ((std::vector<std::string>{
                  "File \\R\\a.XCML;0 updated to PC\\\\C:\\w\\a.XCML|1",
                  "File \\R\\c.xml;0 updated to PC\\\\C:\\w\\c.xml|1",
                  "File \\R\\d.xcml;0 updated to \\\\server\\d.xcml|1",
                  "File \\R\\e.qxs;0 updated to no separator e.qxs|1",
                  "File \\R\\f;0 updated to PC\\\\C:\\w.qxs\\f|1",
                  "No need to update file C:\\w\\a.xcml from repository version 0.|1"}),
              NewLines());

    // Checked out for update; the same array the host reads and empties, and a file fetched
    // twice is listed twice.
    hsdk_testing::OnCall("CaCheckout::Execute")
        .Deliver({Message("HSRV_I_CHECKOUT", {"\\R\\b.qxs;3", "PC\\\\C:\\w.d\\b.qxs"}),
                  Message("HSRV_I_CHECKOUT", {"\\R\\a.XCML;0", "PC\\\\C:\\w\\a.XCML"})},
                 0);
    ASSERT_EQ(1, VORAgent::DoCheckOut("readme.txt", folder.c_str(), "\\QXRepo\\Docs"));
    EXPECT_EQ((std::vector<std::string>{"File \\R\\b.qxs;3 checked out to PC\\\\C:\\w.d\\b.qxs|1",
                                        "File \\R\\a.XCML;0 checked out to PC\\\\C:\\w\\a.XCML|1"}),
              NewLines());
    CStringArray* changed = VORAgent::GetChangedFiles();
    EXPECT_EQ(&VORAgent::m_sChangedFiles, changed);
    std::vector<std::string> tracked;
    for (int i = 0; i < changed->GetSize(); ++i)
        tracked.push_back(Str(changed->GetAt(i)));
    EXPECT_EQ((std::vector<std::string>{"C:\\w\\a.XCML", "C:\\w.d\\b.qxs", "C:\\w\\a.XCML"}),
              tracked);
    EXPECT_TRUE(messages.boxes.empty());
}
