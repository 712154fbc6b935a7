#include "input.h"

#include <vector>

#include "check.h"
#include "window_probe.h"

namespace scrinst::e2e {

namespace {

INPUT KeyInput(WORD virtualKey, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    if (virtualKey == VK_LEFT || virtualKey == VK_RIGHT || virtualKey == VK_UP || virtualKey == VK_DOWN) {
        input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    }
    return input;
}

void Send(std::vector<INPUT>& inputs)
{
    const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Require(sent == inputs.size(), "SendInput refused the input: error " + std::to_string(GetLastError()));
    // Lets the target's queue take the events in before the next check.
    WaitFor([] { return false; }, 50);
}

}  // namespace

void PressKey(WORD virtualKey, Keys modifiers)
{
    std::vector<INPUT> inputs;
    if (modifiers.ctrl) {
        inputs.push_back(KeyInput(VK_CONTROL, false));
    }
    if (modifiers.alt) {
        inputs.push_back(KeyInput(VK_MENU, false));
    }
    if (modifiers.shift) {
        inputs.push_back(KeyInput(VK_SHIFT, false));
    }
    inputs.push_back(KeyInput(virtualKey, false));
    inputs.push_back(KeyInput(virtualKey, true));
    if (modifiers.shift) {
        inputs.push_back(KeyInput(VK_SHIFT, true));
    }
    if (modifiers.alt) {
        inputs.push_back(KeyInput(VK_MENU, true));
    }
    if (modifiers.ctrl) {
        inputs.push_back(KeyInput(VK_CONTROL, true));
    }
    Send(inputs);
}

void TypeChar(char character, Keys modifiers)
{
    const SHORT scan = VkKeyScanA(character);
    Require(scan != -1, "no key types " + Quoted(std::string(1, character)));
    const auto shiftState = static_cast<unsigned>(scan) >> 8;
    modifiers.shift = modifiers.shift || (shiftState & 1U) != 0;
    PressKey(static_cast<WORD>(scan & 0xFF), modifiers);
}

void ClickAt(POINT screenPoint)
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    std::vector<INPUT> inputs(3);
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        // Absolute coordinates run from 0 to 65535 across the primary screen.
        input.mi.dx = MulDiv(screenPoint.x, 65536, width) + 1;
        input.mi.dy = MulDiv(screenPoint.y, 65536, height) + 1;
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    Send(inputs);
}

bool BringToForeground(HWND window)
{
    if (GetForegroundWindow() == window) {
        return true;
    }
    SetForegroundWindow(window);
    return WaitFor([window] { return GetForegroundWindow() == window; }, 3000);
}

std::string KeyName(WORD virtualKey, Keys modifiers)
{
    std::string name;
    if (modifiers.ctrl) {
        name += "Ctrl+";
    }
    if (modifiers.alt) {
        name += "Alt+";
    }
    if (modifiers.shift) {
        name += "Shift+";
    }
    switch (virtualKey) {
    case VK_TAB: return name + "Tab";
    case VK_RETURN: return name + "Enter";
    case VK_ESCAPE: return name + "Escape";
    case VK_SPACE: return name + "Space";
    case VK_LEFT: return name + "Left";
    case VK_RIGHT: return name + "Right";
    case VK_UP: return name + "Up";
    case VK_DOWN: return name + "Down";
    case VK_F4: return name + "F4";
    default: break;
    }
    if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z')) {
        return name + static_cast<char>(virtualKey);
    }
    return name + "key " + std::to_string(virtualKey);
}

}  // namespace scrinst::e2e
