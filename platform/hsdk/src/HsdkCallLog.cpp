#include <windows.h>

#include "HsdkCallLog.h"

#include <cstdio>
#include <cstdlib>

#include "CaException.h"
#include "HsdkGuard.h"

namespace
{
struct State
{
    bool recording = false;
    bool passNextCall = false;
    std::vector<std::string> calls;
    // Waiting in the order they were given; each with whether it has applied yet.
    std::vector<std::pair<std::shared_ptr<HsdkScript>, bool>> scripts;
};

State& TheState()
{
    static State state;
    return state;
}

void Trace(const std::string& line)
{
    const char* path = std::getenv("HSDK_TRACE");
    if (!path || !*path)
        return;
    if (FILE* file = std::fopen(path, "ab"))
    {
        std::fprintf(file, "%s\r\n", line.c_str());
        std::fclose(file);
    }
}

void Note(const char* call, const std::string& arguments) noexcept
{
    try
    {
        const std::string line = std::string(call) + "(" + arguments + ")";
        if (TheState().recording)
            TheState().calls.push_back(line);
        Trace(line);
    }
    catch (...)
    {
        // No call fails for its record.
    }
}

// Counts the call for every script waiting for it; gives the probes due and the first other
// script due, and drops those that apply only once.
void Due(const char* call, const std::string& arguments,
         std::vector<std::shared_ptr<HsdkScript>>& probes, std::shared_ptr<HsdkScript>& applied)
{
    auto& scripts = TheState().scripts;
    for (auto waiting = scripts.begin(); waiting != scripts.end();)
    {
        HsdkScript& script = *waiting->first;
        const bool due = script.Counts(call, arguments);
        if (due && script.m_probe)
            probes.push_back(waiting->first);
        else if (due && !applied)
            applied = waiting->first;
        else
        {
            ++waiting;
            continue;
        }
        waiting->second = true;
        waiting = script.Stays() ? waiting + 1 : scripts.erase(waiting);
    }
}
} // namespace

std::shared_ptr<const HsdkScript> HsdkCallLog::Enter(const char* call, const std::string& arguments)
{
    State& state = TheState();
    if (state.passNextCall)
    {
        state.passNextCall = false;
        return nullptr;
    }
    Note(call, arguments);
    if (state.scripts.empty())
        return nullptr;
    std::vector<std::shared_ptr<HsdkScript>> probes;
    std::shared_ptr<HsdkScript> applied;
    HsdkGuard::Throwing(
        [&]
        {
            Due(call, arguments, probes, applied);
            for (const std::shared_ptr<HsdkScript>& probe : probes)
                probe->m_probe(arguments);
        });
    if (applied && applied->m_bThrows)
        throw CaException(false, applied->m_sText.c_str());
    return applied;
}

void HsdkCallLog::Record(const char* call) noexcept
{
    Note(call, std::string());
}

void HsdkCallLog::PassNextCall()
{
    TheState().passNextCall = true;
}

std::string HsdkCallLog::Masked(const char* password)
{
    return password && *password ? "***" : "";
}

void HsdkCallLog::StartRecording()
{
    TheState().recording = true;
}

void HsdkCallLog::StopRecording()
{
    TheState().recording = false;
}

std::vector<std::string> HsdkCallLog::RecordedCalls()
{
    return TheState().calls;
}

void HsdkCallLog::ClearRecordedCalls()
{
    TheState().calls.clear();
}

void HsdkCallLog::AddScript(const HsdkScript& script)
{
    TheState().scripts.emplace_back(std::make_shared<HsdkScript>(script), false);
}

std::vector<std::string> HsdkCallLog::UnusedScripts()
{
    std::vector<std::string> calls;
    for (const auto& waiting : TheState().scripts)
        if (!waiting.second)
            calls.push_back(waiting.first->Call());
    return calls;
}

void HsdkCallLog::ClearScripts()
{
    TheState().scripts.clear();
}

std::string HsdkCallLog::Join(std::initializer_list<std::string> arguments)
{
    std::string text;
    for (const std::string& argument : arguments)
    {
        if (&argument != arguments.begin())
            text += ", ";
        text += argument;
    }
    return text;
}

std::string HsdkCallLog::Text(const std::string& text)
{
    return text;
}

std::string HsdkCallLog::Text(const char* text)
{
    return text ? text : "";
}

std::string HsdkCallLog::Text(bool value)
{
    return value ? "true" : "false";
}

std::string HsdkCallLog::Text(int value)
{
    return std::to_string(value);
}

std::string HsdkCallLog::Text(long value)
{
    return std::to_string(value);
}

std::string HsdkCallLog::Text(unsigned long value)
{
    return std::to_string(value);
}

std::string HsdkCallLog::Text(const CaStringList& list)
{
    std::string text = "{";
    for (int i = 0; i < list.GetSize(); ++i)
        text += (i ? ", " : "") + std::string(list[i]);
    return text + "}";
}

std::string HsdkCallLog::Text(CaCallBack callBack)
{
    return callBack ? "callback" : "null";
}
