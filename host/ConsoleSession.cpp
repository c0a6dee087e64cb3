#include <windows.h>

#include "ConsoleSession.h"

#include <DirMng.h>
#include <HItemVerions.h>
#include <VORAgent.h>

#include <algorithm>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <string>

#include "BrokerProbe.h"
#include "WorkingFolder.h"

const CConsoleSession::CommandInfo CConsoleSession::commands[] = {
    {"login", 3, 3, &CConsoleSession::LogIn},
    {"context", 3, 3, &CConsoleSession::RunContext},
    {"get", 2, 2, &CConsoleSession::RunGet},
    {"checkout", 2, -1, &CConsoleSession::RunCheckOut},
    {"checkin", 3, -1, &CConsoleSession::RunCheckIn},
    {"undo", 2, -1, &CConsoleSession::RunUndo},
    {"history", 2, 2, &CConsoleSession::RunHistory},
    {"state", 1, 1, &CConsoleSession::RunState},
};

namespace
{
const char usage[] =
    "usage: vorhost [FOLDER]             the host window (log in, output window, every dialog),\n"
    "                                      working in FOLDER (default: the client directory)\n"
    "       vorhost --console COMMAND ...  one repository command, no windows\n"
    "       vorhost --help\n"
    "\n"
    "Commands (the login is kept in sys\\qxp_vor.ini beside vorhost.exe for the next ones):\n"
    "  login BROKER USER PASSWORD          log in; BROKER is a host name or host:port\n"
    "  context PROJECT STATE PACKAGE       set the default context\n"
    "  get VIEWPATH ROOT                   get the latest versions of a repository folder and\n"
    "                                      its sub folders into ROOT\\VIEWPATH, laid out as the\n"
    "                                      repository dialog does (\\QXRepo\\Proj1 with the root\n"
    "                                      C:\\Work fills C:\\Work\\QXRepo\\Proj1)\n"
    "  checkout FOLDER FILE...             check files of a working folder out for update\n"
    "  checkin [--keep] FOLDER DESCRIPTION FILE...\n"
    "                                      check files in (--keep: keep them checked out)\n"
    "  undo FOLDER FILE...                 undo check-outs, restoring the repository copy\n"
    "  history FOLDER FILE                 list every version of a file\n"
    "  state FOLDER                        list the folder's files: free, checked out\n"
    "                                      elsewhere, checked out here\n"
    "A working FOLDER is one that get filled, ROOT\\VIEWPATH or any folder below it: each holds\n"
    "a harvest.vor that names its repository folder.\n"
    "\n"
    "Output-log lines go to stdout as they arrive (error lines marked [오류]); messages and\n"
    "errors go to stderr. Exit codes: 0 done, 1 the repository refused or failed, 2 bad\n"
    "arguments, 3 repository client not installed (registry key\n"
    "HKLM\\SOFTWARE\\ComputerAssociates\\RTHOME), 4 login refused, 5 broker unreachable,\n"
    "6 not logged in.\n";

typedef std::multimap<CString, CString> StateMap;

void ListActiveProjects(std::vector<CString>& names)
{
    VORAgent::GetProjects(1, names);
}

// The default context, level by level: what the user names, where its choices come from,
// where it is stored.
struct ContextLevel
{
    const char* what;
    void (*list)(std::vector<CString>& names);
    void (*store)(const char* name);
};
const ContextLevel contextLevels[] = {
    {"active project", &ListActiveProjects, &VORAgent::SetProjectName},
    {"state", &VORAgent::GetStates, &VORAgent::SetStateName},
    {"package", &VORAgent::GetPackages, &VORAgent::SetPackageName},
};

// The answer a person would give to leave things as they are.
int SafeAnswer(UINT nType)
{
    switch (nType & MB_TYPEMASK)
    {
    case MB_OK:
        return IDOK;
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return (nType & MB_TYPEMASK) == MB_YESNO ? IDNO : IDCANCEL;
    case MB_ABORTRETRYIGNORE:
        return IDABORT;
    default:
        return IDCANCEL;
    }
}

CString FormatV(LPCSTR lpszFormat, va_list args)
{
    CString text;
    text.FormatV(lpszFormat, args);
    return text;
}

BOOL Contains(const std::vector<CString>& names, const CString& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

CString Join(const std::vector<CString>& names)
{
    CString joined;
    for (const CString& name : names)
        joined += (joined.IsEmpty() ? "" : ", ") + name;
    return joined;
}

void PrintStateMap(LPCSTR lpszTitle, const StateMap& map)
{
    CString line;
    line.Format("%s (%d):", lpszTitle, static_cast<int>(map.size()));
    CConsoleOutput::Print(stdout, line);
    for (const auto& entry : map)
    {
        line.Format("  %-24s %s", static_cast<LPCSTR>(entry.first),
                    static_cast<LPCSTR>(entry.second));
        CConsoleOutput::Print(stdout, line);
    }
}
} // namespace

CConsoleSession::CConsoleSession() : m_bKeep(FALSE) {}

CConsoleSession::~CConsoleSession() {}

void CConsoleSession::PrintUsage(FILE* stream)
{
    CConsoleOutput::Print(stream, usage);
}

int CConsoleSession::Run(int argc, char** argv)
{
    // Nothing may wait for a person: the agent's message boxes go to stderr.
    _putenv("VOR_NONINTERACTIVE=1");
    AfxSetMessageBoxHandler(
        [](HWND, LPCSTR lpszText, LPCSTR, UINT nType)
        {
            CString text(lpszText);
            text.Replace("\r\n", " ");
            CConsoleOutput::Print(stderr, "vorhost: message: " + text);
            return SafeAnswer(nType);
        });

    if (argc == 0)
    {
        PrintUsage(stderr);
        return exitUsage;
    }
    const CommandInfo* command =
        std::find_if(std::begin(commands), std::end(commands),
                     [&](const CommandInfo& info) { return std::strcmp(info.name, argv[0]) == 0; });
    if (command == std::end(commands))
    {
        Fail(exitUsage, "unknown command '%s'", argv[0]);
        PrintUsage(stderr);
        return exitUsage;
    }
    for (int i = 1; i < argc; ++i)
    {
        if (command->run == &CConsoleSession::RunCheckIn && std::strcmp(argv[i], "--keep") == 0)
            m_bKeep = TRUE;
        else if (std::strncmp(argv[i], "--", 2) == 0)
            return Fail(exitUsage, "%s: unknown option '%s' (see vorhost --help)", command->name,
                        argv[i]);
        else
            m_args.push_back(argv[i]);
    }
    int count = static_cast<int>(m_args.size());
    if (count < command->minArgs || (command->maxArgs >= 0 && count > command->maxArgs))
        return Fail(exitUsage, "%s: wrong number of arguments (see vorhost --help)", command->name);

    if (!VORAgent::IsInstallVOR())
        return Fail(exitNotInstalled, "the repository client is not installed (registry key "
                                      "HKLM\\SOFTWARE\\ComputerAssociates\\RTHOME is missing)");
    if (!m_output.Create())
        return Fail(exitFailed, "the output window could not be created");

    int code = command->run == &CConsoleSession::LogIn ? LogIn() : Connect();
    if (code == exitOK && command->run != &CConsoleSession::LogIn)
    {
        VORAgent::SetOutputHwnd(m_output.GetSafeHwnd());
        code = (this->*command->run)();
        VORAgent::SetOutputHwnd(NULL);
    }
    // Also saves the configuration, which keeps the login and the context for the next run.
    VORAgent::LogOut();
    AfxSetMessageBoxHandler(nullptr);
    return code;
}

int CConsoleSession::LogIn()
{
    // The next runs log in from the configuration, which then needs the password.
    VORAgent::SavePassword(1);
    if (!VORAgent::LogIn(m_args[0], m_args[1], m_args[2]))
        return ExplainLoginFailure(m_args[0]);
    Say("logged in to %s as %s; kept in %s", static_cast<LPCSTR>(m_args[0]),
        static_cast<LPCSTR>(m_args[1]), static_cast<LPCSTR>(VORAgent::GetIniFileName()));
    return exitOK;
}

int CConsoleSession::Connect()
{
    VORAgent::Connect();
    if (VORAgent::IsLogIn())
        return exitOK;
    if (VORAgent::GetUserNameA().IsEmpty() || VORAgent::GetPassword().IsEmpty())
        return Fail(exitNotLoggedIn,
                    "not logged in and no login stored in %s: run vorhost --console login "
                    "BROKER USER PASSWORD first",
                    static_cast<LPCSTR>(VORAgent::GetIniFileName()));
    return ExplainLoginFailure(VORAgent::GetBrokerName());
}

int CConsoleSession::ExplainLoginFailure(const CString& broker)
{
    CBrokerProbe probe(broker);
    if (!probe.IsReachable())
        return Fail(exitUnreachable, "no broker answers at %s port %s",
                    static_cast<LPCSTR>(probe.GetHost()), static_cast<LPCSTR>(probe.GetPort()));
    return Fail(exitLoginRefused,
                "the broker at %s port %s refused the login: check the user name and password",
                static_cast<LPCSTR>(probe.GetHost()), static_cast<LPCSTR>(probe.GetPort()));
}

int CConsoleSession::RunContext()
{
    // Each list follows the names stored above it, so each name is stored before the next
    // list is read; a name that is not there puts the old context back.
    const CString previous[] = {VORAgent::GetProjectName(), VORAgent::GetStateName(),
                                VORAgent::GetPackageName()};
    for (size_t level = 0; level < std::size(contextLevels); ++level)
    {
        std::vector<CString> names;
        contextLevels[level].list(names);
        if (!Contains(names, m_args[level]))
        {
            for (size_t restored = 0; restored < std::size(contextLevels); ++restored)
                contextLevels[restored].store(previous[restored]);
            return Fail(exitFailed, "no %s '%s' there (choose among: %s)",
                        contextLevels[level].what, static_cast<LPCSTR>(m_args[level]),
                        static_cast<LPCSTR>(Join(names)));
        }
        contextLevels[level].store(m_args[level]);
    }
    Say("default context: %s / %s / %s", static_cast<LPCSTR>(m_args[0]),
        static_cast<LPCSTR>(m_args[1]), static_cast<LPCSTR>(m_args[2]));
    return exitOK;
}

int CConsoleSession::RunGet()
{
    CString viewPath = m_args[0];
    viewPath.Trim('\\');
    if (viewPath.IsEmpty())
        return Fail(exitUsage, "get: VIEWPATH names a repository folder, e.g. \\QXRepo\\Proj1");
    viewPath = "\\" + viewPath;
    // Laid out as the repository dialog lays it out, the root followed by the view path, so
    // that every sub folder gets the marker of its own repository folder.
    CString root = FolderArg(1);
    if (root.GetLength() == 3)
        root.Remove('\\');
    CString folder = root + viewPath;
    DirMng::CreateDir(std::string(folder));
    VORAgent::SetOutputMsg("Get Latest Version", 1);
    int ok = VORAgent::GetLatestVersion("*", folder, viewPath);
    VORAgent::SetOutputMsg("Get Latest Version", 0);
    if (!ok)
        return Fail(exitFailed, "could not get %s into %s", static_cast<LPCSTR>(viewPath),
                    static_cast<LPCSTR>(folder));
    // Nothing to fetch writes no marker: the folder then mirrors nothing.
    if (VORAgent::GetViewPathVOR(folder).IsEmpty())
        return Fail(exitFailed, "the repository has no files below %s",
                    static_cast<LPCSTR>(viewPath));
    Say("got the latest versions of %s into %s", static_cast<LPCSTR>(viewPath),
        static_cast<LPCSTR>(folder));
    return exitOK;
}

int CConsoleSession::RunCheckOut()
{
    CString folder = FolderArg(0);
    if (int code = CheckMappedFolder(folder))
        return code;
    std::vector<CString> failed;
    VORAgent::SetOutputMsg("Check Out", 1);
    for (size_t i = 1; i < m_args.size(); ++i)
        if (!VORAgent::DoCheckOut(m_args[i], folder, NULL))
            failed.push_back(m_args[i]);
    VORAgent::SetOutputMsg("Check Out", 0);
    if (!failed.empty())
        return Fail(exitFailed, "could not check out: %s", static_cast<LPCSTR>(Join(failed)));
    Say("checked out %d file(s) into %s", static_cast<int>(m_args.size() - 1),
        static_cast<LPCSTR>(folder));
    return exitOK;
}

int CConsoleSession::RunCheckIn()
{
    CString folder = FolderArg(0);
    if (int code = CheckMappedFolder(folder))
        return code;
    std::vector<CString> files(m_args.begin() + 2, m_args.end());
    for (const CString& file : files)
        if (::GetFileAttributesA(folder + "\\" + file) == INVALID_FILE_ATTRIBUTES)
            return Fail(exitUsage, "no file %s in %s", static_cast<LPCSTR>(file),
                        static_cast<LPCSTR>(folder));
    VORAgent::SetOutputMsg("Check In", 1);
    int ok = VORAgent::DoCheckIn(&files, folder, m_bKeep, m_args[1], NULL);
    VORAgent::SetOutputMsg("Check In", 0);
    if (!ok)
        return Fail(
            exitFailed, "the check-in of %s failed",
            static_cast<LPCSTR>(Join(std::vector<CString>(m_args.begin() + 2, m_args.end()))));
    Say("checked in %d file(s)%s", static_cast<int>(m_args.size() - 2),
        m_bKeep ? ", kept checked out" : "");
    return exitOK;
}

int CConsoleSession::RunUndo()
{
    CString folder = FolderArg(0);
    if (int code = CheckMappedFolder(folder))
        return code;
    std::vector<CString> failed;
    VORAgent::SetOutputMsg("Undo Checkout", 1);
    for (size_t i = 1; i < m_args.size(); ++i)
    {
        if (!VORAgent::UndoCheckOut(m_args[i], folder, NULL))
        {
            failed.push_back(m_args[i]);
            continue;
        }
        // The local copy goes back to the repository's, read-only like every unreserved file.
        CString path = folder + "\\" + m_args[i];
        DWORD attributes = ::GetFileAttributesA(path);
        if (attributes != INVALID_FILE_ATTRIBUTES)
            ::SetFileAttributesA(path, attributes | FILE_ATTRIBUTE_READONLY);
        VORAgent::GetLatestVersion(m_args[i], folder, NULL);
    }
    VORAgent::SetOutputMsg("Undo Checkout", 0);
    if (!failed.empty())
        return Fail(exitFailed, "could not undo the check-out of: %s",
                    static_cast<LPCSTR>(Join(failed)));
    Say("undid %d check-out(s)", static_cast<int>(m_args.size() - 1));
    return exitOK;
}

int CConsoleSession::RunHistory()
{
    CString folder = FolderArg(0);
    if (int code = CheckMappedFolder(folder))
        return code;
    HItemVerions versions;
    int count = VORAgent::GetAllVersions(m_args[1], folder, &versions);
    if (count <= 0)
        return Fail(exitFailed, "no versions of %s in the repository folder of %s",
                    static_cast<LPCSTR>(m_args[1]), static_cast<LPCSTR>(folder));
    CString line;
    line.Format("%s: %d version(s)", static_cast<LPCSTR>(versions.m_sItemPath), count);
    CConsoleOutput::Print(stdout, line);
    for (const HItemVerion* version : versions.m_vecVersions)
    {
        line.Format(
            "  %-4s %-2s %-10s %-15s %-10s %s", static_cast<LPCSTR>(version->m_sVersionName),
            static_cast<LPCSTR>(version->m_sStatus), static_cast<LPCSTR>(version->m_sModifier),
            static_cast<LPCSTR>(version->m_sModifiedTime),
            static_cast<LPCSTR>(version->m_sPackageName),
            static_cast<LPCSTR>(version->m_sDescription));
        if (version->m_sStatus == "R")
            line += "  [checked out on " + version->m_sClientMachine + " to " +
                    version->m_sClientPath + "]";
        CConsoleOutput::Print(stdout, line);
    }
    return exitOK;
}

int CConsoleSession::RunState()
{
    CString folder = FolderArg(0);
    if (int code = CheckMappedFolder(folder))
        return code;
    StateMap free, elsewhere, here;
    VORAgent::GetVersionState("*", folder, &free, &elsewhere, &here);
    if (free.empty() && elsewhere.empty() && here.empty())
        return Fail(exitFailed, "no versions in the repository folder of %s",
                    static_cast<LPCSTR>(folder));
    PrintStateMap("not checked out", free);
    PrintStateMap("checked out elsewhere", elsewhere);
    PrintStateMap("checked out here", here);
    return exitOK;
}

CString CConsoleSession::FolderArg(size_t i) const
{
    return CWorkingFolder::Normalize(m_args[i]);
}

int CConsoleSession::CheckMappedFolder(const CString& folder)
{
    if (!VORAgent::GetViewPathVOR(folder).IsEmpty())
        return exitOK;
    return Fail(exitFailed,
                "%s is not a working folder of the repository (no harvest.vor): get it first",
                static_cast<LPCSTR>(folder));
}

int CConsoleSession::Fail(int nExitCode, LPCSTR lpszFormat, ...)
{
    va_list args;
    va_start(args, lpszFormat);
    CString text = FormatV(lpszFormat, args);
    va_end(args);
    CConsoleOutput::Print(stderr, "vorhost: error: " + text);
    return nExitCode;
}

void CConsoleSession::Say(LPCSTR lpszFormat, ...)
{
    va_list args;
    va_start(args, lpszFormat);
    CString text = FormatV(lpszFormat, args);
    va_end(args);
    CConsoleOutput::Print(stdout, "vorhost: " + text);
}
