#include "ui/win32/control_ids.h"

namespace ristemo::ui::win32 {

namespace {

// The identifier of a single control, or of index 0 of an array.
int first_id(form::Control control) {
    switch (control) {
        case form::Control::Text1:
            return ids::kText1;
        case form::Control::Option1:
            return ids::kOption1;
        case form::Control::Label1:
            return ids::kLabel1;
        case form::Control::Label2:
            return ids::kLabel2;
        case form::Control::Label3:
            return ids::kLabel3;
        case form::Control::Command1:
            return ids::kCommand1;
        case form::Control::Command2:
            return ids::kCommand2;
        case form::Control::Command3:
            return ids::kCommand3;
        case form::Control::Frame1:
            return ids::kFrame1;
        case form::Control::Frame2:
            return ids::kFrame1 + 1;
        case form::Control::Frame3:
            return ids::kFrame1 + 2;
        case form::Control::Other:
            break;
    }
    return 0;
}

}  // namespace

int ids::id_of(const form::ControlDesign& d) {
    return first_id(d.name) + (d.index == form::kNoIndex ? 0 : d.index);
}

const form::ControlDesign* ids::design_of(int id) {
    for (const form::ControlDesign& d : form::kControls) {
        if (id_of(d) == id) return &d;
    }
    return nullptr;
}

}  // namespace ristemo::ui::win32
