// Times get-latest, check-out and check-in of a repository folder of many files end to end
// through the agent and HSDK.dll, against copying the same files with CopyFileA in the same
// process and run; exits non-zero when a file, an output-log line or the repository state after
// a phase is wrong. Runs against the sample broker that scripts/wine-run starts
// (scripts/bench-transfer).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "DialogTesting.h"
#include "TestFiles.h"
#include "TransferBench.h"

namespace
{
const char kUsage[] =
    "usage: transfer_bench [--files N] [--size BYTES] [--runs K]\n"
    "  N files (default 1000, at most 99999) of BYTES bytes each (default 20000, at most\n"
    "  16 MiB), timed over K runs (default 5, at most 100)\n";
const int kMostBytes = 16 << 20;
const int kMostRuns = 100;

struct Options
{
    int files = 1000;
    int size = 20000;
    int runs = 5;
};

bool ParseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; i += 2)
    {
        int* value = std::strcmp(argv[i], "--files") == 0  ? &options.files
                     : std::strcmp(argv[i], "--size") == 0 ? &options.size
                     : std::strcmp(argv[i], "--runs") == 0 ? &options.runs
                                                           : nullptr;
        if (value == nullptr || i + 1 == argc)
            return false;
        char* end = nullptr;
        const long parsed = std::strtol(argv[i + 1], &end, 10);
        if (*end != '\0' || parsed < 1 || parsed > kMostBytes)
            return false;
        *value = static_cast<int>(parsed);
    }
    return options.files <= TransferLayout::kMostFiles && options.runs <= kMostRuns;
}

void PrintRun(int run, const TransferBench::RunFigures& figures)
{
    const double copy = figures[TransferBench::kCopy].milliseconds;
    std::printf("run %d: %s %.0f ms", run, TransferBench::kPhaseNames[TransferBench::kCopy], copy);
    for (int phase = TransferBench::kGetLatest; phase < TransferBench::kPhases; ++phase)
        std::printf("; %s %.0f ms = %.2f x copy", TransferBench::kPhaseNames[phase],
                    figures[phase].milliseconds, figures[phase].milliseconds / copy);
    std::printf("\n  working set after each phase, MiB now (peak so far):");
    for (int phase = 0; phase < TransferBench::kPhases; ++phase)
        std::printf(" %.1f (%.1f)", figures[phase].workingSet.nowMiB,
                    figures[phase].workingSet.peakMiB);
    std::printf("\n");
    std::fflush(stdout);
}

std::string Range(const bench_support::Spread& spread, const char* format)
{
    char text[64];
    std::snprintf(text, sizeof text, format, spread.least, spread.most);
    return text;
}

void PrintSummary(const std::vector<TransferBench::RunFigures>& runs)
{
    std::printf("over %d runs: %10s  %-13s  %10s  %s\n", static_cast<int>(runs.size()), "median ms",
                "range ms", "x copy", "range x copy");
    for (int phase = 0; phase < TransferBench::kPhases; ++phase)
    {
        std::vector<double> milliseconds, ratios;
        for (const TransferBench::RunFigures& run : runs)
        {
            milliseconds.push_back(run[phase].milliseconds);
            ratios.push_back(run[phase].milliseconds / run[TransferBench::kCopy].milliseconds);
        }
        const bench_support::Spread time = bench_support::SpreadOf(milliseconds);
        const bench_support::Spread ratio = bench_support::SpreadOf(ratios);
        std::printf("  %-10s %10.0f  %-13s  %10.2f  %s\n", TransferBench::kPhaseNames[phase],
                    time.median, Range(time, "%.0f-%.0f").c_str(), ratio.median,
                    Range(ratio, "%.2f-%.2f").c_str());
    }
}
} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options))
    {
        std::fputs(kUsage, stderr);
        return 2;
    }
    dialog_testing::PrepareAgent();
    const TransferLayout layout(options.files, static_cast<size_t>(options.size));
    std::printf("%d files of %d bytes (%.1f MB) in \\QXRepo\\Transfer: %d in the folder itself, "
                "the rest in %d sub folders of up to %d; %d runs\n",
                layout.Files(), options.size,
                layout.Files() * static_cast<double>(options.size) / 1e6,
                layout.Files() < TransferLayout::kFilesPerFolder ? layout.Files()
                                                                 : TransferLayout::kFilesPerFolder,
                layout.Folders() - 1, TransferLayout::kFilesPerFolder, options.runs);
    std::printf("get-latest: one GetLatestVersion of the folder; check-out: one DoCheckOut per "
                "file; check-in: per folder one CreateItemPath and one DoCheckIn of its files\n");
    std::fflush(stdout);

    TempFolder work;
    TransferBench bench(layout, work.Path());
    if (!bench.Prepare() || !bench.LogIn())
        return 1;
    const TransferBench::WorkingSet before = TransferBench::ProcessWorkingSet();
    std::printf("working set before the first run: %.1f MiB (peak %.1f)\n", before.nowMiB,
                before.peakMiB);
    std::fflush(stdout);

    std::vector<TransferBench::RunFigures> runs;
    for (int run = 1; run <= options.runs; ++run)
    {
        runs.push_back(bench.Run(run));
        PrintRun(run, runs.back());
    }
    PrintSummary(runs);
    if (bench.Wrongs() == 0)
        return 0;
    std::printf("transfer_bench: %d things came out WRONG (the first are listed above)\n",
                bench.Wrongs());
    return 1;
}
