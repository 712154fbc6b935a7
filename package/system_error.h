#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace scrinst {

// Windows error codes the portable code raises on its own (for example when a
// picture is refused before any allocation, as the system would refuse it).
inline constexpr std::uint32_t kErrorNotEnoughMemory = 8;

// The operating system's text for a Windows error code, trimmed for use inside
// a message. On Windows this is FormatMessageA; elsewhere a small table of the
// codes the core raises stands in, so host tests see the same texts.
std::string SystemErrorText(std::uint32_t windowsCode);

// Removes every blank, control character and full stop from the end: system
// texts end in ".\r\n", and messages embed them mid-sentence.
std::string TrimSystemText(std::string_view text);

}  // namespace scrinst
