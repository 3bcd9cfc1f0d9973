#include "ui/win32/owned_popup.h"

namespace ristemo::ui::win32 {

void make_owned_popup(HWND window) {
    // Created overlapped: only an overlapped window gets its place chosen by the system.
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    if (GetWindow(window, GW_OWNER) == nullptr || (style & WS_POPUP) != 0 ||
        (style & WS_VISIBLE) != 0)
        return;
    SetWindowLongPtrW(window, GWL_STYLE, style | WS_POPUP);
    // A changed style takes effect once the window is told its frame changed.
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

}  // namespace ristemo::ui::win32
