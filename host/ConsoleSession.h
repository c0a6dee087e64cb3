#pragma once
#include <windows.h>
#include <afxwin.h>

#include <cstdio>
#include <vector>

#include "ConsoleOutput.h"

// vorhost --console: one repository command per run, no windows on screen. The login is kept
// between runs in the configuration file, as the windowed host keeps it.
class CConsoleSession
{
public:
    enum ExitCode
    {
        exitOK = 0,
        exitFailed = 1,       // the repository refused or failed the operation
        exitUsage = 2,        // bad arguments
        exitNotInstalled = 3, // the repository client's registry key is missing
        exitLoginRefused = 4, // wrong user name or password
        exitUnreachable = 5,  // no broker answers at the broker's address
        exitNotLoggedIn = 6   // no stored login to connect with
    };

    CConsoleSession();
    ~CConsoleSession();

    // The arguments after --console.
    int Run(int argc, char** argv);
    static void PrintUsage(FILE* stream);

private:
    typedef int (CConsoleSession::*Command)();
    struct CommandInfo
    {
        const char* name;
        int minArgs;
        int maxArgs; // -1: any number
        Command run;
    };
    static const CommandInfo commands[];

    int LogIn();
    int Connect();
    int ExplainLoginFailure(const CString& broker);

    int RunContext();
    int RunGet();
    int RunCheckOut();
    int RunCheckIn();
    int RunUndo();
    int RunHistory();
    int RunState();

    // Positional argument i as an absolute local folder without a trailing backslash.
    CString FolderArg(size_t i) const;
    // exitOK when the folder's marker names a repository folder.
    int CheckMappedFolder(const CString& folder);
    int Fail(int nExitCode, LPCSTR lpszFormat, ...);
    void Say(LPCSTR lpszFormat, ...);

    std::vector<CString> m_args;
    BOOL m_bKeep;
    CConsoleOutput m_output;
};
