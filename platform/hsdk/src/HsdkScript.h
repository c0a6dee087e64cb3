#pragma once

#include <functional>
#include <string>
#include <vector>

#include "CaCallBack.h"
#include "CaContainer.h"
#include "CaItemList.h"
#include "CaVersionList.h"
#include "HsdkTesting.h"

// What a test scripted for calls of one name (HsdkTesting.h): which of them it applies to, and
// what such a call then does instead of its work or before it.
class HsdkScript
{
public:
    HsdkScript(const std::string& call, const std::string& argument, int occurrence, bool always);

    // Counts a call when it is one this script waits for; true when the script is due.
    bool Counts(const char* call, const std::string& arguments);
    bool Stays() const { return m_bAlways; }
    const std::string& Call() const { return m_sCall; }

    // The scripted result as the type the call returns.
    template <typename Result> operator Result() const { return As<Result>(); }
    template <typename Result> Result As() const;

    // A process: the messages to its callback in order, then its own work when asked, then the
    // scripted result; a failure on the way is the process's failure result.
    int RunProcess(CaCallBack callBack, void* process, void* context,
                   const std::function<int()>& work) const;
    // A version chooser: its lists and the versions the processes act on, and the result.
    int Choose(CaVersionList& versions, CaContainer& list,
               std::vector<unsigned long>& chosen) const;

    void SetVersions(const std::vector<hsdk_testing::Version>& versions);
    void SetItems(const std::vector<hsdk_testing::Item>& items);

    int m_nResult;
    std::string m_sText;
    CaContainer m_rows;
    std::vector<CaContainer> m_messages;
    bool m_bWork;
    bool m_bThrows;
    std::function<void(const std::string& arguments)> m_probe;

private:
    std::string m_sCall;
    std::string m_sArgument;
    int m_nOccurrence;
    bool m_bAlways;
    int m_nSeen;
    CaItemList m_items;
    CaVersionList m_versions;
    std::vector<unsigned long> m_chosen;
};

template <> int HsdkScript::As<int>() const;
template <> bool HsdkScript::As<bool>() const;
template <> CaString HsdkScript::As<CaString>() const;
template <> CaContainer HsdkScript::As<CaContainer>() const;
template <> CaItemList HsdkScript::As<CaItemList>() const;
template <> CaVersionList HsdkScript::As<CaVersionList>() const;
