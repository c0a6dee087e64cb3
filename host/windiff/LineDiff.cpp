#include "LineDiff.h"

#include <algorithm>

LineDiff::LineDiff(const std::vector<std::string>& left, const std::vector<std::string>& right)
    : m_left(left), m_right(right)
{
    Match(0, static_cast<int>(left.size()), 0, static_cast<int>(right.size()));
    BuildRows();
}

int LineDiff::DifferenceCount() const
{
    return static_cast<int>(std::count_if(m_rows.begin(), m_rows.end(),
                                          [](const Row& row) { return row.kind != Same; }));
}

std::vector<std::string> LineDiff::SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    while (start < text.size())
    {
        std::string::size_type end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// Emits the matched line pairs of left[a0, a1) and right[b0, b1) in order.
void LineDiff::Match(int a0, int a1, int b0, int b1)
{
    while (a0 < a1 && b0 < b1 && m_left[a0] == m_right[b0])
        m_matches.emplace_back(a0++, b0++);
    int common_tail = 0;
    while (a0 < a1 && b0 < b1 && m_left[a1 - 1] == m_right[b1 - 1])
    {
        --a1;
        --b1;
        ++common_tail;
    }
    // Both ends now differ, so at least two edits remain and each half below is smaller.
    if (a0 < a1 && b0 < b1)
    {
        const Snake snake = MiddleSnake(a0, a1, b0, b1);
        Match(a0, snake.x, b0, snake.y);
        for (int k = 0; k < snake.u - snake.x; ++k)
            m_matches.emplace_back(snake.x + k, snake.y + k);
        Match(snake.u, a1, snake.v, b1);
    }
    for (int k = 0; k < common_tail; ++k)
        m_matches.emplace_back(a1 + k, b1 + k);
}

// The middle snake of an optimal edit path: searched from both ends until the two meet.
LineDiff::Snake LineDiff::MiddleSnake(int a0, int a1, int b0, int b1) const
{
    const int n = a1 - a0;
    const int m = b1 - b0;
    const int delta = n - m;
    const bool odd = (delta & 1) != 0;
    const int limit = (n + m + 1) / 2 + 1;
    std::vector<int> forward(2 * limit + 3, 0);
    std::vector<int> backward(2 * limit + 3, 0);
    auto fwd = [&](int k) -> int& { return forward[k + limit + 1]; };
    auto bwd = [&](int k) -> int& { return backward[k + limit + 1]; };

    for (int d = 0; d < limit; ++d)
    {
        for (int k = -d; k <= d; k += 2)
        {
            int x = (k == -d || (k != d && fwd(k - 1) < fwd(k + 1))) ? fwd(k + 1) : fwd(k - 1) + 1;
            int y = x - k;
            const int xs = x, ys = y;
            while (x < n && y < m && m_left[a0 + x] == m_right[b0 + y])
            {
                ++x;
                ++y;
            }
            fwd(k) = x;
            const int c = delta - k;
            if (odd && d > 0 && c >= -(d - 1) && c <= d - 1 && fwd(k) + bwd(c) >= n)
                return {a0 + xs, b0 + ys, a0 + x, b0 + y};
        }
        for (int c = -d; c <= d; c += 2)
        {
            int x = (c == -d || (c != d && bwd(c - 1) < bwd(c + 1))) ? bwd(c + 1) : bwd(c - 1) + 1;
            int y = x - c;
            const int xs = x, ys = y;
            while (x < n && y < m && m_left[a1 - 1 - x] == m_right[b1 - 1 - y])
            {
                ++x;
                ++y;
            }
            bwd(c) = x;
            const int k = delta - c;
            if (!odd && k >= -d && k <= d && fwd(k) + bwd(c) >= n)
                return {a1 - x, b1 - y, a1 - xs, b1 - ys};
        }
    }
    return {a0, b0, a0, b0};
}

void LineDiff::BuildRows()
{
    int left = 0;
    int right = 0;
    auto gap = [&](int left_end, int right_end)
    {
        while (left < left_end && right < right_end)
            m_rows.push_back({Changed, left++, right++});
        while (left < left_end)
            m_rows.push_back({Removed, left++, -1});
        while (right < right_end)
            m_rows.push_back({Added, -1, right++});
    };
    for (const auto& match : m_matches)
    {
        gap(match.first, match.second);
        m_rows.push_back({Same, left++, right++});
    }
    gap(static_cast<int>(m_left.size()), static_cast<int>(m_right.size()));
}
