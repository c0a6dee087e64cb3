#include <windows.h>

#include "CaException.h"

CaException::CaException(bool severe, const char* text) : m_bSevere(severe), m_sText(text) {}

CaException::CaException(const CaException& other) = default;

CaException::~CaException() = default;

CaException& CaException::operator=(const CaException& other) = default;

bool CaException::IsSevere() const
{
    return m_bSevere;
}

const char* CaException::GetText() const
{
    return m_sText;
}
