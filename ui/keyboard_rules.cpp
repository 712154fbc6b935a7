#include "keyboard_rules.h"

#include <algorithm>
#include <array>

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
    // The controls that have a place in the tab order, sorted by it.
    std::array<std::size_t, 32> order{};
    std::size_t count = 0;
    for (std::size_t i = 0; i < controls.size() && count < order.size(); ++i) {
        if (controls[i].tabOrder != layout::kNoTabOrder) {
            order[count++] = i;
        }
    }
    if (count == 0) {
        return std::nullopt;
    }
    std::stable_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(count),
                     [&](std::size_t a, std::size_t b) { return controls[a].tabOrder < controls[b].tabOrder; });

    // Without a current control, forward starts at the first and backward at
    // the last.
    std::size_t start = forward ? count - 1 : 0;
    if (current) {
        for (std::size_t i = 0; i < count; ++i) {
            if (order[i] == *current) {
                start = i;
                break;
            }
        }
    }
    std::size_t i = start;
    do {
        i = forward ? (i + 1) % count : (i + count - 1) % count;
        if (!tabStopsOnly || controls[order[i]].tabStop) {
            return order[i];
        }
    } while (i != start);
    return std::nullopt;
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
