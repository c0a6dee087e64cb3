#include "windiff/LineDiff.h"

#include <gtest/gtest.h>

#include <random>

namespace
{
std::vector<std::string> Lines(std::initializer_list<const char*> texts)
{
    return std::vector<std::string>(texts.begin(), texts.end());
}

std::string Describe(const LineDiff& diff)
{
    std::string out;
    for (const auto& row : diff.Rows())
        out += "=!-+"[row.kind];
    return out;
}

size_t LcsLength(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    std::vector<std::vector<size_t>> t(a.size() + 1, std::vector<size_t>(b.size() + 1, 0));
    for (size_t i = a.size(); i-- > 0;)
        for (size_t j = b.size(); j-- > 0;)
            t[i][j] = a[i] == b[j] ? t[i + 1][j + 1] + 1 : std::max(t[i + 1][j], t[i][j + 1]);
    return t[0][0];
}
} // namespace

TEST(LineDiff, MarksChangedRemovedAndAddedLinesSideBySide)
{
    const auto left = Lines({"a", "b", "c", "d", "e"});
    const auto right = Lines({"a", "B", "c", "e", "f"});
    const LineDiff diff(left, right);
    EXPECT_EQ(Describe(diff), "=!=-=+");
    // Which line each row shows is pinned by the alignment test below.
    EXPECT_EQ(diff.DifferenceCount(), 3);

    const auto same = Lines({"x", "y"});
    EXPECT_EQ(LineDiff(same, same).DifferenceCount(), 0);
    const std::vector<std::string> none;
    EXPECT_EQ(Describe(LineDiff(none, same)), "++");
    EXPECT_EQ(Describe(LineDiff(same, none)), "--");
    EXPECT_EQ(Describe(LineDiff(Lines({"x"}), Lines({"new", "x"}))), "+=");

    // Windows and Unix line ends alike; a last line end adds no line.
    EXPECT_EQ(LineDiff::SplitLines("one\r\ntwo\nthree"), Lines({"one", "two", "three"}));
    EXPECT_EQ(LineDiff::SplitLines("one\r\n\r\n"), Lines({"one", ""}));
    EXPECT_TRUE(LineDiff::SplitLines("").empty());
}

// Any pair of files: every line appears once and in order, and the matched lines are a
// longest common subsequence, so no difference is shown that need not be.
TEST(LineDiff, AlignmentIsCompleteOrderedAndMinimal)
{
    std::mt19937 random(1234);
    for (int round = 0; round < 300; ++round)
    {
        std::vector<std::string> a(random() % 40), b(random() % 40);
        for (auto* lines : {&a, &b})
            for (auto& line : *lines)
                line = std::string(1, static_cast<char>('a' + random() % 4));
        const LineDiff diff(a, b);
        int next_left = 0, next_right = 0;
        size_t same = 0;
        for (const auto& row : diff.Rows())
        {
            ASSERT_TRUE(row.left < 0 || row.left == next_left++) << "round " << round;
            ASSERT_TRUE(row.right < 0 || row.right == next_right++) << "round " << round;
            if (row.kind == LineDiff::Same)
            {
                ASSERT_EQ(a[row.left], b[row.right]);
                ++same;
            }
        }
        ASSERT_EQ(next_left, static_cast<int>(a.size()));
        ASSERT_EQ(next_right, static_cast<int>(b.size()));
        ASSERT_EQ(same, LcsLength(a, b)) << "round " << round;
    }
}
