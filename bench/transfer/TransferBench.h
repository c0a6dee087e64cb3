#pragma once
#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "CaHarvest.h"
#include "DialogTesting.h"
#include "TransferLayout.h"

// One process, one broker: seeds a repository folder of the layout's files, then per run times
// a local copy of the same files and the agent's get-latest, check-out and check-in of them, as
// the library's dialogs call it, and checks the files, the output log and the repository after
// each phase.
class TransferBench
{
public:
    enum Phase
    {
        kCopy,
        kGetLatest,
        kCheckOut,
        kCheckIn,
        kPhases
    };
    static const char* const kPhaseNames[kPhases];

    // The whole process's working set, now and at its peak so far.
    struct WorkingSet
    {
        double nowMiB = 0;
        double peakMiB = 0;
    };
    // How long a phase took, and the working set right after it, before the phase's checks.
    struct Measured
    {
        double milliseconds = 0;
        WorkingSet workingSet;
    };
    using RunFigures = std::array<Measured, kPhases>;

    TransferBench(const TransferLayout& layout, const std::string& workFolder);

    // Adds the files to the repository through admin requests and writes the local copy's
    // source; false when the broker refuses.
    bool Prepare();
    // Logs the agent and the bench's own session in; false when refused.
    bool LogIn();
    RunFigures Run(int run);
    // How many things came out wrong so far; the first few are printed as they are found.
    int Wrongs() const { return m_wrongs; }

    static WorkingSet ProcessWorkingSet();

private:
    static const char* const kOutputTitles[kPhases];

    enum Attribute
    {
        kReadOnly,
        kWritable,
        kAsLeft
    };
    using ExpectedLine = std::function<std::string(int file)>;

    static Measured Measure(const std::function<void()>& work);
    Measured Copy(const std::string& target);
    Measured GetLatest(int run, const std::string& root);
    Measured CheckOut(int run, const std::string& folder);
    Measured CheckIn(int run, const std::string& folder);

    Measured MeasureAgentCalls(Phase phase, const std::function<int()>& failedCalls,
                               const ExpectedLine& expected);
    void CheckFiles(const char* phase, const std::string& folder, int generation,
                    Attribute attribute);
    void CheckRepository(int run);
    void Wrong(const std::string& text);

    std::string ItemPath(int file) const;
    std::string LocalPath(const std::string& folder, int file) const;

    TransferLayout m_layout;
    std::string m_work;
    std::string m_source;
    std::string m_machine;
    CaHarvest m_harvest;
    dialog_testing::MessageBoxes m_boxes;
    size_t m_boxesSeen = 0;
    int m_wrongs = 0;
};
