#include <windows.h>
#include <commctrl.h>

#include "BrokerNames.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <set>
#include <string>
#include <vector>

// The templates, initial data and image strips of vor.dll, checked on real windows: every
// control of every dialog with its id, class, styles, place and text, in tab order. Ids are
// written as numbers here on purpose, so that a wrong number in resource.h shows.

namespace
{

struct Control
{
    int id;
    const char* windowClass;
    DWORD style;
    int x, y, cx, cy;
    const char* text;
};

struct Template
{
    int id;
    const char* caption;
    int cx, cy;
    std::vector<Control> controls;
};

const DWORD V = WS_VISIBLE;
const DWORD T = WS_TABSTOP;
const DWORD PUSH = V | T | BS_PUSHBUTTON;
const DWORD DEFAULT = V | T | BS_DEFPUSHBUTTON;
const DWORD LABEL = V | SS_LEFT;
const DWORD FRAME = V | BS_GROUPBOX;
const DWORD PATH = V | T | WS_BORDER | ES_READONLY | ES_AUTOHSCROLL;
const DWORD PICK = V | T | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT;
const DWORD REPORT = V | T | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS;
const DWORD TREE =
    V | T | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
const int NONE = -1;

const std::vector<Template> kTemplates = {
    {1000,
     "Harvest CM 서버 연결",
     207,
     124,
     {{1000, "Edit", V | T | WS_BORDER | ES_AUTOHSCROLL, 44, 7, 156, 14, ""},
      {1001, "Edit", V | T | WS_BORDER | ES_AUTOHSCROLL | ES_PASSWORD, 44, 27, 156, 14, ""},
      {1002, "ComboBox", PICK, 44, 50, 59, 44, ""},
      {1, "Button", DEFAULT, 63, 72, 80, 27, "연결하기"},
      {2, "Button", PUSH, 150, 83, 50, 14, "취소"},
      {NONE, "Static", LABEL, 7, 9, 36, 8, "사용자명:"},
      {NONE, "Static", LABEL, 7, 30, 36, 8, "비밀번호:"},
      {NONE, "Static", LABEL, 7, 52, 36, 8, "브로커명:"},
      {1045, "Button", V | T | BS_AUTOCHECKBOX, 7, 107, 66, 10, "비밀번호 저장"}}},
    {1001,
     "HarvestCM 기본 환경",
     223,
     103,
     {{1003, "ComboBox", PICK, 39, 7, 147, 57, ""},
      {1004, "ComboBox", PICK, 39, 29, 147, 54, ""},
      {1005, "ComboBox", PICK, 39, 52, 147, 54, ""},
      {1, "Button", DEFAULT, 56, 82, 50, 14, "확인"},
      {2, "Button", PUSH, 117, 82, 50, 14, "취소"},
      {1006, "Button", PUSH | WS_DISABLED, 191, 51, 25, 14, "생성"},
      {NONE, "Static", LABEL, 7, 10, 26, 8, "Project:"},
      {NONE, "Static", LABEL, 7, 32, 21, 8, "State:"},
      {NONE, "Static", LABEL, 7, 54, 30, 8, "Package:"}}},
    {1002,
     "VOR Repository",
     264,
     250,
     {{1009, "Button", V | T | WS_GROUP | BS_AUTORADIOBUTTON, 7, 7, 50, 10, "폴더 구조"},
      {1010, "Button", V | BS_AUTORADIOBUTTON, 65, 7, 58, 10, "솔루션 파일"},
      {1007, "SysTreeView32", TREE | WS_GROUP, 7, 21, 250, 140, ""},
      {1014, "SysListView32", (REPORT & ~V) | LVS_SINGLESEL, 7, 21, 250, 140, ""},
      {NONE, "Button", FRAME, 7, 161, 250, 41, ""},
      {NONE, "Static", LABEL, 10, 171, 38, 8, "루트 경로:"},
      {1011, "Edit", PATH, 48, 168, 177, 14, ""},
      {1012, "Button", PUSH, 227, 168, 26, 14, "변경"},
      {NONE, "Static", LABEL, 10, 188, 38, 8, "실제 경로:"},
      {1013, "Edit", PATH, 48, 185, 205, 14, ""},
      {1, "Button", DEFAULT, 78, 211, 107, 32, "최신 버전 가져오기"},
      {2, "Button", PUSH, 207, 229, 50, 14, "종료"}}},
    {1009,
     "편집을 위한 체크아웃 목록",
     316,
     182,
     {{1015, "SysListView32", REPORT | LVS_SINGLESEL, 7, 7, 302, 150, ""},
      {1, "Button", DEFAULT, 205, 161, 50, 14, "확인"},
      {2, "Button", PUSH, 259, 161, 50, 14, "취소"},
      {1018, "msctls_progress32", 0, 7, 161, 188, 14, ""},
      {1019, "Button", PUSH, 7, 161, 50, 14, "전체 선택"},
      {1020, "Button", PUSH, 62, 161, 50, 14, "전체 해제"}}},
    {1010,
     "체크인 목록",
     316,
     271,
     {{1017, "SysListView32", REPORT | LVS_SINGLESEL, 7, 7, 302, 150, ""},
      {1022, "Button", PUSH, 203, 158, 50, 14, "전체 선택"},
      {1023, "Button", PUSH, 259, 158, 50, 14, "전체 해제"},
      {NONE, "Button", FRAME, 7, 173, 302, 24, ""},
      {1026, "Static", LABEL | WS_DISABLED, 10, 182, 69, 8, "하비스트 루트 경로"},
      {1027, "Edit", PATH | WS_DISABLED, 82, 179, 193, 14, ""},
      {1028, "Button", PUSH | WS_DISABLED, 276, 179, 31, 14, "변경"},
      {NONE, "Static", LABEL, 7, 200, 20, 8, "설명:"},
      {1025, "Edit", V | T | WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL, 7, 211, 302, 32, ""},
      {1024, "Button", V | T | BS_AUTOCHECKBOX, 7, 250, 84, 14, "체크아웃 상태 유지"},
      {1021, "msctls_progress32", 0, 7, 250, 190, 14, ""},
      {1, "Button", DEFAULT, 205, 250, 50, 14, "확인"},
      {2, "Button", PUSH, 259, 250, 50, 14, "취소"}}},
    {1012,
     "하비스트 폴더 찾아보기",
     273,
     182,
     {{1029, "SysTreeView32", TREE | TVS_EDITLABELS | WS_HSCROLL, 7, 19, 259, 139, ""},
      {1, "Button", DEFAULT, 162, 161, 50, 14, "확인"},
      {2, "Button", PUSH, 216, 161, 50, 14, "취소"},
      {1030, "Button", PUSH, 7, 161, 71, 14, "새 폴더 만들기"},
      {NONE, "Static", LABEL, 7, 7, 61, 8, "작업할 폴더 지정"}}},
    {1013,
     "파일의 모든 버전(변경 이력)",
     296,
     204,
     {{NONE, "Static", LABEL, 7, 10, 36, 8, "선택파일:"},
      {1037, "Edit", PATH, 45, 7, 244, 14, ""},
      {1034, "SysListView32", REPORT, 7, 26, 282, 152, ""},
      {1035, "Button", PUSH, 7, 183, 50, 14, "가져오기"},
      {1036, "Button", PUSH, 61, 183, 50, 14, "버전 비교"},
      {1038, "Button", PUSH, 145, 183, 50, 14, "자세히..."},
      {1, "Button", DEFAULT, 239, 183, 50, 14, "닫기"}}},
    {1014,
     "이력 상세 정보",
     165,
     194,
     {{NONE, "Static", LABEL, 7, 8, 28, 8, "버    전:"},
      {1040, "Static", LABEL, 45, 8, 113, 8, ""},
      {NONE, "Static", LABEL, 7, 24, 28, 8, "수정일:"},
      {1041, "Static", LABEL, 45, 24, 113, 8, ""},
      {NONE, "Static", LABEL, 7, 40, 28, 8, "사용자:"},
      {1042, "Static", LABEL, 45, 40, 113, 8, ""},
      {NONE, "Static", LABEL, 7, 56, 28, 8, "패키지:"},
      {1043, "Static", LABEL, 45, 56, 113, 8, ""},
      {NONE, "Static", LABEL, 7, 72, 28, 8, "상    태:"},
      {1044, "Static", LABEL, 45, 72, 113, 8, ""},
      {NONE, "Static", LABEL, 7, 87, 36, 8, "파일위치:"},
      {1047, "Edit", PATH, 7, 97, 151, 14, ""},
      {NONE, "Static", LABEL, 7, 116, 28, 8, "설    명:"},
      {1039, "Edit", V | T | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_READONLY, 7, 127, 151, 39,
       ""},
      {1, "Button", DEFAULT, 108, 173, 50, 14, "닫기"}}},
    {1016,
     "종합화면 파일(.xml) 관리",
     321,
     238,
     {{1055, "SysListView32", REPORT, 7, 7, 307, 130, ""},
      {NONE, "Button", FRAME, 7, 138, 307, 26, ""},
      {NONE, "Static", LABEL, 13, 148, 36, 8, "루트경로:"},
      {1056, "Edit", PATH, 50, 145, 219, 14, ""},
      {1057, "Button", PUSH, 273, 145, 32, 14, "변경"},
      {NONE, "Button", FRAME, 7, 175, 149, 37, "서버 -> 클라이언트"},
      {1048, "Button", PUSH, 15, 190, 50, 14, "체크아웃"},
      {1052, "Button", PUSH, 72, 190, 76, 14, "최신버전 가져오기"},
      {NONE, "Button", FRAME, 165, 175, 149, 37, "클라이언트 -> 서버"},
      {1049, "Button", PUSH, 179, 190, 50, 14, "체크인"},
      {1050, "Button", PUSH, 237, 190, 67, 14, "체크아웃 취소"},
      {1051, "Button", PUSH & ~V, 15, 217, 67, 14, "변경이력 보기"},
      {1053, "Button", PUSH, 208, 217, 50, 14, "파일 열기"},
      {2, "Button", PUSH, 264, 217, 50, 14, "종료"}}},
    {1017,
     "하비스트 서버에 신규 파일 추가",
     263,
     123,
     {{NONE, "Button", FRAME, 7, 7, 249, 39, "대상 파일"},
      {1058, "Button", PUSH, 15, 22, 50, 14, "파일 찾기"},
      {1060, "Edit", PATH, 67, 22, 181, 14, ""},
      {NONE, "Button", FRAME, 7, 52, 249, 39, "하비스트 서버 경로"},
      {1059, "Button", PUSH, 15, 68, 50, 14, "경로 찾기"},
      {1062, "Edit", PATH, 67, 68, 181, 14, ""},
      {1063, "Button", DEFAULT, 100, 97, 64, 19, "파일 올리기"},
      {2, "Button", PUSH, 206, 102, 50, 14, "닫기"}}},
};

class VorResources : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX controls = {sizeof controls,
                                         ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES |
                                             ICC_TREEVIEW_CLASSES | ICC_PROGRESS_CLASS};
        ASSERT_TRUE(InitCommonControlsEx(&controls));
        vor = LoadLibraryA("vor.dll");
        ASSERT_NE(vor, nullptr) << "error " << GetLastError();
    }
    static void TearDownTestSuite() { FreeLibrary(vor); }

    // Returning FALSE from WM_INITDIALOG keeps the focus, and so the default button, where
    // the template puts it.
    static INT_PTR CALLBACK PassiveProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

    static HWND CreateFromTemplate(int id)
    {
        return CreateDialogParamA(vor, MAKEINTRESOURCEA(id), nullptr, PassiveProc, 0);
    }

    static HMODULE vor;
};
HMODULE VorResources::vor = nullptr;

std::string WindowText(HWND wnd)
{
    char text[256] = {};
    GetWindowTextA(wnd, text, sizeof text);
    return text;
}

std::string WindowClass(HWND wnd)
{
    char name[64] = {};
    GetClassNameA(wnd, name, sizeof name);
    return name;
}

// The dialog manager converts the origin and the size separately, as here.
RECT DialogUnits(HWND dlg, int x, int y, int cx, int cy)
{
    RECT units = {x, y, cx, cy};
    MapDialogRect(dlg, &units);
    return {units.left, units.top, units.left + units.right, units.top + units.bottom};
}

std::string Describe(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

// Styles are read from the template itself: several controls change their own at run time
// (combo boxes pass the scroll bar to their list, tree views drop theirs, edit controls trade
// the border for a client edge).
struct TemplateData
{
    DWORD style = 0;
    WORD points = 0;
    std::wstring face;
    std::vector<DWORD> itemStyles;
};

const WORD* SkipNameOrOrdinal(const WORD* p)
{
    if (*p == 0xFFFF)
        return p + 2;
    while (*p++)
    {
    }
    return p;
}

// An extended dialog template (DLGTEMPLATEEX and its DLGITEMTEMPLATEEX items), read as far as
// the styles and the font.
TemplateData ReadTemplate(HMODULE module, int id)
{
    TemplateData data;
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));
    if (!found)
        return data;
    auto start = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    auto p = reinterpret_cast<const WORD*>(start);
    if (p[0] != 1 || p[1] != 0xFFFF)
        return data;
    std::memcpy(&data.style, p + 6, sizeof data.style);
    WORD count = p[8];
    p = SkipNameOrOrdinal(p + 13); // menu
    p = SkipNameOrOrdinal(p);      // window class
    p = SkipNameOrOrdinal(p);      // caption
    if (data.style & DS_SETFONT)
    {
        data.points = p[0];
        p += 3; // point size, weight, italic and character set
        for (; *p; ++p)
            data.face += static_cast<wchar_t>(*p);
        ++p;
    }
    for (WORD item = 0; item < count; ++item)
    {
        auto offset = reinterpret_cast<const BYTE*>(p) - start;
        p = reinterpret_cast<const WORD*>(start + ((offset + 3) & ~3));
        DWORD style;
        std::memcpy(&style, p + 4, sizeof style);
        data.itemStyles.push_back(style);
        p = SkipNameOrOrdinal(p + 12); // class
        p = SkipNameOrOrdinal(p);      // text
        WORD extra = *p++;
        p += (extra + 1) / 2;
    }
    return data;
}

void ExpectControl(HWND dlg, HWND wnd, DWORD templateStyle, const Control& expected)
{
    EXPECT_EQ(LOWORD(GetDlgCtrlID(wnd)), LOWORD(expected.id));
    EXPECT_EQ(lstrcmpiA(WindowClass(wnd).c_str(), expected.windowClass), 0) << WindowClass(wnd);
    EXPECT_EQ(WindowText(wnd), expected.text);
    EXPECT_EQ(templateStyle, WS_CHILD | expected.style) << std::hex << templateStyle;
    EXPECT_EQ(GetWindowLongA(wnd, GWL_STYLE) & WS_VISIBLE, expected.style & WS_VISIBLE);
    EXPECT_EQ(IsWindowEnabled(wnd) != FALSE, (expected.style & WS_DISABLED) == 0);

    RECT place = {};
    GetWindowRect(wnd, &place);
    MapWindowPoints(HWND_DESKTOP, dlg, reinterpret_cast<POINT*>(&place), 2);
    RECT want = DialogUnits(dlg, expected.x, expected.y, expected.cx, expected.cy);
    // A closed drop-down list is as tall as its selection field, not as its template.
    if (lstrcmpiA(expected.windowClass, "ComboBox") == 0)
        place.bottom = want.bottom;
    EXPECT_TRUE(EqualRect(&place, &want)) << Describe(place) << " instead of " << Describe(want);
}

void PrintTo(const Template& t, std::ostream* out)
{
    *out << "template " << t.id;
}

class DialogTemplate : public VorResources, public ::testing::WithParamInterface<Template>
{
};

TEST_P(DialogTemplate, HasEveryControlInOrderWithItsClassStylesPlaceAndText)
{
    const Template& expected = GetParam();
    HRSRC korean = FindResourceExA(vor, MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(expected.id),
                                   MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN));
    EXPECT_NE(korean, nullptr) << "no Korean template";

    TemplateData data = ReadTemplate(vor, expected.id);
    EXPECT_EQ(data.style, DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU)
        << std::hex << data.style;
    EXPECT_EQ(data.points, 8);
    EXPECT_EQ(data.face, L"MS Shell Dlg");
    ASSERT_EQ(data.itemStyles.size(), expected.controls.size());

    HWND dlg = CreateFromTemplate(expected.id);
    ASSERT_NE(dlg, nullptr) << "error " << GetLastError();
    EXPECT_EQ(WindowText(dlg), expected.caption);

    RECT client = {};
    GetClientRect(dlg, &client);
    RECT want = DialogUnits(dlg, 0, 0, expected.cx, expected.cy);
    EXPECT_TRUE(EqualRect(&client, &want)) << Describe(client) << " instead of " << Describe(want);

    size_t index = 0;
    for (HWND child = GetWindow(dlg, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    {
        if (index < expected.controls.size())
        {
            const Control& control = expected.controls[index];
            SCOPED_TRACE("control " + std::to_string(index) + " (id " + std::to_string(control.id) +
                         ")");
            ExpectControl(dlg, child, data.itemStyles[index], control);
        }
        ++index;
    }
    EXPECT_EQ(index, expected.controls.size());
    DestroyWindow(dlg);
}

INSTANTIATE_TEST_SUITE_P(Vor, DialogTemplate, ::testing::ValuesIn(kTemplates),
                         [](const ::testing::TestParamInfo<Template>& info)
                         { return "Template" + std::to_string(info.param.id); });

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR names)
{
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::set<int>*>(names)->insert(
            static_cast<int>(reinterpret_cast<ULONG_PTR>(name)));
    else
        reinterpret_cast<std::set<int>*>(names)->insert(-1);
    return TRUE;
}

std::set<int> ResourceIds(HMODULE module, LPCSTR type)
{
    std::set<int> ids;
    EnumResourceNamesA(module, type, CollectName, reinterpret_cast<LONG_PTR>(&ids));
    return ids;
}

TEST_F(VorResources, HoldsExactlyTheDialogsAndBitmapsOfTheLibrary)
{
    std::set<int> dialogs;
    for (const Template& t : kTemplates)
        dialogs.insert(t.id);
    EXPECT_EQ(ResourceIds(vor, MAKEINTRESOURCEA(5)), dialogs);
    EXPECT_EQ(ResourceIds(vor, MAKEINTRESOURCEA(2)), (std::set<int>{1008, 1015}));
    EXPECT_EQ(ResourceIds(vor, MAKEINTRESOURCEA(240)), (std::set<int>{1000}));
}

struct InitEntry
{
    WORD control;
    WORD message;
    std::string data;
};

// Decodes a DLGINIT block; an entry that runs past the end or a missing terminator ends the
// list with an entry of message 0xFFFF so that the comparison fails visibly.
std::vector<InitEntry> DecodeDlgInit(const BYTE* p, DWORD size)
{
    std::vector<InitEntry> entries;
    const BYTE* end = p + size;
    while (end - p >= 2)
    {
        WORD control;
        std::memcpy(&control, p, 2);
        p += 2;
        if (control == 0)
        {
            if (p != end)
                entries.push_back({0, 0xFFFF, "bytes after the terminator"});
            return entries;
        }
        WORD message;
        DWORD length;
        if (end - p < 6)
            break;
        std::memcpy(&message, p, 2);
        std::memcpy(&length, p + 2, 4);
        p += 6;
        if (static_cast<DWORD>(end - p) < length)
            break;
        entries.push_back(
            {control, message, std::string(reinterpret_cast<const char*>(p), length)});
        p += length;
    }
    entries.push_back({0, 0xFFFF, "no terminator"});
    return entries;
}

TEST_F(VorResources, LoginInitDataFillsTheBrokerListWithTheFirstDefaultBrokerFirst)
{
    HRSRC found = FindResourceA(vor, MAKEINTRESOURCEA(1000), MAKEINTRESOURCEA(240));
    ASSERT_NE(found, nullptr);
    auto bytes = static_cast<const BYTE*>(LockResource(LoadResource(vor, found)));
    std::vector<InitEntry> entries = DecodeDlgInit(bytes, SizeofResource(vor, found));

    const std::string first(VOR_DEFAULT_BROKER_1, sizeof VOR_DEFAULT_BROKER_1);
    const std::string second(VOR_DEFAULT_BROKER_2, sizeof VOR_DEFAULT_BROKER_2);
    ASSERT_EQ(entries.size(), 2u);
    for (const InitEntry& entry : entries)
    {
        EXPECT_EQ(entry.control, 1002);
        EXPECT_EQ(entry.message, 0x0403) << "CB_ADDSTRING in its Win16 numbering";
    }
    EXPECT_EQ(entries[0].data, first);
    EXPECT_EQ(entries[1].data, second);

    // Applied as the framework applies it, the sorted list keeps the first name at index 0.
    HWND dlg = CreateFromTemplate(1000);
    ASSERT_NE(dlg, nullptr);
    for (const InitEntry& entry : entries)
        SendDlgItemMessageA(dlg, entry.control, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(entry.data.c_str()));
    ASSERT_EQ(SendDlgItemMessageA(dlg, 1002, CB_GETCOUNT, 0, 0), 2);
    char text[64] = {};
    SendDlgItemMessageA(dlg, 1002, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, VOR_DEFAULT_BROKER_1);
    SendDlgItemMessageA(dlg, 1002, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, VOR_DEFAULT_BROKER_2);
    DestroyWindow(dlg);
}

struct Strip
{
    int id;
    int cellWidth, cellHeight, cells;
    COLORREF mask;
};

void PrintTo(const Strip& s, std::ostream* out)
{
    *out << "bitmap " << s.id;
}

class ImageStrip : public VorResources, public ::testing::WithParamInterface<Strip>
{
};

// Each cell has its mask colour in the top left corner and a picture of its own: a wrong mask
// colour or an empty cell would leave a blank or a solid square in the tree or list.
TEST_P(ImageStrip, LoadsAt24BitsWithAPictureOnTheMaskColourInEveryCell)
{
    const Strip& strip = GetParam();
    HBITMAP dib = static_cast<HBITMAP>(
        LoadImageA(vor, MAKEINTRESOURCEA(strip.id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(dib, nullptr);
    BITMAP info = {};
    ASSERT_EQ(GetObjectA(dib, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, strip.cellWidth * strip.cells);
    EXPECT_EQ(info.bmHeight, strip.cellHeight);
    EXPECT_EQ(info.bmBitsPixel, 24);

    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, dib);
    for (int cell = 0; cell < strip.cells; ++cell)
    {
        SCOPED_TRACE("cell " + std::to_string(cell));
        int left = cell * strip.cellWidth;
        EXPECT_EQ(GetPixel(dc, left, 0), strip.mask);
        int drawn = 0;
        for (int y = 0; y < strip.cellHeight; ++y)
            for (int x = left; x < left + strip.cellWidth; ++x)
                drawn += GetPixel(dc, x, y) != strip.mask;
        EXPECT_GT(drawn, strip.cellWidth * strip.cellHeight / 8);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(dib);

    // The way the dialogs use it: a device-dependent bitmap split into a masked image list.
    HBITMAP ddb = LoadBitmapA(vor, MAKEINTRESOURCEA(strip.id));
    ASSERT_NE(ddb, nullptr);
    HIMAGELIST images =
        ImageList_Create(strip.cellWidth, strip.cellHeight, ILC_COLOR24 | ILC_MASK, 0, 1);
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(ImageList_AddMasked(images, ddb, strip.mask), 0);
    EXPECT_EQ(ImageList_GetImageCount(images), strip.cells);
    ImageList_Destroy(images);
    DeleteObject(ddb);
}

INSTANTIATE_TEST_SUITE_P(Vor, ImageStrip,
                         ::testing::Values(Strip{1008, 16, 16, 6, RGB(0, 128, 128)},
                                           Strip{1015, 12, 14, 5, RGB(255, 255, 255)}),
                         [](const ::testing::TestParamInfo<Strip>& info)
                         { return "Bitmap" + std::to_string(info.param.id); });

} // namespace
