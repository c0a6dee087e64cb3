#pragma once
#include <windows.h>
#include <afxwin.h>
#include <afxcmn.h>

#include <HSDK.h>
#include <HsdkTesting.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestFiles.h"
#include "VORAgent.h"

// The agent's protected statics, for the tests that drive or inspect them directly.
struct AgentAccess : VORAgent
{
    using VORAgent::GetSubPath;
    using VORAgent::m_pHarvest;
    using VORAgent::SetInfoToVOR;
};

struct OutputLine
{
    std::string text;
    LPARAM lParam;
};

// A real window that keeps every output-log line, read with GetLatestMsg while the message is
// handled, as the host does.
class OutputWindow
{
public:
    OutputWindow();
    ~OutputWindow();
    HWND Handle() const { return m_hwnd; }
    bool Has(const std::string& text) const;
    std::vector<OutputLine> lines;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hwnd;
};

struct MessageBoxCall
{
    std::string text;
    UINT type;
};

// Answers every message box and keeps what it said.
class MessageBoxRecorder
{
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    std::vector<std::string> Texts() const;
    std::vector<MessageBoxCall> boxes;
};

// A hidden control window of the given class, for the agent to fill.
HWND CreateControl(const char* className, DWORD style);

// The configuration file beside the test program, sys\qxp_vor.ini, written from INI text.
void WriteConfig(const std::string& text);
// The raw value of a key, or "<missing>".
std::string ReadConfig(const char* section, const char* key);
void RemoveConfig();

void WriteMarker(const std::string& folder, const std::string& viewPath);
// Recorded SDK calls that start with prefix.
std::vector<std::string> CallsTo(const std::string& prefix);
std::string Str(const CString& text);
std::vector<std::string> Strs(const std::vector<CString>& texts);

// Logged in as dev1 in project QXP, state Development, package QXP-001, with an output
// window and recorded SDK calls and message boxes.
class RepositoryTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    OutputWindow output;
    MessageBoxRecorder messages;
    TempFolder work;
};
