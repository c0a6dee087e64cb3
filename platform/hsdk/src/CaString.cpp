#include <windows.h>

#include "CaString.h"

#include <cstring>
#include <new>

namespace
{
char g_noText[1] = "";

// Never throws: CaException holds a CaString and is caught by value, so a copy that threw would
// end the process. Without memory the copy is the empty text.
char* CopyText(const char* text)
{
    const size_t length = text ? std::strlen(text) : 0;
    char* copy = length ? new (std::nothrow) char[length + 1] : nullptr;
    if (!copy)
        return g_noText;
    std::memcpy(copy, text, length);
    copy[length] = '\0';
    return copy;
}

void FreeText(char* text)
{
    if (text != g_noText)
        delete[] text;
}
} // namespace

CaString::CaString() : m_pszText(CopyText(nullptr)) {}

CaString::CaString(const char* text) : m_pszText(CopyText(text)) {}

CaString::CaString(const CaString& other) : m_pszText(CopyText(other.m_pszText)) {}

CaString::~CaString()
{
    FreeText(m_pszText);
}

CaString& CaString::operator=(const CaString& other)
{
    if (this != &other)
    {
        char* copy = CopyText(other.m_pszText);
        FreeText(m_pszText);
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
