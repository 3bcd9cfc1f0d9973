#pragma once

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "form/form1.h"
#include "form/form1_design.h"
#include "form/view.h"
#include "platform/windows/win32.h"
#include "ui/win32/announcer.h"

namespace ristemo::ui::win32 {

// The program's only window, drawn with the Win32 API; what it does is Form1's. The window is an
// owned pop-up window with a caption, not a dialog, so that typed characters can be seen before
// the control they are meant for (key preview). Controls take the identifiers of control_ids.h.
class Form1Window : public form::View {
public:
    explicit Form1Window(const form::Services& services);
    ~Form1Window() override;
    Form1Window(const Form1Window&) = delete;
    Form1Window& operator=(const Form1Window&) = delete;

    // Creates the window, hidden, in its final style, where the system places a new window; false
    // when Windows refuses. The handle is known from here on.
    bool create(HINSTANCE instance);
    HWND handle() const { return window_; }
    void show(int show_command);

    form::Form1& form() { return form_; }

    // Key preview, for the message loop: true when msg has been handled and must go no further.
    // msg may be changed (a character replaced by another).
    bool preview_key(MSG& msg);

    // form::View
    std::string Text1_text(int index) const override;
    void set_Text1_text(int index, const std::string& text) override;
    bool Option1_value(int index) const override;
    void set_Option1_value(int index, bool value) override;
    void set_Label3_caption(int index, const std::string& text) override;
    void set_focus(form::ControlRef control) override;
    void send_tab() override;
    void announce(const std::string& text) override;
    void close_window() override;

    // Twips to pixels at a screen resolution (15 twips a pixel at 96 dots per inch).
    static int pixels(int twips, UINT dpi);

    // How the window colours a control; own is false for those left to the system. background
    // is a system colour index.
    struct Colours {
        bool own;
        COLORREF text;
        int background;
    };
    static Colours colours_of(const form::ControlDesign& design, bool high_contrast);
    static bool system_high_contrast();

private:
    // Posted by send_tab: the Tab moves the focus once the handler has returned, and before any
    // key typed ahead, which is input and comes after posted messages.
    static constexpr UINT kSentTab = WM_APP + 1;

    static LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);
    void create_controls(HINSTANCE instance);
    void create_control(const form::ControlDesign& design, DWORD group, HINSTANCE instance);
    void create_menus();
    void create_tooltips(HINSTANCE instance);
    void name_boxes_by_their_labels();
    void create_option_group(HINSTANCE instance);
    void place_option_group();
    void lay_out();
    void command(int id, int notification);
    LRESULT control_colour(HDC dc, HWND control);
    // A frame draws its caption itself, in the window's colour for it.
    static void subclass_frame(HWND frame);
    void focus(HWND control);
    void move_focus(bool backwards);
    void keep_group_tab_stop();

    form::ControlRef control_of(HWND widget) const;
    HWND widget_of(form::ControlRef control) const;

    form::Form1 form_;
    HWND owner_ = nullptr;  // hidden: an owned window has no taskbar button
    HWND window_ = nullptr;
    HWND tooltips_ = nullptr;
    HMENU menu_ = nullptr;
    HWND option_group_ = nullptr;  // names the sex options for screen readers; draws nothing
    std::unique_ptr<Announcer> announcer_;
    HACCEL accelerators_ = nullptr;
    HWND last_focus_ = nullptr;
    bool moving_focus_ = false;
    bool high_contrast_ = false;
    UINT dpi_ = 96;

    std::array<HFONT, 3> fonts_{};  // by form::FontRole
    std::array<HWND, 4> Text1_{};
    std::array<HWND, 2> Option1_{};
    std::array<HWND, 5> Label3_{};
    // Every control of the design, with its window.
    std::vector<std::pair<form::ControlRef, HWND>> named_;
};

}  // namespace ristemo::ui::win32
