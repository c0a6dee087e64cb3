#include <windows.h>

#include <afxwin.h>

#include <gtest/gtest.h>

#include <string>

// "갂" is 0x81 0x41 and "갵" is 0x81 0x61 in code page 949: their trail bytes read as 'A' and
// 'a'. Treating them byte by byte would change, match or split them.
static const char kTrailUpperA[] = "갂";
static const char kTrailLowerA[] = "갵";

static std::string Bytes(const CString& s)
{
    return std::string(s, s.GetLength());
}

TEST(CString, DoubleByteCharactersAreNeverSplitOrChanged)
{
    ASSERT_STREQ(kTrailUpperA, "\x81\x41");
    ASSERT_STREQ(kTrailLowerA, "\x81\x61");

    CString lower = CString(kTrailUpperA) + "ABC" + kTrailUpperA;
    lower.MakeLower();
    EXPECT_EQ(Bytes(lower), std::string("갂abc갂"));
    CString upper = CString(kTrailLowerA) + "abc";
    upper.MakeUpper();
    EXPECT_EQ(Bytes(upper), std::string("갵ABC"));

    CString text = CString("한") + kTrailUpperA + "A" + kTrailUpperA;
    EXPECT_EQ(text.Find('A'), 4);
    EXPECT_EQ(text.Find("A"), 4);
    EXPECT_EQ(text.Find('A', 5), -1);
    EXPECT_EQ(text.ReverseFind('A'), 4);
    EXPECT_EQ(text.FindOneOf("xA"), 4);
    EXPECT_EQ(text.Find(kTrailUpperA), 2);
    EXPECT_EQ(text.Find(kTrailUpperA, 3), 5);
    // A lead byte alone is not a character of the text.
    EXPECT_EQ(text.Find('\x81'), -1);

    CString replaced = text;
    EXPECT_EQ(replaced.Replace("A", "B"), 1);
    EXPECT_EQ(Bytes(replaced), std::string("한갂B갂"));
    EXPECT_EQ(replaced.Replace('A', 'C'), 0);
    CString removed = text;
    EXPECT_EQ(removed.Remove('A'), 1);
    EXPECT_EQ(Bytes(removed), std::string("한갂갂"));

    CString trimmed = CString("A") + kTrailUpperA;
    trimmed.TrimRight('A');
    EXPECT_EQ(Bytes(trimmed), std::string("A갂"));
    trimmed.TrimLeft("A");
    EXPECT_EQ(Bytes(trimmed), std::string(kTrailUpperA));

    CString reversed = CString("a") + kTrailUpperA + "b";
    reversed.MakeReverse();
    EXPECT_EQ(Bytes(reversed), std::string("b갂a"));

    // Two different characters whose trail bytes differ only in letter case.
    EXPECT_NE(CString(kTrailUpperA).CompareNoCase(kTrailLowerA), 0);
    EXPECT_EQ(CString("한글Abc").CompareNoCase("한글aBC"), 0);
    EXPECT_LT(CString("a").Compare("한"), 0);
}

TEST(CString, FormatsTheConversionsTheLibraryUses)
{
    CString s;
    s.Format("%s|%d|%02d|%ld|%08.8lx", "한글", -42, 7, 123456L, 0xBEEFUL);
    EXPECT_STREQ(s, "한글|-42|07|123456|0000beef");
    CString longText(std::string(5000, 'x').c_str());
    s.Format("[%s]", static_cast<LPCSTR>(longText));
    EXPECT_EQ(s.GetLength(), 5002);
}

TEST(CString, SubstringsAndReplacementsClampLikeTheFramework)
{
    CString s("\\Repo\\Src\\Screens");
    EXPECT_EQ(s.Mid(6, 3), "Src");
    EXPECT_EQ(s.Mid(100), "");
    EXPECT_EQ(s.Mid(-3, 5), "\\Repo");
    EXPECT_EQ(s.Mid(10, 100), "Screens");
    EXPECT_EQ(s.Right(100), s);
    EXPECT_EQ(s.Find("Src", 7), -1);

    CString path("a\\\\b\\\\c");
    EXPECT_EQ(path.Replace("\\\\", "\\"), 2);
    EXPECT_EQ(path, "a\\b\\c");
    EXPECT_EQ(path.Replace("", "x"), 0);

    CString padded("  \t 값 \r\n");
    padded.Trim();
    EXPECT_EQ(padded, "값");
    EXPECT_EQ(padded.Delete(0, 5), 0);
}

TEST(CString, CopiesShareUntilOneIsWrittenAndAppendToThemselves)
{
    CString original("원본");
    CString copy = original;
    EXPECT_EQ(static_cast<LPCSTR>(copy), static_cast<LPCSTR>(original));
    LPSTR buffer = copy.GetBuffer(10);
    strcpy(buffer, "바뀜");
    copy.ReleaseBuffer();
    EXPECT_EQ(original, "원본");
    EXPECT_EQ(copy, "바뀜");
    EXPECT_EQ(copy.GetLength(), 4);

    CString self("ab");
    self += self;
    self += static_cast<LPCSTR>(self);
    EXPECT_EQ(self, "abababab");
    EXPECT_TRUE(CString(static_cast<LPCSTR>(NULL)).IsEmpty());
}
