#pragma once
#include <windows.h>
#include <afxcmn.h>
#include <afxwin.h>

#include <functional>
#include <string>
#include <vector>

#include "TestFiles.h"

// What the dialog tests share: the agent set up against the test broker, a person's hands on
// a modal dialog's controls, what the person would see, and the local files the work touches.

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

using Drive = std::function<void(CDialog&)>;
// Runs the dialog modally; drive is called once it is shown, nested with every other modal
// dialog it opens meanwhile. A dialog left open ends with IDABORT.
INT_PTR RunModal(CDialog& dialog, const Drive& drive, const Drive& nested = nullptr);
// A nested driver that answers the server folder chooser with viewPath and OK.
Drive ChooseServerFolder(const std::string& viewPath);
// Calls recorded by the SDK that begin with prefix and contain text.
int CountRecordedCalls(const std::string& prefix, const std::string& text = "");
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
    std::vector<std::string> Texts() const;

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
    int Count(const std::string& text) const;
    // The log begins with "---- [command] started" and ends with "---- [command] ended".
    bool Frames(const std::string& command) const;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hwnd;
    std::vector<std::string> m_lines;
};

std::string WindowText(HWND window);
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

// List views: one column's texts from the top, the row whose first column reads name (-1 when
// none), selecting exactly the given rows, a row's state image, clicking a column header.
std::vector<std::string> ListColumn(HWND list, int column);
int RowNamed(HWND list, const std::string& name);
void SelectRows(HWND list, const std::vector<int>& rows);
int StateImage(HWND list, int row);
void ClickListHeader(HWND list, int column);

// Presses OK and gives the positions the progress bar was set to meanwhile.
std::vector<int> ConfirmRecordingProgress(CDialog& dialog, int progressId);

// A fresh, empty local folder C:\vor_dialogs_tests\<name>; given a view path, it mirrors that
// repository folder, as a fetch would have left it.
std::string FreshFolder(const std::string& name, const std::string& viewPath = "");
// The repository folder a local folder mirrors.
std::string MarkerViewPath(const std::string& folder);
// The status of the item's latest version, empty when the repository has no such item.
std::string StatusOf(const char* name, const char* viewPath);

// Puts a program that writes its command line to Arguments() in place of the difference
// program in the tools folder, or takes the difference program away; puts back what was there
// when it ends.
class DiffProgramStandIn
{
public:
    enum Kind
    {
        Recorder,
        Missing
    };
    explicit DiffProgramStandIn(Kind kind);
    ~DiffProgramStandIn();
    // What the stand-in received, waiting up to a few seconds for it to run; empty if it did not.
    std::string Arguments() const;

private:
    std::string m_program;
    std::string m_kept;
    std::string m_arguments;
};
} // namespace dialog_testing
