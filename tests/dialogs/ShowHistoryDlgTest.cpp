#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CHShowHistoryDlg.h"
#include "DialogTest.h"
#include "HsdkTesting.h"
#include "VORAgent.h"

using namespace dialog_testing;

namespace
{
const int kReservedElsewhere = 2;
const int kReservedHere = 3;

class History : public DialogTest
{
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        m_temp = static_cast<LPCSTR>(VORAgent::GetSysDrive() + "temp\\");
    }

    // Shows the history of the file in the folder; drive gets the dialog and its list.
    void Show(const char* name, const std::string& folder,
              const std::function<void(CDialog&, HWND)>& drive, const Drive& details = nullptr)
    {
        CHShowHistoryDlg dialog;
        dialog.m_sFileName = name;
        dialog.m_sLocalDir = folder.c_str();
        RunModal(
            dialog, [&](CDialog& dlg) { drive(dlg, Control(dlg, IDC_VERSIONS_LIST)); }, details);
    }

    std::string m_temp;
};

void ClearTempFile(const std::string& path)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}
} // namespace

TEST_F(History, VersionsAreListedNewestFirstByNumberWithButtonsForTheSelection)
{
    const std::string folder = FreshFolder("history_list", "\\QXRepo\\Proj1\\Screens");
    MessageBoxes boxes;
    OutputLog log;
    std::vector<std::string> details;
    Show(
        "Main.xml", folder,
        [&](CDialog& dlg, HWND list)
        {
            EXPECT_EQ(Text(dlg, IDC_HISTORY_FILE_PATH), "\\QXRepo\\Proj1\\Screens\\Main.xml");
            EXPECT_EQ(ListColumn(list, 0), (std::vector<std::string>{"10", "9", "8", "7", "6", "5",
                                                                     "4", "3", "2", "1", "0"}));
            EXPECT_EQ(ListColumn(list, 3)[1], "Main screen revision 9");
            EXPECT_EQ(StateImage(list, 0), 0);
            for (int button : {IDC_GET_VERSION, IDC_COMPARE_VERS, IDC_SHOW_DETAILS})
                EXPECT_FALSE(IsEnabled(dlg, button));

            SelectRows(list, {1, 8});
            EXPECT_FALSE(IsEnabled(dlg, IDC_GET_VERSION));
            EXPECT_TRUE(IsEnabled(dlg, IDC_COMPARE_VERS));
            EXPECT_FALSE(IsEnabled(dlg, IDC_SHOW_DETAILS));

            SelectRows(list, {1});
            EXPECT_TRUE(IsEnabled(dlg, IDC_GET_VERSION));
            EXPECT_FALSE(IsEnabled(dlg, IDC_COMPARE_VERS));
            EXPECT_TRUE(IsEnabled(dlg, IDC_SHOW_DETAILS));

            AfxClickDlgButton(&dlg, IDC_SHOW_DETAILS);
            AfxClickDlgButton(&dlg, IDC_GET_VERSION);
            AfxClickDlgButton(&dlg, IDOK);
        },
        [&](CDialog& shown)
        {
            for (int id : {IDC_VER_NAME, IDC_VER_USER, IDC_VER_PACKAGE, IDC_VER_STATUS,
                           IDC_VER_DESCRIPTION, IDC_VER_LOCATION})
                details.push_back(Text(shown, id));
            AfxClickDlgButton(&shown, IDOK);
        });

    EXPECT_EQ(details, (std::vector<std::string>{"9", "dev1", "QXP-001", "N",
                                                 "Main screen revision 9", "\\\\"}));
    EXPECT_EQ(ReadFile(folder + "\\Main.xml"), "Main.xml 9\r\n");
    EXPECT_TRUE(boxes.Seen().empty());
    EXPECT_TRUE(log.Frames("Get At Version"));
}

TEST_F(History, TwoVersionsAreComparedEarlierFirstOnlyWhenTheDifferenceProgramIsThere)
{
    const std::string folder = FreshFolder("history_compare", "\\QXRepo\\Proj1\\Screens");
    CreateDirectoryA(m_temp.c_str(), nullptr);
    ClearTempFile(m_temp + "v3_Main.xml");
    ClearTempFile(m_temp + "v10_Main.xml");
    WriteFile(m_temp + "v2_Main.xml", "left over\r\n");
    SetFileAttributesA((m_temp + "v2_Main.xml").c_str(), FILE_ATTRIBUTE_READONLY);

    auto diff = std::make_unique<DiffProgramStandIn>(DiffProgramStandIn::Missing);
    MessageBoxes boxes;
    OutputLog log;
    Show("Main.xml", folder,
         [&](CDialog& dlg, HWND list)
         {
             SelectRows(list, {5, 7});
             AfxClickDlgButton(&dlg, IDC_COMPARE_VERS);
             ASSERT_EQ(boxes.Texts(),
                       std::vector<std::string>{"WinDiff.Exe 파일이 존재하지 않습니다."});
             EXPECT_EQ(boxes.Seen()[0].type & MB_ICONMASK, 0u);
             EXPECT_TRUE(log.Lines().empty());
             EXPECT_FALSE(Exists(m_temp + "v3_Main.xml"));

             diff.reset();
             diff = std::make_unique<DiffProgramStandIn>(DiffProgramStandIn::Recorder);
             SelectRows(list, {8, 0});
             AfxClickDlgButton(&dlg, IDC_COMPARE_VERS);
             AfxClickDlgButton(&dlg, IDOK);
         });

    EXPECT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(diff->Arguments(), "\"" + m_temp + "v2_Main.xml\" \"" + m_temp + "v10_Main.xml\"");
    EXPECT_EQ(ReadFile(m_temp + "v2_Main.xml"), "Main.xml 2\r\n") << "a read-only leftover";
    EXPECT_EQ(ReadFile(m_temp + "v10_Main.xml"), "Main.xml 10\r\n");
    EXPECT_FALSE(Exists(m_temp + "Main.xml")) << "each fetched copy is renamed";
}

TEST_F(History, MyReservedVersionIsComparedWithTheWorkingCopyAndBlocksGettingOlderOnes)
{
    const std::string folder = FreshFolder("history_reserved", "\\QXRepo\\Proj1\\Screens");
    ASSERT_TRUE(VORAgent::DoCheckOut("Main.xml", folder.c_str(), nullptr));
    WriteFile(folder + "\\Main.xml", "my working copy\r\n");
    ClearTempFile(m_temp + "local_Main.xml");

    DiffProgramStandIn diff(DiffProgramStandIn::Recorder);
    MessageBoxes boxes;
    OutputLog log;
    Show("Main.xml", folder,
         [&](CDialog& dlg, HWND list)
         {
             ASSERT_EQ(ListColumn(list, 0).front(), "11");
             EXPECT_EQ(StateImage(list, 0), kReservedHere);
             EXPECT_EQ(StateImage(list, 1), 0);
             SelectRows(list, {0});
             EXPECT_FALSE(IsEnabled(dlg, IDC_GET_VERSION));
             EXPECT_TRUE(IsEnabled(dlg, IDC_SHOW_DETAILS));

             SelectRows(list, {3});
             AfxClickDlgButton(&dlg, IDC_GET_VERSION);
             SelectRows(list, {0, 1});
             AfxClickDlgButton(&dlg, IDC_COMPARE_VERS);
             AfxClickDlgButton(&dlg, IDOK);
         });
    VORAgent::UndoCheckOut("Main.xml", folder.c_str(), nullptr);

    ASSERT_EQ(boxes.Texts(),
              std::vector<std::string>{"체크아웃 상태에서는 이전 버전 가져오기를 못합니다."});
    EXPECT_EQ(boxes.Seen()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(diff.Arguments(), "\"" + m_temp + "v10_Main.xml\" \"" + m_temp + "local_Main.xml\"");
    EXPECT_EQ(ReadFile(m_temp + "local_Main.xml"), "my working copy\r\n");
}

TEST_F(History, OnlyNormalAndReservedVersionsAreListedAndOnlyMyReservationHereIsMine)
{
    const std::string folder = FreshFolder("history_scripted", "\\QXRepo\\Proj1\\Screens");
    const std::string here = folder + "\\Main.xml";
    std::string machine = static_cast<LPCSTR>(VORAgent::m_sMyComName);
    CharLowerA(&machine[0]);
    auto version = [](unsigned long id, const char* name, const char* status,
                      const char* user = "dev1", const char* host = nullptr,
                      const char* path = nullptr)
    {
        hsdk_testing::Version version;
        version.objId = id;
        version.versionName = name;
        version.status = status;
        version.modifier = user;
        version.clientMachine = host;
        version.clientPath = path;
        return version;
    };
    // Versions 7 to 10 are all reserved: by me here (in another letter case of this machine's
    // name), by me on another machine, by someone else here, by me in another folder.
    hsdk_testing::OnCall("CaVersionChooser::Execute")
        .ChooseVersions({version(9, "2", "N"), version(12, "5", "D"), version(13, "6", "X"),
                         version(17, "10", "R", "dev1", machine.c_str(), here.c_str()),
                         version(16, "9", "R", "dev1", "OTHER-PC", here.c_str()),
                         version(15, "8", "R", "dev2", machine.c_str(), here.c_str()),
                         version(14, "7", "R", "dev1", machine.c_str(), "C:\\Else\\Main.xml"),
                         version(18, "11", "D")});
    MessageBoxes boxes;
    Show("Main.xml", folder,
         [&](CDialog& dlg, HWND list)
         {
             EXPECT_EQ(ListColumn(list, 0), (std::vector<std::string>{"10", "9", "8", "7", "2"}));
             std::vector<int> states;
             for (int row = 0; row < 5; ++row)
                 states.push_back(StateImage(list, row));
             EXPECT_EQ(states, (std::vector<int>{kReservedHere, kReservedElsewhere,
                                                 kReservedElsewhere, kReservedElsewhere, 0}));
             SelectRows(list, {2});
             EXPECT_FALSE(IsEnabled(dlg, IDC_GET_VERSION));
             EXPECT_TRUE(IsEnabled(dlg, IDC_SHOW_DETAILS));
             SelectRows(list, {2, 4});
             EXPECT_FALSE(IsEnabled(dlg, IDC_COMPARE_VERS)) << "the upper one is someone else's";

             // The highest version, unlisted, is not my reservation: the fetch goes ahead.
             SelectRows(list, {4});
             AfxClickDlgButton(&dlg, IDC_GET_VERSION);
             AfxClickDlgButton(&dlg, IDOK);
         });
    EXPECT_TRUE(boxes.Seen().empty());
    EXPECT_EQ(ReadFile(here), "Main.xml 2\r\n");
}
