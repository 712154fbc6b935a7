#pragma once

#include <windows.h>

namespace scrinst {

// The object behind one of our windows: CreateWindowExA carries it as the
// creation parameter, WM_NCCREATE stores it in the window's user data, and
// every later message finds it there. Null for the few messages that come
// before WM_NCCREATE.
template <typename Owner>
Owner* WindowOwner(HWND window, UINT message, LPARAM lParam) noexcept
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    return reinterpret_cast<Owner*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

}  // namespace scrinst
