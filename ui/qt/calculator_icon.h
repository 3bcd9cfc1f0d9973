#pragma once

#include <QIcon>

namespace ristemo::ui::qt {

// The window's 16 x 16 icon, the picture of form/form1_icon.h.
QIcon calculator_icon();

}  // namespace ristemo::ui::qt
