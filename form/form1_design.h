#pragma once

#include <cstddef>

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
    About,
    OpenNomra,
    OpenVelsor,
    OpenMirdo,
    OpenZentab,
};

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

// The single line drawn round input and result boxes for their flat look.
inline constexpr Rgb kFlatBorder = {0, 0, 0};

enum class Align { Left, Center };

inline constexpr int kNoIndex = -1;
inline constexpr int kClientArea = 0;  // frame of a control that stands in no frame

struct ControlDesign {
    ControlKind kind;
    const char* name;  // the given name: Text1, Command3, Frame2
    int index;         // the index in its control array; kNoIndex for a single control
    const char* caption;
    int frame;  // n for Frame<n>, kClientArea for the frames themselves
    int left, top, width, height;
    int tab;
    const char* tooltip;
    FontRole font;
    ColourRole colour;
    Align align;
    int max_length;   // input boxes only; 0 elsewhere
    Command command;  // push buttons only
};

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kClientWidth = 7305;
inline constexpr int kClientHeight = 5745;

// Every control, grouped by frame, each frame before what it holds.
extern const ControlDesign kControls[28];

// A menu, a submenu or an item; "&" marks the access key. A submenu is followed by its items,
// one level deeper.
struct MenuDesign {
    int level;  // 1 on the menu bar
    const char* name;
    const char* caption;
    int function_key;  // n for the shortcut Fn, 0 for none
    Command command;   // None for a menu or submenu
};

extern const MenuDesign kMenus[13];

// Whether the entry at position i of kMenus holds items of its own.
bool is_menu(std::size_t i);

// The control a handler names, or Control::Other.
ControlRef control_ref(const ControlDesign& control);

// The frame that holds a control, the n-th frame of kControls for frame n; nullptr for a control
// of the client area.
const ControlDesign* frame_of(const ControlDesign& control);

// The design of a named control; nullptr if there is none.
const ControlDesign* find_control(const char* name, int index = kNoIndex);

// The name under which assistive technology announces a control: an input box by the caption
// under it, a result box by the caption beside it, the button frame by what it holds.
const char* accessible_name(const ControlDesign& control);

inline constexpr const char* kMenuBarName = "menu";

}  // namespace ristemo::form
