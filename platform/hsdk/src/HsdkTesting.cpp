#include <windows.h>

#include "HsdkTesting.h"

#include "HsdkCallLog.h"
#include "HsdkGuard.h"
#include "HsdkSession.h"

namespace hsdk_testing
{
void StartRecording()
{
    HsdkCallLog::StartRecording();
}

void StopRecording()
{
    HsdkCallLog::StopRecording();
}

std::vector<std::string> GetRecordedCalls()
{
    return HsdkGuard::Throwing([] { return HsdkCallLog::RecordedCalls(); });
}

void ClearRecordedCalls()
{
    HsdkCallLog::ClearRecordedCalls();
}

void FailCall(const char* call, int result)
{
    HsdkGuard::Throwing([&] { HsdkCallLog::FailCall(call, result); });
}

void ThrowOnCall(const char* call, const char* text)
{
    HsdkGuard::Throwing([&] { HsdkCallLog::ThrowOnCall(call, text); });
}

void ClearFailures()
{
    HsdkCallLog::ClearFailures();
}

std::string Admin(const char* requestJson)
{
    return Admin(requestJson, std::string());
}

std::string Admin(const char* requestJson, const std::string& payload)
{
    return HsdkGuard::Throwing([&] { return HsdkSession::Admin(requestJson, payload); });
}
} // namespace hsdk_testing
