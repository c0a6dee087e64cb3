#include <windows.h>

#include <afxdlgs.h>
#include <XTBrowseDialog.h>
#include <vuverav.h>

#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

namespace
{

struct ShownBox
{
    std::string text;
    std::string caption;
    UINT type;
};

// Records every message box and answers with a chosen button.
class MessageBoxRecorder
{
public:
    explicit MessageBoxRecorder(int answer = IDOK)
    {
        AfxSetMessageBoxHandler(
            [this, answer](HWND, LPCSTR text, LPCSTR caption, UINT type)
            {
                boxes.push_back({text, caption ? caption : "", type});
                return answer;
            });
    }
    ~MessageBoxRecorder() { AfxSetMessageBoxHandler(nullptr); }
    std::vector<ShownBox> boxes;
};

// The parts of a double-NUL-terminated filter list.
std::vector<std::string> FilterParts(LPCSTR filter)
{
    std::vector<std::string> parts;
    for (LPCSTR p = filter; *p; p += strlen(p) + 1)
        parts.push_back(p);
    return parts;
}

} // namespace

TEST(MessageBoxSeam, RecordsTextCaptionAndType)
{
    MessageBoxRecorder recorder(IDNO);
    EXPECT_EQ(AfxMessageBox("트리 컨트롤에서 선택된 폴더가 없습니다.\r\n부모 폴더를 선택하십시오.",
                            MB_ICONINFORMATION),
              IDNO);
    // A box without an icon gets the one its buttons suggest, as in the framework.
    AfxMessageBox("plain");
    AfxMessageBox("question", MB_YESNO);
    CWnd desktop;
    desktop.MessageBox("from a window", "제목", MB_ICONERROR);

    ASSERT_EQ(recorder.boxes.size(), 4u);
    EXPECT_EQ(recorder.boxes[0].text,
              "트리 컨트롤에서 선택된 폴더가 없습니다.\r\n부모 폴더를 선택하십시오.");
    EXPECT_EQ(recorder.boxes[0].type, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_EQ(recorder.boxes[0].caption, AfxGetAppName());
    EXPECT_EQ(recorder.boxes[1].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(recorder.boxes[2].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(recorder.boxes[3].caption, "제목");
    EXPECT_EQ(recorder.boxes[3].type, static_cast<UINT>(MB_ICONERROR));
}

TEST(MessageBoxSeam, WithoutAHandlerATestRunGetsTheSafeAnswer)
{
    ASSERT_TRUE(AfxIsNonInteractive());
    EXPECT_EQ(AfxMessageBox("nobody reads this", MB_ICONERROR), IDOK);
    EXPECT_EQ(AfxShowMessageBox(NULL, "delete?", "x", MB_YESNO), IDNO);
    EXPECT_EQ(AfxShowMessageBox(NULL, "go on?", "x", MB_OKCANCEL), IDCANCEL);
}

TEST(FileDialogSeam, TheHookSeesTheDialogAndAnswersForTheUser)
{
    CFileDialog dlg(TRUE, "*.xml", NULL, OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    "종합화면 파일 (*.xml)| *.xml|모든 파일(*.*)|*.*||");
    dlg.m_ofn.lpstrInitialDir = "C:\\work";
    std::vector<std::string> filter;
    std::string initialDir, defaultExt;
    AfxSetFileDialogHook(
        [&](CFileDialog& shown)
        {
            filter = FilterParts(shown.m_ofn.lpstrFilter);
            initialDir = shown.m_ofn.lpstrInitialDir;
            defaultExt = shown.m_ofn.lpstrDefExt;
            EXPECT_TRUE(shown.m_bOpenFileDialog);
            EXPECT_TRUE(shown.m_ofn.Flags & OFN_HIDEREADONLY);
            lstrcpynA(shown.m_ofn.lpstrFile, "C:\\작업\\화면.xml", shown.m_ofn.nMaxFile);
            return IDOK;
        });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    AfxSetFileDialogHook(nullptr);

    EXPECT_EQ(filter, (std::vector<std::string>{"종합화면 파일 (*.xml)", " *.xml", "모든 파일(*.*)",
                                                "*.*"}));
    EXPECT_EQ(initialDir, "C:\\work");
    EXPECT_EQ(defaultExt, "*.xml");
    EXPECT_EQ(dlg.GetPathName(), "C:\\작업\\화면.xml");
    EXPECT_EQ(dlg.GetFileName(), "화면.xml");
    EXPECT_EQ(dlg.GetFileExt(), "xml");
    EXPECT_EQ(dlg.GetFileTitle(), "화면");
    EXPECT_EQ(dlg.GetFolderPath(), "C:\\작업");

    CFileDialog unanswered(TRUE);
    EXPECT_EQ(unanswered.DoModal(), IDCANCEL);
    EXPECT_EQ(unanswered.GetPathName(), "");
}

TEST(FolderBrowserSeam, TheHookChoosesAFolder)
{
    CWnd owner;
    CXTBrowseDialog browser(&owner);
    browser.SetTitle("작업할 폴더 지정");
    browser.SetSelPath("C:\\old");
    std::string title, initial;
    CXTBrowseDialog::SetTestHook(
        [&](CXTBrowseDialog& shown) -> INT_PTR
        {
            title = shown.GetTitle();
            initial = shown.GetSelPath();
            shown.SetSelPath("C:\\새 폴더");
            return IDOK;
        });
    EXPECT_EQ(browser.DoModal(), IDOK);
    EXPECT_EQ(title, "작업할 폴더 지정");
    EXPECT_EQ(initial, "C:\\old");
    EXPECT_STREQ(browser.GetSelPath(), "C:\\새 폴더");

    CXTBrowseDialog::SetTestHook([](CXTBrowseDialog&) -> INT_PTR { return IDCANCEL; });
    EXPECT_EQ(CXTBrowseDialog(NULL).DoModal(), IDCANCEL);
    CXTBrowseDialog::SetTestHook(nullptr);
    EXPECT_EQ(CXTBrowseDialog(NULL).DoModal(), IDCANCEL);
}

TEST(SystemPath, ToolsFolderBesideTheExecutable)
{
    char exe[MAX_PATH] = {};
    ::GetModuleFileNameA(NULL, exe, MAX_PATH);
    std::string expected(exe);
    expected = expected.substr(0, expected.rfind('\\') + 1) + "tools\\";

    char buffer[260] = {};
    DWORD size = sizeof buffer;
    EXPECT_TRUE(GetSystemPath(VUVERAV_PATH_TOOLS, buffer, &size, TRUE));
    EXPECT_EQ(std::string(buffer), expected);
    EXPECT_EQ(size, expected.size());

    char small[4] = "abc";
    size = sizeof small;
    EXPECT_FALSE(GetSystemPath(VUVERAV_PATH_TOOLS, small, &size, TRUE));
    EXPECT_EQ(size, expected.size() + 1);
    EXPECT_STREQ(small, "abc");
    size = sizeof buffer;
    EXPECT_FALSE(GetSystemPath(1, buffer, &size, TRUE));
}

TEST(WaitCursor, CountsNestedRequestsWithoutAnApplicationObject)
{
    HCURSOR wait = ::LoadCursorA(NULL, reinterpret_cast<LPCSTR>(IDC_WAIT));
    EXPECT_EQ(AfxGetWaitCursorCount(), 0);
    {
        CWaitCursor outer;
        EXPECT_EQ(AfxGetWaitCursorCount(), 1);
        EXPECT_EQ(::GetCursor(), wait);
        AfxGetApp()->BeginWaitCursor();
        EXPECT_EQ(AfxGetWaitCursorCount(), 2);
        AfxGetApp()->EndWaitCursor();
        EXPECT_EQ(::GetCursor(), wait);
    }
    EXPECT_EQ(AfxGetWaitCursorCount(), 0);
    EXPECT_NE(::GetCursor(), wait);
    AfxGetApp()->EndWaitCursor();
    EXPECT_EQ(AfxGetWaitCursorCount(), 0);
}
