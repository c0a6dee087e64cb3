#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CHCompScreenDlg.h"
#include "DialogTest.h"
#include "HsdkTesting.h"
#include "VORAgent.h"

using namespace dialog_testing;

namespace
{
const char kNothingSelected[] = "선택된 항목이 없습니다. 원하는 항목을 선택해 주십시오.";
const char kCheckOutRefused[] =
    "다른 사람(혹은 자신)이 체크아웃한 파일은 재차 체크아웃할 수 없습니다.";
const char kGetLatestRefused[] = "체크아웃한 파일이 포함되어 있습니다.\r\n체크아웃한 상태의 "
                                 "파일은 최신 버전을 받을 수 없습니다.";
const char kCheckInRefused[] = "자신이 체크아웃한 파일에 한해서 체크인 할 수 있습니다.";
const char kUndoRefused[] = "자신이 체크아웃한 파일에 한해서 체크아웃 취소 할 수 있습니다.";

const int kFree = 1;
const int kHeldByOther = 2;
const int kHeldByMe = 3;

class CompScreenFiles : public DialogTest
{
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        m_root = FreshFolder("comp_screens");
        VORAgent::SetClientDirectory(m_root.c_str());
    }

    // The dialog once the states have been read.
    INT_PTR Run(CHCompScreenDlg& dialog, const std::function<void(CDialog&, HWND)>& drive)
    {
        return RunModal(dialog,
                        [&](CDialog& dlg)
                        {
                            Settle();
                            drive(dlg, Control(dlg, IDC_XML_FILES));
                        });
    }

    std::string m_root;
};

std::string Cell(HWND list, int row, int column)
{
    return ListColumn(list, column)[row];
}

// A dialog whose process is held up right after initialisation, as a busy machine may hold it,
// so that its 50 ms timer is due before the modal loop first finds the queue idle. It notes
// what the user saw at the first paint.
class HeldUpCompScreenDlg : public CHCompScreenDlg
{
public:
    bool m_bTimerBeforePaint = false;
    bool m_bPainted = false;
    int m_nRowsAtPaint = -1;
    int m_nQueriesAtPaint = -1;

protected:
    BOOL OnInitDialog() override
    {
        const BOOL bResult = CHCompScreenDlg::OnInitDialog();
        Sleep(300);
        return bResult;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TIMER && wParam == 329 && !m_bPainted)
            m_bTimerBeforePaint = true;
        const LRESULT result = CHCompScreenDlg::WindowProc(message, wParam, lParam);
        if (message == WM_PAINT && !m_bPainted)
        {
            m_bPainted = true;
            m_nRowsAtPaint = m_listXmlFiles.GetItemCount();
            m_nQueriesAtPaint = CountRecordedCalls("CaVersionChooser::Execute");
        }
        return result;
    }
};
} // namespace

TEST_F(CompScreenFiles, CommandsRefuseRowsOfTheWrongStateAndRefreshTheRowsTheyWorkOn)
{
    MessageBoxes boxes;
    OutputLog log;
    const std::string local = m_root + "\\QXRepo\\Proj1\\Screen1.xml";
    CHCompScreenDlg dialog;
    Run(dialog,
        [&](CDialog& dlg, HWND list)
        {
            const int order = RowNamed(list, "Order.xml");
            const int screen1 = RowNamed(list, "Screen1.xml");
            ASSERT_GE(order, 0);
            ASSERT_GE(screen1, 0);
            EXPECT_EQ(RowNamed(list, "Screen1.xcml"), -1) << "only .xml files are listed";
            EXPECT_EQ(Cell(list, screen1, 1), "\\QXRepo\\Proj1");
            EXPECT_EQ(StateImage(list, screen1), kFree);
            EXPECT_EQ(StateImage(list, order), kHeldByOther);
            EXPECT_EQ(Cell(list, order, 2), "dev2");
            EXPECT_EQ(Cell(list, order, 3), "C:\\QXWork\\QXRepo\\Proj2\\Order.xml");

            for (int button : {IDC_CHECK_OUT, IDC_GET_LATEST_VER, IDC_CHECK_IN, IDC_CANCEL_CHECKOUT,
                               IDC_OPEN_XML_FILE})
                AfxClickDlgButton(&dlg, button);
            SelectRows(list, {screen1, order});
            for (int button : {IDC_CHECK_OUT, IDC_CHECK_IN, IDC_CANCEL_CHECKOUT})
                AfxClickDlgButton(&dlg, button);
            EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{kNothingSelected, kNothingSelected,
                                                               kNothingSelected, kNothingSelected,
                                                               kNothingSelected, kCheckOutRefused,
                                                               kCheckInRefused, kUndoRefused}));
            EXPECT_TRUE(log.Lines().empty()) << "a refused command does nothing";

            // Files held by others may still be fetched.
            SelectRows(list, {order});
            AfxClickDlgButton(&dlg, IDC_GET_LATEST_VER);
            EXPECT_EQ(ReadFile(m_root + "\\QXRepo\\Proj2\\Order.xml"), "Order.xml 0\r\n");
            EXPECT_EQ(StateImage(list, order), kHeldByOther);
            EXPECT_EQ(log.Lines().size(), 3u);
            EXPECT_TRUE(log.Frames("Get Latest Version"));

            SelectRows(list, {screen1});
            AfxClickDlgButton(&dlg, IDC_CHECK_OUT);
            EXPECT_EQ(StateImage(list, screen1), kHeldByMe);
            EXPECT_EQ(Cell(list, screen1, 2), "dev1");
            EXPECT_EQ(Cell(list, screen1, 3), local);
            EXPECT_FALSE(IsReadOnly(local));

            SelectRows(list, {screen1, RowNamed(list, "종합화면.xml")});
            AfxClickDlgButton(&dlg, IDC_GET_LATEST_VER);
            AfxClickDlgButton(&dlg, IDC_CHECK_OUT);
            const std::vector<std::string> texts = boxes.Texts();
            EXPECT_EQ(std::vector<std::string>(texts.begin() + 8, texts.end()),
                      (std::vector<std::string>{kGetLatestRefused, kCheckOutRefused}));

            WriteFile(local, "Screen1.xml edited\r\n");
            SelectRows(list, {screen1});
            AfxClickDlgButton(&dlg, IDC_CHECK_IN);
            EXPECT_EQ(StateImage(list, screen1), kFree);
            EXPECT_EQ(Cell(list, screen1, 2), "");
            EXPECT_EQ(Cell(list, screen1, 3), "");

            AfxClickDlgButton(&dlg, IDC_CHECK_OUT);
            WriteFile(local, "to be thrown away\r\n");
            // Read-only already when the latest version is fetched, which may fail or find
            // nothing to write.
            hsdk_testing::OnCall("CaCheckout::Execute")
                .Probe([&](const std::string&) { EXPECT_TRUE(IsReadOnly(local)); });
            AfxClickDlgButton(&dlg, IDC_CANCEL_CHECKOUT);
            EXPECT_EQ(StateImage(list, screen1), kFree);
            EXPECT_TRUE(IsReadOnly(local));
            EXPECT_EQ(ReadFile(local), "Screen1.xml edited\r\n");
            AfxClickDlgButton(&dlg, IDCANCEL);
        });
    EXPECT_EQ(boxes.Seen().size(), 10u);
    std::vector<std::string> starts;
    for (const std::string& line : log.Lines())
    {
        if (line.find(" started at time") != std::string::npos)
            starts.push_back(line.substr(0, line.find(" started")));
    }
    EXPECT_EQ(starts, (std::vector<std::string>{"---- [Get Latest Version]", "---- [Check Out]",
                                                "---- [Check In]", "---- [Check Out]",
                                                "---- [Undo Checkout]"}));
}

TEST_F(CompScreenFiles, ARowWhoseStateCannotBeReadStaysUnmarkedAndIsRefused)
{
    CaContainer rows;
    for (const char* name : {"Screen1.xml", "Order.xml", "Odd.xml"})
    {
        rows.AddElement("PATHFULLNAME", CaData("\\QXRepo\\Proj1"));
        rows.AddElement("ITEMNAME", CaData(name));
    }
    hsdk_testing::OnCall("CaSQL::GetSQLResult").ReturnRows(rows);
    hsdk_testing::OnCall("CaVersionChooser::Execute").Occurrence(2).Throw("lost");
    hsdk_testing::Version odd;
    odd.status = "X";
    hsdk_testing::OnCall("CaVersionChooser::Execute").Occurrence(3).ChooseVersions({odd});
    MessageBoxes boxes;
    CHCompScreenDlg dialog;
    Run(dialog,
        [&](CDialog& dlg, HWND list)
        {
            EXPECT_EQ(
                (std::vector<int>{StateImage(list, 0), StateImage(list, 1), StateImage(list, 2)}),
                (std::vector<int>{kFree, 0, 0}));
            SelectRows(list, {2});
            AfxClickDlgButton(&dlg, IDC_CHECK_OUT);
            SelectRows(list, {1});
            AfxClickDlgButton(&dlg, IDC_CANCEL_CHECKOUT);
            AfxClickDlgButton(&dlg, IDCANCEL);
        });
    EXPECT_EQ(boxes.Texts(),
              (std::vector<std::string>{
                  "\\QXRepo\\Proj1\\Order.xml 파일의 모든 버전 정보 읽는 과정에서 실패",
                  kCheckOutRefused, kUndoRefused}));
}

TEST_F(CompScreenFiles, OpenHandsTheHostTheCheckedOutCopyOrTheCopyBelowTheRoot)
{
    CHCompScreenDlg dialog;
    std::vector<std::string> expected;
    Run(dialog,
        [&](CDialog& dlg, HWND list)
        {
            const int held = RowNamed(list, "종합화면.xml");
            const int free = RowNamed(list, "Order.xml");
            SelectRows(list, {held});
            AfxClickDlgButton(&dlg, IDC_CHECK_OUT);
            ASSERT_EQ(StateImage(list, held), kHeldByMe);

            Type(dlg, IDC_XML_CLIENT_PATH, "C:\\");
            const std::string heldPath = Cell(list, held, 3);
            const std::string freePath = "C:\\\\QXRepo\\Proj2\\Order.xml";
            expected = held < free ? std::vector<std::string>{heldPath, freePath}
                                   : std::vector<std::string>{freePath, heldPath};
            SelectRows(list, {held, free});
            AfxClickDlgButton(&dlg, IDC_OPEN_XML_FILE);
        });
    EXPECT_FALSE(IsWindow(dialog.m_hWnd));
    ASSERT_TRUE(dialog.IsRequiredOpenFiles());
    std::vector<std::string> opened;
    for (int i = 0; i < dialog.GetRequiredOpenFiles()->GetSize(); ++i)
        opened.push_back(static_cast<LPCSTR>(dialog.GetRequiredOpenFiles()->GetAt(i)));
    EXPECT_EQ(opened, expected);
    EXPECT_EQ(static_cast<LPCSTR>(VORAgent::GetClientDirectory()), std::string("C:\\"));
    VORAgent::UndoCheckOut("종합화면.xml", (m_root + "\\QXRepo\\화면").c_str(), "\\QXRepo\\화면");
}

// The order and the root folder kept on exit are pinned by the repository dialog's tests, which
// share their code with this dialog.
TEST_F(CompScreenFiles, EveryOpeningStartsAscending)
{
    for (int opening = 0; opening < 2; ++opening)
    {
        CHCompScreenDlg dialog;
        Run(dialog,
            [&](CDialog& dlg, HWND list)
            {
                ClickListHeader(list, 0);
                const int notes = RowNamed(list, "notes.xml.bak");
                EXPECT_LT(RowNamed(list, "Main.xml"), notes) << "opening " << opening;
                EXPECT_LT(notes, RowNamed(list, "Order.xml")) << "letters compare without case";
                ClickListHeader(list, 0);
                ClickListHeader(list, 0);
                AfxClickDlgButton(&dlg, IDCANCEL);
            });
    }
}

TEST_F(CompScreenFiles, ShowsItsRowsBeforeTheFirstStateQueryWhenTheTimerComesEarly)
{
    hsdk_testing::ClearRecordedCalls();
    hsdk_testing::StartRecording();
    HeldUpCompScreenDlg dialog;
    int rowsWithState = 0;
    Run(dialog,
        [&](CDialog& dlg, HWND list)
        {
            for (int row = 0; row < ListView_GetItemCount(list); ++row)
                rowsWithState += StateImage(list, row) != 0;
            AfxClickDlgButton(&dlg, IDCANCEL);
        });
    const int queries = CountRecordedCalls("CaVersionChooser::Execute");
    hsdk_testing::StopRecording();

    ASSERT_TRUE(dialog.m_bTimerBeforePaint) << "the test must hold the dialog up long enough";
    EXPECT_TRUE(dialog.m_bPainted);
    EXPECT_GT(dialog.m_nRowsAtPaint, 0);
    EXPECT_EQ(dialog.m_nQueriesAtPaint, 0);
    EXPECT_EQ(queries, dialog.m_nRowsAtPaint) << "one query per row, after the paint";
    EXPECT_EQ(rowsWithState, dialog.m_nRowsAtPaint);
}
