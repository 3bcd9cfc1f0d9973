#pragma once

#include <string>

namespace ristemo::form {

// The controls a handler names; index is the control's index in its array (Text1[2] is the age
// box). Other is any control no handler acts on by name.
enum class Control { Text1, Option1, Command1, Command2, Command3, Other };

struct ControlRef {
    Control control = Control::Other;
    int index = 0;

    friend bool operator==(const ControlRef& a, const ControlRef& b) {
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
