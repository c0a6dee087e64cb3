#include <windows.h>

#include "CaString.h"

#include <cstring>

namespace
{
char* CopyText(const char* text)
{
    const size_t length = text ? std::strlen(text) : 0;
    char* copy = new char[length + 1];
    std::memcpy(copy, text ? text : "", length);
    copy[length] = '\0';
    return copy;
}
} // namespace

CaString::CaString() : m_pszText(CopyText(nullptr)) {}

CaString::CaString(const char* text) : m_pszText(CopyText(text)) {}

CaString::CaString(const CaString& other) : m_pszText(CopyText(other.m_pszText)) {}

CaString::~CaString()
{
    delete[] m_pszText;
}

CaString& CaString::operator=(const CaString& other)
{
    if (this != &other)
    {
        char* copy = CopyText(other.m_pszText);
        delete[] m_pszText;
        m_pszText = copy;
    }
    return *this;
}

CaString::operator const char*() const
{
    return m_pszText;
}

bool CaString::operator==(const char* text) const
{
    return std::strcmp(m_pszText, text ? text : "") == 0;
}

bool CaString::operator!=(const CaString& other) const
{
    return !(*this == other.m_pszText);
}

bool CaString::operator!=(const char* text) const
{
    return !(*this == text);
}

int CaString::GetLength() const
{
    return static_cast<int>(std::strlen(m_pszText));
}
