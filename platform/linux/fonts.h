#pragma once

namespace ristemo::platform {

// Maps the program's faces (Verdana, Courier New) to metric-alike free faces where they are not
// installed, so the window and the printed page look the same on every machine. Call once after
// the QGuiApplication exists and before any widget is created.
void install_font_substitutions();

}  // namespace ristemo::platform
