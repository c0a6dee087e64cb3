#pragma once

#include "CaString.h"

// Thrown and caught by value. No virtual members: its type information is then emitted in every
// module that catches it, so a module that delay-loads HSDK.dll needs none of its data.
class HSDK_API CaException
{
public:
    CaException(bool severe, const char* text);
    CaException(const CaException& other);
    ~CaException();
    CaException& operator=(const CaException& other);

    bool IsSevere() const;
    const char* GetText() const;

private:
    bool m_bSevere;
    CaString m_sText;
};
