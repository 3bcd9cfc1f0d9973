// The empty Win32 window with one line of text in the program's font, built with the program's
// manifest (the system's current look of the common controls): not the yardstick, but the least
// a window that shows any text with that look pays (the common controls, the X11 driver loaded
// with them, one face found and drawn), which the empty window never does.
#include <windows.h>

namespace {

LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = window_proc;
    window_class.hInstance = instance;
    window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    window_class.lpszClassName = L"TextWindow";
    RegisterClassW(&window_class);
    const HWND window =
        CreateWindowExW(0, L"TextWindow", L"text", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 487, 383, nullptr, nullptr, instance, nullptr);
    const HWND label = CreateWindowExW(0, L"Static", L"creatinina", WS_CHILD | WS_VISIBLE, 24, 56,
                                       120, 17, window, nullptr, instance, nullptr);
    const HFONT font =
        CreateFontW(-11, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                    CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Verdana");
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ShowWindow(window, show_command);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    DeleteObject(font);
    return 0;
}
