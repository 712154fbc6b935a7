#pragma once

#include <string>
#include <string_view>

namespace scrinst {

// The error box's text: the message with a full stop appended when its last
// byte, taken as unsigned, lies above "." (letters, digits, bytes 128-255).
// Messages that end in a full stop, a blank, a quote or a parenthesis stay as
// they are.
std::string ErrorBoxText(std::string_view message);

}  // namespace scrinst
