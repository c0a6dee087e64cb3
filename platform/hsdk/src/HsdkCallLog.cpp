#include <windows.h>

#include "HsdkCallLog.h"

#include <cstdio>
#include <cstdlib>
#include <map>

#include "CaException.h"

namespace
{
struct Failure
{
    bool throws;
    int result;
    std::string text;
};

struct State
{
    bool recording = false;
    std::vector<std::string> calls;
    std::map<std::string, Failure> failures;
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
} // namespace

bool HsdkCallLog::Enter(const char* call, const std::string& arguments, int* forcedResult)
{
    State& state = TheState();
    Failure failure{false, 0, std::string()};
    try
    {
        const std::string line = std::string(call) + "(" + arguments + ")";
        if (state.recording)
            state.calls.push_back(line);
        Trace(line);
        const auto asked = state.failures.find(call);
        if (asked == state.failures.end())
            return false;
        failure = asked->second;
    }
    catch (...)
    {
        return false;
    }
    if (failure.throws)
        throw CaException(false, failure.text.c_str());
    *forcedResult = failure.result;
    return true;
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

void HsdkCallLog::FailCall(const char* call, int result)
{
    TheState().failures[call] = Failure{false, result, std::string()};
}

void HsdkCallLog::ThrowOnCall(const char* call, const char* text)
{
    TheState().failures[call] = Failure{true, 0, text ? text : ""};
}

void HsdkCallLog::ClearFailures()
{
    TheState().failures.clear();
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
