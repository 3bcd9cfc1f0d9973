#pragma once

#include "platform/windows/win32.h"

namespace ristemo::ui::win32 {

// Makes the hidden main window, owned by a hidden window to stay off the taskbar, an owned
// pop-up before it is first shown, keeping its place, frame, caption and menu.
//
// An X11 window manager (under Wine) sees an owned overlapped window as a normal window that
// skips the taskbar, and some (openbox) never give such a window the keyboard when it appears;
// an owned pop-up is a dialog to them, which they activate. On Windows a pop-up with a caption
// looks as the overlapped window did, and an owned window has no taskbar button either way.
void make_owned_popup(HWND window);

}  // namespace ristemo::ui::win32
