#include <windows.h>

#include "afxwin.h"
#include "AfxInternal.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <new>
#include <utility>

namespace
{

// The shared empty string: locked (-1), length 0, terminator.
long afxEmptyData[] = {-1, 0, 0, 0};
LPSTR const afxEmptyString = reinterpret_cast<LPSTR>(afxEmptyData + 3);

bool IsSpace(char ch, LPCSTR)
{
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\v' || ch == '\f';
}

bool IsChar(char ch, LPCSTR target)
{
    return ch == *target;
}

bool IsInSet(char ch, LPCSTR set)
{
    return ch != '\0' && strchr(set, ch) != NULL;
}

char LowerAscii(char ch)
{
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch + 32) : ch;
}

char UpperAscii(char ch)
{
    return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 32) : ch;
}

// Whether the character (one or two bytes) at ch occurs in set, character by character.
bool SetContains(LPCSTR set, LPCSTR ch, int len)
{
    for (LPCSTR p = set; *p;)
    {
        int n = AfxCharLength(p);
        if (n == len && memcmp(p, ch, len) == 0)
            return true;
        p += n;
    }
    return false;
}

// A match must cover whole characters: the last byte of a needle must not be the lead byte
// of a double-byte character in the text.
bool CoversWholeCharacters(LPCSTR p, int length)
{
    LPCSTR q = p;
    while (q - p < length)
        q += AfxCharLength(q);
    return q - p == length;
}

} // namespace

bool AfxIsLeadByte(char ch)
{
    static const struct LeadBytes
    {
        bool lead[256];
        LeadBytes() : lead()
        {
            for (int b = 0; b < 256; ++b)
                lead[b] = IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(b)) != FALSE;
        }
    } table;
    return table.lead[static_cast<unsigned char>(ch)];
}

int AfxCharLength(LPCSTR p)
{
    return AfxIsLeadByte(*p) && p[1] != '\0' ? 2 : 1;
}

CString::CString()
{
    Init();
}

CString::CString(const CString& stringSrc)
{
    if (stringSrc.GetData()->nRefs >= 0)
    {
        m_pchData = stringSrc.m_pchData;
        InterlockedIncrement(&GetData()->nRefs);
    }
    else
        Init();
}

CString::CString(LPCSTR lpsz)
{
    Init();
    if (lpsz != NULL && IS_INTRESOURCE(lpsz))
        LoadString(LOWORD(reinterpret_cast<UINT_PTR>(lpsz)));
    else if (lpsz != NULL)
        AssignCopy(static_cast<int>(strlen(lpsz)), lpsz);
}

CString::CString(LPCSTR lpch, int nLength)
{
    Init();
    if (lpch != NULL && nLength > 0)
        AssignCopy(nLength, lpch);
}

CString::CString(char ch, int nRepeat)
{
    Init();
    if (nRepeat > 0)
    {
        AllocBuffer(nRepeat);
        memset(m_pchData, ch, nRepeat);
    }
}

CString::~CString()
{
    Release();
}

void CString::Init()
{
    m_pchData = afxEmptyString;
}

void CString::AllocBuffer(int nLen)
{
    if (nLen <= 0)
    {
        Init();
        return;
    }
    CStringData* data = static_cast<CStringData*>(malloc(sizeof(CStringData) + nLen + 1));
    if (data == NULL)
        throw std::bad_alloc();
    data->nRefs = 1;
    data->nDataLength = nLen;
    data->nAllocLength = nLen;
    data->data()[nLen] = '\0';
    m_pchData = data->data();
}

void CString::Release()
{
    CStringData* data = GetData();
    if (data->nRefs >= 0 && InterlockedDecrement(&data->nRefs) <= 0)
        free(data);
    Init();
}

void CString::CopyBeforeWrite()
{
    if (GetData()->nRefs > 1)
    {
        CStringData* old = GetData();
        Release();
        AllocBuffer(old->nDataLength);
        memcpy(m_pchData, old->data(), old->nDataLength + 1);
    }
}

void CString::AllocBeforeWrite(int nLen)
{
    if (GetData()->nRefs > 1 || nLen > GetData()->nAllocLength)
    {
        Release();
        AllocBuffer(nLen);
    }
}

void CString::AssignCopy(int nSrcLen, LPCSTR lpszSrcData)
{
    AllocBeforeWrite(nSrcLen);
    if (nSrcLen > 0)
    {
        memcpy(m_pchData, lpszSrcData, nSrcLen);
        GetData()->nDataLength = nSrcLen;
    }
    m_pchData[nSrcLen] = '\0';
}

const CString& CString::operator=(const CString& stringSrc)
{
    CString copy(stringSrc);
    std::swap(m_pchData, copy.m_pchData);
    return *this;
}

const CString& CString::operator=(LPCSTR lpsz)
{
    CString copy(lpsz);
    std::swap(m_pchData, copy.m_pchData);
    return *this;
}

const CString& CString::operator=(char ch)
{
    char text[2] = {ch, '\0'};
    return *this = text;
}

void CString::Empty()
{
    if (GetData()->nDataLength != 0)
        Release();
}

char CString::GetAt(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetLength() ? m_pchData[nIndex] : '\0';
}

void CString::SetAt(int nIndex, char ch)
{
    if (nIndex < 0 || nIndex >= GetLength())
        return;
    CopyBeforeWrite();
    m_pchData[nIndex] = ch;
}

void CString::Append(LPCSTR lpsz, int nLength)
{
    if (lpsz == NULL || nLength <= 0)
        return;
    int oldLength = GetLength();
    int newLength = oldLength + nLength;
    if (GetData()->nRefs > 1 || newLength > GetData()->nAllocLength)
    {
        // The source may live in this very buffer: copy before letting it go.
        CString grown;
        grown.AllocBuffer(newLength + newLength / 2);
        memcpy(grown.m_pchData, m_pchData, oldLength);
        memcpy(grown.m_pchData + oldLength, lpsz, nLength);
        std::swap(m_pchData, grown.m_pchData);
    }
    else
        memmove(m_pchData + oldLength, lpsz, nLength);
    GetData()->nDataLength = newLength;
    m_pchData[newLength] = '\0';
}

const CString& CString::operator+=(const CString& string)
{
    Append(string.m_pchData, string.GetLength());
    return *this;
}

const CString& CString::operator+=(LPCSTR lpsz)
{
    if (lpsz != NULL)
        Append(lpsz, static_cast<int>(strlen(lpsz)));
    return *this;
}

const CString& CString::operator+=(char ch)
{
    Append(&ch, 1);
    return *this;
}

CString operator+(const CString& string1, const CString& string2)
{
    CString result(string1);
    result += string2;
    return result;
}

CString operator+(const CString& string, LPCSTR lpsz)
{
    CString result(string);
    result += lpsz;
    return result;
}

CString operator+(LPCSTR lpsz, const CString& string)
{
    CString result(lpsz);
    result += string;
    return result;
}

CString operator+(const CString& string, char ch)
{
    CString result(string);
    result += ch;
    return result;
}

CString operator+(char ch, const CString& string)
{
    CString result(ch);
    result += string;
    return result;
}

int CString::Compare(LPCSTR lpsz) const
{
    int result = strcmp(m_pchData, lpsz ? lpsz : "");
    return result < 0 ? -1 : result > 0 ? 1 : 0;
}

int CString::CompareNoCase(LPCSTR lpsz) const
{
    const unsigned char* a = reinterpret_cast<const unsigned char*>(m_pchData);
    const unsigned char* b = reinterpret_cast<const unsigned char*>(lpsz ? lpsz : "");
    while (*a != '\0' || *b != '\0')
    {
        // Both strings stay on character boundaries while they are equal: fold only
        // single-byte letters, never the trail byte of a double-byte character.
        int length = AfxCharLength(reinterpret_cast<LPCSTR>(a));
        for (int i = 0; i < length; ++i)
        {
            unsigned char x = length == 1 ? LowerAscii(a[i]) : a[i];
            unsigned char y = length == 1 ? LowerAscii(b[i]) : b[i];
            if (x != y)
                return x < y ? -1 : 1;
        }
        a += length;
        b += length;
    }
    return 0;
}

int CString::Collate(LPCSTR lpsz) const
{
    return CompareStringA(LOCALE_USER_DEFAULT, 0, m_pchData, -1, lpsz, -1) - CSTR_EQUAL;
}

int CString::CollateNoCase(LPCSTR lpsz) const
{
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, m_pchData, -1, lpsz, -1) -
           CSTR_EQUAL;
}

CString CString::Mid(int nFirst) const
{
    return Mid(nFirst, GetLength() - nFirst);
}

CString CString::Mid(int nFirst, int nCount) const
{
    if (nFirst < 0)
        nFirst = 0;
    if (nCount < 0 || nFirst > GetLength())
        nCount = 0;
    if (nFirst + nCount > GetLength())
        nCount = GetLength() - nFirst;
    if (nFirst == 0 && nCount == GetLength())
        return *this;
    return CString(m_pchData + nFirst, nCount);
}

CString CString::Left(int nCount) const
{
    return Mid(0, nCount);
}

CString CString::Right(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    if (nCount > GetLength())
        nCount = GetLength();
    return Mid(GetLength() - nCount, nCount);
}

CString CString::SpanIncluding(LPCSTR lpszCharSet) const
{
    LPCSTR p = m_pchData;
    while (*p && SetContains(lpszCharSet, p, AfxCharLength(p)))
        p += AfxCharLength(p);
    return Left(static_cast<int>(p - m_pchData));
}

CString CString::SpanExcluding(LPCSTR lpszCharSet) const
{
    LPCSTR p = m_pchData;
    while (*p && !SetContains(lpszCharSet, p, AfxCharLength(p)))
        p += AfxCharLength(p);
    return Left(static_cast<int>(p - m_pchData));
}

CString CString::Tokenize(LPCSTR pszTokens, int& iStart) const
{
    if (iStart < 0 || iStart >= GetLength())
    {
        iStart = -1;
        return CString();
    }
    LPCSTR p = m_pchData + iStart;
    while (*p && SetContains(pszTokens, p, AfxCharLength(p)))
        p += AfxCharLength(p);
    if (*p == '\0')
    {
        iStart = -1;
        return CString();
    }
    LPCSTR end = p;
    while (*end && !SetContains(pszTokens, end, AfxCharLength(end)))
        end += AfxCharLength(end);
    iStart = static_cast<int>(end - m_pchData) + (*end ? 1 : 0);
    return CString(p, static_cast<int>(end - p));
}

CString& CString::MakeUpper()
{
    CopyBeforeWrite();
    for (LPSTR p = m_pchData; *p; p += AfxCharLength(p))
        if (AfxCharLength(p) == 1)
            *p = UpperAscii(*p);
    return *this;
}

CString& CString::MakeLower()
{
    CopyBeforeWrite();
    for (LPSTR p = m_pchData; *p; p += AfxCharLength(p))
        if (AfxCharLength(p) == 1)
            *p = LowerAscii(*p);
    return *this;
}

CString& CString::MakeReverse()
{
    CString reversed(' ', GetLength());
    LPSTR out = reversed.m_pchData + GetLength();
    for (LPCSTR p = m_pchData; *p;)
    {
        int n = AfxCharLength(p);
        out -= n;
        memcpy(out, p, n);
        p += n;
    }
    std::swap(m_pchData, reversed.m_pchData);
    return *this;
}

int CString::Replace(char chOld, char chNew)
{
    char oldText[2] = {chOld, '\0'};
    char newText[2] = {chNew, '\0'};
    return Replace(oldText, newText);
}

int CString::Replace(LPCSTR lpszOld, LPCSTR lpszNew)
{
    int oldLength = lpszOld ? static_cast<int>(strlen(lpszOld)) : 0;
    if (oldLength == 0)
        return 0;
    int newLength = lpszNew ? static_cast<int>(strlen(lpszNew)) : 0;
    CString result;
    int count = 0;
    LPCSTR copied = m_pchData;
    for (LPCSTR p = m_pchData; *p;)
    {
        if (strncmp(p, lpszOld, oldLength) == 0 && CoversWholeCharacters(p, oldLength))
        {
            result.Append(copied, static_cast<int>(p - copied));
            result.Append(lpszNew, newLength);
            p += oldLength;
            copied = p;
            ++count;
        }
        else
            p += AfxCharLength(p);
    }
    if (count > 0)
    {
        result.Append(copied, static_cast<int>(m_pchData + GetLength() - copied));
        *this = result;
    }
    return count;
}

int CString::Remove(char chRemove)
{
    char text[2] = {chRemove, '\0'};
    return Replace(text, "");
}

int CString::Insert(int nIndex, char ch)
{
    char text[2] = {ch, '\0'};
    return Insert(nIndex, text);
}

int CString::Insert(int nIndex, LPCSTR pstr)
{
    if (nIndex < 0)
        nIndex = 0;
    if (nIndex > GetLength())
        nIndex = GetLength();
    CString result(m_pchData, nIndex);
    result += pstr;
    result.Append(m_pchData + nIndex, GetLength() - nIndex);
    *this = result;
    return GetLength();
}

int CString::Delete(int nIndex, int nCount)
{
    if (nIndex < 0)
        nIndex = 0;
    if (nCount > 0 && nIndex < GetLength())
    {
        if (nIndex + nCount > GetLength())
            nCount = GetLength() - nIndex;
        CString result(m_pchData, nIndex);
        result.Append(m_pchData + nIndex + nCount, GetLength() - nIndex - nCount);
        *this = result;
    }
    return GetLength();
}

int CString::TrimLeftWhile(bool (*pred)(char, LPCSTR), LPCSTR arg)
{
    LPCSTR p = m_pchData;
    while (*p && AfxCharLength(p) == 1 && pred(*p, arg))
        ++p;
    return static_cast<int>(p - m_pchData);
}

int CString::TrimRightWhile(bool (*pred)(char, LPCSTR), LPCSTR arg)
{
    // Walk forwards so that a trail byte is never taken for a character of its own.
    LPCSTR keepEnd = m_pchData;
    for (LPCSTR p = m_pchData; *p;)
    {
        int n = AfxCharLength(p);
        p += n;
        if (n == 2 || !pred(p[-1], arg))
            keepEnd = p;
    }
    return static_cast<int>(keepEnd - m_pchData);
}

CString& CString::Trim()
{
    return TrimRight().TrimLeft();
}

CString& CString::Trim(char chTarget)
{
    return TrimRight(chTarget).TrimLeft(chTarget);
}

CString& CString::Trim(LPCSTR lpszTargets)
{
    return TrimRight(lpszTargets).TrimLeft(lpszTargets);
}

CString& CString::TrimLeft()
{
    *this = Mid(TrimLeftWhile(IsSpace, NULL));
    return *this;
}

CString& CString::TrimLeft(char chTarget)
{
    *this = Mid(TrimLeftWhile(IsChar, &chTarget));
    return *this;
}

CString& CString::TrimLeft(LPCSTR lpszTargets)
{
    *this = Mid(TrimLeftWhile(IsInSet, lpszTargets ? lpszTargets : ""));
    return *this;
}

CString& CString::TrimRight()
{
    *this = Left(TrimRightWhile(IsSpace, NULL));
    return *this;
}

CString& CString::TrimRight(char chTarget)
{
    *this = Left(TrimRightWhile(IsChar, &chTarget));
    return *this;
}

CString& CString::TrimRight(LPCSTR lpszTargets)
{
    *this = Left(TrimRightWhile(IsInSet, lpszTargets ? lpszTargets : ""));
    return *this;
}

int CString::Find(char ch, int nStart) const
{
    char text[2] = {ch, '\0'};
    return Find(text, nStart);
}

int CString::Find(LPCSTR lpszSub, int nStart) const
{
    if (lpszSub == NULL || nStart > GetLength())
        return -1;
    int subLength = static_cast<int>(strlen(lpszSub));
    for (LPCSTR p = m_pchData; *p; p += AfxCharLength(p))
        if (p - m_pchData >= nStart && strncmp(p, lpszSub, subLength) == 0 &&
            CoversWholeCharacters(p, subLength))
            return static_cast<int>(p - m_pchData);
    return subLength == 0 && nStart >= 0 ? nStart : -1;
}

int CString::ReverseFind(char ch) const
{
    int found = -1;
    for (LPCSTR p = m_pchData; *p; p += AfxCharLength(p))
        if (AfxCharLength(p) == 1 && *p == ch)
            found = static_cast<int>(p - m_pchData);
    return found;
}

int CString::FindOneOf(LPCSTR lpszCharSet) const
{
    for (LPCSTR p = m_pchData; *p; p += AfxCharLength(p))
        if (SetContains(lpszCharSet, p, AfxCharLength(p)))
            return static_cast<int>(p - m_pchData);
    return -1;
}

void CString::FormatV(LPCSTR lpszFormat, va_list argList)
{
    va_list sizing;
    va_copy(sizing, argList);
    int length = vsnprintf(NULL, 0, lpszFormat, sizing);
    va_end(sizing);
    if (length <= 0)
    {
        Empty();
        return;
    }
    CString result;
    result.AllocBuffer(length);
    vsnprintf(result.m_pchData, length + 1, lpszFormat, argList);
    std::swap(m_pchData, result.m_pchData);
}

void CString::Format(LPCSTR lpszFormat, ...)
{
    va_list args;
    va_start(args, lpszFormat);
    FormatV(lpszFormat, args);
    va_end(args);
}

void CString::AppendFormat(LPCSTR lpszFormat, ...)
{
    CString text;
    va_list args;
    va_start(args, lpszFormat);
    text.FormatV(lpszFormat, args);
    va_end(args);
    *this += text;
}

BOOL CString::LoadString(UINT nID)
{
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEA((nID >> 4) + 1), RT_STRING);
    char buffer[1024];
    int length = ::LoadStringA(module, nID, buffer, sizeof buffer);
    if (length <= 0)
        return FALSE;
    AssignCopy(length, buffer);
    return TRUE;
}

LPSTR CString::GetBuffer(int nMinBufLength)
{
    if (GetData()->nRefs > 1 || nMinBufLength > GetData()->nAllocLength)
    {
        int length = GetLength();
        CString grown;
        grown.AllocBuffer(nMinBufLength > length ? nMinBufLength : length);
        memcpy(grown.m_pchData, m_pchData, length + 1);
        grown.GetData()->nDataLength = length;
        std::swap(m_pchData, grown.m_pchData);
    }
    return m_pchData;
}

LPSTR CString::GetBuffer()
{
    return GetBuffer(0);
}

void CString::ReleaseBuffer(int nNewLength)
{
    CopyBeforeWrite();
    if (nNewLength == -1)
        nNewLength = static_cast<int>(strlen(m_pchData));
    if (GetData()->nRefs < 0)
        return;
    if (nNewLength > GetData()->nAllocLength)
        nNewLength = GetData()->nAllocLength;
    GetData()->nDataLength = nNewLength;
    m_pchData[nNewLength] = '\0';
}

LPSTR CString::GetBufferSetLength(int nNewLength)
{
    GetBuffer(nNewLength);
    if (GetData()->nRefs >= 0)
    {
        GetData()->nDataLength = nNewLength;
        m_pchData[nNewLength] = '\0';
    }
    return m_pchData;
}
