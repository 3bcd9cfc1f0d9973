#include "ui/win32/form1_window.h"

namespace ristemo::ui::win32 {

LRESULT CALLBACK Form1Window::window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<Form1Window*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window_ = window;
    }
    auto* self = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(window, message, wparam, lparam);
    return self->handle(message, wparam, lparam);
}

LRESULT Form1Window::handle(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_COMMAND:
            command(LOWORD(wparam), HIWORD(wparam));
            return 0;
        case WM_CTLCOLORSTATIC:
            return control_colour(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
        case kSentTab:
            move_focus(false);
            return 0;
        // The focus returns to the control that had it when the window is activated again.
        case WM_ACTIVATE:
            if (LOWORD(wparam) == WA_INACTIVE) {
                const HWND focus = GetFocus();
                if (focus != nullptr && IsChild(window_, focus)) last_focus_ = focus;
            } else if (last_focus_ != nullptr && IsWindow(last_focus_)) {
                focus(last_focus_);
                return 0;
            }
            break;
        // High contrast turned on or off, or the system's colours changed.
        case WM_SETTINGCHANGE:
        case WM_SYSCOLORCHANGE:
            high_contrast_ = system_high_contrast();
            InvalidateRect(window_, nullptr, TRUE);
            break;
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wparam);
            const RECT* suggested = reinterpret_cast<const RECT*>(lparam);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            lay_out();
            return 0;
        }
        case WM_CLOSE:
            DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wparam, lparam);
}

}  // namespace ristemo::ui::win32
