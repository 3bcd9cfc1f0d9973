// Test stand-in for today's Notepad: top-level windows of class "Notepad", each holding one
// rich-edit control per open document (only the current one shown, as behind its tab), and one
// process for all the windows of a group. Usage: tabbed_editor.exe [OPTION...] [FILE]
//   FILE               opened as a new document, its text read as UTF-8 (a byte-order mark
//                      skipped) with the file closed again, or kept open with --hold-file
//   --group NAME       the windows' title; a launch hands its request (FILE, or a new empty
//                      document) over to a running window of that title and ends without a window
//                      of its own, as a single-instance app redirects its activation
//   --alone            never hand over (an instance the user opened separately, or the classic
//                      Notepad, one process and window per document)
//   --new-window       a request handed over opens a new window of this process, not a new tab
//   --restore TEXT     on starting, reopen a previous, unsaved document holding TEXT (repeatable)
//   --after TITLE      show the window only once a window with this title exists
//   --control CLASS    the document control's class (default RICHEDIT50W; also RichEdit20W, Edit)
//   --cr-breaks        the document's text and length, as WM_GETTEXT(LENGTH) gives them, have
//                      each line break as CR alone (EM_GETTEXTEX, GTL_NUMCHARS), as some
//                      rich-edit versions give them
//   --hold-file        keep FILE open, not shared for deleting, until the windows close
//   --no-window        show nothing and end after 5 s
//   --launcher         start tabbed_editor.exe with the other options, as a child, and end
//   --broker           wait, without a window of class "Notepad", for --via-broker requests and
//                      start the editor for each (the system starting an app on a launch's behalf)
//   --via-broker       ask the running broker to start tabbed_editor.exe with the other options,
//                      and end: the editor is then no descendant of this process
// Options may also come from the variable TABBED_EDITOR_OPTIONS, after those of the command line
// (for a program that starts "notepad.exe FILE"). Restored documents have identifiers 1.., new
// ones 100.. (one count for all the windows of a process).
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <richedit.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/started_process.h"

namespace {

const wchar_t* const kBrokerTitle = L"tabbed editor broker";

struct Settings {
    std::wstring group = L"tabbed editor";
    bool alone = false;
    bool new_window = false;
    std::vector<std::wstring> restore;
    std::wstring after;
    std::wstring control = L"RICHEDIT50W";
    bool cr_breaks = false;
    bool hold_file = false;
    bool no_window = false;
    bool launcher = false;
    bool broker = false;
    bool via_broker = false;
    std::wstring file;
    std::wstring passed_on;  // the command line without --launcher and --via-broker
};

struct Editor {
    Settings settings;
    std::vector<HWND> windows;
    int next_new_id = 100;
    std::vector<HANDLE> held_files;
};
Editor editor;

std::wstring quoted(const std::wstring& argument) {
    return L" \"" + argument + L"\"";
}

Settings parse(const std::vector<std::wstring>& args) {
    Settings s;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::wstring& option = args[i];
        const bool has_value = i + 1 < args.size();
        if (option == L"--launcher") {
            s.launcher = true;
            continue;
        }
        if (option == L"--via-broker") {
            s.via_broker = true;
            continue;
        }
        s.passed_on += quoted(option);
        if (option == L"--group" && has_value) {
            s.group = args[++i];
        } else if (option == L"--restore" && has_value) {
            s.restore.push_back(args[++i]);
        } else if (option == L"--after" && has_value) {
            s.after = args[++i];
        } else if (option == L"--control" && has_value) {
            s.control = args[++i];
        } else if (option.rfind(L"--", 0) != 0) {
            s.file = option;
            continue;
        } else {
            s.alone = s.alone || option == L"--alone";
            s.new_window = s.new_window || option == L"--new-window";
            s.cr_breaks = s.cr_breaks || option == L"--cr-breaks";
            s.hold_file = s.hold_file || option == L"--hold-file";
            s.no_window = s.no_window || option == L"--no-window";
            s.broker = s.broker || option == L"--broker";
            continue;
        }
        s.passed_on += quoted(args[i]);
    }
    return s;
}

std::wstring text_of_file(const std::wstring& path) {
    const DWORD share = FILE_SHARE_READ | (editor.settings.hold_file ? 0 : FILE_SHARE_DELETE);
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return L"(impossibile aprire il file)";
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), DWORD(bytes.size()), &read, nullptr);
    bytes.resize(read);
    if (editor.settings.hold_file) {
        editor.held_files.push_back(file);
    } else {
        CloseHandle(file);
    }
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) bytes.erase(0, 3);
    std::wstring text(bytes.size(), L'\0');
    text.resize(std::size_t(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()),
                                                text.data(), int(text.size()))));
    return text;
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

// A new document becomes the current one of its window: the others are hidden, as behind their
// tabs.
void open_document(HWND window, const std::wstring& text, int id) {
    for (HWND d = GetWindow(window, GW_CHILD); d != nullptr; d = GetWindow(d, GW_HWNDNEXT))
        ShowWindow(d, SW_HIDE);
    RECT area{};
    GetClientRect(window, &area);
    const HWND document = CreateWindowExW(
        0, editor.settings.control.c_str(), text.c_str(),
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 0, 0,
        area.right, area.bottom, window, reinterpret_cast<HMENU>(INT_PTR(id)),
        GetModuleHandleW(nullptr), nullptr);
    if (editor.settings.cr_breaks)
        rich_edit_proc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(document, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(cr_breaks_proc)));
}

// FILE as a new document, or a new empty one.
void open_request(HWND window, const std::wstring& file) {
    open_document(window, file.empty() ? std::wstring() : text_of_file(file), editor.next_new_id++);
}

HWND new_window(int show) {
    const HWND window = CreateWindowExW(0, L"Notepad", editor.settings.group.c_str(),
                                        WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 500, 400,
                                        nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    editor.windows.push_back(window);
    ShowWindow(window, show);
    return window;
}

bool start(const std::wstring& arguments) {
    const HANDLE started = ristemo::test::start_process(L"tabbed_editor.exe" + arguments);
    if (started == nullptr) return false;
    CloseHandle(started);
    return true;
}

std::wstring copied_text(LPARAM lparam) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
    return std::wstring(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
}

// Sends text to the first window with this class and title.
bool hand_over(const wchar_t* window_class, const std::wstring& title, const std::wstring& text) {
    const HWND running = FindWindowW(window_class, title.c_str());
    if (running == nullptr) return false;
    COPYDATASTRUCT request{1, DWORD(text.size() * sizeof(wchar_t)),
                           const_cast<wchar_t*>(text.data())};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&request),
                        SMTO_ABORTIFHUNG, 5000, &ignored);
    return true;
}

LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_COPYDATA:
            if (editor.settings.broker) return start(copied_text(lparam));
            // Another launch handed its request over to this instance.
            open_request(editor.settings.new_window ? new_window(SW_SHOWNORMAL) : window,
                         copied_text(lparam));
            return TRUE;
        case WM_SIZE:
            for (HWND d = GetWindow(window, GW_CHILD); d != nullptr; d = GetWindow(d, GW_HWNDNEXT))
                MoveWindow(d, 0, 0, LOWORD(lparam), HIWORD(lparam), TRUE);
            return 0;
        case WM_DESTROY:
            editor.windows.erase(std::remove(editor.windows.begin(), editor.windows.end(), window),
                                 editor.windows.end());
            if (editor.windows.empty()) {
                for (HANDLE file : editor.held_files) CloseHandle(file);
                PostQuitMessage(0);
            }
            return 0;
        default:
            return DefWindowProcW(window, message, wparam, lparam);
    }
}

std::vector<std::wstring> arguments() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::wstring> args(argv + 1, argv + argc);
    wchar_t from_environment[1024] = {};
    if (GetEnvironmentVariableW(L"TABBED_EDITOR_OPTIONS", from_environment, 1024) > 0) {
        const std::wstring line = std::wstring(L"x ") + from_environment;
        int env_argc = 0;
        wchar_t** env_argv = CommandLineToArgvW(line.c_str(), &env_argc);
        args.insert(args.end(), env_argv + 1, env_argv + env_argc);
    }
    return args;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    editor.settings = parse(arguments());
    const Settings& s = editor.settings;

    if (s.launcher) return start(s.passed_on) ? 0 : 1;
    if (s.via_broker) return hand_over(nullptr, kBrokerTitle, s.passed_on) ? 0 : 1;
    if (s.no_window) {
        Sleep(5000);
        return 0;
    }
    if (!s.alone && !s.broker && hand_over(L"Notepad", s.group, s.file)) return 0;
    while (!s.after.empty() && FindWindowW(nullptr, s.after.c_str()) == nullptr) Sleep(20);

    LoadLibraryW(L"msftedit.dll");
    LoadLibraryW(L"riched20.dll");
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = window_proc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    window_class.lpszClassName = s.broker ? L"TabbedEditorBroker" : L"Notepad";
    RegisterClassW(&window_class);
    if (s.broker) {
        editor.windows.push_back(CreateWindowExW(0, window_class.lpszClassName, kBrokerTitle, 0, 0,
                                                 0, 0, 0, nullptr, nullptr, instance, nullptr));
    } else {
        const HWND window = new_window(show);
        int id = 1;
        for (const std::wstring& text : s.restore) open_document(window, text, id++);
        open_request(window, s.file);
    }

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
