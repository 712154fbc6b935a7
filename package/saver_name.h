#pragma once

#include <string_view>

namespace scrinst {

// True when name can stand as a file name inside the Windows directory: no
// folder separators, drive colons, wildcards or other characters Windows
// forbids, no control bytes, and not a device name (CON, NUL, COM1...) with or
// without an extension, in any case. The empty name is allowed.
bool IsPlainFileName(std::string_view name) noexcept;

}  // namespace scrinst
