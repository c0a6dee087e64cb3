#include <windows.h>

#include "CiFile.h"

CiFile::CiFile() : m_bNew(0) {}

CiFile::CiFile(const CiFile& other) : m_sFileName(other.m_sFileName), m_bNew(other.m_bNew) {}

CiFile& CiFile::operator=(const CiFile& other)
{
    m_sFileName = other.m_sFileName;
    m_bNew = other.m_bNew;
    return *this;
}

CiFile::~CiFile() {}
