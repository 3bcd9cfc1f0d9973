#include "ui/win32/form1_window.h"

namespace ristemo::ui::win32 {

namespace {

bool key_down(int key) {
    return (GetKeyState(key) & 0x8000) != 0;
}

// A typed character as the 8-bit code the handlers take (Windows-1252, the program's character
// set); characters outside it are none of the codes the handlers act on.
int code_of(wchar_t typed) {
    if (typed < 128) return int(typed);
    char code = 0;
    BOOL lossy = FALSE;
    if (WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, &typed, 1, &code, 1, nullptr, &lossy) !=
            1 ||
        lossy)
        return 255;
    return int(static_cast<unsigned char>(code));
}

wchar_t character_of(int code) {
    const char narrow_code = char(code);
    wchar_t typed = 0;
    MultiByteToWideChar(1252, 0, &narrow_code, 1, &typed, 1);
    return typed;
}

}  // namespace

// Key preview: the message loop shows the window each key before the focused control gets it.
bool Form1Window::preview_key(MSG& msg) {
    if (window_ == nullptr || !IsWindow(window_)) return false;
    if (msg.hwnd != window_ && !IsChild(window_, msg.hwnd)) return false;
    if (TranslateAcceleratorW(window_, accelerators_, &msg)) return true;

    const bool chord = key_down(VK_CONTROL) || key_down(VK_MENU);
    if (msg.message == WM_KEYDOWN) {
        switch (msg.wParam) {
            case VK_TAB:
                if (chord) return false;
                move_focus(key_down(VK_SHIFT));
                return true;
            case VK_LEFT:
            case VK_RIGHT:
            case VK_UP:
            case VK_DOWN:
                return !chord && form_.arrow_key(control_of(GetFocus()));
            default:
                return false;
        }
    }
    if (msg.message != WM_CHAR) return false;

    // Ctrl with a letter gives a control character: the box's editing commands (copy, paste,
    // undo), not typing; whatever a paste brings in is judged by the input check.
    const int typed = code_of(wchar_t(msg.wParam));
    if (key_down(VK_CONTROL) && typed < ' ' && typed != form::kBackspace && typed != form::kTab &&
        typed != form::kEnter && typed != form::kEscape)
        return false;
    const form::ControlRef ref = control_of(GetFocus());
    // Enter on a button runs it in the handler, which then discards the key.
    const int code = form_.key_press(ref, typed);
    // The handler may have closed the window (Esc, then Yes).
    if (!IsWindow(window_) || code == 0) return true;
    if (code != typed) msg.wParam = character_of(code);
    return false;
}

// An option button that receives the focus unchecked, other than by the mouse, tells its parent
// it was clicked; the window's own focus moves must not pick a sex.
void Form1Window::focus(HWND control) {
    moving_focus_ = true;
    SetFocus(control);
    moving_focus_ = false;
}

// Tab and the sent Tab: the next control in tab order; into the sex group, its selected option.
void Form1Window::move_focus(bool backwards) {
    HWND next = GetNextDlgTabItem(window_, GetFocus(), backwards ? TRUE : FALSE);
    if (next == Option1_[0] && Option1_value(1)) next = Option1_[1];
    if (next != nullptr) focus(next);
}

// A radio button takes the tab stop when checked and drops it when cleared; with both options
// cleared the keyboard could no longer reach the group. The first option keeps it whatever the
// options hold (move_focus enters the group at the selected one).
void Form1Window::keep_group_tab_stop() {
    for (std::size_t i = 0; i < Option1_.size(); ++i) {
        const LONG_PTR style = GetWindowLongPtrW(Option1_[i], GWL_STYLE);
        const LONG_PTR wanted = i == 0 ? style | WS_TABSTOP : style & ~LONG_PTR(WS_TABSTOP);
        if (wanted != style) SetWindowLongPtrW(Option1_[i], GWL_STYLE, wanted);
    }
}

void Form1Window::send_tab() {
    PostMessageW(window_, kSentTab, 0, 0);
}

}  // namespace ristemo::ui::win32
