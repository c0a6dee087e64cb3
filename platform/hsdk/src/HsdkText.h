#pragma once

#include <string>

// The library speaks the process's ANSI code page (949); the broker speaks UTF-8.
class HsdkText
{
public:
    static std::string ToWire(const char* ansi);
    static std::string FromWire(const std::string& utf8);
};
