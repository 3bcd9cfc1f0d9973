#pragma once

#include "form/form1_design.h"

// The child-window identifiers of Form1's controls: what a test or an accessibility tool finds
// them by. Control arrays take consecutive identifiers from their index 0.
namespace ristemo::ui::ids {

inline constexpr int kText1 = 100;    // + index, 0 to 3
inline constexpr int kOption1 = 200;  // + index, 0 and 1
inline constexpr int kLabel1 = 300;   // + index, 0 to 3
inline constexpr int kLabel2 = 400;   // + index, 0 to 4
inline constexpr int kLabel3 = 500;   // + index, 0 to 4
inline constexpr int kCommand1 = 600;
inline constexpr int kCommand2 = 601;
inline constexpr int kCommand3 = 610;  // + index, 0 to 2
inline constexpr int kFrame1 = 700;    // + the frame's number - 1

// Not of the design: what names the two options as one group for screen readers.
inline constexpr int kOption1Group = 210;

// Menu items, + the entry's position in the design's menu tree; the function keys send the same.
inline constexpr int kMenu = 1000;

// Resources.
inline constexpr int kIcon = 1;

// The identifier of a control of the design.
int id_of(const form::ControlDesign& control);

// The design of the control with this identifier; nullptr for none.
const form::ControlDesign* design_of(int id);

}  // namespace ristemo::ui::ids
