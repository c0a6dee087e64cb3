#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>

// The templates and image strips of vor.dll, loaded as the dialogs load them. Ids are written
// as numbers on purpose: hosts know the controls by these numbers, so a wrong one in
// resource.h has to show.

namespace
{
struct Template
{
    int id;
    const char* caption;
    // Every control the code reaches by id, each followed by the window class it must have.
    const char* controls;
};

const Template kTemplates[] = {
    {1000, "Harvest CM 서버 연결",
     "1000 Edit 1001 Edit 1002 ComboBox 1045 Button 1 Button 2 Button"},
    {1001, "HarvestCM 기본 환경", "1003 ComboBox 1004 ComboBox 1005 ComboBox 1006 Button"},
    {1002, "VOR Repository",
     "1007 SysTreeView32 1009 Button 1010 Button 1011 Edit 1012 Button 1013 Edit "
     "1014 SysListView32"},
    {1009, "편집을 위한 체크아웃 목록",
     "1015 SysListView32 1018 msctls_progress32 1019 Button 1020 Button"},
    {1010, "체크인 목록",
     "1017 SysListView32 1021 msctls_progress32 1022 Button 1023 Button 1024 Button "
     "1025 Edit 1026 Static 1027 Edit 1028 Button"},
    {1012, "하비스트 폴더 찾아보기", "1029 SysTreeView32 1030 Button"},
    {1013, "파일의 모든 버전(변경 이력)",
     "1034 SysListView32 1035 Button 1036 Button 1037 Edit 1038 Button"},
    {1014, "이력 상세 정보",
     "1039 Edit 1040 Static 1041 Static 1042 Static 1043 Static 1044 Static 1047 Edit"},
    {1016, "종합화면 파일(.xml) 관리",
     "1048 Button 1049 Button 1050 Button 1051 Button 1052 Button 1053 Button "
     "1055 SysListView32 1056 Edit 1057 Button"},
    {1017, "하비스트 서버에 신규 파일 추가",
     "1058 Button 1059 Button 1060 Edit 1062 Edit 1063 Button"},
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
    static HMODULE vor;
};
HMODULE VorResources::vor = nullptr;

INT_PTR CALLBACK PassiveProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}
} // namespace

// A template missing or in another language, a caption turned to mojibake by a wrong code
// page, or a control of the wrong kind would break the dialog only when a person opens it.
TEST_F(VorResources, EveryDialogTemplateIsKoreanAndHasTheControlsTheCodeUses)
{
    for (const Template& expected : kTemplates)
    {
        SCOPED_TRACE("template " + std::to_string(expected.id));
        EXPECT_NE(FindResourceExA(vor, MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(expected.id),
                                  MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN)),
                  nullptr);
        HWND dlg = CreateDialogParamA(vor, MAKEINTRESOURCEA(expected.id), nullptr, PassiveProc, 0);
        ASSERT_NE(dlg, nullptr) << "error " << GetLastError();
        char text[256] = {};
        GetWindowTextA(dlg, text, sizeof text);
        EXPECT_STREQ(text, expected.caption);
        std::istringstream controls(expected.controls);
        int id;
        std::string wanted;
        while (controls >> id >> wanted)
        {
            char windowClass[64] = {};
            GetClassNameA(GetDlgItem(dlg, id), windowClass, sizeof windowClass);
            EXPECT_EQ(lstrcmpiA(windowClass, wanted.c_str()), 0)
                << "control " << id << " is a '" << windowClass << "'";
        }
        DestroyWindow(dlg);
    }
}

// Each cell has its mask colour in the top left corner and a picture of its own: a wrong mask
// colour, size or an empty cell would leave a blank or a solid square in the tree or list.
TEST_F(VorResources, ImageStripsSplitIntoMaskedPicturesOfTheirCellSize)
{
    struct Strip
    {
        int id, cellWidth, cellHeight, cells;
        COLORREF mask;
    };
    for (const Strip& strip :
         {Strip{1008, 16, 16, 6, RGB(0, 128, 128)}, Strip{1015, 12, 14, 5, RGB(255, 255, 255)}})
    {
        SCOPED_TRACE("bitmap " + std::to_string(strip.id));
        HBITMAP dib = static_cast<HBITMAP>(
            LoadImageA(vor, MAKEINTRESOURCEA(strip.id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(dib, nullptr);
        BITMAP info = {};
        GetObjectA(dib, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, strip.cellWidth * strip.cells);
        EXPECT_EQ(info.bmHeight, strip.cellHeight);
        EXPECT_EQ(info.bmBitsPixel, 24);

        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, dib);
        for (int cell = 0; cell < strip.cells; ++cell)
        {
            const int left = cell * strip.cellWidth;
            EXPECT_EQ(GetPixel(dc, left, 0), strip.mask) << "cell " << cell;
            int drawn = 0;
            for (int y = 0; y < strip.cellHeight; ++y)
                for (int x = left; x < left + strip.cellWidth; ++x)
                    drawn += GetPixel(dc, x, y) != strip.mask;
            EXPECT_GT(drawn, strip.cellWidth * strip.cellHeight / 8) << "cell " << cell;
        }
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(dib);
    }
}
