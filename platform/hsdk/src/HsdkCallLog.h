#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "CaCallBack.h"
#include "CaStringList.h"

// The record of calls and the failures tests ask for (HsdkTesting.h), and the HSDK_TRACE file.
class HsdkCallLog
{
public:
    // Records one call; throws CaException when a test asked for it, and nothing else; true
    // with the forced result when a test asked for a failure.
    static bool Enter(const char* call, const std::string& arguments, int* forcedResult);

    // The arguments joined by ", ", empty ones keeping their place. A record that cannot get
    // memory is left empty: no call fails for its record.
    template <typename... Args> static std::string Arguments(const Args&... args) noexcept
    {
        try
        {
            return Join({Text(args)...});
        }
        catch (...)
        {
            return std::string();
        }
    }

    static void StartRecording();
    static void StopRecording();
    static std::vector<std::string> RecordedCalls();
    static void ClearRecordedCalls();
    static void FailCall(const char* call, int result);
    static void ThrowOnCall(const char* call, const char* text);
    static void ClearFailures();

private:
    static std::string Join(std::initializer_list<std::string> arguments);
    static std::string Text(const char* text);
    static std::string Text(bool value);
    static std::string Text(int value);
    static std::string Text(long value);
    static std::string Text(unsigned long value);
    static std::string Text(const CaStringList& list);
    static std::string Text(CaCallBack callBack);
};

// Enters a call; returns from the calling function with the forced failure when there is one.
#define HSDK_ENTER(call, failed, ...)                                                              \
    do                                                                                             \
    {                                                                                              \
        int forced_ = 0;                                                                           \
        if (HsdkCallLog::Enter(call, HsdkCallLog::Arguments(__VA_ARGS__), &forced_))               \
            return failed;                                                                         \
    } while (false)

// Enters a call that has no failure result of its own (a test may still make it throw).
#define HSDK_RECORD(call, ...)                                                                     \
    do                                                                                             \
    {                                                                                              \
        int forced_ = 0;                                                                           \
        HsdkCallLog::Enter(call, HsdkCallLog::Arguments(__VA_ARGS__), &forced_);                   \
    } while (false)
