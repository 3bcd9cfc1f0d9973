#pragma once

#include <vector>

namespace ristemo::test {

// The X server's whole keyboard mapping (keysyms of every keycode), empty when no display.
std::vector<unsigned long> keyboard_mapping();

// True when some keycode carries the named keysym ("agrave", "copyright").
bool keymap_has(const char* keysym_name);

// Gives the input focus to a viewable window of process pid, as a user's click would; true once
// the focus is there. Waits up to timeout_ms for such a window.
bool focus_window_of(long pid, int timeout_ms);

}  // namespace ristemo::test
