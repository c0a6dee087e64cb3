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

OnCall::OnCall(const char* call)
    : m_sCall(HsdkGuard::Throwing([&] { return std::string(call ? call : ""); })), m_nOccurrence(1),
      m_bAlways(false)
{
}

OnCall::~OnCall() = default;

OnCall& OnCall::Occurrence(int n)
{
    m_nOccurrence = n;
    return *this;
}

OnCall& OnCall::WithArgument(const char* text)
{
    HsdkGuard::Throwing([&] { m_sArgument = text ? text : ""; });
    return *this;
}

OnCall& OnCall::Always()
{
    m_bAlways = true;
    return *this;
}

void OnCall::Add(const std::function<void(HsdkScript& script)>& fill) const
{
    HsdkGuard::Throwing(
        [&]
        {
            HsdkScript script(m_sCall, m_sArgument, m_nOccurrence, m_bAlways);
            fill(script);
            HsdkCallLog::AddScript(script);
        });
}

void OnCall::Return(int result) const
{
    Add([&](HsdkScript& script) { script.m_nResult = result; });
}

void OnCall::Return(bool result) const
{
    Return(result ? 1 : 0);
}

void OnCall::Return(const char* text) const
{
    Add([&](HsdkScript& script) { script.m_sText = text ? text : ""; });
}

void OnCall::ReturnRows(const CaContainer& rows) const
{
    Add([&](HsdkScript& script) { script.m_rows = rows; });
}

void OnCall::ReturnItems(const std::vector<Item>& items) const
{
    Add([&](HsdkScript& script) { script.SetItems(items); });
}

void OnCall::ChooseVersions(const std::vector<Version>& versions) const
{
    Add([&](HsdkScript& script) { script.SetVersions(versions); });
}

void OnCall::Deliver(const std::vector<CaContainer>& messages, int result, Work work) const
{
    Add(
        [&](HsdkScript& script)
        {
            script.m_messages = messages;
            script.m_nResult = result;
            script.m_bWork = work == doWork;
        });
}

void OnCall::Throw(const char* text) const
{
    Add(
        [&](HsdkScript& script)
        {
            script.m_bThrows = true;
            script.m_sText = text ? text : "";
        });
}

void OnCall::Probe(const std::function<void(const std::string& arguments)>& probe) const
{
    Add([&](HsdkScript& script) { script.m_probe = probe; });
}

std::vector<std::string> UnusedScripts()
{
    return HsdkGuard::Throwing([] { return HsdkCallLog::UnusedScripts(); });
}

void ClearScripts()
{
    HsdkCallLog::ClearScripts();
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
