#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "CaCallBack.h"
#include "CaStringList.h"
#include "HsdkScript.h"

// The record of calls and the scripts tests give for them (HsdkTesting.h), and the HSDK_TRACE
// file.
class HsdkCallLog
{
public:
    // Records one call and runs the probes that wait for it; gives the script that applies to it
    // (null when none), or throws the CaException a script asks for. Nothing else leaves it.
    static std::shared_ptr<const HsdkScript> Enter(const char* call, const std::string& arguments);
    // Records a call that no script may change (a destructor).
    static void Record(const char* call) noexcept;
    // The next call is entered without record or script: a scripted process doing its own work.
    static void PassNextCall();

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
    // A password as the record shows it: whether one was given, never its text.
    static std::string Masked(const char* password);

    static void StartRecording();
    static void StopRecording();
    static std::vector<std::string> RecordedCalls();
    static void ClearRecordedCalls();
    static void AddScript(const HsdkScript& script);
    static std::vector<std::string> UnusedScripts();
    static void ClearScripts();

private:
    static std::string Join(std::initializer_list<std::string> arguments);
    static std::string Text(const std::string& text);
    static std::string Text(const char* text);
    static std::string Text(bool value);
    static std::string Text(int value);
    static std::string Text(long value);
    static std::string Text(unsigned long value);
    static std::string Text(const CaStringList& list);
    static std::string Text(CaCallBack callBack);
};

// Enters a call; when a script applies, returns from the calling function with result: forced_
// (the scripted result, as the function's own type), or nothing in a function without one.
#define HSDK_ENTER(call, result, ...)                                                              \
    do                                                                                             \
    {                                                                                              \
        const std::shared_ptr<const HsdkScript> script_ =                                          \
            HsdkCallLog::Enter(call, HsdkCallLog::Arguments(__VA_ARGS__));                         \
        if (script_)                                                                               \
        {                                                                                          \
            [[maybe_unused]] const HsdkScript& forced_ = *script_;                                 \
            return result;                                                                         \
        }                                                                                          \
    } while (false)

// Enters a call whose result stays its own (a test may still make it throw or probe it).
#define HSDK_RECORD(call, ...) HsdkCallLog::Enter(call, HsdkCallLog::Arguments(__VA_ARGS__))

// Enters a call that applies its script itself, named script (null when none applies).
#define HSDK_ENTER_SCRIPTED(script, call, ...)                                                     \
    const std::shared_ptr<const HsdkScript> script =                                               \
        HsdkCallLog::Enter(call, HsdkCallLog::Arguments(__VA_ARGS__))
