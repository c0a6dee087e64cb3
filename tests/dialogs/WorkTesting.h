#pragma once
#include <windows.h>
#include <afxwin.h>

#include <functional>
#include <string>
#include <vector>

// What the tests of the dialogs that do repository work share, beside DialogTesting.h: local
// files and their folder markers, check-box lists, the positions a progress bar was given,
// the server folder chooser answered as a person would, and the difference program.

namespace work_testing
{
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
bool IsReadOnly(const std::string& path);
// Makes the local folder mirror a repository folder, as a fetch would have.
void WriteMarker(const std::string& folder, const std::string& viewPath);

bool IsRowChecked(HWND list, int row);
void CheckRow(HWND list, int row, bool checked);
// The row whose column 0 reads name, -1 when none.
int RowNamed(HWND list, const std::string& name);
void SelectRows(HWND list, const std::vector<int>& rows);
int StateImage(HWND list, int row);

// Records every position the progress bar is set to while it lives.
class ProgressRecorder
{
public:
    explicit ProgressRecorder(HWND progress);
    ~ProgressRecorder();
    const std::vector<int>& Positions() const { return s_positions; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static std::vector<int> s_positions;
    static WNDPROC s_original;
    HWND m_progress;
};

// Presses OK and gives the positions the progress bar was set to meanwhile.
std::vector<int> ConfirmRecordingProgress(CDialog& dialog, int progressId);

// Runs the dialog modally like dialog_testing::RunModal; a server folder chooser that it opens
// is answered by selecting viewPath in the tree and pressing OK (an empty viewPath cancels).
INT_PTR RunModalChoosingFolder(CDialog& dialog, const std::function<void(CDialog&)>& drive,
                               const std::string& viewPath);

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
} // namespace work_testing
