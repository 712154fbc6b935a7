#include "keyboard_rules.h"

#include <cstdint>

namespace scrinst {

KeyAction DecideKeyDown(NavigationKey key, Modifiers modifiers, std::optional<layout::ControlKind> focus) noexcept
{
    // Alt combinations belong to the system (Alt+Tab, Alt+Esc, the system menu).
    if (modifiers.alt) {
        return KeyAction::PassOn;
    }
    switch (key) {
    case NavigationKey::Tab:
        if (modifiers.ctrl) {
            return KeyAction::PassOn;
        }
        return modifiers.shift ? KeyAction::FocusPreviousTabStop : KeyAction::FocusNextTabStop;
    case NavigationKey::Left:
    case NavigationKey::Up:
    case NavigationKey::Right:
    case NavigationKey::Down:
        // The text box keeps the arrows for its caret.
        if (!focus || *focus == layout::ControlKind::Memo) {
            return KeyAction::PassOn;
        }
        return key == NavigationKey::Right || key == NavigationKey::Down ? KeyAction::FocusNext
                                                                          : KeyAction::FocusPrevious;
    case NavigationKey::Enter:
        if (!modifiers.shift && !modifiers.ctrl && focus == layout::ControlKind::Button) {
            return KeyAction::PressFocusedButton;
        }
        return KeyAction::PassOn;
    case NavigationKey::Escape:
        // No cancel button: Escape must not reach a multi-line edit either,
        // which would ask its parent to close.
        return KeyAction::Swallow;
    case NavigationKey::Other:
        break;
    }
    return KeyAction::PassOn;
}

std::optional<std::size_t> NextFocus(std::span<const layout::ControlLayout> controls, std::optional<std::size_t> current,
                                     bool forward, bool tabStopsOnly) noexcept
{
    // Without a current control (or one outside the tab order), forward starts
    // at the first and backward at the last.
    const bool placed = current && *current < controls.size() && controls[*current].tabOrder != layout::kNoTabOrder;
    const int from = placed ? controls[*current].tabOrder : (forward ? -1 : INT8_MAX + 1);

    // The nearest tab order beyond the current one in the direction of travel,
    // else the farthest one on the other side (wrapping around); the current
    // control itself only when nothing else qualifies.
    std::optional<std::size_t> ahead;
    std::optional<std::size_t> wrapped;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const int order = controls[i].tabOrder;
        if (order == layout::kNoTabOrder || (tabStopsOnly && !controls[i].tabStop)) {
            continue;
        }
        const bool beyond = forward ? order > from : order < from;
        auto& best = beyond ? ahead : wrapped;
        const auto nearer = [&](int a, int b) { return forward ? a < b : a > b; };
        if (!best || nearer(order, controls[*best].tabOrder)) {
            best = i;
        }
    }
    return ahead ? ahead : wrapped;
}

char AcceleratorOf(std::string_view caption) noexcept
{
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') {
            continue;
        }
        if (caption[i + 1] != '&') {
            return caption[i + 1];
        }
        ++i;  // "&&" shows one ampersand and marks nothing
    }
    return 0;
}

namespace {

char FoldAscii(char c) noexcept
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

std::optional<std::size_t> MnemonicTarget(char typed, bool alt, std::optional<layout::ControlKind> focus,
                                          std::span<const std::string_view> captions) noexcept
{
    if (!alt && focus == layout::ControlKind::Memo) {
        return std::nullopt;  // plain letters are the text box's
    }
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const char marked = AcceleratorOf(captions[i]);
        if (marked != 0 && FoldAscii(marked) == FoldAscii(typed)) {
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace scrinst
