#include <windows.h>

#include "HsdkTesting.h"

#include "HsdkCallLog.h"
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
    return HsdkCallLog::RecordedCalls();
}

void ClearRecordedCalls()
{
    HsdkCallLog::ClearRecordedCalls();
}

void FailCall(const char* call, int result)
{
    HsdkCallLog::FailCall(call, result);
}

void ThrowOnCall(const char* call, const char* text)
{
    HsdkCallLog::ThrowOnCall(call, text);
}

void ClearFailures()
{
    HsdkCallLog::ClearFailures();
}

std::string Admin(const char* requestJson)
{
    return HsdkSession::Admin(requestJson, std::string());
}

std::string Admin(const char* requestJson, const std::string& payload)
{
    return HsdkSession::Admin(requestJson, payload);
}
} // namespace hsdk_testing
