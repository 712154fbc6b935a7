#pragma once

#include <windows.h>

#include <string>

namespace scrinst::e2e {

// Real input through the system's input queue, as a keyboard or mouse would
// give it; it reaches whatever window is in the foreground.

struct Keys {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

// Presses and releases a virtual key with the modifiers held around it.
void PressKey(WORD virtualKey, Keys modifiers = {});
// Types a character as the key that produces it.
void TypeChar(char character, Keys modifiers = {});
// A left click at a point on the screen.
void ClickAt(POINT screenPoint);

// Makes the window the foreground window; false when the system refuses.
bool BringToForeground(HWND window);

// A readable name for messages: "Alt+F4", "Shift+Tab".
std::string KeyName(WORD virtualKey, Keys modifiers = {});

}  // namespace scrinst::e2e
