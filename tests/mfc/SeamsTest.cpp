#include <windows.h>

#include <afxdlgs.h>
#include <XTBrowseDialog.h>
#include <vuverav.h>

#include <gtest/gtest.h>

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
    explicit MessageBoxRecorder(int answer)
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

} // namespace

TEST(Seams, MessageBoxesAreRecordedWithTextCaptionAndType)
{
    const char* text = "트리 컨트롤에서 선택된 폴더가 없습니다.\r\n부모 폴더를 선택하십시오.";
    MessageBoxRecorder recorder(IDNO);
    EXPECT_EQ(AfxMessageBox(text, MB_ICONINFORMATION), IDNO);
    // A box without an icon gets the one its buttons suggest, as in the framework.
    AfxMessageBox("plain");
    AfxMessageBox("question", MB_YESNO);
    CWnd desktop;
    desktop.MessageBox("from a window", "제목", MB_ICONERROR);

    ASSERT_EQ(recorder.boxes.size(), 4u);
    EXPECT_EQ(recorder.boxes[0].text, text);
    EXPECT_EQ(recorder.boxes[0].type, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_EQ(recorder.boxes[0].caption, AfxGetAppName());
    EXPECT_EQ(recorder.boxes[1].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(recorder.boxes[2].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(recorder.boxes[3].caption, "제목");
    EXPECT_EQ(recorder.boxes[3].type, static_cast<UINT>(MB_ICONERROR));
}

// The dialog tests drive the file and folder dialogs through their hooks; without a hook nothing
// modal may wait for a person.
TEST(Seams, WithoutAHandlerATestRunGetsTheSafeAnswer)
{
    ASSERT_TRUE(AfxIsNonInteractive());
    EXPECT_EQ(AfxMessageBox("nobody reads this", MB_ICONERROR), IDOK);
    EXPECT_EQ(AfxShowMessageBox(NULL, "delete?", "x", MB_YESNO), IDNO);
    EXPECT_EQ(AfxShowMessageBox(NULL, "go on?", "x", MB_OKCANCEL), IDCANCEL);
    CFileDialog files(TRUE);
    EXPECT_EQ(files.DoModal(), IDCANCEL);
    EXPECT_EQ(files.GetPathName(), "");
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
    {
        CWaitCursor outer;
        AfxGetApp()->BeginWaitCursor();
        EXPECT_EQ(AfxGetWaitCursorCount(), 2);
        AfxGetApp()->EndWaitCursor();
        EXPECT_EQ(::GetCursor(), wait);
    }
    EXPECT_NE(::GetCursor(), wait);
    AfxGetApp()->EndWaitCursor();
    EXPECT_EQ(AfxGetWaitCursorCount(), 0);
}
