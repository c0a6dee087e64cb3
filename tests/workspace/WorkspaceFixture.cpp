#include <windows.h>
#include "WorkspaceFixture.h"
#include <utility>

std::wstring Wide(const std::string& narrow)
{
    const int size = MultiByteToWideChar(CP_ACP, 0, narrow.c_str(), -1, nullptr, 0);
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(CP_ACP, 0, narrow.c_str(), -1, wide.data(), size);
    wide.resize(size - 1);
    return wide;
}

bool IsFolder(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Utf16Document(const std::string& utf8)
{
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring withMark(size + 1, L'\xFEFF');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &withMark[1], size);
    return std::string(reinterpret_cast<const char*>(withMark.data()),
                       withMark.size() * sizeof(wchar_t));
}

std::string Describe(const std::vector<ElementRecord>& records)
{
    std::string text;
    for (const ElementRecord& record : records)
    {
        if (!text.empty())
            text += ' ';
        text += std::to_string(record.type);
        if (record.type == ElementRecord::Attribute)
            text += ":" + record.name + "=" + record.value;
    }
    return text;
}

// The monitor's objects must exist before the process first writes to the debugger output.
static DebugTrace& g_startMonitorEarly = DebugTrace::Instance();

DebugTrace& DebugTrace::Instance()
{
    static DebugTrace trace;
    return trace;
}

DebugTrace::DebugTrace()
{
    CreateMutexA(nullptr, FALSE, "DBWinMutex");
    HANDLE mapping =
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, "DBWIN_BUFFER");
    m_buffer = static_cast<const char*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
    m_bufferReady = CreateEventA(nullptr, FALSE, FALSE, "DBWIN_BUFFER_READY");
    m_dataReady = CreateEventA(nullptr, FALSE, FALSE, "DBWIN_DATA_READY");
    CloseHandle(CreateThread(nullptr, 0, Monitor, this, 0, nullptr));
}

DWORD WINAPI DebugTrace::Monitor(void* self)
{
    DebugTrace& trace = *static_cast<DebugTrace*>(self);
    for (;;)
    {
        SetEvent(trace.m_bufferReady);
        WaitForSingleObject(trace.m_dataReady, INFINITE);
        std::lock_guard<std::mutex> hold(trace.m_lock);
        trace.m_lines.emplace_back(trace.m_buffer + sizeof(DWORD));
    }
}

std::vector<std::string> DebugTrace::TakeLines()
{
    // A line of our own marks the end: everything sent before it has arrived when it does.
    static const std::string marker = "--- end of trace ---";
    OutputDebugStringA(marker.c_str());
    for (int waited = 0; waited < 5000; ++waited, Sleep(1))
    {
        std::lock_guard<std::mutex> hold(m_lock);
        if (!m_lines.empty() && m_lines.back() == marker)
        {
            m_lines.pop_back();
            return std::exchange(m_lines, {});
        }
    }
    return {};
}
