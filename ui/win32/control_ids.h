#pragma once

#include "form/form1_design.h"

// The child-window identifiers of Form1's controls: what a test or an accessibility tool finds
// them by (control_ids.cpp). Control arrays take consecutive identifiers from their index 0.
namespace ristemo::ui::win32::ids {

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

}  // namespace ristemo::ui::win32::ids
