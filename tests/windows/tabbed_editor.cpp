// Test stand-in for a tabbed Notepad that restores the user's documents: a top-level window of
// class "Notepad" holding one rich-edit control per open document (only the current one shown).
//   --group NAME       the window's title; a launch hands over to a running window of that title
//   --alone            never hand over (an instance the user opened separately)
//   --restore TEXT     reopen a previous document holding TEXT before the new, empty one
//   --after TITLE      show the window only once a window with this title exists
//   --control CLASS    the document control's class (default RICHEDIT50W; also RichEdit20W, Edit)
//   --cr-breaks        the document's text and length, as WM_GETTEXT(LENGTH) gives them, have
//                      each line break as CR alone (EM_GETTEXTEX, GTL_NUMCHARS), as some
//                      rich-edit versions give them
//   --no-window        show nothing and end after 5 s
//   --launcher         start tabbed_editor.exe with the other options, and end (a launcher
//                      handing over to the editor proper)
// The options may also come from the variable TABBED_EDITOR_OPTIONS (for a program that starts
// "notepad.exe" without arguments). A hand-over: the new process asks the running one, with
// WM_COPYDATA, to open a new document, and ends without a window of its own, as a single-instance
// editor does. Restored documents have identifiers 1.., new documents 100...
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <richedit.h>

#include <string>
#include <vector>

namespace {

struct Settings {
    std::wstring group = L"tabbed editor";
    bool alone = false;
    std::wstring restore;
    std::wstring after;
    std::wstring control = L"RICHEDIT50W";
    bool cr_breaks = false;
    bool no_window = false;
    bool launcher = false;
};

struct Editor {
    Settings settings;
    HWND window = nullptr;
    std::vector<HWND> documents;
    int next_new_id = 100;
};
Editor editor;

Settings parse(int argc, wchar_t** argv) {
    Settings s;
    for (int i = 1; i < argc; ++i) {
        const std::wstring option = argv[i];
        const bool has_value = i + 1 < argc;
        if (option == L"--group" && has_value) s.group = argv[++i];
        if (option == L"--alone") s.alone = true;
        if (option == L"--restore" && has_value) s.restore = argv[++i];
        if (option == L"--after" && has_value) s.after = argv[++i];
        if (option == L"--control" && has_value) s.control = argv[++i];
        if (option == L"--cr-breaks") s.cr_breaks = true;
        if (option == L"--no-window") s.no_window = true;
        if (option == L"--launcher") s.launcher = true;
    }
    return s;
}

WNDPROC rich_edit_proc = nullptr;

LRESULT CALLBACK cr_breaks_proc(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_GETTEXTLENGTH) {
        GETTEXTLENGTHEX how{GTL_NUMCHARS, 1200};
        return CallWindowProcW(rich_edit_proc, control, EM_GETTEXTLENGTHEX,
                               reinterpret_cast<WPARAM>(&how), 0);
    }
    if (message == WM_GETTEXT) {
        GETTEXTEX how{};
        how.cb = DWORD(wparam * sizeof(wchar_t));
        how.flags = GT_DEFAULT;
        how.codepage = 1200;
        return CallWindowProcW(rich_edit_proc, control, EM_GETTEXTEX,
                               reinterpret_cast<WPARAM>(&how), lparam);
    }
    return CallWindowProcW(rich_edit_proc, control, message, wparam, lparam);
}

// A new document becomes the current one: the others are hidden, as behind their tabs.
void open_document(const std::wstring& text, int id) {
    for (HWND d : editor.documents) ShowWindow(d, SW_HIDE);
    RECT area{};
    GetClientRect(editor.window, &area);
    const HWND document = CreateWindowExW(
        0, editor.settings.control.c_str(), text.c_str(),
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 0, 0,
        area.right, area.bottom, editor.window, reinterpret_cast<HMENU>(INT_PTR(id)),
        GetModuleHandleW(nullptr), nullptr);
    if (editor.settings.cr_breaks)
        rich_edit_proc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(document, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(cr_breaks_proc)));
    editor.documents.push_back(document);
}

LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_COPYDATA:  // another launch handed over to this instance
            open_document(L"", editor.next_new_id++);
            return TRUE;
        case WM_SIZE:
            for (HWND d : editor.documents)
                MoveWindow(d, 0, 0, LOWORD(lparam), HIWORD(lparam), TRUE);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wparam, lparam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<wchar_t*> args(argv, argv + argc);
    wchar_t from_environment[1024] = {};
    int env_argc = 0;
    if (GetEnvironmentVariableW(L"TABBED_EDITOR_OPTIONS", from_environment, 1024) > 0) {
        const std::wstring line = std::wstring(L"x ") + from_environment;
        wchar_t** env_argv = CommandLineToArgvW(line.c_str(), &env_argc);
        args.assign(env_argv, env_argv + env_argc);
    }
    editor.settings = parse(int(args.size()), args.data());
    const Settings& s = editor.settings;

    if (s.launcher) {
        std::wstring command = L"tabbed_editor.exe";
        for (std::size_t i = 1; i < args.size(); ++i)
            if (std::wstring(args[i]) != L"--launcher")
                command += L" \"" + std::wstring(args[i]) + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION editor_proper{};
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &editor_proper))
            return 1;
        CloseHandle(editor_proper.hThread);
        CloseHandle(editor_proper.hProcess);
        return 0;
    }
    if (s.no_window) {
        Sleep(5000);
        return 0;
    }
    if (!s.alone) {
        if (const HWND running = FindWindowW(L"Notepad", s.group.c_str())) {
            COPYDATASTRUCT request{1, 0, nullptr};
            DWORD_PTR ignored = 0;
            SendMessageTimeoutW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&request),
                                SMTO_ABORTIFHUNG, 5000, &ignored);
            return 0;
        }
    }
    while (!s.after.empty() && FindWindowW(nullptr, s.after.c_str()) == nullptr) Sleep(20);

    LoadLibraryW(L"msftedit.dll");
    LoadLibraryW(L"riched20.dll");
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = window_proc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    window_class.lpszClassName = L"Notepad";
    RegisterClassW(&window_class);
    editor.window =
        CreateWindowExW(0, L"Notepad", s.group.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 500, 400, nullptr, nullptr, instance, nullptr);
    if (!s.restore.empty()) open_document(s.restore, 1);
    open_document(L"", editor.next_new_id++);
    ShowWindow(editor.window, show);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
