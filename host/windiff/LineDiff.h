#pragma once
#include <string>
#include <vector>

// Side-by-side line comparison: the longest common subsequence of the two files' lines
// (Myers' linear-space algorithm), with the unmatched lines between two matches paired up as
// changed lines and the rest shown as removed or added.
class LineDiff
{
public:
    enum Kind
    {
        Same,
        Changed,
        Removed,
        Added
    };
    struct Row
    {
        Kind kind;
        int left;  // line index in the first file, -1 for an added line
        int right; // line index in the second file, -1 for a removed line
    };

    LineDiff(const std::vector<std::string>& left, const std::vector<std::string>& right);

    const std::vector<Row>& Rows() const { return m_rows; }
    int DifferenceCount() const;

    static std::vector<std::string> SplitLines(const std::string& text);

private:
    struct Snake
    {
        int x, y, u, v;
    };

    void Match(int a0, int a1, int b0, int b1);
    Snake MiddleSnake(int a0, int a1, int b0, int b1) const;
    void BuildRows();

    const std::vector<std::string>& m_left;
    const std::vector<std::string>& m_right;
    std::vector<std::pair<int, int>> m_matches;
    std::vector<Row> m_rows;
};
