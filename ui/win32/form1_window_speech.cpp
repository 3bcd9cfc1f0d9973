#include "form/spoken.h"
#include "platform/windows/wide_text.h"
#include "ui/win32/form1_window.h"
// The common controls need the Windows headers before them.
#include <commctrl.h>

#include "ui/win32/control_ids.h"

namespace ristemo::ui::win32 {

namespace {

// Shows nothing: the group box exists for screen readers, which name a control after the group
// box around it, the nearest one before it in z-order.
LRESULT CALLBACK unseen_proc(HWND group, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                             DWORD_PTR) {
    switch (message) {
        case WM_PAINT:
            ValidateRect(group, nullptr);
            return 0;
        case WM_ERASEBKGND:
        case WM_PRINTCLIENT:
            return 1;
        case WM_NCHITTEST:
            return HTTRANSPARENT;
        default:
            return DefSubclassProc(group, message, wparam, lparam);
    }
}

}  // namespace

// A screen reader names an input box after the text just before it in z-order: each box's label
// goes right before it. Labels take no focus, so the tab order stays as it is.
void Form1Window::name_boxes_by_their_labels() {
    for (const form::ControlDesign& box : form::kControls) {
        if (box.kind != form::ControlKind::InputBox) continue;
        const form::ControlDesign* label = form::find_control({box.named_by, box.index});
        const HWND box_window = GetDlgItem(window_, ids::id_of(box));
        SetWindowPos(GetDlgItem(window_, ids::id_of(*label)), GetWindow(box_window, GW_HWNDPREV), 0,
                     0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
}

void Form1Window::create_option_group(HINSTANCE instance) {
    option_group_ = CreateWindowExW(
        WS_EX_TRANSPARENT, WC_BUTTONW, platform::widen(form::kOption1GroupName).c_str(),
        WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 0, 0, 0, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ids::kOption1Group)), instance, nullptr);
    SetWindowSubclass(option_group_, unseen_proc, 0, 0);
    SetWindowPos(option_group_, GetWindow(Option1_[0], GW_HWNDPREV), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
}

// Round both options, once they are in place.
void Form1Window::place_option_group() {
    RECT area{}, option{};
    for (HWND o : Option1_) {
        GetWindowRect(o, &option);
        UnionRect(&area, &area, &option);
    }
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&area), 2);
    MoveWindow(option_group_, area.left, area.top, area.right - area.left, area.bottom - area.top,
               FALSE);
}

void Form1Window::announce(const std::string& text) {
    announcer_->announce(platform::widen(text));
}

}  // namespace ristemo::ui::win32
