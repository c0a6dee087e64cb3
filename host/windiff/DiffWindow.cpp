#include <windows.h>

#include "DiffWindow.h"

#include <commctrl.h>

#include <fstream>
#include <iterator>
#include <sstream>

namespace
{
const char kClassName[] = "VorWinDiff";

COLORREF RowColour(LineDiff::Kind kind)
{
    switch (kind)
    {
    case LineDiff::Changed:
        return RGB(255, 243, 176);
    case LineDiff::Removed:
        return RGB(255, 205, 205);
    case LineDiff::Added:
        return RGB(205, 245, 205);
    default:
        return RGB(255, 255, 255);
    }
}

const char* RowMark(LineDiff::Kind kind)
{
    switch (kind)
    {
    case LineDiff::Changed:
        return "!";
    case LineDiff::Removed:
        return "-";
    case LineDiff::Added:
        return "+";
    default:
        return "";
    }
}
} // namespace

DiffWindow::DiffWindow(const std::string& leftPath, const std::string& rightPath)
    : m_leftPath(leftPath), m_rightPath(rightPath)
{
    m_readFailed = !ReadLines(leftPath, m_leftLines) || !ReadLines(rightPath, m_rightLines);
}

bool DiffWindow::ReadLines(const std::string& path, std::vector<std::string>& lines)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream text;
    text << file.rdbuf();
    lines = LineDiff::SplitLines(text.str());
    return true;
}

bool DiffWindow::Create(HINSTANCE instance, int show)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);

    const std::string title = "WinDiff - " + m_leftPath + " : " + m_rightPath;
    m_wnd = CreateWindowExA(0, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                            CW_USEDEFAULT, 1000, 640, nullptr, nullptr, instance, this);
    if (!m_wnd)
        return false;
    ShowWindow(m_wnd, show);
    UpdateWindow(m_wnd);
    return true;
}

LRESULT CALLBACK DiffWindow::WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE)
    {
        auto* self =
            static_cast<DiffWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->m_wnd = wnd;
        SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<DiffWindow*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
    return self ? self->OnMessage(msg, wParam, lParam) : DefWindowProcA(wnd, msg, wParam, lParam);
}

LRESULT DiffWindow::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_CREATE:
        CreateList();
        FillList();
        return 0;
    case WM_SIZE:
    {
        SendMessageA(m_status, WM_SIZE, 0, 0);
        RECT status = {};
        GetWindowRect(m_status, &status);
        MoveWindow(m_list, 0, 0, LOWORD(lParam), HIWORD(lParam) - (status.bottom - status.top),
                   TRUE);
        return 0;
    }
    case WM_NOTIFY:
    {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->hwndFrom == m_list && header->code == NM_CUSTOMDRAW)
            return OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
        break;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(m_wnd, msg, wParam, lParam);
}

void DiffWindow::CreateList()
{
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(m_wnd, GWLP_HINSTANCE));
    m_status = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, m_wnd,
                               nullptr, instance, nullptr);
    m_list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                             WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_NOSORTHEADER, 0, 0, 0, 0,
                             m_wnd, nullptr, instance, nullptr);
    SendMessageA(m_list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);

    const struct
    {
        const char* title;
        int width;
    } columns[] = {
        {"", 24}, {"#", 48}, {m_leftPath.c_str(), 420}, {"#", 48}, {m_rightPath.c_str(), 420}};
    for (int i = 0; i < 5; ++i)
    {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<char*>(columns[i].title);
        column.cx = columns[i].width;
        SendMessageA(m_list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
}

void DiffWindow::FillList()
{
    if (m_readFailed)
    {
        SetWindowTextA(m_status, "파일을 읽을 수 없습니다.");
        return;
    }
    const LineDiff diff(m_leftLines, m_rightLines);
    int index = 0;
    for (const LineDiff::Row& row : diff.Rows())
    {
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = index;
        item.pszText = const_cast<char*>(RowMark(row.kind));
        item.lParam = row.kind;
        SendMessageA(m_list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        auto set = [&](int column, const std::string& text)
        {
            LVITEMA cell = {};
            cell.iSubItem = column;
            cell.pszText = const_cast<char*>(text.c_str());
            SendMessageA(m_list, LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&cell));
        };
        if (row.left >= 0)
        {
            set(1, std::to_string(row.left + 1));
            set(2, m_leftLines[row.left]);
        }
        if (row.right >= 0)
        {
            set(3, std::to_string(row.right + 1));
            set(4, m_rightLines[row.right]);
        }
        ++index;
    }
    const std::string summary = diff.DifferenceCount() == 0
                                    ? std::string("두 파일이 같습니다.")
                                    : std::to_string(diff.DifferenceCount()) + "줄이 다릅니다.";
    SetWindowTextA(m_status, summary.c_str());
}

LRESULT DiffWindow::OnCustomDraw(NMLVCUSTOMDRAW* draw) const
{
    switch (draw->nmcd.dwDrawStage)
    {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        draw->clrTextBk = RowColour(static_cast<LineDiff::Kind>(draw->nmcd.lItemlParam));
        return CDRF_NEWFONT;
    }
    return CDRF_DODEFAULT;
}
