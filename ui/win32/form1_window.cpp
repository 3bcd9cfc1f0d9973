#include "ui/win32/form1_window.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/app_info.h"
#include "platform/windows/wide_text.h"
#include "ui/win32/control_ids.h"

namespace ristemo::ui::win32 {

namespace {

using form::ControlKind;
using platform::narrow;
using platform::widen;

const wchar_t* const kWindowClass = L"RistemoForm1";
const wchar_t* const kOwnerClass = L"RistemoOwner";

struct Style {
    const wchar_t* window_class;
    DWORD style;
};

Style style_of(const form::ControlDesign& d) {
    const DWORD child = WS_CHILD | WS_VISIBLE;
    const bool centred = d.align == form::Align::Center;
    switch (d.kind) {
        case ControlKind::Frame:
            return {WC_BUTTONW, child | BS_GROUPBOX};
        // Flat look: a one-pixel border, no 3-D edge.
        case ControlKind::InputBox:
            return {WC_EDITW, child | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL |
                                  (centred ? ES_CENTER : ES_LEFT)};
        // Checked by the window itself, not by the button: an automatic radio button checks
        // itself when the keyboard brings it the focus, and the sex must be picked, not tabbed
        // into. The first option is the group's one tab stop.
        case ControlKind::OptionButton:
            return {WC_BUTTONW, child | BS_RADIOBUTTON | (d.index == 0 ? WS_TABSTOP : DWORD(0))};
        case ControlKind::PushButton:
            return {WC_BUTTONW, child | WS_TABSTOP | BS_PUSHBUTTON};
        case ControlKind::Label:
            return {WC_STATICW, child | SS_NOPREFIX | (centred ? SS_CENTER : SS_LEFT)};
        case ControlKind::ResultBox:
            return {WC_STATICW, child | SS_NOPREFIX | WS_BORDER | (centred ? SS_CENTER : SS_LEFT)};
    }
    return {WC_STATICW, child};
}

HFONT make_font(form::FontRole role, UINT dpi) {
    const form::Font font = form::font_of(role);
    const int hundredths = int(std::lround(font.points * 100));
    return CreateFontW(-MulDiv(hundredths, int(dpi), 7200), 0, 0, 0,
                       font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, widen(font.face).c_str());
}

UINT dpi_of(HWND window) {
    const UINT dpi = window != nullptr ? GetDpiForWindow(window) : GetDpiForSystem();
    return dpi != 0 ? dpi : 96;
}

}  // namespace

Form1Window::Form1Window(const form::Services& services) : form_(*this, services) {}

Form1Window::~Form1Window() {
    if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
    if (owner_ != nullptr && IsWindow(owner_)) DestroyWindow(owner_);
    if (accelerators_ != nullptr) DestroyAcceleratorTable(accelerators_);
    for (HFONT font : fonts_)
        if (font != nullptr) DeleteObject(font);
}

int Form1Window::pixels(int twips, UINT dpi) {
    return MulDiv(twips, int(dpi), form::kTwipsPerInch);
}

bool Form1Window::create(HINSTANCE instance) {
    INITCOMMONCONTROLSEX common{sizeof common, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&common);

    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = window_proc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    window_class.lpszClassName = kWindowClass;
    window_class.hIcon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(ids::kIcon), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                   GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
    window_class.hIconSm = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(ids::kIcon), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    if (!RegisterClassExW(&window_class)) return false;

    WNDCLASSEXW owner_class{};
    owner_class.cbSize = sizeof owner_class;
    owner_class.lpfnWndProc = DefWindowProcW;
    owner_class.hInstance = instance;
    owner_class.lpszClassName = kOwnerClass;
    RegisterClassExW(&owner_class);
    // Hidden, never shown: a window it owns has no taskbar button. Overlapped, as only an
    // overlapped window is given the place the system chooses for a new window
    // (CW_USEDEFAULT), which the window then takes.
    owner_ = CreateWindowExW(0, kOwnerClass, L"", WS_OVERLAPPED, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (owner_ == nullptr) return false;
    RECT place{};
    GetWindowRect(owner_, &place);

    create_menus();
    // A fixed frame with a title, the icon and the close box: no sizing border, no minimize or
    // maximize. An owned pop-up with a caption looks as an overlapped window does; X11 window
    // managers under Wine take it for a dialog, which they activate when it appears (openbox does
    // not activate an owned overlapped window). Its styles are final here: most cannot change
    // once a window exists.
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    window_ =
        CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClass, widen(core::kAppTitle).c_str(), style,
                        place.left, place.top, 100, 100, owner_, menu_, instance, this);
    if (window_ == nullptr) return false;
    dpi_ = dpi_of(window_);
    high_contrast_ = system_high_contrast();
    create_controls(instance);
    create_tooltips(instance);
    name_boxes_by_their_labels();
    create_option_group(instance);
    announcer_ = std::make_unique<Announcer>(window_, instance);
    lay_out();
    return true;
}

// The controls in tab order, which is creation order for the dialog functions.
void Form1Window::create_controls(HINSTANCE instance) {
    std::vector<const form::ControlDesign*> order;
    for (const form::ControlDesign& d : form::kControls) order.push_back(&d);
    std::stable_sort(order.begin(), order.end(),
                     [](const auto* a, const auto* b) { return a->tab < b->tab; });
    // The option buttons make a group, and the control after them opens the next.
    ControlKind previous = ControlKind::Frame;
    for (const form::ControlDesign* d : order) {
        const bool opens_group = d->kind == ControlKind::OptionButton
                                     ? previous != ControlKind::OptionButton
                                     : previous == ControlKind::OptionButton;
        create_control(*d, opens_group ? WS_GROUP : 0, instance);
        previous = d->kind;
    }
}

// One control of the design, with its identifier, caption and character limit; lay_out places
// it and gives it its font.
void Form1Window::create_control(const form::ControlDesign& d, DWORD group, HINSTANCE instance) {
    const Style style = style_of(d);
    const HWND w = CreateWindowExW(
        0, style.window_class, widen(d.caption).c_str(), style.style | group, 0, 0, 0, 0, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ids::id_of(d))), instance, nullptr);
    switch (d.kind) {
        case ControlKind::InputBox:
            SendMessageW(w, EM_LIMITTEXT, WPARAM(d.max_length), 0);
            Text1_.at(std::size_t(d.index)) = w;
            break;
        // Themed option buttons draw their captions in the theme's colour, ignoring the
        // window's: they keep the classic look that takes it.
        case ControlKind::OptionButton:
            SetWindowTheme(w, L"", L"");
            Option1_.at(std::size_t(d.index)) = w;
            break;
        case ControlKind::ResultBox:
            Label3_.at(std::size_t(d.index)) = w;
            break;
        case ControlKind::Frame:
            subclass_frame(w);
            break;
        default:
            break;
    }
    named_.push_back({d.ref(), w});
}

void Form1Window::create_tooltips(HINSTANCE instance) {
    tooltips_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance, nullptr);
    for (const form::ControlDesign& d : form::kControls) {
        if (*d.tooltip == '\0') continue;
        // The tooltip control keeps its own copy of the text.
        std::wstring text = widen(d.tooltip);
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window_;
        tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(window_, ids::id_of(d)));
        tool.lpszText = text.data();
        SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

// Places every control and sizes the window for the current resolution.
void Form1Window::lay_out() {
    for (std::size_t role = 0; role < fonts_.size(); ++role) {
        if (fonts_[role] != nullptr) DeleteObject(fonts_[role]);
        fonts_[role] = make_font(form::FontRole(role), dpi_);
    }
    for (const form::ControlDesign& d : form::kControls) {
        int left = d.left;
        int top = d.top;
        if (const form::ControlDesign* frame = form::frame_of(d)) {
            left += frame->left;
            top += frame->top;
        }
        const HWND w = GetDlgItem(window_, ids::id_of(d));
        MoveWindow(w, pixels(left, dpi_), pixels(top, dpi_), pixels(d.width, dpi_),
                   pixels(d.height, dpi_), FALSE);
        SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.at(std::size_t(d.font))),
                     FALSE);
    }
    place_option_group();

    RECT frame{0, 0, pixels(form::kClientWidth, dpi_), pixels(form::kClientHeight, dpi_)};
    const DWORD style = DWORD(GetWindowLongPtrW(window_, GWL_STYLE));
    const DWORD ex_style = DWORD(GetWindowLongPtrW(window_, GWL_EXSTYLE));
    AdjustWindowRectExForDpi(&frame, style, TRUE, ex_style, dpi_);
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window_, nullptr, TRUE);
}

void Form1Window::show(int show_command) {
    ShowWindow(window_, show_command);
    UpdateWindow(window_);
    SetForegroundWindow(window_);
    focus(Text1_[0]);
}

std::string Form1Window::Text1_text(int index) const {
    const HWND box = Text1_.at(std::size_t(index));
    std::wstring text(std::size_t(GetWindowTextLengthW(box)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(box, text.data(), int(text.size()))));
    return narrow(text);
}

void Form1Window::set_Text1_text(int index, const std::string& text) {
    SetWindowTextW(Text1_.at(std::size_t(index)), widen(text).c_str());
}

bool Form1Window::Option1_value(int index) const {
    return SendMessageW(Option1_.at(std::size_t(index)), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// The group is exclusive: checking one option clears the other. Clearing both is allowed.
void Form1Window::set_Option1_value(int index, bool value) {
    SendMessageW(Option1_.at(std::size_t(index)), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED,
                 0);
    if (value) SendMessageW(Option1_.at(std::size_t(1 - index)), BM_SETCHECK, BST_UNCHECKED, 0);
    keep_group_tab_stop();
}

void Form1Window::set_Label3_caption(int index, const std::string& text) {
    SetWindowTextW(Label3_.at(std::size_t(index)), widen(text).c_str());
}

void Form1Window::set_focus(form::ControlRef control) {
    if (const HWND target = widget_of(control)) focus(target);
}

void Form1Window::close_window() {
    DestroyWindow(window_);
}

form::ControlRef Form1Window::control_of(HWND widget) const {
    for (const auto& [ref, w] : named_) {
        if (w == widget) return ref;
    }
    return {};
}

HWND Form1Window::widget_of(form::ControlRef control) const {
    for (const auto& [ref, w] : named_) {
        if (ref == control) return w;
    }
    return nullptr;
}

}  // namespace ristemo::ui::win32
