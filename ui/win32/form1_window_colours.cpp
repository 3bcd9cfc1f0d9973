#include "ui/win32/form1_window.h"
// The common controls need the Windows headers before them.
#include <commctrl.h>

#include <iterator>

#include "ui/win32/control_ids.h"

namespace ristemo::ui::win32 {

namespace {

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

}  // namespace

void Form1Window::subclass_frame(HWND frame) {
    SetWindowSubclass(frame, frame_proc, 0, 0);
}

bool Form1Window::system_high_contrast() {
    HIGHCONTRASTW contrast{sizeof contrast, 0, nullptr};
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// The design's colours: results on the window colour, the rest on the controls' face. In high
// contrast the system's text colours instead, which the user chose to be readable on the
// system's backgrounds.
Form1Window::Colours Form1Window::colours_of(const form::ControlDesign& design,
                                             bool high_contrast) {
    if (design.colour == form::ColourRole::System) return {false, 0, 0};
    const bool on_window = design.kind == form::ControlKind::ResultBox;
    const form::Rgb rgb = form::rgb_of(design.colour);
    const COLORREF text = high_contrast ? GetSysColor(on_window ? COLOR_WINDOWTEXT : COLOR_BTNTEXT)
                                        : RGB(rgb.red, rgb.green, rgb.blue);
    return {true, text, on_window ? COLOR_WINDOW : COLOR_BTNFACE};
}

LRESULT Form1Window::control_colour(HDC dc, HWND control) {
    const form::ControlDesign* design = ids::design_of(GetDlgCtrlID(control));
    const Colours colours = design != nullptr ? colours_of(*design, high_contrast_) : Colours{};
    if (!colours.own)
        return DefWindowProcW(window_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                              reinterpret_cast<LPARAM>(control));
    SetTextColor(dc, colours.text);
    SetBkColor(dc, GetSysColor(colours.background));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(colours.background));
}

}  // namespace ristemo::ui::win32
