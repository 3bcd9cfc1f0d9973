// The yardstick for the Windows program's start-up: an empty Win32 window, built like ristemo.exe.
// Built with WITH_TEXT (and the program's manifest: the system's current look of the common
// controls) it also shows one line of text in the program's font: not the yardstick, but the least
// a window that shows any text with that look pays (the common controls, the X11 driver loaded
// with them, one face found and drawn), which the empty window never does.
#include <windows.h>

namespace {

#ifdef WITH_TEXT
constexpr wchar_t kTitle[] = L"text";
#else
constexpr wchar_t kTitle[] = L"empty";
#endif

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
    window_class.lpszClassName = L"EmptyWindow";
    RegisterClassW(&window_class);
    const HWND window =
        CreateWindowExW(0, L"EmptyWindow", kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 487, 383, nullptr, nullptr, instance, nullptr);
#ifdef WITH_TEXT
    const HWND label = CreateWindowExW(0, L"Static", L"creatinina", WS_CHILD | WS_VISIBLE, 24, 56,
                                       120, 17, window, nullptr, instance, nullptr);
    const HFONT font =
        CreateFontW(-11, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                    CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Verdana");
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
#endif
    ShowWindow(window, show_command);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
#ifdef WITH_TEXT
    DeleteObject(font);
#endif
    return 0;
}
