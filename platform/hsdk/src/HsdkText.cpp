#include <windows.h>

#include "HsdkText.h"

#include <cstring>

namespace
{
std::string Convert(const char* text, int length, UINT from, UINT to)
{
    if (length == 0)
        return std::string();
    const int wideLength = MultiByteToWideChar(from, 0, text, length, nullptr, 0);
    std::wstring wide(wideLength, L'\0');
    MultiByteToWideChar(from, 0, text, length, &wide[0], wideLength);
    const int narrowLength =
        WideCharToMultiByte(to, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string narrow(narrowLength, '\0');
    WideCharToMultiByte(to, 0, wide.data(), wideLength, &narrow[0], narrowLength, nullptr, nullptr);
    return narrow;
}
} // namespace

std::string HsdkText::ToWire(const char* ansi)
{
    return ansi ? Convert(ansi, static_cast<int>(std::strlen(ansi)), CP_ACP, CP_UTF8)
                : std::string();
}

std::string HsdkText::FromWire(const std::string& utf8)
{
    return Convert(utf8.data(), static_cast<int>(utf8.size()), CP_UTF8, CP_ACP);
}
