#pragma once

namespace ristemo::platform {

// On Wayland desktops where Qt draws the title bar, has it draw the program's own (title and
// close button only) instead of Qt's, which offers minimize and maximize. A title bar the user
// chose (QT_WAYLAND_DECORATION) stands; "ristemo" names this one. Call after the application
// object exists and before the first window is shown.
void use_own_wayland_title_bar();

}  // namespace ristemo::platform
