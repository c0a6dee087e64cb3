#include <windows.h>

#include <afxdlgs.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CHAddFileDlg.h"
#include "DialogTesting.h"
#include "VORAgent.h"
#include "WorkTesting.h"

using namespace dialog_testing;
using namespace work_testing;

namespace
{
class AddFile : public ::testing::Test
{
protected:
    void SetUp() override { LogInAsDev1(); }
    void TearDown() override { AfxSetFileDialogHook(nullptr); }
};

struct FileDialogSeen
{
    std::string filter;
    std::string defaultExtension;
    DWORD flags;
    std::string initialFolder;
};

// Answers the file-open dialog with path (empty: cancel) and keeps how it was opened.
void AnswerFileDialog(std::vector<FileDialogSeen>& seen, const std::string& path)
{
    AfxSetFileDialogHook(
        [&seen, path](CFileDialog& dlg) -> INT_PTR
        {
            std::string filter;
            for (const char* part = dlg.m_ofn.lpstrFilter; part && *part; part += strlen(part) + 1)
                filter += std::string(part) + "|";
            seen.push_back({filter, dlg.m_ofn.lpstrDefExt ? dlg.m_ofn.lpstrDefExt : "",
                            dlg.m_ofn.Flags,
                            dlg.m_ofn.lpstrInitialDir ? dlg.m_ofn.lpstrInitialDir : ""});
            if (path.empty())
                return IDCANCEL;
            lstrcpynA(dlg.m_ofn.lpstrFile, path.c_str(), dlg.m_ofn.nMaxFile);
            return IDOK;
        });
}

int CountLinesStarting(const std::vector<std::string>& lines, const std::string& start)
{
    int count = 0;
    for (const std::string& line : lines)
        count += line.compare(0, start.size(), start) == 0 ? 1 : 0;
    return count;
}
} // namespace

TEST_F(AddFile, ANewScreenFileIsUploadedIntoTheChosenFolderAndTheDialogStaysForTheNext)
{
    const std::string folder = FreshFolder("addfile");
    const std::string file = folder + "\\Added.xml";
    WriteFile(file, "<Screen/>\r\n");
    std::vector<FileDialogSeen> seen;
    MessageBoxes boxes;
    OutputLog log;
    CHAddFileDlg dialog;
    RunModalChoosingFolder(
        dialog,
        [&](CDialog& dlg)
        {
            AnswerFileDialog(seen, file);
            AfxClickDlgButton(&dlg, IDC_FIND_FILE);
            EXPECT_EQ(Text(dlg, IDC_LOCAL_FILE), file);
            AnswerFileDialog(seen, "");
            AfxClickDlgButton(&dlg, IDC_FIND_FILE);
            EXPECT_EQ(Text(dlg, IDC_LOCAL_FILE), file) << "a cancelled choice keeps the file";

            AfxClickDlgButton(&dlg, IDC_FIND_REPOSITORY);
            EXPECT_EQ(Text(dlg, IDC_REPOSITORY_PATH), "\\QXRepo\\Docs");
            AfxClickDlgButton(&dlg, IDC_CHECKIN_TO_SERVER);
            AfxClickDlgButton(&dlg, IDC_CHECKIN_TO_SERVER);
            EXPECT_TRUE(IsWindow(dlg.m_hWnd));
            EXPECT_EQ(Text(dlg, IDC_LOCAL_FILE), file);
            AfxClickDlgButton(&dlg, IDCANCEL);
        },
        "\\QXRepo\\Docs");

    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].filter, "종합화면 파일 (*.xml)| *.xml|모든 파일(*.*)|*.*|");
    EXPECT_EQ(seen[0].defaultExtension.find("xml"), seen[0].defaultExtension.size() - 3);
    EXPECT_TRUE(seen[0].flags & OFN_EXPLORER);
    EXPECT_TRUE(seen[0].flags & OFN_HIDEREADONLY);
    EXPECT_EQ(seen[0].initialFolder, "");
    EXPECT_EQ(seen[1].initialFolder, file);

    HItemState state;
    ASSERT_TRUE(VORAgent::GetLatestVerInfo("Added.xml", "\\QXRepo\\Docs", &state));
    EXPECT_EQ(static_cast<LPCSTR>(state.m_sStatus), std::string("N"));
    EXPECT_EQ(MarkerViewPath(folder), "\\QXRepo\\Docs");

    // The second upload of the same file is refused by the repository, which the output log
    // shows; the dialog ran both.
    const std::vector<std::string>& lines = log.Lines();
    EXPECT_EQ(CountLinesStarting(lines, "---- [Check In] started"), 2);
    EXPECT_EQ(CountLinesStarting(lines, "---- [Check In] ended"), 2);
    EXPECT_EQ(CountLinesStarting(lines, "File " + file + " checked into"), 1);
}

TEST_F(AddFile, UploadAsksForTheFileFirstAndThenForTheFolder)
{
    const std::string file = FreshFolder("addfile_guard") + "\\Guarded.xml";
    WriteFile(file, "<Screen/>\r\n");
    std::vector<FileDialogSeen> seen;
    MessageBoxes boxes;
    OutputLog log;
    CHAddFileDlg dialog;
    RunModal(dialog,
             [&](CDialog& dlg)
             {
                 AfxClickDlgButton(&dlg, IDC_CHECKIN_TO_SERVER);
                 AnswerFileDialog(seen, file);
                 AfxClickDlgButton(&dlg, IDC_FIND_FILE);
                 AfxClickDlgButton(&dlg, IDC_CHECKIN_TO_SERVER);
                 AfxClickDlgButton(&dlg, IDCANCEL);
             });

    ASSERT_EQ(boxes.Seen().size(), 2u);
    EXPECT_EQ(boxes.Seen()[0].text, "서버에 체크인 하려는 파일을 선택해 주십시오.");
    EXPECT_EQ(boxes.Seen()[1].text, "체크인 하려는 서버의 경로를 설정해 주십시오.");
    for (const MessageBoxSeen& box : boxes.Seen())
        EXPECT_EQ(box.type & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_TRUE(log.Lines().empty());
}
