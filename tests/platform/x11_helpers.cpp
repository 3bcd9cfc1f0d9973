#include "x11_helpers.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace ristemo::test {

namespace {

long window_pid(Display* display, Window window) {
    const Atom pid_atom = XInternAtom(display, "_NET_WM_PID", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    long pid = 0;
    if (XGetWindowProperty(display, window, pid_atom, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        count == 1 && data) {
        pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
    }
    if (data) XFree(data);
    return pid;
}

Window viewable_window_of(Display* display, long pid) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && found == 0; ++i) {
        XWindowAttributes attributes{};
        if (window_pid(display, children[i]) == pid &&
            XGetWindowAttributes(display, children[i], &attributes) &&
            attributes.map_state == IsViewable) {
            found = children[i];
        }
    }
    if (children) XFree(children);
    return found;
}

}  // namespace

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
        const Window window = viewable_window_of(display, pid);
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
