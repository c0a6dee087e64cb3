#pragma once

#include "HsdkApi.h"

// A local date and time, the year in full (2009).
class HSDK_API CaTimeStamp
{
public:
    CaTimeStamp();
    CaTimeStamp(int year, int month, int day, int hour, int minute, int second);
    CaTimeStamp(const CaTimeStamp& other);
    ~CaTimeStamp();
    CaTimeStamp& operator=(const CaTimeStamp& other);

    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;

private:
    int m_nYear;
    int m_nMonth;
    int m_nDay;
    int m_nHour;
    int m_nMinute;
    int m_nSecond;
};
