#pragma once

#include <QIcon>

namespace ristemo::ui::qt {

// The window's 16 x 16 icon: a grey calculator with a display at the top and four rows of three
// keys, transparent at the sides.
QIcon calculator_icon();

}  // namespace ristemo::ui::qt
