#pragma once
#include <windows.h>
#include <mutex>
#include <string>
#include <vector>
#include "CMngFileReader.h"
#include "TestFiles.h"

std::wstring Wide(const std::string& narrow);
bool IsFolder(const std::string& path);
// The UTF-8 text as UTF-16 little-endian bytes with a byte order mark.
std::string Utf16Document(const std::string& utf8);

// Gives the tests the reader's internals.
template <class Parser> class Probe : public Parser
{
public:
    const std::vector<ElementRecord>& Records() const { return this->m_vecElements; }
    IXmlReader* Reader() const { return this->m_spReader.p; }
};

// The records in one line: the type of each, name=value for attributes.
std::string Describe(const std::vector<ElementRecord>& records);

// Lines sent to the debugger output, received the way a debug monitor receives them.
class DebugTrace
{
public:
    static DebugTrace& Instance();
    // Every line sent since the last call, once the monitor has received them all.
    std::vector<std::string> TakeLines();

private:
    DebugTrace();
    static DWORD WINAPI Monitor(void* self);

    HANDLE m_bufferReady;
    HANDLE m_dataReady;
    const char* m_buffer;
    std::mutex m_lock;
    std::vector<std::string> m_lines;
};
