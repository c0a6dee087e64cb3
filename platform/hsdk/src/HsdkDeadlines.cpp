#include <windows.h>

#include "HsdkDeadlines.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace
{
const unsigned long kDefaultConnectMs = 3000;
const unsigned long kDefaultReplyMs = 30000;
const unsigned long kLongestMs = 600000;

std::string IniFile()
{
    HMODULE module = nullptr;
    char path[MAX_PATH] = "";
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&HsdkDeadlines::Load), &module);
    const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::string();
    char* name = std::strrchr(path, '\\');
    if (!name)
        return std::string();
    std::strcpy(name + 1, "HSDK.ini");
    return path;
}

// A value outside 1 ms to 10 minutes, or no number at all, leaves the default.
unsigned long Milliseconds(const char* variable, const char* key, const std::string& ini,
                           unsigned long fallback)
{
    char text[32] = "";
    const char* value = std::getenv(variable);
    if (!value || !*value)
    {
        if (!ini.empty())
            GetPrivateProfileStringA("Connection", key, "", text, sizeof(text), ini.c_str());
        value = text;
    }
    char* end = nullptr;
    const unsigned long number = std::strtoul(value, &end, 10);
    return end != value && *end == '\0' && number >= 1 && number <= kLongestMs ? number : fallback;
}
} // namespace

HsdkDeadlines HsdkDeadlines::Load()
{
    const std::string ini = IniFile();
    return {Milliseconds("HSDK_CONNECT_TIMEOUT_MS", "ConnectTimeoutMs", ini, kDefaultConnectMs),
            Milliseconds("HSDK_REPLY_TIMEOUT_MS", "ReplyTimeoutMs", ini, kDefaultReplyMs)};
}
