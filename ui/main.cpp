#include <windows.h>

#include <exception>
#include <optional>

#include "application.h"
#include "error_text.h"
#include "uFrmInstallation.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    std::optional<scrinst::Application> application;
    try {
        application.emplace(instance);
    } catch (const std::exception& error) {
        // Without the application window there is nothing to own the box.
        MessageBoxA(nullptr, scrinst::ErrorBoxText(error.what()).c_str(), nullptr, MB_OK | MB_ICONERROR);
        return 1;
    }
    // Only a window that could not be built at all stops the program early;
    // errors while it runs are reported and the loop goes on.
    bool ran = false;
    application->Guarded([&] {
        scrinst::TFrmInstallation form(*application);
        application->Run(form);
        ran = true;
    });
    return ran ? 0 : 1;
}
