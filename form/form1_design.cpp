#include "form/form1_design.h"

#include <cstring>
#include <iterator>

namespace ristemo::form {

namespace {

using K = ControlKind;
using F = FontRole;
using C = ColourRole;
using A = Align;
using Cmd = Command;
constexpr int kNo = kNoIndex;

}  // namespace

const ControlDesign kControls[28] = {
    // kind, name, index, caption, frame, left, top, width, height, tab, tooltip, font, colour,
    // align, max_length, command
    {K::Frame, "Frame1", kNo, "INPUT", kClientArea, 120, 0, 7095, 2055, 0, "", F::Window,
     C::InputFrame, A::Left, 0, Cmd::None},
    {K::InputBox, "Text1", 0, "", 1, 360, 360, 975, 390, 1,
     "immettere creatinina plasmatica in mg/dl", F::Input, C::System, A::Center, 4, Cmd::None},
    {K::InputBox, "Text1", 1, "", 1, 1860, 360, 975, 390, 2, "peso del soggetto in esame", F::Input,
     C::System, A::Center, 5, Cmd::None},
    {K::InputBox, "Text1", 3, "", 1, 3600, 360, 975, 375, 3, "esprimere in mt (es. 1,75)", F::Input,
     C::System, A::Center, 4, Cmd::None},
    {K::InputBox, "Text1", 2, "", 1, 5520, 360, 975, 375, 4, "et\u00e0 in anni", F::Input,
     C::System, A::Center, 3, Cmd::None},
    {K::OptionButton, "Option1", 0, "maschio", 1, 360, 1440, 1335, 255, 5, "", F::Window,
     C::Caption, A::Left, 0, Cmd::None},
    {K::OptionButton, "Option1", 1, "femmina", 1, 1800, 1440, 1455, 255, 6, "", F::Window,
     C::Caption, A::Left, 0, Cmd::None},
    {K::PushButton, "Command1", kNo, "calcola (F5)", 1, 5280, 1320, 1500, 375, 7,
     "procedi al calcolo", F::Window, C::System, A::Center, 0, Cmd::Calculate},
    {K::Label, "Label1", 0, "creatinina", 1, 360, 840, 975, 255, 8, "", F::Window, C::Caption,
     A::Center, 0, Cmd::None},
    {K::Label, "Label1", 1, "peso (kg)", 1, 1860, 840, 975, 255, 9, "", F::Window, C::Caption,
     A::Center, 0, Cmd::None},
    {K::Label, "Label1", 2, "et\u00e0 (anni)", 1, 5400, 840, 1215, 255, 10, "", F::Window,
     C::Caption, A::Center, 0, Cmd::None},
    {K::Label, "Label1", 3, "altezza (m)", 1, 3480, 840, 1335, 255, 11, "", F::Window, C::Caption,
     A::Center, 0, Cmd::None},

    {K::Frame, "Frame2", kNo, "OUTPUT", kClientArea, 120, 2160, 7095, 2775, 12, "", F::Window,
     C::OutputFrame, A::Left, 0, Cmd::None},
    {K::Label, "Label2", 0, "clearance  creatinina stimata", 2, 240, 360, 3375, 255, 13, "",
     F::Window, C::System, A::Left, 0, Cmd::None},
    {K::Label, "Label2", 1, "body mass index", 2, 240, 840, 3375, 255, 14, "", F::Window, C::System,
     A::Left, 0, Cmd::None},
    {K::Label, "Label2", 2, "peso ideale e scostamento", 2, 240, 1320, 3375, 255, 15, "", F::Window,
     C::System, A::Left, 0, Cmd::None},
    {K::Label, "Label2", 3, "superficie corporea", 2, 240, 1800, 3375, 255, 16, "", F::Window,
     C::System, A::Left, 0, Cmd::None},
    {K::Label, "Label2", 4, "stima massa magra", 2, 240, 2280, 3375, 255, 17, "", F::Window,
     C::System, A::Left, 0, Cmd::None},
    {K::ResultBox, "Label3", 0, "", 2, 4680, 240, 2300, 375, 18, "", F::Result, C::Result,
     A::Center, 0, Cmd::None},
    {K::ResultBox, "Label3", 1, "", 2, 4680, 720, 2300, 375, 19, "", F::Result, C::Result,
     A::Center, 0, Cmd::None},
    // The ideal weight and its deviation need the room: that box keeps the window font.
    {K::ResultBox, "Label3", 2, "", 2, 4680, 1200, 2300, 375, 20, "", F::Window, C::Result,
     A::Center, 0, Cmd::None},
    {K::ResultBox, "Label3", 3, "", 2, 4680, 1680, 2300, 375, 21, "", F::Result, C::Result,
     A::Center, 0, Cmd::None},
    {K::ResultBox, "Label3", 4, "", 2, 4680, 2160, 2300, 375, 22, "", F::Result, C::Result,
     A::Center, 0, Cmd::None},

    {K::Frame, "Frame3", kNo, "", kClientArea, 120, 4920, 7095, 735, 23, "", F::Window, C::System,
     A::Left, 0, Cmd::None},
    {K::PushButton, "Command3", 0, "stampa (F3)", 3, 120, 240, 1500, 375, 24,
     "stampa diretta dei risultati", F::Window, C::System, A::Center, 0, Cmd::Print},
    {K::PushButton, "Command3", 1, "notepad (F7)", 3, 1800, 240, 1500, 375, 25,
     "trasferisce i risultati sul notepad", F::Window, C::System, A::Center, 0, Cmd::Export},
    {K::PushButton, "Command3", 2, "Esci (F12)", 3, 5280, 240, 1500, 375, 26, "chiude il programma",
     F::Window, C::System, A::Center, 0, Cmd::Exit},
    {K::PushButton, "Command2", kNo, "nuovo (F8)", 3, 3600, 240, 1500, 375, 27,
     "esegue un nuovo calcolo", F::Window, C::System, A::Center, 0, Cmd::Reset},
};

const MenuDesign kMenus[13] = {
    {1, "mnu_opzioni", "&Opzioni", 0, Cmd::None},
    {2, "mnu_calcolo", "Calcolo", 5, Cmd::Calculate},
    {2, "mnu_stampa", "Stampa", 3, Cmd::Print},
    {2, "mnu_notepad", "Notepad", 7, Cmd::Export},
    {2, "mnu_azzera", "Azzera", 8, Cmd::Reset},
    {2, "mnu_esci", "Esci", 12, Cmd::Exit},
    {1, "mnu_info", "Info", 0, Cmd::None},
    {2, "mnu_about", "Ristemo", 0, Cmd::About},
    {2, "mnu_sofr", "medical software", 0, Cmd::None},
    {3, "mnu_nomra", "terapia anticoagulante", 0, Cmd::OpenNomra},
    {3, "mnu_velsor", "stampa rapida ricette", 0, Cmd::OpenVelsor},
    {3, "mnu_mirdo", "insulino-resistenza", 0, Cmd::OpenMirdo},
    {3, "mnu_zentab", "sito ZENTAB", 0, Cmd::OpenZentab},
};

bool is_menu(std::size_t i) {
    return i + 1 < std::size(kMenus) && kMenus[i + 1].level > kMenus[i].level;
}

ControlRef control_ref(const ControlDesign& control) {
    const struct {
        const char* name;
        Control control;
    } named[] = {{"Text1", Control::Text1},
                 {"Option1", Control::Option1},
                 {"Command1", Control::Command1},
                 {"Command2", Control::Command2},
                 {"Command3", Control::Command3}};
    for (const auto& n : named) {
        if (std::strcmp(control.name, n.name) == 0)
            return {n.control, control.index == kNoIndex ? 0 : control.index};
    }
    return {};
}

const ControlDesign* frame_of(const ControlDesign& control) {
    int n = 0;
    for (const ControlDesign& frame : kControls) {
        if (frame.kind == ControlKind::Frame && ++n == control.frame) return &frame;
    }
    return nullptr;
}

const ControlDesign* find_control(const char* name, int index) {
    for (const ControlDesign& control : kControls) {
        if (std::strcmp(control.name, name) == 0 && control.index == index) return &control;
    }
    return nullptr;
}

const char* accessible_name(const ControlDesign& control) {
    if (std::strcmp(control.name, "Text1") == 0)
        return find_control("Label1", control.index)->caption;
    if (std::strcmp(control.name, "Label3") == 0)
        return find_control("Label2", control.index)->caption;
    if (control.kind == ControlKind::Frame && *control.caption == '\0') return "comandi";
    return control.caption;
}

}  // namespace ristemo::form
