#include <windows.h>

#include "WorkTesting.h"

#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "CHNewSvrPath.h"
#include "DialogTesting.h"

namespace work_testing
{
namespace
{
std::string ExeFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.rfind('\\'));
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
} // namespace

void WriteFile(const std::string& path, const std::string& bytes)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& path)
{
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

bool IsReadOnly(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

void WriteMarker(const std::string& folder, const std::string& viewPath)
{
    WritePrivateProfileStringA("HarvestCM", "Server_Path", viewPath.c_str(),
                               (folder + "\\harvest.vor").c_str());
}

bool IsRowChecked(HWND list, int row)
{
    return ListView_GetCheckState(list, row) != 0;
}

void CheckRow(HWND list, int row, bool checked)
{
    ListView_SetCheckState(list, row, checked ? TRUE : FALSE);
}

int RowNamed(HWND list, const std::string& name)
{
    const std::vector<std::string> names = dialog_testing::ListColumn(list, 0);
    const auto found = std::find(names.begin(), names.end(), name);
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

void SelectRows(HWND list, const std::vector<int>& rows)
{
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    for (int row : rows)
        dialog_testing::SelectListRow(list, row);
}

int StateImage(HWND list, int row)
{
    return static_cast<int>(ListView_GetItemState(list, row, LVIS_STATEIMAGEMASK) >> 12);
}

std::vector<int> ProgressRecorder::s_positions;
WNDPROC ProgressRecorder::s_original = nullptr;

ProgressRecorder::ProgressRecorder(HWND progress) : m_progress(progress)
{
    s_positions.clear();
    s_original = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        progress, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ProgressRecorder::WindowProc)));
}

ProgressRecorder::~ProgressRecorder()
{
    if (IsWindow(m_progress))
        SetWindowLongPtrA(m_progress, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s_original));
}

LRESULT CALLBACK ProgressRecorder::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == PBM_SETPOS)
        s_positions.push_back(static_cast<int>(wParam));
    return CallWindowProcA(s_original, hwnd, message, wParam, lParam);
}

std::vector<int> ConfirmRecordingProgress(CDialog& dialog, int progressId)
{
    ProgressRecorder progress(dialog_testing::Control(dialog, progressId));
    AfxClickDlgButton(&dialog, IDOK);
    return progress.Positions();
}

INT_PTR RunModalChoosingFolder(CDialog& dialog, const std::function<void(CDialog&)>& drive,
                               const std::string& viewPath)
{
    bool driven = false;
    AfxSetModalHook(
        [&](CDialog* shown)
        {
            if (shown == &dialog && !driven)
            {
                driven = true;
                drive(dialog);
            }
            else if (shown->IsKindOf(RUNTIME_CLASS(CHNewSvrPath)))
            {
                dialog_testing::Settle();
                if (viewPath.empty())
                {
                    AfxClickDlgButton(shown, IDCANCEL);
                    return;
                }
                dialog_testing::SelectTreeItem(dialog_testing::Control(*shown, IDC_VOR_STRUCT),
                                               viewPath);
                AfxClickDlgButton(shown, IDOK);
            }
        });
    const INT_PTR result = dialog.DoModal();
    AfxSetModalHook(nullptr);
    return result;
}

DiffProgramStandIn::DiffProgramStandIn(Kind kind)
{
    const std::string tools = ExeFolder() + "\\tools";
    CreateDirectoryA(tools.c_str(), nullptr);
    m_program = tools + "\\WinDiff.Exe";
    m_kept = tools + "\\WinDiff.Exe.kept";
    m_arguments = tools + "\\WinDiff.args";
    // A run that died with a stand-in in place left the real program aside.
    if (Exists(m_kept))
        MoveFileExA(m_kept.c_str(), m_program.c_str(), MOVEFILE_REPLACE_EXISTING);
    if (Exists(m_program))
        MoveFileA(m_program.c_str(), m_kept.c_str());
    DeleteFileA(m_arguments.c_str());
    if (kind == Recorder)
        CopyFileA((ExeFolder() + "\\diff_recorder.exe").c_str(), m_program.c_str(), FALSE);
}

DiffProgramStandIn::~DiffProgramStandIn()
{
    DeleteFileA(m_program.c_str());
    DeleteFileA(m_arguments.c_str());
    if (Exists(m_kept))
        MoveFileA(m_kept.c_str(), m_program.c_str());
}

std::string DiffProgramStandIn::Arguments() const
{
    for (int wait = 0; wait < 100 && ReadFile(m_arguments).empty(); ++wait)
        Sleep(100);
    return ReadFile(m_arguments);
}
} // namespace work_testing
