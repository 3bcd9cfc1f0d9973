#pragma once

class QSize;
class QWidget;

namespace ristemo::platform {

// Keeps a top-level window out of the taskbar where the window system allows it (on X11 the
// _NET_WM_STATE_SKIP_TASKBAR state); elsewhere it does nothing. Call before the window is first
// shown; a window already mapped is asked through the window manager instead.
void keep_out_of_taskbar(QWidget& window);

// Gives a top-level window a size that the user cannot change, and refuses the window manager's
// or compositor's requests to minimize it, maximize it or make it full screen. Under
// Wayland the compositor may maximize any window whatever its size limits (weston does, from
// Qt's own title bar or its keyboard binding), and a client whose surface then does not fill the
// given size is disconnected: there the window may grow while maximized and at once asks to be
// normal again.
void keep_fixed_size(QWidget& window, const QSize& size);

}  // namespace ristemo::platform
