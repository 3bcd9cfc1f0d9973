#pragma once

#include <cstddef>
#include <string>

#include "form/view.h"

// Form1's design as data: what each front-end turns into its toolkit's controls and menus. Texts
// are UTF-8; positions and sizes are twips (1/1440 inch), a control's measured from the frame
// that holds it, a frame's from the window's client area.
namespace ristemo::form {

// What the window's buttons, menu items and function keys run; Form1::run carries them out.
enum class Command {
    None,
    Calculate,  // calcolo_cg
    Reset,      // azzera_modulo
    Print,      // direct_print
    Export,     // blocco_note
    Exit,       // closes the window without asking
    About,      // mnu_about_Click
    OpenNomra,  // mnu_nomra_Click, and so on for the other web pages
    OpenVelsor,
    OpenMirdo,
    OpenZentab,
};

// A command and its function key, n for Fn (0 for none). The key is the shortcut of the menu item
// that runs the command, from anywhere in the window; a button's caption names it: "(F5)".
struct CommandDesign {
    Command command;
    int function_key;
};

inline constexpr CommandDesign kCommands[] = {
    {Command::Calculate, 5},  {Command::Reset, 8},      {Command::Print, 3},
    {Command::Export, 7},     {Command::Exit, 12},      {Command::About, 0},
    {Command::OpenNomra, 0},  {Command::OpenVelsor, 0}, {Command::OpenMirdo, 0},
    {Command::OpenZentab, 0},
};

// The function key of a command; 0 for none.
constexpr int function_key_of(Command command) {
    for (const CommandDesign& row : kCommands) {
        if (row.command == command) return row.function_key;
    }
    return 0;
}

enum class ControlKind { Frame, InputBox, OptionButton, PushButton, Label, ResultBox };

struct Font {
    const char* face;
    double points;
    bool bold;
};

enum class FontRole { Window, Input, Result };

inline constexpr Font font_of(FontRole role) {
    switch (role) {
        case FontRole::Input:
            return {"Verdana", 9.75, true};
        case FontRole::Result:
            return {"Verdana", 12, true};
        case FontRole::Window:
            break;
    }
    return {"Verdana", 8.25, true};
}

struct Rgb {
    int red, green, blue;
};

// System: the desktop's own label colours. The others are the control's text colour.
enum class ColourRole { System, InputFrame, OutputFrame, Caption, Result };

inline constexpr Rgb rgb_of(ColourRole role) {
    switch (role) {
        case ColourRole::InputFrame:
            return {0, 0, 192};
        case ColourRole::OutputFrame:
        case ColourRole::Result:
            return {128, 0, 0};
        case ColourRole::Caption:
            return {0, 0, 128};
        case ColourRole::System:
            break;
    }
    return {0, 0, 0};
}

// The single line drawn round input and result boxes for their flat look. The Qt window draws it;
// the Win32 window draws the system's one-pixel border (WS_BORDER) in its place.
inline constexpr Rgb kFlatBorder = {0, 0, 0};

enum class Align { Left, Center };

struct ControlDesign {
    ControlKind kind;
    Control name;  // the given name: Text1, Frame2
    int index;     // the index in its control array; kNoIndex for a single control
    const char* caption;
    Control frame;  // the frame that holds it; Other for the frames themselves
    int left, top, width, height;
    int tab;
    const char* tooltip;
    FontRole font;
    ColourRole colour;
    Align align;
    int max_length;    // input boxes only; 0 elsewhere
    Command command;   // push buttons only
    Control named_by;  // the label of the same index whose caption names this box; Other: none

    constexpr ControlRef ref() const { return {name, index}; }
};

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kClientWidth = 7305;
inline constexpr int kClientHeight = 5745;

namespace rows {

using K = ControlKind;
using N = Control;
using F = FontRole;
using C = ColourRole;
using Cmd = Command;

// Every control, grouped by frame, each frame before what it holds.
inline constexpr ControlDesign kControls[] = {
    // kind, name, index, caption, frame, left, top, width, height, tab, tooltip, font, colour,
    // align, max_length, command, named_by
    {K::Frame, N::Frame1, kNoIndex, "INPUT", N::Other, 120, 0, 7095, 2055, 0, "", F::Window,
     C::InputFrame, Align::Left, 0, Cmd::None, N::Other},
    {K::InputBox, N::Text1, 0, "", N::Frame1, 360, 360, 975, 390, 1,
     "immettere creatinina plasmatica in mg/dl", F::Input, C::System, Align::Center, 4, Cmd::None,
     N::Label1},
    {K::InputBox, N::Text1, 1, "", N::Frame1, 1860, 360, 975, 390, 2, "peso del soggetto in esame",
     F::Input, C::System, Align::Center, 5, Cmd::None, N::Label1},
    {K::InputBox, N::Text1, 3, "", N::Frame1, 3600, 360, 975, 375, 3, "esprimere in mt (es. 1,75)",
     F::Input, C::System, Align::Center, 4, Cmd::None, N::Label1},
    {K::InputBox, N::Text1, 2, "", N::Frame1, 5520, 360, 975, 375, 4, "et\u00e0 in anni", F::Input,
     C::System, Align::Center, 3, Cmd::None, N::Label1},
    {K::OptionButton, N::Option1, 0, "maschio", N::Frame1, 360, 1440, 1335, 255, 5, "", F::Window,
     C::Caption, Align::Left, 0, Cmd::None, N::Other},
    {K::OptionButton, N::Option1, 1, "femmina", N::Frame1, 1800, 1440, 1455, 255, 6, "", F::Window,
     C::Caption, Align::Left, 0, Cmd::None, N::Other},
    {K::PushButton, N::Command1, kNoIndex, "calcola (F5)", N::Frame1, 5280, 1320, 1500, 375, 7,
     "procedi al calcolo", F::Window, C::System, Align::Center, 0, Cmd::Calculate, N::Other},
    {K::Label, N::Label1, 0, "creatinina", N::Frame1, 360, 840, 975, 255, 8, "", F::Window,
     C::Caption, Align::Center, 0, Cmd::None, N::Other},
    {K::Label, N::Label1, 1, "peso (kg)", N::Frame1, 1860, 840, 975, 255, 9, "", F::Window,
     C::Caption, Align::Center, 0, Cmd::None, N::Other},
    {K::Label, N::Label1, 2, "et\u00e0 (anni)", N::Frame1, 5400, 840, 1215, 255, 10, "", F::Window,
     C::Caption, Align::Center, 0, Cmd::None, N::Other},
    {K::Label, N::Label1, 3, "altezza (m)", N::Frame1, 3480, 840, 1335, 255, 11, "", F::Window,
     C::Caption, Align::Center, 0, Cmd::None, N::Other},

    {K::Frame, N::Frame2, kNoIndex, "OUTPUT", N::Other, 120, 2160, 7095, 2775, 12, "", F::Window,
     C::OutputFrame, Align::Left, 0, Cmd::None, N::Other},
    {K::Label, N::Label2, 0, "clearance  creatinina stimata", N::Frame2, 240, 360, 3375, 255, 13,
     "", F::Window, C::System, Align::Left, 0, Cmd::None, N::Other},
    {K::Label, N::Label2, 1, "body mass index", N::Frame2, 240, 840, 3375, 255, 14, "", F::Window,
     C::System, Align::Left, 0, Cmd::None, N::Other},
    {K::Label, N::Label2, 2, "peso ideale e scostamento", N::Frame2, 240, 1320, 3375, 255, 15, "",
     F::Window, C::System, Align::Left, 0, Cmd::None, N::Other},
    {K::Label, N::Label2, 3, "superficie corporea", N::Frame2, 240, 1800, 3375, 255, 16, "",
     F::Window, C::System, Align::Left, 0, Cmd::None, N::Other},
    {K::Label, N::Label2, 4, "stima massa magra", N::Frame2, 240, 2280, 3375, 255, 17, "",
     F::Window, C::System, Align::Left, 0, Cmd::None, N::Other},
    {K::ResultBox, N::Label3, 0, "", N::Frame2, 4680, 240, 2300, 375, 18, "", F::Result, C::Result,
     Align::Center, 0, Cmd::None, N::Label2},
    {K::ResultBox, N::Label3, 1, "", N::Frame2, 4680, 720, 2300, 375, 19, "", F::Result, C::Result,
     Align::Center, 0, Cmd::None, N::Label2},
    // The ideal weight and its deviation need the room: that box keeps the window font.
    {K::ResultBox, N::Label3, 2, "", N::Frame2, 4680, 1200, 2300, 375, 20, "", F::Window, C::Result,
     Align::Center, 0, Cmd::None, N::Label2},
    {K::ResultBox, N::Label3, 3, "", N::Frame2, 4680, 1680, 2300, 375, 21, "", F::Result, C::Result,
     Align::Center, 0, Cmd::None, N::Label2},
    {K::ResultBox, N::Label3, 4, "", N::Frame2, 4680, 2160, 2300, 375, 22, "", F::Result, C::Result,
     Align::Center, 0, Cmd::None, N::Label2},

    {K::Frame, N::Frame3, kNoIndex, "", N::Other, 120, 4920, 7095, 735, 23, "", F::Window,
     C::System, Align::Left, 0, Cmd::None, N::Other},
    {K::PushButton, N::Command3, 0, "stampa (F3)", N::Frame3, 120, 240, 1500, 375, 24,
     "stampa diretta dei risultati", F::Window, C::System, Align::Center, 0, Cmd::Print, N::Other},
    {K::PushButton, N::Command3, 1, "notepad (F7)", N::Frame3, 1800, 240, 1500, 375, 25,
     "trasferisce i risultati sul notepad", F::Window, C::System, Align::Center, 0, Cmd::Export,
     N::Other},
    {K::PushButton, N::Command3, 2, "Esci (F12)", N::Frame3, 5280, 240, 1500, 375, 26,
     "chiude il programma", F::Window, C::System, Align::Center, 0, Cmd::Exit, N::Other},
    {K::PushButton, N::Command2, kNoIndex, "nuovo (F8)", N::Frame3, 3600, 240, 1500, 375, 27,
     "esegue un nuovo calcolo", F::Window, C::System, Align::Center, 0, Cmd::Reset, N::Other},
};

}  // namespace rows

using rows::kControls;

// A menu, a submenu or an item; "&" marks the access key. A submenu is followed by its items,
// one level deeper. An item's function key is its command's.
struct MenuDesign {
    int level;  // 1 on the menu bar
    const char* name;
    const char* caption;
    Command command;  // None for a menu or submenu
};

inline constexpr MenuDesign kMenus[] = {
    {1, "mnu_opzioni", "&Opzioni", Command::None},
    {2, "mnu_calcolo", "Calcolo", Command::Calculate},
    {2, "mnu_stampa", "Stampa", Command::Print},
    {2, "mnu_notepad", "Notepad", Command::Export},
    {2, "mnu_azzera", "Azzera", Command::Reset},
    {2, "mnu_esci", "Esci", Command::Exit},
    {1, "mnu_info", "Info", Command::None},
    {2, "mnu_about", "Ristemo", Command::About},
    {2, "mnu_sofr", "medical software", Command::None},
    {3, "mnu_nomra", "terapia anticoagulante", Command::OpenNomra},
    {3, "mnu_velsor", "stampa rapida ricette", Command::OpenVelsor},
    {3, "mnu_mirdo", "insulino-resistenza", Command::OpenMirdo},
    {3, "mnu_zentab", "sito ZENTAB", Command::OpenZentab},
};

// Whether the entry at position i of kMenus holds items of its own.
bool is_menu(std::size_t i);

// The given name of a control: "Text1".
const char* name_of(Control control);

// The name a control goes by in a front-end and its tests: "Text1_2" for Text1 index 2,
// "Command1" for a single control.
std::string object_name(ControlRef control);

// The design of a control; nullptr if there is none.
const ControlDesign* find_control(ControlRef control);

// The frame that holds a control; nullptr for a control of the client area.
const ControlDesign* frame_of(const ControlDesign& control);

// Whether the control is one the keyboard can reach: an input box, an option or a button.
bool takes_focus(const ControlDesign& control);

// The name under which assistive technology announces a control: a box by the label that names
// it, the button frame by what it holds ("comandi"), any other control by its caption. The Qt
// window gives every control this name. The Win32 window leaves names to the system, which names
// a control by its own text and an input box by the label just before it, where the window puts
// it: there the button frame, which has no text, goes unnamed.
const char* accessible_name(const ControlDesign& control);

// The accessible name of the menu bar. Only the Qt window names it; a Win32 menu bar has the
// system's name.
inline constexpr const char* kMenuBarName = "menu";

}  // namespace ristemo::form
