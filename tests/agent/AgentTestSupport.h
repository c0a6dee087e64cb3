#pragma once
#include <windows.h>
#include <afxwin.h>
#include <afxcmn.h>

#include <HSDK.h>
#include <HsdkTesting.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "VORAgent.h"

// The agent's protected statics, for the tests that drive or inspect them directly.
struct AgentAccess : VORAgent
{
    using VORAgent::GetSubPath;
    using VORAgent::m_bSavePW;
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
    std::vector<MessageBoxCall> boxes;
};

// Registry key whose presence means "repository client installed".
void CreateInstallKey();
void DeleteInstallKey();

// The configuration file beside the test program: sys\qxp_vor.ini.
std::string ConfigFile();
// Writes the file anew from "section|key=value" lines (a line without '=' leaves the key out).
void WriteConfig(const std::vector<std::string>& entries);
// The raw value of a key, or "<missing>".
std::string ReadConfig(const char* section, const char* key);
void RemoveConfig();

// A fresh folder below the temporary folder, removed with everything in it by the destructor.
class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    const std::string& Path() const { return m_path; }
    // Creates a sub folder (all levels) and returns its path.
    std::string Make(const std::string& relative) const;

private:
    std::string m_path;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
bool IsReadOnly(const std::string& path);
bool Exists(const std::string& path);
void WriteMarker(const std::string& folder, const std::string& viewPath);
std::string MarkerOf(const std::string& folder);

// Text with its backslashes escaped for a JSON string.
std::string JsonText(const std::string& text);
// Admin request to the test's broker; fails the test when refused.
void Admin(const std::string& json);

// Recorded SDK calls that start with prefix.
std::vector<std::string> CallsTo(const std::string& prefix);

std::string Str(const CString& text);

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
