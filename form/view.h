#pragma once

#include <string>

namespace ristemo::form {

// A single control's index: it belongs to no control array.
inline constexpr int kNoIndex = -1;

// The window's controls by their given names. With an index, a control of an array (Text1 index 2
// is the age box); kNoIndex for a single control. Other is none of the window's controls.
enum class Control {
    Frame1,
    Text1,
    Option1,
    Command1,
    Label1,
    Frame2,
    Label2,
    Label3,
    Frame3,
    Command3,
    Command2,
    Other
};

struct ControlRef {
    Control control = Control::Other;
    int index = kNoIndex;

    friend constexpr bool operator==(const ControlRef& a, const ControlRef& b) {
        return a.control == b.control && a.index == b.index;
    }
};

// The window as Form1's handlers see it: named controls and what can be done to them. Texts are
// UTF-8. Each front-end implements it over its own widgets.
class View {
public:
    virtual ~View() = default;
    virtual std::string Text1_text(int index) const = 0;
    virtual void set_Text1_text(int index, const std::string& text) = 0;
    virtual bool Option1_value(int index) const = 0;
    // Sets or clears an option without running Option1_Click; setting one clears the other.
    virtual void set_Option1_value(int index, bool value) = 0;
    virtual void set_Label3_caption(int index, const std::string& text) = 0;
    virtual void set_focus(ControlRef control) = 0;
    // Queues a Tab keystroke for the focused control and returns at once; the focus moves on
    // after the running handler has returned.
    virtual void send_tab() = 0;
    // Has a screen reader say text at once, after what it is saying, without moving the focus;
    // nothing on screen changes.
    virtual void announce(const std::string& text) = 0;
    virtual void close_window() = 0;
};

}  // namespace ristemo::form
