#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace scrinst::layout {

// The installer window as designed: 96 dots per inch, a font whose digit 0 is
// 13 pixels high. The window scales every number here at creation.

inline constexpr const char* kFormCaption = "Installation";
inline constexpr std::int32_t kClientWidth = 306;
inline constexpr std::int32_t kClientHeight = 327;
inline constexpr const char* kFontFace = "MS Sans Serif";
inline constexpr std::int32_t kFontHeight = -11;  // 8 point at 96 dots per inch

inline constexpr std::int32_t kProgressMin = 0;
inline constexpr std::int32_t kProgressMax = 100;
inline constexpr std::int32_t kProgressPosition = 0;

inline constexpr const char* kInstallCaption = "&Install";
inline constexpr const char* kCompleteCaption = "&Complete";
inline constexpr const char* kCancelCaption = "&Cancel";

enum class ControlKind : std::uint8_t { Panel, Image, Memo, Label, ProgressBar, Button };

inline constexpr std::int8_t kOnForm = -1;
inline constexpr std::int8_t kNoTabOrder = -1;

struct ControlLayout {
    const char* name;
    ControlKind kind;
    std::int32_t id;      // the child window's identifier, stable for tools that drive the window
    std::int8_t parent;   // index into kControls, or kOnForm
    std::int32_t left;    // within the parent's client area
    std::int32_t top;
    std::int32_t width;
    std::int32_t height;
    const char* caption;
    std::int8_t tabOrder; // kNoTabOrder for controls that never take the focus
    bool tabStop;         // reached by Tab; the others only by the arrow keys
};

// Indexes into kControls.
inline constexpr std::size_t kPanel1 = 0;
inline constexpr std::size_t kImgInstall = 1;
inline constexpr std::size_t kMemo1 = 2;
inline constexpr std::size_t kLabel1 = 3;
inline constexpr std::size_t kProgressBar = 4;
inline constexpr std::size_t kBtnInstall = 5;
inline constexpr std::size_t kBtnCancel = 6;

// Identifiers stay clear of IDOK and IDCANCEL: neither button is a dialog's
// default or cancel button.
inline constexpr std::array<ControlLayout, 7> kControls{{
    {"Panel1", ControlKind::Panel, 1001, kOnForm, 4, 5, 297, 157, "", 2, false},
    {"imgInstall", ControlKind::Image, 1002, static_cast<std::int8_t>(kPanel1), 0, 0, 297, 157, "", kNoTabOrder, false},
    {"Memo1", ControlKind::Memo, 1003, kOnForm, 4, 167, 297, 92, "", 3, true},
    {"Label1", ControlKind::Label, 1004, kOnForm, 4, 264, 33, 13, "Status:", kNoTabOrder, false},
    {"progressBar", ControlKind::ProgressBar, 1005, kOnForm, 4, 280, 297, 16, "", 4, false},
    {"btnInstall", ControlKind::Button, 1006, kOnForm, 154, 301, 68, 22, kInstallCaption, 0, true},
    {"btnCancel", ControlKind::Button, 1007, kOnForm, 233, 301, 68, 22, kCancelCaption, 1, true},
}};

}  // namespace scrinst::layout
