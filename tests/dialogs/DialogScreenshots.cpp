#include <windows.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CHDefaultContext.h"
#include "CHLogInDlg.h"
#include "CHNewSvrPath.h"
#include "CHRepositoryDlg.h"
#include "DialogTesting.h"
#include "VORAgent.h"

// Renders every dialog as a user first sees it, filled from the sample repository, into
// <folder>\<class>.bmp (scripts/screenshots turns them into docs/screenshots/*.png).
// Usage: dialogs_screenshots <folder>
//
// A dialog joins the set with one entry in Shots(): its class name, how to make it, and what
// a person would have done before the picture is taken (nothing, for most).

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
    };
}

// Writes the window's screen rectangle as a 24-bit bottom-up BMP.
bool CaptureWindow(HWND window, const std::string& path)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const int stride = (width * 3 + 3) & ~3;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();

    bool written = false;
    if (FILE* file = std::fopen(path.c_str(), "wb"))
    {
        BITMAPFILEHEADER header = {};
        header.bfType = 0x4D42;
        header.bfOffBits = sizeof header + sizeof info.bmiHeader;
        header.bfSize = header.bfOffBits + stride * height;
        std::fwrite(&header, sizeof header, 1, file);
        std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, file);
        std::fwrite(bits, stride, height, file);
        written = std::fclose(file) == 0;
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return written;
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
        std::unique_ptr<CDialog> dialog = shot.make();
        RunModal(*dialog,
                 [&](CDialog& dlg)
                 {
                     Settle(500);
                     shot.prepare(dlg);
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
                     dlg.EndDialog(IDCANCEL);
                 });
    }
    ForgetAgentConfiguration();
    return failures ? 1 : 0;
}
