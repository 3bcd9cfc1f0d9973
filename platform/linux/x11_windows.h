#pragma once

#include <X11/Xlib.h>

namespace ristemo::platform {

// The window's _NET_WM_PID, or 0. Read with Xlib rather than through libxdo, which dereferences
// an unset count when the window vanishes under it.
long window_pid(Display* display, Window window);

// A viewable window below the root whose _NET_WM_PID is pid, or 0.
Window visible_window_of(Display* display, long pid);

}  // namespace ristemo::platform
