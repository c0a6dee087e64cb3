#pragma once
#include <windows.h>
#include <afxcmn.h>
#include <afxwin.h>

#include <functional>
#include <string>
#include <vector>

// What the dialog tests share: the agent set up against the test broker, a person's hands on
// a modal dialog's controls, and what the person would see.

namespace dialog_testing
{
// The configuration every test process starts from (before the first installation check):
// user dev1 with a stored password that is not to be shown, a broker that is neither default
// one, and the context QXP / Development / QXP-001.
void PrepareAgent();
// Removes that configuration and the local folders of the tests.
void ForgetAgentConfiguration();
// Logs in as dev1 (if not yet) and sets the default context QXP / Development / QXP-001.
void LogInAsDev1();

// Runs the dialog modally; drive is called once it is shown. A dialog that drive leaves
// open ends with IDABORT.
INT_PTR RunModal(CDialog& dialog, const std::function<void(CDialog&)>& drive);
// Lets queued messages and timers run, e.g. the 50 ms timer that fills a tree.
void Settle(DWORD milliseconds = 300);

struct MessageBoxSeen
{
    std::string text;
    UINT type;
};
// Answers every message box with OK while it lives and keeps what they said.
class MessageBoxes
{
public:
    MessageBoxes();
    ~MessageBoxes();
    const std::vector<MessageBoxSeen>& Seen() const { return m_seen; }

private:
    std::vector<MessageBoxSeen> m_seen;
};

// Sees every output-log line the agent sends while it lives.
class OutputLog
{
public:
    OutputLog();
    ~OutputLog();
    const std::vector<std::string>& Lines() const { return m_lines; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hwnd;
    std::vector<std::string> m_lines;
};

HWND Control(CDialog& dialog, int id);
std::string Text(CDialog& dialog, int id);
void Type(CDialog& dialog, int id, const char* text);
bool IsChecked(CDialog& dialog, int id);
bool IsEnabled(CDialog& dialog, int id);

// Combo boxes: the entries, the selected one, and choosing one as from the drop-down.
std::vector<std::string> ComboEntries(CDialog& dialog, int id);
std::string ComboSelection(CDialog& dialog, int id);
void ChooseComboEntry(CDialog& dialog, int id, const char* text);

// Tree views: labels of a level (null: the top level), finding and selecting a folder by its
// view path (\Repo\Folder), the view path of the selection (empty when none).
std::vector<std::string> TreeChildren(HWND tree, HTREEITEM parent);
HTREEITEM FindTreeItem(HWND tree, const std::string& viewPath);
void SelectTreeItem(HWND tree, const std::string& viewPath);
std::string SelectedTreePath(HWND tree);
bool IsExpanded(HWND tree, HTREEITEM item);

// List views: one column's texts from the top, selecting a row, clicking a column header.
std::vector<std::string> ListColumn(HWND list, int column);
void SelectListRow(HWND list, int row);
void ClickListHeader(HWND list, int column);

// A fresh, empty local folder C:\vor_dialogs_tests\<name>.
std::string FreshFolder(const std::string& name);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
std::string MarkerViewPath(const std::string& folder);
} // namespace dialog_testing
