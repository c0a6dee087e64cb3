#include <windows.h>

#include <afxwin.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

std::vector<std::string> events;
const UINT WM_TEST_GO = WM_APP + 2;

// A main window of the framework's own class that deletes itself, as frame windows do.
class CMainTestWnd : public CWnd
{
protected:
    afx_msg LRESULT OnGo(WPARAM wParam, LPARAM)
    {
        events.push_back("go " + std::to_string(wParam));
        DestroyWindow();
        return 0;
    }
    void PostNcDestroy() override
    {
        events.push_back("deleted");
        delete this;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMainTestWnd, CWnd)
    ON_MESSAGE(WM_TEST_GO, &CMainTestWnd::OnGo)
END_MESSAGE_MAP()

class CTestApp : public CWinApp
{
public:
    CTestApp() : CWinApp("시험") {}
    BOOL InitInstance() override
    {
        CMainTestWnd* main = new CMainTestWnd;
        if (!main->CreateEx(0, NULL, "main", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, NULL, NULL))
            return FALSE;
        m_pMainWnd = main;
        main->PostMessage(WM_TEST_GO, 7);
        return TRUE;
    }
    int ExitInstance() override
    {
        events.push_back("exit");
        return 0;
    }
};

} // namespace

TEST(Application, RunsUntilItsMainWindowIsGone)
{
    CWinApp* fallback = AfxGetApp();
    events.clear();
    {
        CTestApp app;
        EXPECT_STREQ(AfxGetAppName(), "시험");
        EXPECT_EQ(AfxWinMain(::GetModuleHandleA(NULL), NULL, const_cast<LPSTR>(""), SW_HIDE), 0);
        EXPECT_EQ(app.m_pMainWnd, nullptr);
    }
    EXPECT_EQ(events, (std::vector<std::string>{"go 7", "deleted", "exit"}));
    EXPECT_EQ(AfxGetApp(), fallback);
}
