#include <windows.h>

#include "TransferBench.h"

#include <psapi.h>

#include <cstdio>
#include <vector>

#include "BenchSupport.h"
#include "CaException.h"
#include "DirMng.h"
#include "TestFiles.h"
#include "VORAgent.h"

using bench_support::Now;

namespace
{
const char kViewPath[] = "\\QXRepo\\Transfer";
const int kWrongsShown = 30;

std::string Text(const CaContainer& list, const char* key, int row)
{
    const CaData data = list.Props(key, row);
    return data.IsNull() ? std::string() : static_cast<const char*>(data);
}

std::string ComputerName()
{
    char name[MAX_COMPUTERNAME_LENGTH + 1] = "";
    DWORD size = sizeof name;
    GetComputerNameA(name, &size);
    return name;
}
} // namespace

const char* const TransferBench::kPhaseNames[kPhases] = {"local copy", "get-latest", "check-out",
                                                         "check-in"};
// As the repository dialog, the check-out dialog and the check-in dialog title them; the copy
// writes no log.
const char* const TransferBench::kOutputTitles[kPhases] = {"", "Get Latest Version", "Check Out",
                                                           "Check In"};

TransferBench::TransferBench(const TransferLayout& layout, const std::string& workFolder)
    : m_layout(layout), m_work(workFolder), m_source(workFolder + "\\source"),
      m_machine(ComputerName())
{
}

bool TransferBench::Prepare()
{
    const double start = Now();
    for (int folder = 0; folder < m_layout.Folders(); ++folder)
        if (!bench_support::Admin(R"({"op":"admin.createFolder","path":)" +
                                  bench_support::JsonPath(kViewPath + m_layout.SubFolder(folder)) +
                                  "}"))
            return false;
    for (int file = 0; file < m_layout.Files(); ++file)
    {
        const std::string folder = kViewPath + m_layout.SubFolder(m_layout.FolderOf(file));
        if (!bench_support::Admin(R"({"op":"admin.createItem","folder":)" +
                                      bench_support::JsonPath(folder) + R"(,"name":")" +
                                      m_layout.Name(file) + "\"}",
                                  m_layout.Bytes(file, 0)))
            return false;
    }
    const double seeding = Now() - start;
    const int requests = m_layout.Folders() + m_layout.Files();
    std::printf("seeded %s through %d admin requests (one login each) in %.1f s, %.1f ms per "
                "request\n",
                kViewPath, requests, seeding / 1000, seeding / requests);

    CreateDirectoryA(m_source.c_str(), nullptr);
    for (int folder = 1; folder < m_layout.Folders(); ++folder)
        CreateDirectoryA((m_source + m_layout.SubFolder(folder)).c_str(), nullptr);
    for (int file = 0; file < m_layout.Files(); ++file)
        if (!WriteFile(LocalPath(m_source, file), m_layout.Bytes(file, 0)))
        {
            std::fprintf(stderr, "transfer_bench: cannot write %s\n",
                         LocalPath(m_source, file).c_str());
            return false;
        }
    return true;
}

bool TransferBench::LogIn()
{
    dialog_testing::LogInAsDev1();
    if (!VORAgent::IsLogIn())
    {
        std::fprintf(stderr, "transfer_bench: the agent cannot log in to the broker at port %s\n",
                     bench_support::BrokerPort().c_str());
        return false;
    }
    return bench_support::OpenSession(m_harvest);
}

TransferBench::RunFigures TransferBench::Run(int run)
{
    const std::string runFolder = m_work + "\\run" + std::to_string(run);
    const std::string working = runFolder + "\\get" + kViewPath;
    CreateDirectoryA(runFolder.c_str(), nullptr);
    // A braced list runs the phases in this order.
    const RunFigures figures = {{Copy(runFolder + "\\copy"), GetLatest(run, runFolder + "\\get"),
                                 CheckOut(run, working), CheckIn(run, working)}};
    RemoveTree(runFolder);
    return figures;
}

TransferBench::WorkingSet TransferBench::ProcessWorkingSet()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    const double mebibyte = 1024.0 * 1024.0;
    WorkingSet workingSet;
    workingSet.nowMiB = counters.WorkingSetSize / mebibyte;
    workingSet.peakMiB = counters.PeakWorkingSetSize / mebibyte;
    return workingSet;
}

TransferBench::Measured TransferBench::Measure(const std::function<void()>& work)
{
    const double start = Now();
    work();
    Measured measured;
    measured.milliseconds = Now() - start;
    measured.workingSet = ProcessWorkingSet();
    return measured;
}

TransferBench::Measured TransferBench::Copy(const std::string& target)
{
    int failed = 0;
    const Measured measured = Measure(
        [&]
        {
            for (int folder = 0; folder < m_layout.Folders(); ++folder)
                CreateDirectoryA((target + m_layout.SubFolder(folder)).c_str(), nullptr);
            for (int file = 0; file < m_layout.Files(); ++file)
                failed += !CopyFileA(LocalPath(m_source, file).c_str(),
                                     LocalPath(target, file).c_str(), TRUE);
        });
    if (failed)
        Wrong("local copy: CopyFileA failed for " + std::to_string(failed) + " files");
    CheckFiles(kPhaseNames[kCopy], target, 0, kWritable);
    return measured;
}

// As the repository dialog and vorhost --console get do it: the local root followed by the
// view path, all files of the folder and its sub folders in one call.
TransferBench::Measured TransferBench::GetLatest(int run, const std::string& root)
{
    const std::string folder = root + kViewPath;
    const Measured measured = MeasureAgentCalls(
        kGetLatest,
        [&]
        {
            DirMng::CreateDir(folder);
            return !VORAgent::GetLatestVersion("*", folder.c_str(), kViewPath);
        },
        [&](int file)
        {
            return "File " + ItemPath(file) + ";" + std::to_string(run - 1) + " updated to " +
                   m_machine + "\\\\" + LocalPath(folder, file);
        });
    CheckFiles(kPhaseNames[kGetLatest], folder, run - 1, kReadOnly);
    return measured;
}

// As the check-out dialog and vorhost --console checkout do it: one call per file, in the
// file's own working folder.
TransferBench::Measured TransferBench::CheckOut(int run, const std::string& folder)
{
    const Measured measured = MeasureAgentCalls(
        kCheckOut,
        [&]
        {
            int failed = 0;
            for (int file = 0; file < m_layout.Files(); ++file)
                failed += !VORAgent::DoCheckOut(
                    m_layout.Name(file).c_str(),
                    (folder + m_layout.SubFolder(m_layout.FolderOf(file))).c_str(), nullptr);
            return failed;
        },
        [&](int file)
        {
            return "File " + ItemPath(file) + ";" + std::to_string(run) + " checked out to " +
                   m_machine + "\\\\" + LocalPath(folder, file);
        });
    CheckFiles(kPhaseNames[kCheckOut], folder, run - 1, kWritable);
    return measured;
}

// As the check-in dialog does it for files of several folders: per folder, the repository
// folder made sure of, then one call with the folder's files.
TransferBench::Measured TransferBench::CheckIn(int run, const std::string& folder)
{
    for (int file = 0; file < m_layout.Files(); ++file)
        if (!WriteFile(LocalPath(folder, file), m_layout.Bytes(file, run)))
            Wrong("check-in: cannot change " + LocalPath(folder, file));
    const std::string description = "transfer bench run " + std::to_string(run);
    const Measured measured = MeasureAgentCalls(
        kCheckIn,
        [&]
        {
            int failed = 0;
            for (int sub = 0; sub < m_layout.Folders(); ++sub)
            {
                std::vector<CString> names;
                for (int file = sub * TransferLayout::kFilesPerFolder;
                     file < m_layout.Files() && m_layout.FolderOf(file) == sub; ++file)
                    names.push_back(m_layout.Name(file).c_str());
                const std::string subFolder = m_layout.SubFolder(sub);
                failed += !VORAgent::CreateItemPath(subFolder.empty() ? "" : subFolder.c_str() + 1,
                                                    kViewPath);
                failed +=
                    !VORAgent::DoCheckIn(&names, (folder + subFolder).c_str(), 0,
                                         description.c_str(), (kViewPath + subFolder).c_str());
            }
            return failed;
        },
        [&](int file)
        {
            return "File " + LocalPath(folder, file) + " checked into " + ItemPath(file) + ";" +
                   std::to_string(run) + ".";
        });
    CheckFiles(kPhaseNames[kCheckIn], folder, run, kAsLeft);
    CheckRepository(run);
    return measured;
}

// Measures the calls framed in the output log as the dialogs frame them; then checks that none
// failed, that no message box came up, and that the log holds the expected line per file in
// file order.
TransferBench::Measured TransferBench::MeasureAgentCalls(Phase phase,
                                                         const std::function<int()>& failedCalls,
                                                         const ExpectedLine& expected)
{
    const std::string name = kPhaseNames[phase];
    const char* const title = kOutputTitles[phase];
    dialog_testing::OutputLog log;
    int failed = 0;
    const Measured measured = Measure(
        [&]
        {
            VORAgent::SetOutputMsg(title, 1);
            failed = failedCalls();
            VORAgent::SetOutputMsg(title, 0);
        });
    if (failed)
        Wrong(name + ": " + std::to_string(failed) + " agent calls failed");
    for (; m_boxesSeen < m_boxes.Seen().size(); ++m_boxesSeen)
        Wrong(name + ": message box \"" + m_boxes.Seen()[m_boxesSeen].text + "\"");

    const std::vector<std::string>& lines = log.Lines();
    const size_t files = static_cast<size_t>(m_layout.Files());
    if (!log.Frames(title))
        Wrong(name + ": the output log is not framed by [" + title + "] started and ended");
    if (lines.size() != files + 2)
        Wrong(name + ": " + std::to_string(lines.size()) + " output-log lines, expected " +
              std::to_string(files + 2));
    int differing = 0;
    std::string first;
    for (size_t file = 0; file < files && file + 1 < lines.size(); ++file)
    {
        const std::string wanted = expected(static_cast<int>(file));
        if (lines[file + 1] != wanted && differing++ == 0)
            first = "line " + std::to_string(file + 1) + " reads \"" + lines[file + 1] +
                    "\" where \"" + wanted + "\" was expected";
    }
    if (differing)
        Wrong(name + ": " + std::to_string(differing) +
              " output-log lines out of place; first: " + first);
    return measured;
}

void TransferBench::CheckFiles(const char* phase, const std::string& folder, int generation,
                               Attribute attribute)
{
    int missing = 0, stale = 0, misattributed = 0;
    std::string first;
    for (int file = 0; file < m_layout.Files(); ++file)
    {
        const std::string path = LocalPath(folder, file);
        std::string problem;
        if (!Exists(path))
            problem = "missing", ++missing;
        else if (ReadFile(path) != m_layout.Bytes(file, generation))
            problem = "not the bytes of generation " + std::to_string(generation), ++stale;
        else if (attribute != kAsLeft && IsReadOnly(path) != (attribute == kReadOnly))
            problem = attribute == kReadOnly ? "writable" : "read-only", ++misattributed;
        if (first.empty() && !problem.empty())
            first = path + " " + problem;
    }
    if (!first.empty())
        Wrong(std::string(phase) + ": " + std::to_string(missing) + " files missing, " +
              std::to_string(stale) + " with wrong bytes, " + std::to_string(misattributed) +
              " with the wrong read-only attribute; first: " + first);
}

// Every file's latest version is the one this run checked in, and nothing stays reserved.
void TransferBench::CheckRepository(int run)
{
    CaContainer list;
    try
    {
        CaVersionChooser& chooser = m_harvest.GetContext().GetVersionChooser();
        bench_support::ChooseLatest(chooser, kViewPath, "*");
        list = chooser.GetVersionList();
    }
    catch (CaException& e)
    {
        Wrong(std::string("repository: the version query failed: ") +
              static_cast<const char*>(e.GetText()));
        return;
    }
    const int rows = list.GetKeyElementCount("CA_ATTRKEY_FULL_PATH_NAME");
    if (rows != m_layout.Files())
        Wrong("repository: " + std::to_string(rows) + " files below " + kViewPath + ", expected " +
              std::to_string(m_layout.Files()));
    int wrong = 0;
    std::string first;
    for (int row = 0; row < rows && row < m_layout.Files(); ++row)
    {
        const std::string seen = Text(list, "CA_ATTRKEY_FULL_PATH_NAME", row) + ";" +
                                 Text(list, "CA_ATTRKEY_MAPPED_VERSION_NAME", row) + " " +
                                 Text(list, "CA_ATTRKEY_VERSION_STATUS", row);
        const std::string wanted = ItemPath(row) + ";" + std::to_string(run) + " N";
        if (seen != wanted && wrong++ == 0)
            first = "\"" + seen + "\" where \"" + wanted + "\" was expected";
    }
    if (wrong)
        Wrong("repository: " + std::to_string(wrong) + " latest versions wrong; first: " + first);
}

void TransferBench::Wrong(const std::string& text)
{
    if (m_wrongs++ < kWrongsShown)
        std::printf("  WRONG: %s\n", text.c_str());
}

std::string TransferBench::ItemPath(int file) const
{
    return kViewPath + std::string("\\") + m_layout.RelativePath(file);
}

std::string TransferBench::LocalPath(const std::string& folder, int file) const
{
    return folder + "\\" + m_layout.RelativePath(file);
}
