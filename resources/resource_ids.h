#pragma once

// Shared by the resource script and the program, so plain macros only.

// The application icon. The lowest numeric icon group is the one Explorer
// shows for the executable.
#define IDI_APPLICATION_ICON 1
// The default banner, a JPEG carried as raw data.
#define IDR_DEFAULT_BANNER 100
