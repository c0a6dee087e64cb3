#pragma once
#include <windows.h>
#include <string>

// Conversions between UTF-16 and the calling thread's ANSI code page (949 for Korean names).

// Into out, whose storage is reused when it is large enough.
inline void ToNarrow(const wchar_t* text, int length, std::string& out)
{
    // Names and paths are mostly ASCII, which every ANSI code page keeps as it is.
    out.resize(length);
    int i = 0;
    while (i < length && text[i] < 0x80)
    {
        out[i] = static_cast<char>(text[i]);
        ++i;
    }
    if (i == length)
        return;
    const int size =
        WideCharToMultiByte(CP_THREAD_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    out.resize(size);
    WideCharToMultiByte(CP_THREAD_ACP, 0, text, length, out.data(), size, nullptr, nullptr);
}

inline std::string ToNarrow(const wchar_t* text, int length)
{
    std::string narrow;
    ToNarrow(text, length, narrow);
    return narrow;
}

inline std::wstring ToWide(const std::string& text)
{
    const int length = static_cast<int>(text.size());
    const int size = MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), length, nullptr, 0);
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), length, wide.data(), size);
    return wide;
}
