#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The ground every other Windows test stands on: the product loads under Wine, the process
// runs in code page 949, narrow literals carry code page 949 bytes, and real windows work.

TEST(Harness, VorDllLoadsAndCarriesItsVersionBlock)
{
    HMODULE vor = LoadLibraryA("vor.dll");
    ASSERT_NE(vor, nullptr) << "error " << GetLastError();

    char path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(vor, path, MAX_PATH), 0u);
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), 1u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));

    char* name = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\041204b5\\OriginalFilename",
                               reinterpret_cast<void**>(&name), &length));
    EXPECT_STREQ(name, "vor.dll");
    FreeLibrary(vor);
}

TEST(Harness, AnsiCodePageIsKorean)
{
    EXPECT_EQ(GetACP(), 949u);
    const std::string hangul = "한글";
    EXPECT_EQ(hangul, std::string("\xC7\xD1\xB1\xDB"));

    wchar_t wide[8] = {};
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, hangul.c_str(), -1, wide, 8), 3);
    EXPECT_EQ(wide[0], 0xD55C);
    EXPECT_EQ(wide[1], 0xAE00);
}

TEST(Harness, RealWindowUnderTheDisplay)
{
    HWND wnd = CreateWindowExA(0, "STATIC", "창", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(wnd, nullptr) << "error " << GetLastError();
    ShowWindow(wnd, SW_SHOW);
    char text[16] = {};
    GetWindowTextA(wnd, text, sizeof text);
    EXPECT_STREQ(text, "창");
    RECT rect = {};
    EXPECT_TRUE(GetClientRect(wnd, &rect));
    EXPECT_GT(rect.right, 0);
    EXPECT_TRUE(DestroyWindow(wnd));
    EXPECT_FALSE(IsWindow(wnd));
}
