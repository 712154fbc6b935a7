#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string_view>

#include "keyboard_rules.h"
#include "layout.h"

namespace {

using scrinst::KeyAction;
using scrinst::Modifiers;
using scrinst::NavigationKey;
using scrinst::layout::ControlKind;
namespace layout = scrinst::layout;

TEST(KeyboardRules, KeyDownDecisions)
{
    const Modifiers none{};
    const Modifiers shift{true, false, false};
    const Modifiers ctrl{false, true, false};
    const Modifiers alt{false, false, true};
    struct Case {
        const char* name;
        NavigationKey key;
        Modifiers modifiers;
        std::optional<ControlKind> focus;
        KeyAction action;
    };
    const Case cases[] = {
        {"tab", NavigationKey::Tab, none, ControlKind::Button, KeyAction::FocusNextTabStop},
        {"tab from the text box", NavigationKey::Tab, none, ControlKind::Memo, KeyAction::FocusNextTabStop},
        {"shift tab", NavigationKey::Tab, shift, ControlKind::Memo, KeyAction::FocusPreviousTabStop},
        {"tab with nothing focused", NavigationKey::Tab, none, std::nullopt, KeyAction::FocusNextTabStop},
        {"ctrl tab", NavigationKey::Tab, ctrl, ControlKind::Button, KeyAction::PassOn},
        {"right", NavigationKey::Right, none, ControlKind::Button, KeyAction::FocusNext},
        {"down", NavigationKey::Down, none, ControlKind::Panel, KeyAction::FocusNext},
        {"left", NavigationKey::Left, none, ControlKind::ProgressBar, KeyAction::FocusPrevious},
        {"up", NavigationKey::Up, shift, ControlKind::Button, KeyAction::FocusPrevious},
        {"arrows stay in the text box", NavigationKey::Down, none, ControlKind::Memo, KeyAction::PassOn},
        {"arrows with alt", NavigationKey::Right, alt, ControlKind::Button, KeyAction::PassOn},
        {"arrows with nothing focused", NavigationKey::Right, none, std::nullopt, KeyAction::PassOn},
        {"enter on a button", NavigationKey::Enter, none, ControlKind::Button, KeyAction::PressFocusedButton},
        {"shift enter", NavigationKey::Enter, shift, ControlKind::Button, KeyAction::PassOn},
        {"ctrl enter", NavigationKey::Enter, ctrl, ControlKind::Button, KeyAction::PassOn},
        {"alt enter", NavigationKey::Enter, alt, ControlKind::Button, KeyAction::PassOn},
        {"enter in the text box presses nothing", NavigationKey::Enter, none, ControlKind::Memo, KeyAction::PassOn},
        {"enter on the panel presses nothing", NavigationKey::Enter, none, ControlKind::Panel, KeyAction::PassOn},
        {"escape on a button", NavigationKey::Escape, none, ControlKind::Button, KeyAction::Swallow},
        {"escape in the text box", NavigationKey::Escape, none, ControlKind::Memo, KeyAction::Swallow},
        {"other keys", NavigationKey::Other, none, ControlKind::Button, KeyAction::PassOn},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(scrinst::DecideKeyDown(c.key, c.modifiers, c.focus), c.action);
    }
}

TEST(KeyboardRules, FocusOrderOfTheWindow)
{
    const auto& controls = layout::kControls;
    struct Case {
        const char* name;
        std::optional<std::size_t> from;
        bool forward;
        bool tabStopsOnly;
        std::size_t to;
    };
    const Case cases[] = {
        {"tab: install to cancel", layout::kBtnInstall, true, true, layout::kBtnCancel},
        {"tab: cancel skips the panel", layout::kBtnCancel, true, true, layout::kMemo1},
        {"tab: text box wraps to install", layout::kMemo1, true, true, layout::kBtnInstall},
        {"shift tab: install wraps to the text box", layout::kBtnInstall, false, true, layout::kMemo1},
        {"shift tab: text box to cancel", layout::kMemo1, false, true, layout::kBtnCancel},
        {"tab from the panel", layout::kPanel1, true, true, layout::kMemo1},
        {"tab from the progress bar wraps", layout::kProgressBar, true, true, layout::kBtnInstall},
        {"shift tab from the progress bar", layout::kProgressBar, false, true, layout::kMemo1},
        {"tab from nowhere", std::nullopt, true, true, layout::kBtnInstall},
        {"shift tab from nowhere", std::nullopt, false, true, layout::kMemo1},
        {"arrow: cancel to the panel", layout::kBtnCancel, true, false, layout::kPanel1},
        {"arrow: panel to the text box", layout::kPanel1, true, false, layout::kMemo1},
        {"arrow: text box to the progress bar", layout::kMemo1, true, false, layout::kProgressBar},
        {"arrow: progress bar wraps to install", layout::kProgressBar, true, false, layout::kBtnInstall},
        {"arrow back: install wraps to the progress bar", layout::kBtnInstall, false, false, layout::kProgressBar},
        {"arrow back: panel to cancel", layout::kPanel1, false, false, layout::kBtnCancel},
        {"from a control without tab order", layout::kImgInstall, true, false, layout::kBtnInstall},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(scrinst::NextFocus(controls, c.from, c.forward, c.tabStopsOnly), c.to);
    }
}

TEST(KeyboardRules, FocusOrderFollowsTabOrderNotTablePosition)
{
    using layout::ControlLayout;
    // Table order a, b, c, d; tab order c, a, d, b; b is the only tab stop.
    const std::array<ControlLayout, 5> controls{{
        {"a", ControlKind::Button, 1, layout::kOnForm, 0, 0, 1, 1, "", 1, false},
        {"b", ControlKind::Button, 2, layout::kOnForm, 0, 0, 1, 1, "", 3, true},
        {"c", ControlKind::Button, 3, layout::kOnForm, 0, 0, 1, 1, "", 0, false},
        {"d", ControlKind::Button, 4, layout::kOnForm, 0, 0, 1, 1, "", 2, false},
        {"label", ControlKind::Label, 5, layout::kOnForm, 0, 0, 1, 1, "", layout::kNoTabOrder, false},
    }};
    EXPECT_EQ(scrinst::NextFocus(controls, 2, true, false), 0u);
    EXPECT_EQ(scrinst::NextFocus(controls, 0, true, false), 3u);
    EXPECT_EQ(scrinst::NextFocus(controls, 1, true, false), 2u);
    EXPECT_EQ(scrinst::NextFocus(controls, 2, false, false), 1u);
    // The only tab stop keeps the focus.
    EXPECT_EQ(scrinst::NextFocus(controls, 1, true, true), 1u);
    EXPECT_EQ(scrinst::NextFocus(controls, 0, false, true), 1u);

    const std::array<ControlLayout, 1> noTabStops{{
        {"label", ControlKind::Label, 5, layout::kOnForm, 0, 0, 1, 1, "", 0, false},
    }};
    EXPECT_EQ(scrinst::NextFocus(noTabStops, std::nullopt, true, true), std::nullopt);
    EXPECT_EQ(scrinst::NextFocus(std::span<const ControlLayout>{}, std::nullopt, true, false), std::nullopt);
}

TEST(KeyboardRules, AcceleratorOfCaption)
{
    EXPECT_EQ(scrinst::AcceleratorOf("&Install"), 'I');
    EXPECT_EQ(scrinst::AcceleratorOf("Can&cel"), 'c');
    EXPECT_EQ(scrinst::AcceleratorOf("A && B"), 0);
    EXPECT_EQ(scrinst::AcceleratorOf("A &&&B"), 'B');
    EXPECT_EQ(scrinst::AcceleratorOf("Status:"), 0);
    EXPECT_EQ(scrinst::AcceleratorOf("End&"), 0);
}

TEST(KeyboardRules, MarkedLettersPressButtons)
{
    constexpr std::size_t install = 0;
    constexpr std::size_t cancel = 1;
    const std::array<std::string_view, 2> ready{layout::kInstallCaption, layout::kCancelCaption};
    const std::array<std::string_view, 2> complete{layout::kCompleteCaption, layout::kCancelCaption};
    struct Case {
        const char* name;
        char typed;
        bool alt;
        std::optional<ControlKind> focus;
        const std::array<std::string_view, 2>& captions;
        std::optional<std::size_t> pressed;
    };
    const Case cases[] = {
        {"i on a button", 'i', false, ControlKind::Button, ready, install},
        {"capital I", 'I', false, ControlKind::Button, ready, install},
        {"c on the install button", 'c', false, ControlKind::Button, ready, cancel},
        {"c on the panel", 'C', false, ControlKind::Panel, ready, cancel},
        {"c with nothing focused", 'c', false, std::nullopt, ready, cancel},
        {"c in the text box goes to the text box", 'c', false, ControlKind::Memo, ready, std::nullopt},
        {"alt c in the text box", 'c', true, ControlKind::Memo, ready, cancel},
        {"alt i in the text box", 'I', true, ControlKind::Memo, ready, install},
        {"other letters", 'x', true, ControlKind::Button, ready, std::nullopt},
        {"i once the button reads complete", 'i', false, ControlKind::Button, complete, std::nullopt},
        {"c after completion: the install button answers first", 'c', false, ControlKind::Button, complete, install},
        {"alt c after completion", 'C', true, ControlKind::Memo, complete, install},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(scrinst::MnemonicTarget(c.typed, c.alt, c.focus, c.captions), c.pressed);
    }
}

}  // namespace
