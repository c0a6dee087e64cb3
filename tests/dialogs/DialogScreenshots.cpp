#include <windows.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CHAddFileDlg.h"
#include "CHCheckInDlg.h"
#include "CHCheckOutDlg.h"
#include "CHCompScreenDlg.h"
#include "CHDefaultContext.h"
#include "CHLogInDlg.h"
#include "CHNewSvrPath.h"
#include "CHRepositoryDlg.h"
#include "CHShowHistoryDlg.h"
#include "CaptureWindow.h"
#include "DialogTesting.h"
#include "VORAgent.h"

#include <HsdkTesting.h>

// Renders every dialog as a user first sees it, filled from the sample repository, into
// <folder>\<class>.bmp (scripts/screenshots turns them into docs/screenshots/*.png).
// Usage: dialogs_screenshots <folder>
//
// A dialog joins the set with one entry in Shots(): its class name, how to make it, and what
// a person would have done before the picture is taken (nothing, for most). A dialog that this
// opens in turn is the one pictured: the version details are reached from the history.

using namespace dialog_testing;

namespace
{
struct Shot
{
    const char* name;
    std::function<std::unique_ptr<CDialog>()> make;
    std::function<void(CDialog&)> prepare;
};

void Nothing(CDialog&) {}

CiFileEx CheckInCandidate(const std::string& folder, const char* name, int isNew)
{
    CiFileEx file;
    file.m_sFileName = name;
    file.m_bNew = isNew;
    file.m_sFilePath = folder.c_str();
    return file;
}

std::vector<Shot> Shots()
{
    return {
        {"CHLogInDlg", [] { return std::make_unique<CHLogInDlg>(); }, Nothing},
        {"CHDefaultContext", [] { return std::make_unique<CHDefaultContext>(); }, Nothing},
        {"CHNewSvrPath",
         []
         {
             auto dialog = std::make_unique<CHNewSvrPath>();
             dialog->m_sViewPath = "\\QXRepo\\Proj1\\Screens";
             return dialog;
         },
         Nothing},
        {"CHRepositoryDlg", [] { return std::make_unique<CHRepositoryDlg>(); },
         [](CDialog& dlg) { SelectTreeItem(Control(dlg, IDC_REPOSITORY_TREE), "\\QXRepo\\화면"); }},
        {"CHCheckOutDlg",
         []
         {
             // The host's collections outlive the dialog.
             static std::vector<CString> files = {"Main.xml", "Main.xcml", "Main.qxs"};
             auto dialog = std::make_unique<CHCheckOutDlg>();
             dialog->SetDlgType(1);
             dialog->SetCollFiles(&files, "C:\\QXWork\\QXRepo\\Proj1\\Screens");
             return dialog;
         },
         Nothing},
        {"CHCheckInDlg",
         []
         {
             const std::string root = FreshFolder("shot_checkin", "\\QXRepo\\Proj1");
             static std::vector<CiFileEx> files;
             files = {CheckInCandidate(root, "Screen1.xml", 0),
                      CheckInCandidate(root + "\\Screens", "Main.xml", 0),
                      CheckInCandidate(root + "\\화면", "주문화면.xml", 1)};
             auto dialog = std::make_unique<CHCheckInDlg>();
             dialog->SetCollFilesEx(&files);
             dialog->SetRootPath(root.c_str());
             return dialog;
         },
         [](CDialog& dlg) { SetDlgItemTextA(dlg.m_hWnd, IDC_DESCRIPTION, "주문 화면 추가"); }},
        {"CHAddFileDlg", [] { return std::make_unique<CHAddFileDlg>(); },
         [](CDialog& dlg)
         {
             SetDlgItemTextA(dlg.m_hWnd, IDC_LOCAL_FILE, "C:\\QXWork\\화면\\주문화면.xml");
             SetDlgItemTextA(dlg.m_hWnd, IDC_REPOSITORY_PATH, "\\QXRepo\\화면");
         }},
        {"CHCompScreenDlg", [] { return std::make_unique<CHCompScreenDlg>(); },
         [](CDialog& dlg) { SelectRows(Control(dlg, IDC_XML_FILES), {0}); }},
        {"CHShowHistoryDlg",
         []
         {
             auto dialog = std::make_unique<CHShowHistoryDlg>();
             dialog->m_sFileName = "Main.xml";
             dialog->m_sLocalDir = FreshFolder("shot_history", "\\QXRepo\\Proj1\\Screens").c_str();
             return dialog;
         },
         [](CDialog& dlg) { SelectRows(Control(dlg, IDC_VERSIONS_LIST), {1}); }},
        {"CHVerDetailsDlg",
         []
         {
             // A version held in a check-out, so that every field has something to show.
             const std::string reply = hsdk_testing::Admin(
                 R"({"op":"admin.addVersion","itemPath":"\\QXRepo\\Proj1\\Screen1.xml",
                       "user":"dev1","package":["QXP","Development","QXP-002"],
                       "modified":"2009-03-20 10:15:00","description":"주문 버튼 위치 수정 중",
                       "status":"R","machine":"PC1",
                       "clientPath":"C:\\QX\\QXRepo\\Proj1\\Screen1.xml"})",
                 "Screen1.xml 0\r\n");
             if (reply.find("versionobjid") == std::string::npos)
                 std::fprintf(stderr, "no reserved version to show: %s\n", reply.c_str());
             auto dialog = std::make_unique<CHShowHistoryDlg>();
             dialog->m_sFileName = "Screen1.xml";
             dialog->m_sLocalDir = FreshFolder("shot_details", "\\QXRepo\\Proj1").c_str();
             return dialog;
         },
         [](CDialog& dlg)
         {
             SelectRows(Control(dlg, IDC_VERSIONS_LIST), {0});
             AfxClickDlgButton(&dlg, IDC_SHOW_DETAILS);
         }},
    };
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: dialogs_screenshots <folder>\n");
        return 2;
    }
    PrepareAgent();
    LogInAsDev1();
    VORAgent::SetClientDirectory(FreshFolder("screenshots").c_str());

    int failures = 0;
    for (const Shot& shot : Shots())
    {
        bool pictured = false;
        const Drive picture = [&](CDialog& dlg)
        {
            SetForegroundWindow(dlg.m_hWnd);
            RedrawWindow(dlg.m_hWnd, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            Settle(300);
            const std::string path = std::string(argv[1]) + "\\" + shot.name + ".bmp";
            if (!CaptureWindow(dlg.m_hWnd, path))
            {
                std::fprintf(stderr, "could not write %s\n", path.c_str());
                ++failures;
            }
            pictured = true;
            dlg.EndDialog(IDCANCEL);
        };
        std::unique_ptr<CDialog> dialog = shot.make();
        RunModal(
            *dialog,
            [&](CDialog& dlg)
            {
                Settle(500);
                shot.prepare(dlg);
                if (pictured)
                    dlg.EndDialog(IDCANCEL);
                else
                    picture(dlg);
            },
            picture);
        if (!pictured)
        {
            std::fprintf(stderr, "%s was not shown\n", shot.name);
            ++failures;
        }
    }
    ForgetAgentConfiguration();
    return failures ? 1 : 0;
}
