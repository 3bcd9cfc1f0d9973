#pragma once

namespace ristemo::platform {

// Gives the texts Qt draws itself (an input box's context menu, the file chooser) in Italian,
// from the translations the system's Qt ships. False when they are not installed; Qt then keeps
// its English. Call once after the QApplication exists.
bool install_qt_translations();

}  // namespace ristemo::platform
