#include "x11_helpers.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/linux/x11_windows.h"

namespace ristemo::test {

std::vector<unsigned long> keyboard_mapping() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return {};
    int low = 0;
    int high = 0;
    XDisplayKeycodes(display, &low, &high);
    int per_keycode = 0;
    KeySym* syms =
        XGetKeyboardMapping(display, static_cast<KeyCode>(low), high - low + 1, &per_keycode);
    std::vector<unsigned long> out(syms, syms + (high - low + 1) * per_keycode);
    XFree(syms);
    XCloseDisplay(display);
    return out;
}

bool keymap_has(const char* keysym_name) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    const bool found = XKeysymToKeycode(display, XStringToKeysym(keysym_name)) != 0;
    XCloseDisplay(display);
    return found;
}

bool focus_window_of(long pid, int timeout_ms) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    bool focused = false;
    while (!focused && std::chrono::steady_clock::now() < deadline) {
        const Window window = platform::visible_window_of(display, pid);
        if (window != 0) {
            XSetInputFocus(display, window, RevertToParent, CurrentTime);
            XSync(display, False);
            Window now = 0;
            int revert = 0;
            XGetInputFocus(display, &now, &revert);
            focused = now == window;
        }
        if (!focused) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    XCloseDisplay(display);
    return focused;
}

}  // namespace ristemo::test
