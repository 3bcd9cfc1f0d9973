#pragma once

#include <array>
#include <memory>
#include <string>

#include "form/form1.h"
#include "form/view.h"
#include "platform/windows/win32.h"

namespace ristemo::ui {

// Form1 drawn with the Win32 API: the controls, the menu and the keys, handing every event to
// form::Form1. The window is a plain top-level window, not a dialog, so that typed characters
// can be seen before the control they are meant for (key preview).
class Form1Window : public form::View {
public:
    Form1Window();
    ~Form1Window() override;
    Form1Window(const Form1Window&) = delete;
    Form1Window& operator=(const Form1Window&) = delete;

    // Creates the window, hidden; false when Windows refuses. The handle is known from here on.
    bool create(HINSTANCE instance);
    HWND handle() const { return window_; }
    // Connects the behaviour; the window sends it no event before this.
    void attach(form::Form1& form) { form_ = &form; }
    void show(int show_command);

    // Key preview, for the message loop: true when msg has been handled and must go no further.
    // msg may be changed (a character replaced by another).
    bool preview(MSG& msg);

    // form::View
    std::string Text1_text(int index) const override;
    void set_Text1_text(int index, const std::string& text) override;
    bool Option1_value(int index) const override;
    void set_Option1_value(int index, bool value) override;
    void set_Label3_caption(int index, const std::string& text) override;
    void set_focus(form::ControlRef control) override;
    void send_tab() override;
    void close_window() override;

    // Twips to pixels at a screen resolution (15 twips a pixel at 96 dots per inch).
    static int pixels(int twips, UINT dpi);

    // How the window colours the control with this identifier; own is false for those left to
    // the system. background is a system colour index.
    struct Colours {
        bool own;
        COLORREF text;
        int background;
    };
    static Colours colours_of(int id, bool high_contrast);
    static bool system_high_contrast();

private:
    static LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);
    void create_controls(HINSTANCE instance);
    void create_menu();
    void create_tooltips(HINSTANCE instance);
    void lay_out();
    void command(int id, int notification);
    LRESULT control_colour(HDC dc, HWND control);
    void focus(HWND control);
    void move_focus(bool backwards);
    void keep_group_tab_stop();
    form::ControlRef ref_of(HWND control) const;
    HWND control_of(form::ControlRef ref) const;

    HWND owner_ = nullptr;  // hidden: an owned window has no taskbar button
    HWND window_ = nullptr;
    HWND tooltips_ = nullptr;
    HMENU menu_ = nullptr;
    HACCEL accelerators_ = nullptr;
    HWND last_focus_ = nullptr;
    bool moving_focus_ = false;
    bool high_contrast_ = false;
    UINT dpi_ = 96;
    form::Form1* form_ = nullptr;

    struct Fonts {
        HFONT window = nullptr;  // Verdana 8.25 pt bold
        HFONT input = nullptr;   // Verdana 9.75 pt bold
        HFONT result = nullptr;  // Verdana 12 pt bold
    } fonts_;
    std::array<HWND, 4> Text1_{};
    std::array<HWND, 2> Option1_{};
    std::array<HWND, 4> Label1_{};
    std::array<HWND, 5> Label2_{};
    std::array<HWND, 5> Label3_{};
    std::array<HWND, 3> Command3_{};
    HWND Command1_ = nullptr;
    HWND Command2_ = nullptr;
    std::array<HWND, 3> Frame_{};
};

}  // namespace ristemo::ui
