#pragma once

#include <windows.h>

namespace scrinst::starfield {

// Covers every monitor and animates until a key, a mouse button or a real
// mouse move; returns the program's exit code.
int RunFullScreen(HINSTANCE instance);

// Animates inside `parent` (the little monitor of the display settings) until
// that window goes away.
int RunPreview(HINSTANCE instance, HWND parent);

}  // namespace scrinst::starfield
