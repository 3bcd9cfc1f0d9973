#include "form/form1_design.h"

#include <iterator>

namespace ristemo::form {

bool is_menu(std::size_t i) {
    return i + 1 < std::size(kMenus) && kMenus[i + 1].level > kMenus[i].level;
}

const char* name_of(Control control) {
    switch (control) {
        case Control::Frame1:
            return "Frame1";
        case Control::Text1:
            return "Text1";
        case Control::Option1:
            return "Option1";
        case Control::Command1:
            return "Command1";
        case Control::Label1:
            return "Label1";
        case Control::Frame2:
            return "Frame2";
        case Control::Label2:
            return "Label2";
        case Control::Label3:
            return "Label3";
        case Control::Frame3:
            return "Frame3";
        case Control::Command3:
            return "Command3";
        case Control::Command2:
            return "Command2";
        case Control::Other:
            break;
    }
    return "";
}

std::string object_name(ControlRef control) {
    std::string name = name_of(control.control);
    // Arrays hold at most five controls: the index is one digit.
    if (control.index != kNoIndex) name += {'_', char('0' + control.index)};
    return name;
}

const ControlDesign* find_control(ControlRef control) {
    for (const ControlDesign& d : kControls) {
        if (d.ref() == control) return &d;
    }
    return nullptr;
}

const ControlDesign* frame_of(const ControlDesign& control) {
    return find_control({control.frame, kNoIndex});
}

bool takes_focus(const ControlDesign& control) {
    return control.kind == ControlKind::InputBox || control.kind == ControlKind::OptionButton ||
           control.kind == ControlKind::PushButton;
}

const char* accessible_name(const ControlDesign& control) {
    if (control.named_by != Control::Other)
        return find_control({control.named_by, control.index})->caption;
    if (control.kind == ControlKind::Frame && *control.caption == '\0') return "comandi";
    return control.caption;
}

}  // namespace ristemo::form
