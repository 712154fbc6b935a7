#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

#include "layout.h"

namespace scrinst {

// The window's keyboard, decided without Windows so that every rule is tested
// on the host; the window maps virtual keys to these and carries out the
// answer before the message reaches any control.

enum class NavigationKey : unsigned char { Tab, Enter, Escape, Left, Right, Up, Down, Other };

struct Modifiers {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

enum class KeyAction : unsigned char {
    PassOn,                // the focused control gets the key as usual
    Swallow,               // nobody gets it
    FocusNextTabStop,
    FocusPreviousTabStop,
    FocusNext,             // any control with a tab order, tab stop or not
    FocusPrevious,
    PressFocusedButton,
};

// focus: the kind of our control that has the focus, nothing when the focus
// is on none of them.
KeyAction DecideKeyDown(NavigationKey key, Modifiers modifiers, std::optional<layout::ControlKind> focus) noexcept;

// The control that takes the focus after current (an index into controls, or
// nothing), in tab order, wrapping around; only tab stops when tabStopsOnly.
// Nothing when no control qualifies.
std::optional<std::size_t> NextFocus(std::span<const layout::ControlLayout> controls, std::optional<std::size_t> current,
                                     bool forward, bool tabStopsOnly) noexcept;

// The letter marked by "&" in a caption ("&&" is a literal ampersand), or 0.
char AcceleratorOf(std::string_view caption) noexcept;

// Which button a typed character presses: the first of captions (in the
// order given) whose marked letter matches in either case, when Alt is held
// or the text box does not have the focus. Nothing otherwise.
std::optional<std::size_t> MnemonicTarget(char typed, bool alt, std::optional<layout::ControlKind> focus,
                                          std::span<const std::string_view> captions) noexcept;

}  // namespace scrinst
