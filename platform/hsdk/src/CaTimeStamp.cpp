#include <windows.h>

#include "CaTimeStamp.h"

CaTimeStamp::CaTimeStamp() : CaTimeStamp(0, 0, 0, 0, 0, 0) {}

CaTimeStamp::CaTimeStamp(int year, int month, int day, int hour, int minute, int second)
    : m_nYear(year), m_nMonth(month), m_nDay(day), m_nHour(hour), m_nMinute(minute),
      m_nSecond(second)
{
}

CaTimeStamp::CaTimeStamp(const CaTimeStamp& other) = default;

CaTimeStamp::~CaTimeStamp() = default;

CaTimeStamp& CaTimeStamp::operator=(const CaTimeStamp& other) = default;

int CaTimeStamp::GetYear() const
{
    return m_nYear;
}

int CaTimeStamp::GetMonth() const
{
    return m_nMonth;
}

int CaTimeStamp::GetDay() const
{
    return m_nDay;
}

int CaTimeStamp::GetHour() const
{
    return m_nHour;
}

int CaTimeStamp::GetMinute() const
{
    return m_nMinute;
}

int CaTimeStamp::GetSecond() const
{
    return m_nSecond;
}
