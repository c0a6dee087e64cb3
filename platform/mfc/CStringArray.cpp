#include <windows.h>

#include "afxwin.h"

IMPLEMENT_DYNAMIC(CStringArray, CObject)

CStringArray::CStringArray() : m_pData(NULL), m_nSize(0), m_nMaxSize(0) {}

CStringArray::CStringArray(const CStringArray& other) : CStringArray()
{
    Copy(other);
}

CStringArray& CStringArray::operator=(const CStringArray& other)
{
    if (this != &other)
        Copy(other);
    return *this;
}

CStringArray::~CStringArray()
{
    delete[] m_pData;
}

void CStringArray::SetSize(INT_PTR nNewSize, INT_PTR)
{
    if (nNewSize < 0)
        nNewSize = 0;
    if (nNewSize > m_nMaxSize)
    {
        INT_PTR capacity = m_nMaxSize + m_nMaxSize / 2;
        if (capacity < nNewSize)
            capacity = nNewSize;
        if (capacity < 4)
            capacity = 4;
        CString* data = new CString[capacity];
        for (INT_PTR i = 0; i < m_nSize; ++i)
            data[i] = m_pData[i];
        delete[] m_pData;
        m_pData = data;
        m_nMaxSize = capacity;
    }
    for (INT_PTR i = nNewSize; i < m_nSize; ++i)
        m_pData[i].Empty();
    m_nSize = nNewSize;
}

void CStringArray::RemoveAll()
{
    SetSize(0);
}

const CString& CStringArray::GetAt(INT_PTR nIndex) const
{
    return m_pData[nIndex];
}

CString& CStringArray::ElementAt(INT_PTR nIndex)
{
    return m_pData[nIndex];
}

void CStringArray::SetAt(INT_PTR nIndex, LPCSTR newElement)
{
    m_pData[nIndex] = newElement;
}

void CStringArray::SetAtGrow(INT_PTR nIndex, LPCSTR newElement)
{
    if (nIndex >= m_nSize)
        SetSize(nIndex + 1);
    m_pData[nIndex] = newElement;
}

INT_PTR CStringArray::Add(LPCSTR newElement)
{
    INT_PTR index = m_nSize;
    SetAtGrow(index, newElement);
    return index;
}

INT_PTR CStringArray::Add(const CString& newElement)
{
    INT_PTR index = m_nSize;
    SetSize(index + 1);
    m_pData[index] = newElement;
    return index;
}

INT_PTR CStringArray::Append(const CStringArray& src)
{
    INT_PTR first = m_nSize;
    INT_PTR count = src.m_nSize;
    SetSize(first + count);
    for (INT_PTR i = 0; i < count; ++i)
        m_pData[first + i] = src.m_pData[i];
    return first;
}

void CStringArray::Copy(const CStringArray& src)
{
    if (this == &src)
        return;
    RemoveAll();
    Append(src);
}

void CStringArray::InsertAt(INT_PTR nIndex, LPCSTR newElement, INT_PTR nCount)
{
    if (nIndex < 0 || nCount <= 0)
        return;
    CString element(newElement);
    INT_PTR oldSize = m_nSize;
    SetSize((nIndex > oldSize ? nIndex : oldSize) + nCount);
    for (INT_PTR i = oldSize - 1; i >= nIndex; --i)
        m_pData[i + nCount] = m_pData[i];
    for (INT_PTR i = 0; i < nCount; ++i)
        m_pData[nIndex + i] = element;
}

void CStringArray::RemoveAt(INT_PTR nIndex, INT_PTR nCount)
{
    if (nIndex < 0 || nCount <= 0 || nIndex >= m_nSize)
        return;
    if (nIndex + nCount > m_nSize)
        nCount = m_nSize - nIndex;
    for (INT_PTR i = nIndex; i + nCount < m_nSize; ++i)
        m_pData[i] = m_pData[i + nCount];
    SetSize(m_nSize - nCount);
}
