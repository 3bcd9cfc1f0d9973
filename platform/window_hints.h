#pragma once

class QWidget;

namespace ristemo::platform {

// Keeps a top-level window out of the taskbar where the window system allows it (on X11 the
// _NET_WM_STATE_SKIP_TASKBAR state); elsewhere it does nothing. Call before the window is first
// shown; a window already mapped is asked through the window manager instead.
void keep_out_of_taskbar(QWidget& window);

}  // namespace ristemo::platform
