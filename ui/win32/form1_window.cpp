#include "ui/win32/form1_window.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <vector>

#include "core/app_info.h"
#include "platform/windows/wide_text.h"
#include "ui/win32/control_ids.h"

namespace ristemo::ui {

namespace {

using platform::narrow;
using platform::widen;

const wchar_t* const kWindowClass = L"RistemoForm1";
const wchar_t* const kOwnerClass = L"RistemoOwner";
// Posted by send_tab: the Tab moves the focus once the handler has returned, and before any key
// typed ahead, which is input and comes after posted messages.
constexpr UINT kSentTab = WM_APP + 1;

constexpr int kClientWidth = 7305;  // twips
constexpr int kClientHeight = 5745;

constexpr COLORREF kDarkBlue = RGB(0, 0, 128);
constexpr COLORREF kBlue = RGB(0, 0, 192);
constexpr COLORREF kDarkRed = RGB(128, 0, 0);

enum class Kind { Frame, Input, Option, Button, Caption, ResultCaption, Result };
enum class Font { Window, Input, Result };

// One control: where it stands in twips (from its frame's top-left corner; frames from the
// client area's), and how it looks. The table is in tab order, which is also creation order.
struct ControlDef {
    Kind kind;
    int id;
    const wchar_t* caption;
    int frame;  // index into the frames, -1 for the client area
    int left, top, width, height;
    const wchar_t* tooltip;
    Font font;
    int limit;  // input boxes: the most characters they take
};

const ControlDef kControls[] = {
    {Kind::Frame, ids::kFrame1, L"INPUT", -1, 120, 0, 7095, 2055, nullptr, Font::Window, 0},
    {Kind::Input, ids::kText1 + 0, L"", 0, 360, 360, 975, 390,
     L"immettere creatinina plasmatica in mg/dl", Font::Input, 4},
    {Kind::Input, ids::kText1 + 1, L"", 0, 1860, 360, 975, 390, L"peso del soggetto in esame",
     Font::Input, 5},
    {Kind::Input, ids::kText1 + 3, L"", 0, 3600, 360, 975, 375, L"esprimere in mt (es. 1,75)",
     Font::Input, 4},
    {Kind::Input, ids::kText1 + 2, L"", 0, 5520, 360, 975, 375, L"et\u00e0 in anni", Font::Input,
     3},
    {Kind::Option, ids::kOption1 + 0, L"maschio", 0, 360, 1440, 1335, 255, nullptr, Font::Window,
     0},
    {Kind::Option, ids::kOption1 + 1, L"femmina", 0, 1800, 1440, 1455, 255, nullptr, Font::Window,
     0},
    {Kind::Button, ids::kCommand1, L"calcola (F5)", 0, 5280, 1320, 1500, 375, L"procedi al calcolo",
     Font::Window, 0},
    {Kind::Caption, ids::kLabel1 + 0, L"creatinina", 0, 360, 840, 975, 255, nullptr, Font::Window,
     0},
    {Kind::Caption, ids::kLabel1 + 1, L"peso (kg)", 0, 1860, 840, 975, 255, nullptr, Font::Window,
     0},
    {Kind::Caption, ids::kLabel1 + 2, L"et\u00e0 (anni)", 0, 5400, 840, 1215, 255, nullptr,
     Font::Window, 0},
    {Kind::Caption, ids::kLabel1 + 3, L"altezza (m)", 0, 3480, 840, 1335, 255, nullptr,
     Font::Window, 0},
    {Kind::Frame, ids::kFrame2, L"OUTPUT", -1, 120, 2160, 7095, 2775, nullptr, Font::Window, 0},
    {Kind::ResultCaption, ids::kLabel2 + 0, L"clearance  creatinina stimata", 1, 240, 360, 3375,
     255, nullptr, Font::Window, 0},
    {Kind::ResultCaption, ids::kLabel2 + 1, L"body mass index", 1, 240, 840, 3375, 255, nullptr,
     Font::Window, 0},
    {Kind::ResultCaption, ids::kLabel2 + 2, L"peso ideale e scostamento", 1, 240, 1320, 3375, 255,
     nullptr, Font::Window, 0},
    {Kind::ResultCaption, ids::kLabel2 + 3, L"superficie corporea", 1, 240, 1800, 3375, 255,
     nullptr, Font::Window, 0},
    {Kind::ResultCaption, ids::kLabel2 + 4, L"stima massa magra", 1, 240, 2280, 3375, 255, nullptr,
     Font::Window, 0},
    {Kind::Result, ids::kLabel3 + 0, L"", 1, 4680, 240, 2300, 375, nullptr, Font::Result, 0},
    {Kind::Result, ids::kLabel3 + 1, L"", 1, 4680, 720, 2300, 375, nullptr, Font::Result, 0},
    // The ideal weight and its deviation need more room: the window's smaller font.
    {Kind::Result, ids::kLabel3 + 2, L"", 1, 4680, 1200, 2300, 375, nullptr, Font::Window, 0},
    {Kind::Result, ids::kLabel3 + 3, L"", 1, 4680, 1680, 2300, 375, nullptr, Font::Result, 0},
    {Kind::Result, ids::kLabel3 + 4, L"", 1, 4680, 2160, 2300, 375, nullptr, Font::Result, 0},
    {Kind::Frame, ids::kFrame3, L"", -1, 120, 4920, 7095, 735, nullptr, Font::Window, 0},
    {Kind::Button, ids::kCommand3 + 0, L"stampa (F3)", 2, 120, 240, 1500, 375,
     L"stampa diretta dei risultati", Font::Window, 0},
    {Kind::Button, ids::kCommand3 + 1, L"notepad (F7)", 2, 1800, 240, 1500, 375,
     L"trasferisce i risultati sul notepad", Font::Window, 0},
    {Kind::Button, ids::kCommand3 + 2, L"Esci (F12)", 2, 5280, 240, 1500, 375,
     L"chiude il programma", Font::Window, 0},
    {Kind::Button, ids::kCommand2, L"nuovo (F8)", 2, 3600, 240, 1500, 375,
     L"esegue un nuovo calcolo", Font::Window, 0},
};

const ControlDef* frame_def(int frame) {
    const int frame_ids[] = {ids::kFrame1, ids::kFrame2, ids::kFrame3};
    for (const ControlDef& def : kControls)
        if (def.id == frame_ids[frame]) return &def;
    return nullptr;
}

struct Style {
    const wchar_t* window_class;
    DWORD style;
    DWORD ex_style;
};

Style style_of(const ControlDef& def) {
    const DWORD child = WS_CHILD | WS_VISIBLE;
    switch (def.kind) {
        case Kind::Frame:
            return {WC_BUTTONW, child | BS_GROUPBOX, 0};
        // Flat look: a one-pixel border, no 3-D edge.
        case Kind::Input:
            return {WC_EDITW, child | WS_TABSTOP | WS_BORDER | ES_CENTER | ES_AUTOHSCROLL, 0};
        // Checked by the window itself, not by the button: an automatic radio button checks
        // itself when the keyboard brings it the focus, and the sex must be picked, not tabbed
        // into. The first option opens the group and is its one tab stop.
        case Kind::Option:
            return {WC_BUTTONW,
                    child | BS_RADIOBUTTON |
                        (def.id == ids::kOption1 ? WS_GROUP | WS_TABSTOP : DWORD(0)),
                    0};
        case Kind::Button:
            return {WC_BUTTONW,
                    child | WS_TABSTOP | BS_PUSHBUTTON |
                        (def.id == ids::kCommand1 ? WS_GROUP : DWORD(0)),
                    0};
        case Kind::Caption:
            return {WC_STATICW, child | SS_CENTER | SS_NOPREFIX, 0};
        case Kind::ResultCaption:
            return {WC_STATICW, child | SS_LEFT | SS_NOPREFIX, 0};
        case Kind::Result:
            return {WC_STATICW, child | SS_CENTER | SS_NOPREFIX | WS_BORDER, 0};
    }
    return {WC_STATICW, child, 0};
}

// A frame draws its own caption, in the colour the window gives it: a group box takes that colour
// only in the classic look, and Wine's never does.
LRESULT CALLBACK frame_proc(HWND frame, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                            DWORD_PTR) {
    if (message != WM_PAINT) return DefSubclassProc(frame, message, wparam, lparam);
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(frame, &paint);
    const HGDIOBJ old_font =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(frame, WM_GETFONT, 0, 0)));
    const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(frame), WM_CTLCOLORSTATIC,
                                                             reinterpret_cast<WPARAM>(dc),
                                                             reinterpret_cast<LPARAM>(frame)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    RECT edge{};
    GetClientRect(frame, &edge);
    edge.top += metrics.tmHeight / 2;
    DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);

    wchar_t caption[32] = {};
    const int length = GetWindowTextW(frame, caption, int(std::size(caption)));
    if (length > 0) {
        SIZE size{};
        GetTextExtentPoint32W(dc, caption, length, &size);
        const int left = MulDiv(8, int(metrics.tmHeight), 13);
        RECT behind{left - 2, 0, left + size.cx + 2, metrics.tmHeight};
        FillRect(dc, &behind, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
        SetBkMode(dc, TRANSPARENT);
        TextOutW(dc, left, 0, caption, length);
    }
    SelectObject(dc, old_font);
    EndPaint(frame, &paint);
    return 0;
}

HFONT make_font(int hundredths_of_point, UINT dpi) {
    return CreateFontW(-MulDiv(hundredths_of_point, int(dpi), 7200), 0, 0, 0, FW_BOLD, FALSE, FALSE,
                       FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                       CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Verdana");
}

bool key_down(int key) {
    return (GetKeyState(key) & 0x8000) != 0;
}

// A typed character as the 8-bit code the handlers take (Windows-1252, the program's character
// set); characters outside it are none of the codes the handlers act on.
int code_of(wchar_t typed) {
    if (typed < 128) return int(typed);
    char code = 0;
    BOOL lossy = FALSE;
    if (WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, &typed, 1, &code, 1, nullptr, &lossy) !=
            1 ||
        lossy)
        return 255;
    return int(static_cast<unsigned char>(code));
}

wchar_t character_of(int code) {
    const char narrow_code = char(code);
    wchar_t typed = 0;
    MultiByteToWideChar(1252, 0, &narrow_code, 1, &typed, 1);
    return typed;
}

UINT dpi_of(HWND window) {
    const UINT dpi = window != nullptr ? GetDpiForWindow(window) : GetDpiForSystem();
    return dpi != 0 ? dpi : 96;
}

}  // namespace

Form1Window::Form1Window() = default;

Form1Window::~Form1Window() {
    if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
    if (owner_ != nullptr && IsWindow(owner_)) DestroyWindow(owner_);
    if (accelerators_ != nullptr) DestroyAcceleratorTable(accelerators_);
    for (HFONT font : {fonts_.window, fonts_.input, fonts_.result})
        if (font != nullptr) DeleteObject(font);
}

int Form1Window::pixels(int twips, UINT dpi) {
    return MulDiv(twips, int(dpi), 1440);
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
    owner_ = CreateWindowExW(0, kOwnerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                             nullptr);

    create_menu();
    // A fixed frame with a title and the system menu: no sizing border, no minimize or maximize.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    window_ =
        CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClass, widen(core::kAppTitle).c_str(), style,
                        CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, owner_, menu_, instance, this);
    if (window_ == nullptr) return false;
    dpi_ = dpi_of(window_);
    high_contrast_ = system_high_contrast();
    create_controls(instance);
    create_tooltips(instance);
    lay_out();
    return true;
}

void Form1Window::create_menu() {
    const HMENU opzioni = CreatePopupMenu();
    AppendMenuW(opzioni, MF_STRING, ids::kMnuCalcolo, L"Calcolo\tF5");
    AppendMenuW(opzioni, MF_STRING, ids::kMnuStampa, L"Stampa\tF3");
    AppendMenuW(opzioni, MF_STRING, ids::kMnuNotepad, L"Notepad\tF7");
    AppendMenuW(opzioni, MF_STRING, ids::kMnuAzzera, L"Azzera\tF8");
    AppendMenuW(opzioni, MF_STRING, ids::kMnuEsci, L"Esci\tF12");
    const HMENU sofr = CreatePopupMenu();
    AppendMenuW(sofr, MF_STRING, ids::kMnuNomra, L"terapia anticoagulante");
    AppendMenuW(sofr, MF_STRING, ids::kMnuVelsor, L"stampa rapida ricette");
    AppendMenuW(sofr, MF_STRING, ids::kMnuMirdo, L"insulino-resistenza");
    AppendMenuW(sofr, MF_STRING, ids::kMnuZentab, L"sito ZENTAB");
    const HMENU info = CreatePopupMenu();
    AppendMenuW(info, MF_STRING, ids::kMnuAbout, L"Ristemo");
    AppendMenuW(info, MF_POPUP, reinterpret_cast<UINT_PTR>(sofr), L"medical software");
    const HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(opzioni), L"&Opzioni");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(info), L"Info");
    menu_ = bar;

    ACCEL keys[] = {
        {FVIRTKEY, VK_F5, ids::kMnuCalcolo}, {FVIRTKEY, VK_F3, ids::kMnuStampa},
        {FVIRTKEY, VK_F7, ids::kMnuNotepad}, {FVIRTKEY, VK_F8, ids::kMnuAzzera},
        {FVIRTKEY, VK_F12, ids::kMnuEsci},
    };
    accelerators_ = CreateAcceleratorTableW(keys, int(std::size(keys)));
}

void Form1Window::create_controls(HINSTANCE instance) {
    for (const ControlDef& def : kControls) {
        const Style style = style_of(def);
        const HWND control = CreateWindowExW(
            style.ex_style, style.window_class, def.caption, style.style, 0, 0, 0, 0, window_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(def.id)), instance, nullptr);
        if (def.limit > 0) SendMessageW(control, EM_LIMITTEXT, WPARAM(def.limit), 0);
        // Themed option buttons draw their captions in the theme's colour, ignoring the
        // window's: they keep the classic look that takes it.
        if (def.kind == Kind::Option) SetWindowTheme(control, L"", L"");
        if (def.kind == Kind::Frame) SetWindowSubclass(control, frame_proc, 0, 0);

        const int id = def.id;
        if (id >= ids::kText1 && id < ids::kText1 + 4)
            Text1_[std::size_t(id - ids::kText1)] = control;
        if (id >= ids::kOption1 && id < ids::kOption1 + 2)
            Option1_[std::size_t(id - ids::kOption1)] = control;
        if (id >= ids::kLabel1 && id < ids::kLabel1 + 4)
            Label1_[std::size_t(id - ids::kLabel1)] = control;
        if (id >= ids::kLabel2 && id < ids::kLabel2 + 5)
            Label2_[std::size_t(id - ids::kLabel2)] = control;
        if (id >= ids::kLabel3 && id < ids::kLabel3 + 5)
            Label3_[std::size_t(id - ids::kLabel3)] = control;
        if (id >= ids::kCommand3 && id < ids::kCommand3 + 3)
            Command3_[std::size_t(id - ids::kCommand3)] = control;
        if (id >= ids::kFrame1 && id < ids::kFrame1 + 3)
            Frame_[std::size_t(id - ids::kFrame1)] = control;
        if (id == ids::kCommand1) Command1_ = control;
        if (id == ids::kCommand2) Command2_ = control;
    }
    // A screen reader names an input box after the text just before it in z-order: each caption
    // goes right before its box. Captions take no focus, so the tab order stays as it is.
    for (std::size_t i = 0; i < Text1_.size(); ++i)
        SetWindowPos(Label1_[i], GetWindow(Text1_[i], GW_HWNDPREV), 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void Form1Window::create_tooltips(HINSTANCE instance) {
    tooltips_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance, nullptr);
    for (const ControlDef& def : kControls) {
        if (def.tooltip == nullptr) continue;
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window_;
        tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(window_, def.id));
        tool.lpszText = const_cast<wchar_t*>(def.tooltip);
        SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

// Places every control and sizes the window for the current resolution.
void Form1Window::lay_out() {
    for (HFONT font : {fonts_.window, fonts_.input, fonts_.result})
        if (font != nullptr) DeleteObject(font);
    fonts_.window = make_font(825, dpi_);
    fonts_.input = make_font(975, dpi_);
    fonts_.result = make_font(1200, dpi_);

    for (const ControlDef& def : kControls) {
        int left = def.left;
        int top = def.top;
        if (def.frame >= 0) {
            const ControlDef* frame = frame_def(def.frame);
            left += frame->left;
            top += frame->top;
        }
        const HWND control = GetDlgItem(window_, def.id);
        MoveWindow(control, pixels(left, dpi_), pixels(top, dpi_), pixels(def.width, dpi_),
                   pixels(def.height, dpi_), FALSE);
        const HFONT font = def.font == Font::Input    ? fonts_.input
                           : def.font == Font::Result ? fonts_.result
                                                      : fonts_.window;
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }

    RECT frame{0, 0, pixels(kClientWidth, dpi_), pixels(kClientHeight, dpi_)};
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

LRESULT CALLBACK Form1Window::window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<Form1Window*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window_ = window;
    }
    auto* self = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(window, message, wparam, lparam);
    return self->handle(message, wparam, lparam);
}

LRESULT Form1Window::handle(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_COMMAND:
            command(LOWORD(wparam), HIWORD(wparam));
            return 0;
        case WM_CTLCOLORSTATIC:
            return control_colour(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
        case kSentTab:
            move_focus(false);
            return 0;
        // The focus returns to the control that had it when the window is activated again.
        case WM_ACTIVATE:
            if (LOWORD(wparam) == WA_INACTIVE) {
                const HWND focus = GetFocus();
                if (focus != nullptr && IsChild(window_, focus)) last_focus_ = focus;
            } else if (last_focus_ != nullptr && IsWindow(last_focus_)) {
                focus(last_focus_);
                return 0;
            }
            break;
        // High contrast turned on or off, or the system's colours changed.
        case WM_SETTINGCHANGE:
        case WM_SYSCOLORCHANGE:
            high_contrast_ = system_high_contrast();
            InvalidateRect(window_, nullptr, TRUE);
            break;
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wparam);
            const RECT* suggested = reinterpret_cast<const RECT*>(lparam);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            lay_out();
            return 0;
        }
        case WM_CLOSE:
            DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wparam, lparam);
}

void Form1Window::command(int id, int notification) {
    if (form_ == nullptr) return;
    if (id >= ids::kOption1 && id < ids::kOption1 + 2) {
        if (notification != BN_CLICKED || moving_focus_) return;
        const int index = id - ids::kOption1;
        set_Option1_value(index, true);
        form_->Option1_Click(index);
        return;
    }
    if (id >= ids::kCommand3 && id < ids::kCommand3 + 3) {
        if (notification == BN_CLICKED) form_->Command3_Click(id - ids::kCommand3);
        return;
    }
    switch (id) {
        case ids::kCommand1:
            if (notification == BN_CLICKED) form_->Command1_Click();
            break;
        case ids::kCommand2:
            if (notification == BN_CLICKED) form_->Command2_Click();
            break;
        case ids::kMnuCalcolo:
            form_->calcolo_cg();
            break;
        case ids::kMnuStampa:
            form_->direct_print();
            break;
        case ids::kMnuNotepad:
            form_->blocco_note();
            break;
        case ids::kMnuAzzera:
            form_->azzera_modulo();
            break;
        case ids::kMnuEsci:
            form_->mnu_esci_Click();
            break;
        case ids::kMnuAbout:
            form_->mnu_about_Click();
            break;
        case ids::kMnuNomra:
            form_->mnu_nomra_Click();
            break;
        case ids::kMnuVelsor:
            form_->mnu_velsor_Click();
            break;
        case ids::kMnuMirdo:
            form_->mnu_mirdo_Click();
            break;
        case ids::kMnuZentab:
            form_->mnu_zentab_Click();
            break;
        default:
            break;
    }
}

bool Form1Window::system_high_contrast() {
    HIGHCONTRASTW contrast{sizeof contrast, 0, nullptr};
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// The window's own colours: the captions and options dark blue, the frames' captions blue and
// dark red, the results dark red on the window colour. In high contrast the system's text colours
// instead, which the user chose to be readable on the system's backgrounds. 0: not coloured.
Form1Window::Colours Form1Window::colours_of(int id, bool high_contrast) {
    const bool on_window = id >= ids::kLabel3 && id < ids::kLabel3 + 5;
    COLORREF text = 0;
    if ((id >= ids::kLabel1 && id < ids::kLabel1 + 4) ||
        (id >= ids::kOption1 && id < ids::kOption1 + 2))
        text = kDarkBlue;
    else if (id == ids::kFrame1)
        text = kBlue;
    else if (id == ids::kFrame2 || on_window)
        text = kDarkRed;
    else
        return {false, 0, 0};
    const int background = on_window ? COLOR_WINDOW : COLOR_BTNFACE;
    if (high_contrast) text = GetSysColor(on_window ? COLOR_WINDOWTEXT : COLOR_BTNTEXT);
    return {true, text, background};
}

LRESULT Form1Window::control_colour(HDC dc, HWND control) {
    const Colours colours = colours_of(GetDlgCtrlID(control), high_contrast_);
    if (!colours.own)
        return DefWindowProcW(window_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                              reinterpret_cast<LPARAM>(control));
    SetTextColor(dc, colours.text);
    SetBkColor(dc, GetSysColor(colours.background));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(colours.background));
}

// An option button that receives the focus unchecked, other than by the mouse, tells its parent
// it was clicked; the window's own focus moves must not pick a sex.
void Form1Window::focus(HWND control) {
    moving_focus_ = true;
    SetFocus(control);
    moving_focus_ = false;
}

// Tab and the sent Tab: the next control in tab order; into the sex group, its selected option.
void Form1Window::move_focus(bool backwards) {
    HWND next = GetNextDlgTabItem(window_, GetFocus(), backwards ? TRUE : FALSE);
    if (next == Option1_[0] && Option1_value(1)) next = Option1_[1];
    if (next != nullptr) focus(next);
}

form::ControlRef Form1Window::ref_of(HWND control) const {
    for (int i = 0; i < 4; ++i)
        if (control == Text1_[std::size_t(i)]) return {form::Control::Text1, i};
    for (int i = 0; i < 2; ++i)
        if (control == Option1_[std::size_t(i)]) return {form::Control::Option1, i};
    for (int i = 0; i < 3; ++i)
        if (control == Command3_[std::size_t(i)]) return {form::Control::Command3, i};
    if (control == Command1_) return {form::Control::Command1, 0};
    if (control == Command2_) return {form::Control::Command2, 0};
    return {form::Control::Other, 0};
}

HWND Form1Window::control_of(form::ControlRef ref) const {
    const auto at = [](const auto& array, int index) -> HWND {
        return index >= 0 && std::size_t(index) < array.size() ? array[std::size_t(index)]
                                                               : nullptr;
    };
    switch (ref.control) {
        case form::Control::Text1:
            return at(Text1_, ref.index);
        case form::Control::Option1:
            return at(Option1_, ref.index);
        case form::Control::Command1:
            return Command1_;
        case form::Control::Command2:
            return Command2_;
        case form::Control::Command3:
            return at(Command3_, ref.index);
        case form::Control::Other:
            break;
    }
    return nullptr;
}

bool Form1Window::preview(MSG& msg) {
    if (form_ == nullptr || window_ == nullptr || !IsWindow(window_)) return false;
    if (msg.hwnd != window_ && !IsChild(window_, msg.hwnd)) return false;
    if (TranslateAcceleratorW(window_, accelerators_, &msg)) return true;

    const bool chord = key_down(VK_CONTROL) || key_down(VK_MENU);
    if (msg.message == WM_KEYDOWN) {
        switch (msg.wParam) {
            case VK_TAB:
                if (chord) return false;
                move_focus(key_down(VK_SHIFT));
                return true;
            case VK_LEFT:
            case VK_RIGHT:
            case VK_UP:
            case VK_DOWN:
                return !chord && form_->arrow_key(ref_of(GetFocus()));
            default:
                return false;
        }
    }
    if (msg.message != WM_CHAR) return false;

    // Ctrl with a letter gives a control character: the box's editing commands (copy, paste,
    // undo), not typing; whatever a paste brings in is judged by the input check.
    if (key_down(VK_CONTROL) && msg.wParam < 32 && msg.wParam != 8 && msg.wParam != 9 &&
        msg.wParam != 13 && msg.wParam != 27)
        return false;
    const form::ControlRef ref = ref_of(GetFocus());
    const int typed = code_of(wchar_t(msg.wParam));
    // Enter on a button runs it in the handler, which then discards the key.
    const int code = form_->key_press(ref, typed);
    // The handler may have closed the window (Esc, then Yes).
    if (!IsWindow(window_) || code == 0) return true;
    if (code != typed) msg.wParam = character_of(code);
    return false;
}

std::string Form1Window::Text1_text(int index) const {
    const HWND box = control_of({form::Control::Text1, index});
    std::wstring text(std::size_t(GetWindowTextLengthW(box)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(box, text.data(), int(text.size()))));
    return narrow(text);
}

void Form1Window::set_Text1_text(int index, const std::string& text) {
    SetWindowTextW(control_of({form::Control::Text1, index}), widen(text).c_str());
}

bool Form1Window::Option1_value(int index) const {
    return SendMessageW(control_of({form::Control::Option1, index}), BM_GETCHECK, 0, 0) ==
           BST_CHECKED;
}

// The group is exclusive: checking one option clears the other. Clearing both is allowed.
void Form1Window::set_Option1_value(int index, bool value) {
    SendMessageW(control_of({form::Control::Option1, index}), BM_SETCHECK,
                 value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (value)
        SendMessageW(control_of({form::Control::Option1, 1 - index}), BM_SETCHECK, BST_UNCHECKED,
                     0);
    keep_group_tab_stop();
}

// A radio button takes the tab stop when checked and drops it when cleared; with both options
// cleared the keyboard could no longer reach the group. The first option keeps it whatever the
// options hold (move_focus enters the group at the selected one).
void Form1Window::keep_group_tab_stop() {
    for (std::size_t i = 0; i < Option1_.size(); ++i) {
        const LONG_PTR style = GetWindowLongPtrW(Option1_[i], GWL_STYLE);
        const LONG_PTR wanted = i == 0 ? style | WS_TABSTOP : style & ~LONG_PTR(WS_TABSTOP);
        if (wanted != style) SetWindowLongPtrW(Option1_[i], GWL_STYLE, wanted);
    }
}

void Form1Window::set_Label3_caption(int index, const std::string& text) {
    if (index >= 0 && index < 5) SetWindowTextW(Label3_[std::size_t(index)], widen(text).c_str());
}

void Form1Window::set_focus(form::ControlRef control) {
    if (const HWND target = control_of(control)) focus(target);
}

void Form1Window::send_tab() {
    PostMessageW(window_, kSentTab, 0, 0);
}

void Form1Window::close_window() {
    DestroyWindow(window_);
}

}  // namespace ristemo::ui
