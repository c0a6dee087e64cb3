#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CHCheckInDlg.h"
#include "DialogTest.h"
#include "VORAgent.h"

using namespace dialog_testing;

namespace
{
using CheckInList = DialogTest;

CiFile Record(const char* name, int isNew)
{
    CiFile file;
    file.m_sFileName = name;
    file.m_bNew = isNew;
    return file;
}

CiFileEx RecordIn(const std::string& folder, const char* name)
{
    CiFileEx file;
    file.m_sFileName = name;
    file.m_bNew = 1;
    file.m_sFilePath = folder.c_str();
    WriteFile(folder + "\\" + name, std::string(name) + " draft\r\n");
    return file;
}

std::string LatestDescription(const char* name, const std::string& folder)
{
    HItemVerions versions;
    if (VORAgent::GetAllVersions(name, folder.c_str(), &versions) <= 0)
        return std::string();
    return static_cast<LPCSTR>(versions.m_vecVersions.back()->m_sDescription);
}
} // namespace

TEST_F(CheckInList, ATreeOfFoldersIsCheckedInFolderByFolderBelowTheMappedRepositoryRoot)
{
    const std::string root = FreshFolder("checkin_tree", "\\QXRepo\\Empty");
    const std::string sub1 = FreshFolder("checkin_tree\\Sub1");
    const std::string sub2 = FreshFolder("checkin_tree\\Sub2");
    std::vector<CiFileEx> files = {RecordIn(root, "Top.xml"), RecordIn(sub1, "One.xml"),
                                   RecordIn(sub2, "Two.xml"), RecordIn(sub1, "Uno.xml")};

    OutputLog log;
    std::vector<int> positions;
    CHCheckInDlg dialog;
    dialog.SetCollFilesEx(&files);
    dialog.SetRootPath(root.c_str());
    const INT_PTR result = RunModal(
        dialog,
        [&](CDialog& dlg)
        {
            HWND list = Control(dlg, IDC_CHECKIN_FILES);
            EXPECT_EQ(ListColumn(list, 1), (std::vector<std::string>{root, sub1, sub2, sub1}));
            EXPECT_EQ(ListColumn(list, 2), (std::vector<std::string>(4, "신규")));
            EXPECT_EQ(Text(dlg, IDC_HARVEST_ROOT_PATH), "\\QXRepo\\Empty");
            EXPECT_FALSE(IsEnabled(dlg, IDC_CHANGE_HARVEST_ROOT));
            Type(dlg, IDC_DESCRIPTION, "첫 화면들");
            positions = ConfirmRecordingProgress(dlg, IDC_CHECKIN_PROGRESS);
        });

    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(files.size(), 4u);
    EXPECT_EQ(positions, (std::vector<int>{1, 33, 66, 99, 100}));
    EXPECT_EQ(StatusOf("Top.xml", "\\QXRepo\\Empty"), "N");
    EXPECT_EQ(StatusOf("One.xml", "\\QXRepo\\Empty\\Sub1"), "N");
    EXPECT_EQ(StatusOf("Uno.xml", "\\QXRepo\\Empty\\Sub1"), "N");
    EXPECT_EQ(StatusOf("Two.xml", "\\QXRepo\\Empty\\Sub2"), "N");
    EXPECT_EQ(MarkerViewPath(sub1), "\\QXRepo\\Empty\\Sub1");
    EXPECT_EQ(MarkerViewPath(sub2), "\\QXRepo\\Empty\\Sub2");
    EXPECT_EQ(LatestDescription("Two.xml", sub2), "첫 화면들");

    EXPECT_TRUE(log.Frames("Check In"));
}

TEST_F(CheckInList, AnUncheckedRowRemovesOnlyTheRecordOfItsOwnFolder)
{
    const std::string root = FreshFolder("checkin_same");
    const std::string folderA = FreshFolder("checkin_same\\A");
    const std::string folderB = FreshFolder("checkin_same\\B");
    std::vector<CiFileEx> files = {RecordIn(folderA, "Same.xml"), RecordIn(folderB, "Same.xml")};

    MessageBoxes boxes;
    std::vector<int> positions;
    CHCheckInDlg dialog;
    dialog.m_bSetHarvestRoot = 1;
    dialog.SetCollFilesEx(&files);
    dialog.SetRootPath(root.c_str());
    const INT_PTR result = RunModal(
        dialog,
        [&](CDialog& dlg)
        {
            EXPECT_TRUE(IsEnabled(dlg, IDC_CHANGE_HARVEST_ROOT));
            EXPECT_EQ(Text(dlg, IDC_HARVEST_ROOT_PATH), "");
            AfxClickDlgButton(&dlg, IDOK);
            EXPECT_EQ(boxes.Texts(),
                      std::vector<std::string>{"하비스트 루트 경로를 설정하십시오."});
            EXPECT_TRUE(IsWindow(dlg.m_hWnd));

            AfxClickDlgButton(&dlg, IDC_CHANGE_HARVEST_ROOT);
            EXPECT_EQ(Text(dlg, IDC_HARVEST_ROOT_PATH), "\\QXRepo\\Empty");
            ListView_SetCheckState(Control(dlg, IDC_CHECKIN_FILES), 0, FALSE);
            SendMessageA(Control(dlg, IDC_KEEP_CHECKOUT), BM_CLICK, 0, 0);
            positions = ConfirmRecordingProgress(dlg, IDC_CHECKIN_PROGRESS);
        },
        ChooseServerFolder("\\QXRepo\\Empty"));

    EXPECT_EQ(result, IDOK);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(static_cast<LPCSTR>(files[0].m_sFilePath), folderB);
    EXPECT_EQ(positions, (std::vector<int>{1, 100, 100}));
    EXPECT_EQ(StatusOf("Same.xml", "\\QXRepo\\Empty\\B"), "R1") << "kept checked out";
    EXPECT_EQ(StatusOf("Same.xml", "\\QXRepo\\Empty\\A"), "");
}

TEST_F(CheckInList, OneFolderIsCheckedInWithOneCallAndUncheckedNamesMatchTheFirstRecord)
{
    const std::string folder = FreshFolder("checkin_simple", "\\QXRepo\\Docs");
    WriteFile(folder + "\\Alpha.xml", "alpha\r\n");
    WriteFile(folder + "\\Beta.xml", "beta\r\n");
    std::vector<CiFile> files = {Record("Alpha.xml", 1), Record("Beta.xml", 1),
                                 Record("Alpha.xml", 0)};

    OutputLog log;
    std::vector<int> positions;
    CHCheckInDlg dialog;
    dialog.SetCollFiles(&files, folder.c_str());
    dialog.SetRootPath(folder.c_str());
    const INT_PTR result = RunModal(
        dialog,
        [&](CDialog& dlg)
        {
            HWND list = Control(dlg, IDC_CHECKIN_FILES);
            EXPECT_EQ(ListColumn(list, 1), (std::vector<std::string>(3, folder)));
            EXPECT_EQ(ListColumn(list, 2), (std::vector<std::string>{"신규", "신규", "갱신"}));
            EXPECT_EQ(Text(dlg, IDC_HARVEST_ROOT_PATH), "\\QXRepo\\Docs");
            AfxClickDlgButton(&dlg, IDC_CHECKIN_NON_SELECT_ALL);
            EXPECT_TRUE(IsEnabled(dlg, IDOK));
            AfxClickDlgButton(&dlg, IDC_CHECKIN_SELECT_ALL);
            ListView_SetCheckState(list, 2, FALSE);
            positions = ConfirmRecordingProgress(dlg, IDC_CHECKIN_PROGRESS);
        });

    EXPECT_EQ(result, IDOK);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(static_cast<LPCSTR>(files[0].m_sFileName), std::string("Beta.xml"));
    EXPECT_EQ(static_cast<LPCSTR>(files[1].m_sFileName), std::string("Alpha.xml"));
    EXPECT_EQ(files[1].m_bNew, 0) << "the first record of the name was removed";
    EXPECT_EQ(positions, (std::vector<int>{1, 100}));
    EXPECT_EQ(StatusOf("Alpha.xml", "\\QXRepo\\Docs"), "N");
    EXPECT_EQ(StatusOf("Beta.xml", "\\QXRepo\\Docs"), "N");
    EXPECT_TRUE(log.Frames("Check In"));
}
