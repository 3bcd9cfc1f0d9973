#include "ui/win32/control_ids.h"

namespace ristemo::ui::win32 {

namespace {

using form::ControlKind;

// The position of a frame among the design's frames, from 0.
int frame_position(const form::ControlDesign& frame) {
    int n = 0;
    for (const form::ControlDesign& d : form::kControls) {
        if (&d == &frame) break;
        if (d.kind == ControlKind::Frame) ++n;
    }
    return n;
}

}  // namespace

int ids::id_of(const form::ControlDesign& d) {
    const form::ControlRef ref = form::control_ref(d);
    switch (ref.control) {
        case form::Control::Text1:
            return kText1 + ref.index;
        case form::Control::Option1:
            return kOption1 + ref.index;
        case form::Control::Command1:
            return kCommand1;
        case form::Control::Command2:
            return kCommand2;
        case form::Control::Command3:
            return kCommand3 + ref.index;
        case form::Control::Other:
            break;
    }
    switch (d.kind) {
        case ControlKind::Frame:
            return kFrame1 + frame_position(d);
        case ControlKind::ResultBox:
            return kLabel3 + d.index;
        // The captions of the input boxes, then those of the results.
        default:
            return (d.frame == 1 ? kLabel1 : kLabel2) + d.index;
    }
}

const form::ControlDesign* ids::design_of(int id) {
    for (const form::ControlDesign& d : form::kControls) {
        if (id_of(d) == id) return &d;
    }
    return nullptr;
}

}  // namespace ristemo::ui::win32
