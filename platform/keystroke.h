#pragma once

namespace ristemo::platform {

// Queues a Tab keystroke for the widget that has the keyboard focus and returns at once; the
// focus moves on when the event loop delivers it, after the caller's handler has returned.
void send_tab();

}  // namespace ristemo::platform
