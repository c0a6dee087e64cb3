#pragma once

#include "CaString.h"

// One element of a container: null, an integer or a text.
class HSDK_API CaData
{
public:
    enum
    {
        typeNull = 0,
        typeInteger = 1,
        typeText = 2
    };

    CaData();
    explicit CaData(long value);
    explicit CaData(const char* text);
    CaData(const CaData& other);
    ~CaData();
    CaData& operator=(const CaData& other);

    bool IsNull() const;
    int GetType() const;
    // Text as it is; an integer as decimal text; null as an empty text.
    operator const char*() const;
    operator long() const;
    long GetLong() const;
    int GetInt() const;

private:
    int m_nType;
    long m_lValue;
    CaString m_sText;
};
