#include "platform/linux/x11_windows.h"

#include <X11/Xatom.h>

#include <vector>

namespace ristemo::platform {

long window_pid(Display* display, Window window) {
    static thread_local Atom pid_atom = 0;
    if (pid_atom == 0) pid_atom = XInternAtom(display, "_NET_WM_PID", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    long pid = 0;
    if (XGetWindowProperty(display, window, pid_atom, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        type == XA_CARDINAL && format == 32 && count == 1 && data) {
        pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
    }
    if (data) XFree(data);
    return pid;
}

namespace {

bool is_viewable(Display* display, Window window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) != 0 &&
           attributes.map_state == IsViewable;
}

}  // namespace

Window visible_window_of(Display* display, long pid) {
    std::vector<Window> pending{DefaultRootWindow(display)};
    while (!pending.empty()) {
        const Window window = pending.back();
        pending.pop_back();
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, window, &root, &parent, &children, &count)) continue;
        for (unsigned int i = 0; i < count; ++i) {
            const Window child = children[i];
            if (window_pid(display, child) == pid && is_viewable(display, child)) {
                XFree(children);
                return child;
            }
            pending.push_back(child);
        }
        if (children) XFree(children);
    }
    return 0;
}

}  // namespace ristemo::platform
