#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace scrinst {

// Splits single-byte text into lines the way the text box shows them: CR, LF
// and CR LF each end a line (LF CR is two breaks), a zero byte ends the text,
// and a break at the very end adds no empty last line.
std::vector<std::string> SplitLines(std::span<const std::uint8_t> text);

}  // namespace scrinst
