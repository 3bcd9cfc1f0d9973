#include "ui/win32/control_ids.h"

namespace ristemo::ui::win32 {

namespace {

using form::Control;

// The identifier of a single control, or of index 0 of an array.
constexpr struct {
    Control control;
    int id;
} kFirstIds[] = {
    {Control::Text1, 100},    {Control::Option1, 200},  {Control::Label1, 300},
    {Control::Label2, 400},   {Control::Label3, 500},   {Control::Command1, 600},
    {Control::Command2, 601}, {Control::Command3, 610}, {Control::Frame1, 700},
    {Control::Frame2, 701},   {Control::Frame3, 702},
};

}  // namespace

int ids::id_of(const form::ControlDesign& d) {
    for (const auto& first : kFirstIds) {
        if (first.control == d.name) return first.id + (d.index == form::kNoIndex ? 0 : d.index);
    }
    return 0;
}

const form::ControlDesign* ids::design_of(int id) {
    for (const form::ControlDesign& d : form::kControls) {
        if (id_of(d) == id) return &d;
    }
    return nullptr;
}

}  // namespace ristemo::ui::win32
