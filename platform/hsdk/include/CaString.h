#pragma once

#include "HsdkApi.h"

// A narrow text in the process's ANSI code page.
class HSDK_API CaString
{
public:
    CaString();
    CaString(const char* text);
    CaString(const CaString& other);
    ~CaString();
    CaString& operator=(const CaString& other);

    operator const char*() const;
    bool operator==(const char* text) const;
    bool operator!=(const CaString& other) const;
    bool operator!=(const char* text) const;
    int GetLength() const;

private:
    char* m_pszText;
};
