#pragma once
#include <windows.h>

#include <commctrl.h>

#include "LineDiff.h"

#include <string>
#include <vector>

// The main window of the difference program: the two files side by side in a list, each
// row coloured by what happened to it.
class DiffWindow
{
public:
    DiffWindow(const std::string& leftPath, const std::string& rightPath);

    bool Create(HINSTANCE instance, int show);

private:
    static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void CreateList();
    void FillList();
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW* draw) const;

    static bool ReadLines(const std::string& path, std::vector<std::string>& lines);

    std::string m_leftPath;
    std::string m_rightPath;
    std::vector<std::string> m_leftLines;
    std::vector<std::string> m_rightLines;
    bool m_readFailed = false;
    HWND m_wnd = nullptr;
    HWND m_list = nullptr;
    HWND m_status = nullptr;
};
