#pragma once
// The core of the framework: strings, run-time class information, windows, dialogs with their
// message maps and data exchange, the basic controls, resources of extension libraries,
// message boxes and the wait cursor. Narrow (code page of the process) throughout.
//
// Test seams (see "Seams for tests" below):
//  - every message box goes through AfxSetMessageBoxHandler's handler;
//  - AfxSetModalHook drives CDialog::DoModal; CFileDialog has AfxSetFileDialogHook;
//  - with the environment variable VOR_NONINTERACTIVE set, nothing modal ever waits for a
//    person: a message box without a handler answers its safe default, a dialog that a
//    hook leaves open (or that has no hook) ends with IDABORT.
#include <windows.h>
#include <commctrl.h>
#include <tchar.h>

#include <functional>

#include "afxver_.h"

#ifndef AFXAPI
#define AFXAPI __stdcall
#endif
#define afx_msg

#ifdef _DEBUG
#define ASSERT(f) ((f) ? (void)0 : AfxAssertFailed(__FILE__, __LINE__))
#else
#define ASSERT(f) ((void)0)
#endif
#define VERIFY(f) ((void)(f))
#define TRACE AfxTrace
#define UNUSED_ALWAYS(x) (void)(x)
#define AFX_MANAGE_STATE(p)

AFX_CORE_API void AfxAssertFailed(const char* file, int line);
AFX_CORE_API void AfxTrace(LPCSTR format, ...);

struct __POSITION
{
};
typedef __POSITION* POSITION;

class CObject;
class CCmdTarget;
class CWnd;
class CDialog;
class CDataExchange;
class CWinApp;

// ---------------------------------------------------------------------------------------
// CString: narrow, reference-counted, copy-on-write. Double-byte aware: a lead byte and its
// trail byte are one character for searching, replacing, trimming and case conversion, so a
// trail byte that happens to be an ASCII letter is never matched or changed on its own.

struct CStringData
{
    long nRefs; // -1: the shared empty string, never freed
    int nDataLength;
    int nAllocLength;
    char* data() { return reinterpret_cast<char*>(this + 1); }
};

class AFX_CORE_API CString
{
public:
    CString();
    CString(const CString& stringSrc);
    CString(LPCSTR lpsz);
    CString(LPCSTR lpch, int nLength);
    CString(char ch, int nRepeat = 1);
    ~CString();

    const CString& operator=(const CString& stringSrc);
    const CString& operator=(LPCSTR lpsz);
    const CString& operator=(char ch);

    int GetLength() const { return GetData()->nDataLength; }
    BOOL IsEmpty() const { return GetData()->nDataLength == 0; }
    void Empty();
    char GetAt(int nIndex) const;
    char operator[](int nIndex) const { return GetAt(nIndex); }
    void SetAt(int nIndex, char ch);
    operator LPCSTR() const { return m_pchData; }
    LPCSTR GetString() const { return m_pchData; }

    const CString& operator+=(const CString& string);
    const CString& operator+=(LPCSTR lpsz);
    const CString& operator+=(char ch);
    void Append(LPCSTR lpsz, int nLength);
    void AppendChar(char ch) { *this += ch; }

    // Byte-wise as the multibyte runtime compares code page 949 text; NoCase folds single-byte
    // letters only.
    int Compare(LPCSTR lpsz) const;
    int CompareNoCase(LPCSTR lpsz) const;
    int Collate(LPCSTR lpsz) const;
    int CollateNoCase(LPCSTR lpsz) const;

    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString SpanIncluding(LPCSTR lpszCharSet) const;
    CString SpanExcluding(LPCSTR lpszCharSet) const;
    CString Tokenize(LPCSTR pszTokens, int& iStart) const;

    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();

    int Replace(char chOld, char chNew);
    int Replace(LPCSTR lpszOld, LPCSTR lpszNew);
    int Remove(char chRemove);
    int Insert(int nIndex, char ch);
    int Insert(int nIndex, LPCSTR pstr);
    int Delete(int nIndex, int nCount = 1);

    CString& Trim();
    CString& Trim(char chTarget);
    CString& Trim(LPCSTR lpszTargets);
    CString& TrimLeft();
    CString& TrimLeft(char chTarget);
    CString& TrimLeft(LPCSTR lpszTargets);
    CString& TrimRight();
    CString& TrimRight(char chTarget);
    CString& TrimRight(LPCSTR lpszTargets);

    // Byte index of the match, -1 when none; matches start on character boundaries only.
    int Find(char ch, int nStart = 0) const;
    int Find(LPCSTR lpszSub, int nStart = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(LPCSTR lpszCharSet) const;

    void Format(LPCSTR lpszFormat, ...);
    void FormatV(LPCSTR lpszFormat, va_list argList);
    void AppendFormat(LPCSTR lpszFormat, ...);
    BOOL LoadString(UINT nID);

    LPSTR GetBuffer(int nMinBufLength);
    LPSTR GetBuffer();
    void ReleaseBuffer(int nNewLength = -1);
    LPSTR GetBufferSetLength(int nNewLength);
    void FreeExtra();
    LPSTR LockBuffer();
    void UnlockBuffer();

private:
    CStringData* GetData() const { return reinterpret_cast<CStringData*>(m_pchData) - 1; }
    void Init();
    void AllocBuffer(int nLen);
    void Release();
    void CopyBeforeWrite();
    void AllocBeforeWrite(int nLen);
    void AssignCopy(int nSrcLen, LPCSTR lpszSrcData);
    int TrimLeftWhile(bool (*pred)(char, LPCSTR), LPCSTR arg);
    int TrimRightWhile(bool (*pred)(char, LPCSTR), LPCSTR arg);

    LPSTR m_pchData;
};

AFX_CORE_API CString operator+(const CString& string1, const CString& string2);
AFX_CORE_API CString operator+(const CString& string, LPCSTR lpsz);
AFX_CORE_API CString operator+(LPCSTR lpsz, const CString& string);
AFX_CORE_API CString operator+(const CString& string, char ch);
AFX_CORE_API CString operator+(char ch, const CString& string);

inline bool operator==(const CString& s1, const CString& s2)
{
    return s1.Compare(s2) == 0;
}
inline bool operator==(const CString& s1, LPCSTR s2)
{
    return s1.Compare(s2) == 0;
}
inline bool operator==(LPCSTR s1, const CString& s2)
{
    return s2.Compare(s1) == 0;
}
inline bool operator!=(const CString& s1, const CString& s2)
{
    return s1.Compare(s2) != 0;
}
inline bool operator!=(const CString& s1, LPCSTR s2)
{
    return s1.Compare(s2) != 0;
}
inline bool operator!=(LPCSTR s1, const CString& s2)
{
    return s2.Compare(s1) != 0;
}
inline bool operator<(const CString& s1, const CString& s2)
{
    return s1.Compare(s2) < 0;
}
inline bool operator<(const CString& s1, LPCSTR s2)
{
    return s1.Compare(s2) < 0;
}
inline bool operator<(LPCSTR s1, const CString& s2)
{
    return s2.Compare(s1) > 0;
}
inline bool operator>(const CString& s1, const CString& s2)
{
    return s1.Compare(s2) > 0;
}
inline bool operator>(const CString& s1, LPCSTR s2)
{
    return s1.Compare(s2) > 0;
}
inline bool operator>(LPCSTR s1, const CString& s2)
{
    return s2.Compare(s1) < 0;
}
inline bool operator<=(const CString& s1, const CString& s2)
{
    return s1.Compare(s2) <= 0;
}
inline bool operator<=(const CString& s1, LPCSTR s2)
{
    return s1.Compare(s2) <= 0;
}
inline bool operator<=(LPCSTR s1, const CString& s2)
{
    return s2.Compare(s1) >= 0;
}
inline bool operator>=(const CString& s1, const CString& s2)
{
    return s1.Compare(s2) >= 0;
}
inline bool operator>=(const CString& s1, LPCSTR s2)
{
    return s1.Compare(s2) >= 0;
}
inline bool operator>=(LPCSTR s1, const CString& s2)
{
    return s2.Compare(s1) <= 0;
}

// ---------------------------------------------------------------------------------------
// Run-time class information.

struct AFX_CORE_API CRuntimeClass
{
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;
    CObject*(PASCAL* m_pfnCreateObject)();
    CRuntimeClass*(PASCAL* m_pfnGetBaseClass)();

    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
};

#define _RUNTIME_CLASS(class_name) ((CRuntimeClass*)(&class_name::class##class_name))
#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

#define DECLARE_DYNAMIC(class_name)                                                                \
protected:                                                                                         \
    static CRuntimeClass* PASCAL _GetBaseClass();                                                  \
                                                                                                   \
public:                                                                                            \
    static const CRuntimeClass class##class_name;                                                  \
    static CRuntimeClass* PASCAL GetThisClass();                                                   \
    virtual CRuntimeClass* GetRuntimeClass() const;

#define DECLARE_DYNCREATE(class_name)                                                              \
    DECLARE_DYNAMIC(class_name)                                                                    \
    static CObject* PASCAL CreateObject();

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                       \
    CRuntimeClass* PASCAL class_name::_GetBaseClass()                                              \
    {                                                                                              \
        return RUNTIME_CLASS(base_class_name);                                                     \
    }                                                                                              \
    const CRuntimeClass class_name::class##class_name = {                                          \
        #class_name, sizeof(class class_name), wSchema, pfnNew, &class_name::_GetBaseClass};       \
    CRuntimeClass* PASCAL class_name::GetThisClass()                                               \
    {                                                                                              \
        return _RUNTIME_CLASS(class_name);                                                         \
    }                                                                                              \
    CRuntimeClass* class_name::GetRuntimeClass() const                                             \
    {                                                                                              \
        return _RUNTIME_CLASS(class_name);                                                         \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                             \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, NULL)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                           \
    CObject* PASCAL class_name::CreateObject()                                                     \
    {                                                                                              \
        return new class_name;                                                                     \
    }                                                                                              \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

class AFX_CORE_API CObject
{
public:
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject();
    BOOL IsKindOf(const CRuntimeClass* pClass) const;

    static const CRuntimeClass classCObject;
    static CRuntimeClass* PASCAL GetThisClass();

protected:
    CObject();
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

// ---------------------------------------------------------------------------------------
// CStringArray

class AFX_CORE_API CStringArray : public CObject
{
    DECLARE_DYNAMIC(CStringArray)
public:
    CStringArray();
    CStringArray(const CStringArray& other);
    CStringArray& operator=(const CStringArray& other);
    ~CStringArray();

    INT_PTR GetSize() const { return m_nSize; }
    INT_PTR GetCount() const { return m_nSize; }
    BOOL IsEmpty() const { return m_nSize == 0; }
    INT_PTR GetUpperBound() const { return m_nSize - 1; }
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1);

    void RemoveAll();
    const CString& GetAt(INT_PTR nIndex) const;
    CString& ElementAt(INT_PTR nIndex);
    void SetAt(INT_PTR nIndex, LPCSTR newElement);
    const CString* GetData() const { return m_pData; }
    CString* GetData() { return m_pData; }

    void SetAtGrow(INT_PTR nIndex, LPCSTR newElement);
    INT_PTR Add(LPCSTR newElement);
    INT_PTR Add(const CString& newElement);
    INT_PTR Append(const CStringArray& src);
    void Copy(const CStringArray& src);

    const CString& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    CString& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }

    void InsertAt(INT_PTR nIndex, LPCSTR newElement, INT_PTR nCount = 1);
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1);

private:
    CString* m_pData;
    INT_PTR m_nSize;
    INT_PTR m_nMaxSize;
};

// ---------------------------------------------------------------------------------------
// Message maps. Handlers of a derived class are found first, then those of its bases
// (each map names its base class's map).

class CCmdTarget;
typedef void (CCmdTarget::*AFX_PMSG)(void);

enum AfxSig
{
    AfxSig_end = 0,
    AfxSig_vv,     // void (void): commands and control notifications
    AfxSig_NOTIFY, // void (NMHDR*, LRESULT*)
    AfxSig_lwl,    // LRESULT (WPARAM, LPARAM): ON_MESSAGE
    AfxSig_v_up_v, // void (UINT_PTR): ON_WM_TIMER
    AfxSig_v_u_ii, // void (UINT, int, int): ON_WM_SIZE
    AfxSig_v_b_u,  // void (BOOL, UINT): ON_WM_SHOWWINDOW
    AfxSig_v_u_l,  // void (UINT, LPARAM): ON_WM_SYSCOMMAND
    AfxSig_v_w_p,  // void (CWnd*, POINT): ON_WM_CONTEXTMENU
};

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    UINT_PTR nSig;
    AFX_PMSG pfn;
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP*(PASCAL* pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();                                           \
    virtual const AFX_MSGMAP* GetMessageMap() const;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const                                              \
    {                                                                                              \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Wcast-function-type\"")      \
        const AFX_MSGMAP* PASCAL                                                                   \
        theClass::GetThisMessageMap()                                                              \
    {                                                                                              \
        typedef theClass ThisClass;                                                                \
        typedef baseClass TheBaseClass;                                                            \
        (void)sizeof(ThisClass);                                                                   \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
    {                                                                                              \
        0, 0, 0, 0, AfxSig_end, (AFX_PMSG)0                                                        \
    }                                                                                              \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};  \
    return &messageMap;                                                                            \
    }                                                                                              \
    _Pragma("GCC diagnostic pop")

// Handlers are named as &Class::Handler. Member-pointer conversions are checked against the
// handler's expected signature first.
#define AFX_MSG_CAST(type, pfn) (reinterpret_cast<AFX_PMSG>(static_cast<type>(pfn)))

#define CN_COMMAND 0
#define ON_COMMAND(id, memberFxn)                                                                  \
    {WM_COMMAND, CN_COMMAND, (WORD)id,                                                             \
     (WORD)id,   AfxSig_vv,  AFX_MSG_CAST(void(CCmdTarget::*)(void), memberFxn)},
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                    \
    {WM_COMMAND,   CN_COMMAND, (WORD)id,                                                           \
     (WORD)idLast, AfxSig_vv,  AFX_MSG_CAST(void(CCmdTarget::*)(void), memberFxn)},
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                     \
    {WM_COMMAND, (WORD)wNotifyCode, (WORD)id,                                                      \
     (WORD)id,   AfxSig_vv,         AFX_MSG_CAST(void(CCmdTarget::*)(void), memberFxn)},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)

#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                      \
    {WM_NOTIFY,     (UINT)(wNotifyCode),                                                           \
     (UINT)id,      (UINT)id,                                                                      \
     AfxSig_NOTIFY, AFX_MSG_CAST(void(CCmdTarget::*)(NMHDR*, LRESULT*), memberFxn)},

#define ON_MESSAGE(message, memberFxn)                                                             \
    {message, 0, 0, 0, AfxSig_lwl, AFX_MSG_CAST(LRESULT(CWnd::*)(WPARAM, LPARAM), memberFxn)},

#define ON_WM_TIMER()                                                                              \
    {WM_TIMER, 0, 0, 0, AfxSig_v_up_v, AFX_MSG_CAST(void(CWnd::*)(UINT_PTR), &ThisClass::OnTimer)},
#define ON_WM_DESTROY()                                                                            \
    {WM_DESTROY, 0, 0, 0, AfxSig_vv, AFX_MSG_CAST(void(CWnd::*)(void), &ThisClass::OnDestroy)},
#define ON_WM_CLOSE()                                                                              \
    {WM_CLOSE, 0, 0, 0, AfxSig_vv, AFX_MSG_CAST(void(CWnd::*)(void), &ThisClass::OnClose)},
#define ON_WM_PAINT()                                                                              \
    {WM_PAINT, 0, 0, 0, AfxSig_vv, AFX_MSG_CAST(void(CWnd::*)(void), &ThisClass::OnPaint)},
#define ON_WM_SIZE()                                                                               \
    {WM_SIZE,                                                                                      \
     0,                                                                                            \
     0,                                                                                            \
     0,                                                                                            \
     AfxSig_v_u_ii,                                                                                \
     AFX_MSG_CAST(void(CWnd::*)(UINT, int, int), &ThisClass::OnSize)},
#define ON_WM_SHOWWINDOW()                                                                         \
    {WM_SHOWWINDOW,                                                                                \
     0,                                                                                            \
     0,                                                                                            \
     0,                                                                                            \
     AfxSig_v_b_u,                                                                                 \
     AFX_MSG_CAST(void(CWnd::*)(BOOL, UINT), &ThisClass::OnShowWindow)},
#define ON_WM_SYSCOMMAND()                                                                         \
    {WM_SYSCOMMAND,                                                                                \
     0,                                                                                            \
     0,                                                                                            \
     0,                                                                                            \
     AfxSig_v_u_l,                                                                                 \
     AFX_MSG_CAST(void(CWnd::*)(UINT, LPARAM), &ThisClass::OnSysCommand)},
#define ON_WM_CONTEXTMENU()                                                                        \
    {WM_CONTEXTMENU,                                                                               \
     0,                                                                                            \
     0,                                                                                            \
     0,                                                                                            \
     AfxSig_v_w_p,                                                                                 \
     AFX_MSG_CAST(void(CWnd::*)(CWnd*, POINT), &ThisClass::OnContextMenu)},

// ---------------------------------------------------------------------------------------
// CCmdTarget

class AFX_CORE_API CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget();
    ~CCmdTarget();

    // Routes a command or notification through the message maps; *pResult receives the
    // notification result. TRUE when a handler took it.
    virtual BOOL OnCmdMsg(UINT nMessage, UINT nCode, UINT nID, void* pExtra, LRESULT* pResult);

    // The application-wide wait cursor (counted; works without a CWinApp).
    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

protected:
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
    static const AFX_MSGMAP_ENTRY* PASCAL FindMessageEntry(const AFX_MSGMAP_ENTRY* lpEntry,
                                                           UINT nMessage, UINT nCode, UINT nID);

    friend class CWnd;
};

// ---------------------------------------------------------------------------------------
// CWnd: a C++ object attached to a real window. Windows created or subclassed by the
// framework are "permanent": their messages run through the message maps. FromHandle of any
// other window gives a temporary object, valid until the next idle moment of a message loop.

#define WF_CONTINUEMODAL 0x0080
#define WF_MODALLOOP 0x0100

class AFX_CORE_API CWnd : public CCmdTarget
{
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd();
    ~CWnd();

    HWND m_hWnd;
    // Both answer NULL for a null object, as code written for the framework expects.
    HWND GetSafeHwnd() const;
    operator HWND() const;

    static CWnd* PASCAL FromHandle(HWND hWnd);
    static CWnd* PASCAL FromHandlePermanent(HWND hWnd);
    BOOL Attach(HWND hWndNew);
    HWND Detach();
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    // Creates a window of the framework's own class (lpszClassName NULL) or of a named class,
    // attached to this object.
    virtual BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName,
                          DWORD dwStyle, int x, int y, int nWidth, int nHeight, HWND hWndParent,
                          HMENU nIDorHMenu, LPVOID lpParam = NULL);
    virtual BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                        const RECT& rect, CWnd* pParentWnd, UINT nID);
    virtual BOOL DestroyWindow();

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                                  BOOL bDeep = TRUE);

    void SetWindowText(LPCSTR lpszString);
    int GetWindowText(LPSTR lpszStringBuf, int nMaxCount) const;
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;
    void SetFont(HFONT hFont, BOOL bRedraw = TRUE);
    HFONT GetFont() const;

    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const;
    void SetDlgItemText(int nID, LPCSTR lpszString);
    int GetDlgItemText(int nID, LPSTR lpStr, int nMaxCount) const;
    int GetDlgItemText(int nID, CString& rString) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = NULL, BOOL bSigned = TRUE) const;
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void CheckDlgButton(int nIDButton, UINT nCheck);
    void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
    int GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton);
    UINT IsDlgButtonChecked(int nIDButton) const;
    CWnd* GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const;

    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    CWnd* SetFocus();
    static CWnd* PASCAL GetFocus();
    CWnd* SetActiveWindow();
    BOOL SetForegroundWindow();
    CWnd* GetParent() const;
    CWnd* GetOwner() const;
    CWnd* GetTopLevelParent() const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);

    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void GetWindowRect(LPRECT lpRect) const;
    void GetClientRect(LPRECT lpRect) const;
    void ScreenToClient(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void CenterWindow(CWnd* pAlternateOwner = NULL);
    void Invalidate(BOOL bErase = TRUE);
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT lpRectUpdate = NULL, HRGN prgnUpdate = NULL,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    void SetRedraw(BOOL bRedraw = TRUE);

    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse,
                      void(CALLBACK* lpfnTimer)(HWND, UINT, UINT_PTR, DWORD) = NULL);
    BOOL KillTimer(UINT_PTR nIDEvent);

    int MessageBox(LPCSTR lpszText, LPCSTR lpszCaption = NULL, UINT nType = MB_OK);

    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing of the message being handled now.
    LRESULT Default();

    // The modal loop shared by dialogs: runs until EndModalLoop.
    int RunModalLoop(DWORD dwFlags = 0);
    virtual BOOL ContinueModal();
    virtual void EndModalLoop(int nResult);

    // Default handlers that ON_WM_... entries of derived classes name.
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();
    afx_msg void OnClose();
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnContextMenu(CWnd* pWnd, POINT pos);

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual void PostNcDestroy();
    virtual void PreSubclassWindow();

    WNDPROC m_pfnSuper;
    UINT m_nFlags;
    int m_nModalResult;

    DECLARE_MESSAGE_MAP()

private:
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    friend LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    friend class CDataExchange;
};

// The window procedure of every permanent window.
AFX_CORE_API LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

// Offers a message to the PreTranslateMessage of each permanent window from its target up to
// the target's top-level window, innermost first, as the framework's own loops do.
AFX_CORE_API BOOL AFXAPI AfxPreTranslateMessage(MSG* pMsg);

// ---------------------------------------------------------------------------------------
// Data exchange

class AFX_CORE_API CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    void Fail();

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl;
};

// Subclasses control nIDC to rControl once, on the first exchange.
AFX_CORE_API void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
AFX_CORE_API void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
AFX_CORE_API void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value);
AFX_CORE_API void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value);
AFX_CORE_API void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value);

// ---------------------------------------------------------------------------------------
// CDialog: modal (DoModal) from a template found through the resource chain; the template's
// initialisation data (resource type 240, "DLGINIT") fills list and combo boxes.

class AFX_CORE_API CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    explicit CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd = NULL);
    ~CDialog();

    virtual INT_PTR DoModal();
    // Modeless creation from the template.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    void EndDialog(int nResult);
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void GotoDlgCtrl(CWnd* pWndCtrl);
    void SetDefID(UINT nID);
    DWORD GetDefID() const;

    virtual BOOL OnInitDialog();
    BOOL PreTranslateMessage(MSG* pMsg) override;

    LPCSTR m_lpszTemplateName;
    UINT m_nIDHelp;
    CWnd* m_pParentWnd;

protected:
    virtual void OnOK();
    virtual void OnCancel();
    BOOL ExecuteDlgInit(LPCSTR lpszResourceName);
    BOOL ExecuteDlgInit(LPVOID lpResource);
    BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, HWND hWndOwner, HINSTANCE hInst);
    HWND PreModal();
    void PostModal();

    DECLARE_MESSAGE_MAP()

    friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);
};

// ---------------------------------------------------------------------------------------
// Basic controls: thin wrappers, one message each.

class AFX_CORE_API CStatic : public CWnd
{
    DECLARE_DYNAMIC(CStatic)
public:
    CStatic();
    ~CStatic();
    HBITMAP SetBitmap(HBITMAP hBitmap);
    HBITMAP GetBitmap() const;
    HICON SetIcon(HICON hIcon);
};

class AFX_CORE_API CButton : public CWnd
{
    DECLARE_DYNAMIC(CButton)
public:
    CButton();
    ~CButton();
    int GetCheck() const;
    void SetCheck(int nCheck);
    UINT GetState() const;
    void SetState(BOOL bHighlight);
    UINT GetButtonStyle() const;
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);
    HBITMAP SetBitmap(HBITMAP hBitmap);
};

class AFX_CORE_API CEdit : public CWnd
{
    DECLARE_DYNAMIC(CEdit)
public:
    CEdit();
    ~CEdit();
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void GetSel(int& nStartChar, int& nEndChar) const;
    void ReplaceSel(LPCSTR lpszNewText, BOOL bCanUndo = FALSE);
    void SetLimitText(UINT nMax);
    void LimitText(int nChars = 0);
    BOOL SetReadOnly(BOOL bReadOnly = TRUE);
    BOOL GetModify() const;
    void SetModify(BOOL bModified = TRUE);
    int GetLineCount() const;
    void Clear();
    void Copy();
    void Paste();
};

class AFX_CORE_API CComboBox : public CWnd
{
    DECLARE_DYNAMIC(CComboBox)
public:
    CComboBox();
    ~CComboBox();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    int GetLBText(int nIndex, LPSTR lpszText) const;
    void GetLBText(int nIndex, CString& rString) const;
    int GetLBTextLen(int nIndex) const;
    DWORD_PTR GetItemData(int nIndex) const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    int AddString(LPCSTR lpszString);
    int InsertString(int nIndex, LPCSTR lpszString);
    int DeleteString(UINT nIndex);
    void ResetContent();
    int FindString(int nStartAfter, LPCSTR lpszString) const;
    int FindStringExact(int nIndexStart, LPCSTR lpszFind) const;
    // CB_SELECTSTRING: the first entry after nStartAfter beginning with the text, ignoring
    // case, wrapping to the top; CB_ERR and no change when none.
    int SelectString(int nStartAfter, LPCSTR lpszString);
    void ShowDropDown(BOOL bShowIt = TRUE);
    BOOL GetDroppedState() const;
    BOOL LimitText(int nMaxChars);
};

class AFX_CORE_API CListBox : public CWnd
{
    DECLARE_DYNAMIC(CListBox)
public:
    CListBox();
    ~CListBox();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    int GetText(int nIndex, LPSTR lpszBuffer) const;
    void GetText(int nIndex, CString& rString) const;
    int AddString(LPCSTR lpszItem);
    int DeleteString(UINT nIndex);
    void ResetContent();
};

// ---------------------------------------------------------------------------------------
// GDI objects

class AFX_CORE_API CGdiObject : public CObject
{
    DECLARE_DYNAMIC(CGdiObject)
public:
    CGdiObject();
    ~CGdiObject();
    HGDIOBJ m_hObject;
    operator HGDIOBJ() const;
    HGDIOBJ GetSafeHandle() const;
    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    int GetObject(int nCount, LPVOID lpObject) const;

private:
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
};

class AFX_CORE_API CBitmap : public CGdiObject
{
    DECLARE_DYNAMIC(CBitmap)
public:
    CBitmap();
    ~CBitmap();
    // From the resource chain: the executable first, then every extension library.
    BOOL LoadBitmap(UINT nIDResource);
    BOOL LoadBitmap(LPCSTR lpszResourceName);
    operator HBITMAP() const { return static_cast<HBITMAP>(GetSafeHandle()); }
    int GetBitmap(BITMAP* pBitMap) const;
};

// ---------------------------------------------------------------------------------------
// CWinApp: the host's application object. Without one (test programs), AfxGetApp() still
// answers with a default object, so AfxGetApp()->BeginWaitCursor() always works.

class AFX_CORE_API CWinApp : public CCmdTarget
{
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCSTR lpszAppName = NULL);
    ~CWinApp();

    LPCSTR m_pszAppName;
    HINSTANCE m_hInstance;
    LPSTR m_lpCmdLine;
    int m_nCmdShow;
    CWnd* m_pMainWnd;

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL OnIdle(LONG lCount);
    // nCode 1 turns the wait cursor on, -1 off, 0 restores it.
    virtual void DoWaitCursor(int nCode);
    virtual int DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT nIDPrompt);
    CWnd* GetMainWnd() { return m_pMainWnd; }

private:
    CString m_strAppName;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
};

AFX_CORE_API CWinApp* AFXAPI AfxGetApp();
AFX_CORE_API CWnd* AFXAPI AfxGetMainWnd();
AFX_CORE_API LPCSTR AFXAPI AfxGetAppName();
AFX_CORE_API HINSTANCE AFXAPI AfxGetInstanceHandle();
AFX_CORE_API void AFXAPI AfxPostQuitMessage(int nExitCode);
// The host's entry: `int WINAPI WinMain(HINSTANCE h, HINSTANCE p, LPSTR c, int n)
// { return AfxWinMain(h, p, c, n); }` runs InitInstance, then Run, then ExitInstance.
AFX_CORE_API int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine,
                                   int nCmdShow);

// ---------------------------------------------------------------------------------------
// The wait cursor: counted and application-wide; shown over every framework window while
// the count is positive.

class AFX_CORE_API CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();
    void Restore();

private:
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

// How many wait-cursor requests are open (0 when the normal cursor is back).
AFX_CORE_API int AFXAPI AfxGetWaitCursorCount();

// ---------------------------------------------------------------------------------------
// Resources and extension libraries. Lookup starts at the resource handle (the executable
// unless AfxSetResourceHandle changed it), then every registered extension library in the
// order of registration.

struct AFX_EXTENSION_MODULE
{
    BOOL bInitialized;
    HMODULE hModule;
    HMODULE hResource;
    CRuntimeClass* pFirstSharedClass;
};

class AFX_CORE_API CDynLinkLibrary : public CCmdTarget
{
    DECLARE_DYNAMIC(CDynLinkLibrary)
public:
    explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem = FALSE);
    CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource);
    ~CDynLinkLibrary();

    HMODULE m_hModule;
    HMODULE m_hResource;
    BOOL m_bSystem;

private:
    CDynLinkLibrary(const CDynLinkLibrary&) = delete;
    CDynLinkLibrary& operator=(const CDynLinkLibrary&) = delete;
};

AFX_CORE_API BOOL AFXAPI AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule);
// Deletes the CDynLinkLibrary objects of that module (all of them with bAll).
AFX_CORE_API void AFXAPI AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);
AFX_CORE_API HINSTANCE AFXAPI AfxGetResourceHandle();
AFX_CORE_API void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource);
AFX_CORE_API HINSTANCE AFXAPI AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);

// ---------------------------------------------------------------------------------------
// Message boxes

AFX_CORE_API int AFXAPI AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
AFX_CORE_API int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);

// ---------------------------------------------------------------------------------------
// Seams for tests.
//
// Message boxes: every box of the framework (AfxMessageBox, CWnd::MessageBox) and of any
// code that shows one through AfxShowMessageBox reaches the handler, which answers for the
// user:
//     AfxSetMessageBoxHandler([&](HWND, LPCSTR text, LPCSTR caption, UINT type) {
//         seen.push_back(text); return IDOK; });
// An empty handler restores the real MessageBoxA.
//
// Modal dialogs: the modal hook runs once per DoModal, inside the dialog's own loop, after
// the dialog is created, initialised and shown; it may set texts, send clicks
// (AfxClickDlgButton), pump messages (AfxPumpMessages, e.g. to let a 50 ms timer fire) and
// end the dialog (EndDialog, or a click on OK/Cancel). The hook stays installed until
// replaced, so nested dialogs reach it too; look at pDialog->GetRuntimeClass() to tell them
// apart.
//
// Non-interactive runs (VOR_NONINTERACTIVE set): a dialog the hook leaves open, or any
// dialog without a hook, ends with IDABORT once its queue is empty; a message box without a
// handler returns its safe default (IDOK for MB_OK, otherwise IDCANCEL/IDNO/IDABORT) and is
// reported on the debugger output.

typedef std::function<int(HWND hOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nType)>
    AFX_MESSAGEBOX_HANDLER;
typedef std::function<void(CDialog* pDialog)> AFX_MODAL_HOOK;

AFX_CORE_API void AFXAPI AfxSetMessageBoxHandler(AFX_MESSAGEBOX_HANDLER handler);
AFX_CORE_API int AFXAPI AfxShowMessageBox(HWND hOwner, LPCSTR lpszText, LPCSTR lpszCaption,
                                          UINT nType);
AFX_CORE_API void AFXAPI AfxSetModalHook(AFX_MODAL_HOOK hook);
AFX_CORE_API BOOL AFXAPI AfxIsNonInteractive();
// Runs the messages of this thread for the given time (at least one pass over what is
// queued), through AfxPreTranslateMessage as a framework loop does.
AFX_CORE_API void AFXAPI AfxPumpMessages(DWORD dwMilliseconds = 0);
// A real button click (BM_CLICK) on a dialog's control, as the user would make it: FALSE,
// and nothing happens, when the button is missing, disabled or hidden.
AFX_CORE_API BOOL AFXAPI AfxClickDlgButton(CWnd* pDialog, int nIDButton);
