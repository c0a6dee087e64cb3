#include <windows.h>

#include "CaData.h"

#include <cstdio>
#include <cstdlib>

CaData::CaData() : m_nType(typeNull), m_lValue(0) {}

CaData::CaData(long value) : m_nType(typeInteger), m_lValue(value)
{
    char text[24];
    std::snprintf(text, sizeof(text), "%ld", value);
    m_sText = text;
}

CaData::CaData(const char* text)
    : m_nType(text ? typeText : typeNull), m_lValue(text ? std::strtol(text, nullptr, 10) : 0),
      m_sText(text)
{
}

CaData::CaData(const CaData& other) = default;

CaData::~CaData() = default;

CaData& CaData::operator=(const CaData& other) = default;

bool CaData::IsNull() const
{
    return m_nType == typeNull;
}

int CaData::GetType() const
{
    return m_nType;
}

CaData::operator const char*() const
{
    return m_sText;
}

CaData::operator long() const
{
    return m_lValue;
}

long CaData::GetLong() const
{
    return m_lValue;
}

int CaData::GetInt() const
{
    return static_cast<int>(m_lValue);
}
