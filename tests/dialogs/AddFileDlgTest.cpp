#include <windows.h>

#include <afxdlgs.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CHAddFileDlg.h"
#include "DialogTest.h"

using namespace dialog_testing;

namespace
{
class AddFile : public DialogTest
{
protected:
    void TearDown() override
    {
        AfxSetFileDialogHook(nullptr);
        DialogTest::TearDown();
    }
};

struct FileDialogSeen
{
    std::string filter;
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
            seen.push_back({filter, dlg.m_ofn.lpstrInitialDir ? dlg.m_ofn.lpstrInitialDir : ""});
            if (path.empty())
                return IDCANCEL;
            lstrcpynA(dlg.m_ofn.lpstrFile, path.c_str(), dlg.m_ofn.nMaxFile);
            return IDOK;
        });
}
} // namespace

TEST_F(AddFile, UploadAsksForFileAndFolderThenSendsANewScreenFileAndStaysForTheNext)
{
    const std::string folder = FreshFolder("addfile");
    const std::string file = folder + "\\Added.xml";
    WriteFile(file, "<Screen/>\r\n");
    std::vector<FileDialogSeen> seen;
    MessageBoxes boxes;
    OutputLog log;
    CHAddFileDlg dialog;
    RunModal(
        dialog,
        [&](CDialog& dlg)
        {
            AfxClickDlgButton(&dlg, IDC_CHECKIN_TO_SERVER);
            AnswerFileDialog(seen, file);
            AfxClickDlgButton(&dlg, IDC_FIND_FILE);
            EXPECT_EQ(Text(dlg, IDC_LOCAL_FILE), file);
            AfxClickDlgButton(&dlg, IDC_CHECKIN_TO_SERVER);
            EXPECT_EQ(boxes.Texts(),
                      (std::vector<std::string>{"서버에 체크인 하려는 파일을 선택해 주십시오.",
                                                "체크인 하려는 서버의 경로를 설정해 주십시오."}));
            for (const MessageBoxSeen& box : boxes.Seen())
                EXPECT_EQ(box.type & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
            EXPECT_TRUE(log.Lines().empty());

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
        ChooseServerFolder("\\QXRepo\\Docs"));

    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].filter, "종합화면 파일 (*.xml)| *.xml|모든 파일(*.*)|*.*|");
    EXPECT_EQ(seen[0].initialFolder, "");
    EXPECT_EQ(seen[1].initialFolder, file);

    EXPECT_EQ(StatusOf("Added.xml", "\\QXRepo\\Docs"), "N");

    // The second upload of the same file is refused by the repository; the dialog ran both.
    EXPECT_EQ(log.Count("---- [Check In] started"), 2);
    EXPECT_EQ(log.Count("---- [Check In] ended"), 2);
    EXPECT_EQ(log.Count("File " + file + " checked into"), 1);
    EXPECT_EQ(boxes.Texts().back(), folder + " 폴더의 파일 체크인 실패");
    EXPECT_EQ(boxes.Texts().size(), 3u);
}
