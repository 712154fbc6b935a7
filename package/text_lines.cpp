#include "text_lines.h"

#include <algorithm>

namespace scrinst {

std::vector<std::string> SplitLines(std::span<const std::uint8_t> text)
{
    constexpr std::uint8_t kCarriageReturn = 13;
    constexpr std::uint8_t kLineFeed = 10;

    const auto end = std::find(text.begin(), text.end(), std::uint8_t{0});
    std::vector<std::string> lines;
    auto lineStart = text.begin();
    auto it = text.begin();
    while (it != end) {
        if (*it != kCarriageReturn && *it != kLineFeed) {
            ++it;
            continue;
        }
        lines.emplace_back(lineStart, it);
        const bool crlf = *it == kCarriageReturn && it + 1 != end && *(it + 1) == kLineFeed;
        it += crlf ? 2 : 1;
        lineStart = it;
    }
    if (lineStart != end) {
        lines.emplace_back(lineStart, end);
    }
    return lines;
}

}  // namespace scrinst
