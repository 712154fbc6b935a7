#include "command_line.h"
#include "saver_window.h"

#include <windows.h>

namespace {

constexpr char kOptionsText[] = "This screen saver has no options.";
constexpr char kOptionsCaption[] = "Starfield";

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    using namespace scrinst::starfield;

    const SaverCommand command = ParseSaverArguments(ArgumentsOf(GetCommandLineA()));
    HWND window = reinterpret_cast<HWND>(command.window);
    switch (command.mode) {
    case SaverMode::FullScreen:
        return RunFullScreen(instance);
    case SaverMode::Preview:
        return command.window == 0 ? 0 : RunPreview(instance, window);
    case SaverMode::ChangePassword:
        return 0;  // no password of its own to change
    case SaverMode::Configure:
        break;
    }
    // The settings dialog passes itself as the owner so that the box stays
    // on top of it; started on its own there is nothing to own it.
    HWND owner = command.window != 0 && IsWindow(window) ? window : nullptr;
    MessageBoxA(owner, kOptionsText, kOptionsCaption, MB_OK | MB_ICONINFORMATION);
    return 0;
}
