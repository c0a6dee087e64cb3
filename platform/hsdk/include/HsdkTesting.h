#pragma once

#include <functional>
#include <string>
#include <vector>

#include "CaContainer.h"
#include "CaTimeStamp.h"

// Seams for the tests of the library that uses the SDK; no product module calls them.
// tests/README.md shows a test scripting each kind.
namespace hsdk_testing
{
// The record: one line per call on CaHarvest (its construction and destruction too), CaContext,
// the choosers, CaSQL, the processes, CaItem::GetItemPathList and CaStringList::Add, such as
// "CaVersionChooser::SetParentPath(\QXRepo\Screens)": arguments joined by ", ", empty ones
// keeping their place; the login's password shows as *** (empty when none was given).
HSDK_API void StartRecording();
HSDK_API void StopRecording();
HSDK_API std::vector<std::string> GetRecordedCalls();
HSDK_API void ClearRecordedCalls();

// One version as the chooser gives it. A null text is a null element of the version list and
// an empty text of the CaVersion.
struct Version
{
    unsigned long objId = 0;
    const char* itemName = nullptr;
    // The folder's view path, a backslash and the item name.
    const char* fullPath = nullptr;
    const char* versionName = nullptr;
    const char* status = nullptr;
    const char* modifier = nullptr;
    const char* package = nullptr;
    const char* description = nullptr;
    const char* clientMachine = nullptr;
    const char* clientPath = nullptr;
    CaTimeStamp modified;
};

// One entry of an item list.
struct Item
{
    long objId = 0;
    const char* name = nullptr;
    bool isFolder = true;
    long repositoryObjId = 0;
};

// Whether a scripted process also does its own work after the scripted messages.
enum Work
{
    skipWork,
    doWork
};

// A script for the calls of one name (as the record names them, "CaSQL::Execute"): by default
// the next such call only. Several scripts may wait for the same call: the one given first
// applies, and every probe that matches runs before it.
class HSDK_API OnCall
{
public:
    explicit OnCall(const char* call);
    ~OnCall();
    OnCall(const OnCall&) = delete;
    OnCall& operator=(const OnCall&) = delete;

    // Only the n-th of those calls from now (1 is the next).
    OnCall& Occurrence(int n);
    // Only calls whose recorded arguments contain the text.
    OnCall& WithArgument(const char* text);
    // Every such call from then on, not once.
    OnCall& Always();

    // The call returns this instead of doing its work: an int result the number, a bool result
    // non-zero, a list or container an empty one; a setter does nothing.
    void Return(int result) const;
    void Return(bool result) const;
    // A text getter's value.
    void Return(const char* text) const;
    // The rows of a container result (CaSQL::GetSQLResult, the project, state and package lists).
    void ReturnRows(const CaContainer& rows) const;
    // The entries of CaContext::GetItemList or CaItem::GetItemPathList.
    void ReturnItems(const std::vector<Item>& items) const;
    // CaVersionChooser::Execute returns 0 with these versions chosen, for its lists and for the
    // processes that follow.
    void ChooseVersions(const std::vector<Version>& versions) const;
    // CaCheckout::Execute or CaCheckin::Execute hands these messages to its callback in order,
    // does its own work (with its own messages) when asked, and returns result.
    void Deliver(const std::vector<CaContainer>& messages, int result, Work work = skipWork) const;
    // The call throws CaException(false, text).
    void Throw(const char* text) const;
    // Runs before the call's work, given the call's recorded arguments; the call then goes on as
    // any other script or its own work has it. Whatever the probe throws leaves the call as
    // CaException.
    void Probe(const std::function<void(const std::string& arguments)>& probe) const;

private:
    // Builds a script for the calls described, lets fill say what it does, and adds it.
    void Add(const std::function<void(HsdkScript& script)>& fill) const;

    std::string m_sCall;
    std::string m_sArgument;
    int m_nOccurrence;
    bool m_bAlways;
};

// The calls named by scripts that have applied to no call yet.
HSDK_API std::vector<std::string> UnusedScripts();
HSDK_API void ClearScripts();

// Sends one admin request (JSON) to the broker at 127.0.0.1:HARBROKER_PORT as the sample's
// administrator and returns the reply (JSON), or {"ok":false,"error":...} when unreachable.
HSDK_API std::string Admin(const char* requestJson);
// The same with a payload, the file bytes some admin requests carry.
HSDK_API std::string Admin(const char* requestJson, const std::string& payload);
} // namespace hsdk_testing
