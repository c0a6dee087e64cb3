#include <windows.h>

#include "CiFileEx.h"

CiFileEx::CiFileEx() : m_bNew(0) {}

CiFileEx::CiFileEx(const CiFileEx& other)
    : m_sFileName(other.m_sFileName), m_bNew(other.m_bNew), m_sFilePath(other.m_sFilePath)
{
}

CiFileEx& CiFileEx::operator=(const CiFileEx& other)
{
    m_sFileName = other.m_sFileName;
    m_bNew = other.m_bNew;
    m_sFilePath = other.m_sFilePath;
    return *this;
}

CiFileEx::~CiFileEx() {}
