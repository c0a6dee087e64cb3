#include <windows.h>

#include "ConsoleOutput.h"

#include <VORAgent.h>

#include <vector>

#include "OutputWnd.h"

BEGIN_MESSAGE_MAP(CConsoleOutput, CWnd)
    ON_MESSAGE(WM_VOR_OUTPUT, &CConsoleOutput::OnVorOutput)
END_MESSAGE_MAP()

CConsoleOutput::CConsoleOutput() : m_nErrorLines(0) {}

CConsoleOutput::~CConsoleOutput()
{
    if (m_hWnd != NULL)
        DestroyWindow();
}

BOOL CConsoleOutput::Create()
{
    return CreateEx(0, NULL, "vorhost output", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL);
}

void CConsoleOutput::Print(FILE* stream, LPCSTR lpszText)
{
    int wideLength = ::MultiByteToWideChar(CP_ACP, 0, lpszText, -1, NULL, 0);
    std::vector<wchar_t> wide(wideLength > 0 ? wideLength : 1);
    ::MultiByteToWideChar(CP_ACP, 0, lpszText, -1, wide.data(), static_cast<int>(wide.size()));
    int utf8Length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, NULL, 0, NULL, NULL);
    std::vector<char> utf8(utf8Length > 0 ? utf8Length : 1);
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, utf8.data(), static_cast<int>(utf8.size()),
                          NULL, NULL);
    std::fprintf(stream, "%s\n", utf8.data());
    std::fflush(stream);
}

LRESULT CConsoleOutput::OnVorOutput(WPARAM, LPARAM lParam)
{
    if (lParam == 0)
        ++m_nErrorLines;
    Print(stdout, COutputWnd::Decorate(VORAgent::GetLatestMsg(), lParam));
    return 0;
}
