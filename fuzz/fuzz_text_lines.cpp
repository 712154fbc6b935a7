// Line splitting must agree with itself: no line holds a break or a zero byte.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "text_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto lines = scrinst::SplitLines(std::span<const std::uint8_t>(data, size));
    std::size_t characters = 0;
    for (const auto& line : lines) {
        if (line.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) {
            std::abort();
        }
        characters += line.size();
    }
    if (characters > size) {
        std::abort();
    }
    return 0;
}
