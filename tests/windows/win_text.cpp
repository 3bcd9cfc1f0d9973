// Test helper: prints the texts of windows of other programs, read with WM_GETTEXT, as UTF-8.
//   win_text controls TITLE-PREFIX ID...   the controls with these identifiers in the first
//                                          visible top-level window whose title starts so
//   win_text children TITLE                every child's text of the visible top-level window with
//                                          exactly this title (a message box), one a line
//   win_text editors CLASS                 the text of the edit control of each visible top-level
//                                          window of this class, each followed by a line "--"
//   win_text documents TITLE               every edit and rich-edit control of the top-level
//                                          windows with exactly this title: a line "== ID", then
//                                          its text with each line break as one line feed, and
//                                          a line feed after a last line without one
//   win_text names TITLE-PREFIX ID...      the accessible name (MSAA) of each of these controls,
//                                          as a screen reader announces it
//   win_text roles TITLE-PREFIX ID...      the accessible role (MSAA) of each of these controls, as
//                                          the system names it
//   win_text events TITLE-PREFIX           runs until ended, printing a line as each of these
//                                          events comes from that window: "focus ROLE: NAME" as
//                                          a control (or a message box of the program) takes the
//                                          keyboard, "alert ROLE: NAME" for an alert
//   win_text focus TITLE-PREFIX            the identifier of the control that has the keyboard
//                                          (0: the window is not the active one)
//   win_text foreground TITLE-PREFIX       nothing; status 0 when the foreground window's title
//                                          starts so (it takes the keys)
//   win_text off-taskbar TITLE-PREFIX      nothing; status 0 when that window gets no taskbar
//                                          button on Windows (it has an owner and no
//                                          WS_EX_APPWINDOW) and keeps an ordinary title bar (a
//                                          caption, and no WS_EX_TOOLWINDOW)
//   win_text place TITLE-PREFIX            the window's left and top on the screen
//   win_text start-at X Y PROGRAM          starts the program asking for its first window at X, Y
//                                          (STARTUPINFO, as a launcher may) and waits for its end
//   win_text press TITLE CAPTION           clicks the button with this caption (& marks left out)
//                                          in the visible top-level window with exactly this title
//   win_text run PROGRAM ARGS...           runs the program and waits for its end; its exit status
//   win_text as-user PROGRAM ARGS...       the same, as a user who is not an administrator (the
//                                          Administrators group kept only to deny)
// Exit status 1 when no such window is found.
#include <fcntl.h>
#include <io.h>
#include <oleacc.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::string utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(std::size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), size, nullptr,
                        nullptr);
    return out;
}

std::wstring text_of(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 5000, &copied);
    text.resize(copied);
    return text;
}

std::wstring class_of(HWND window) {
    wchar_t name[64] = {};
    return std::wstring(name, std::size_t(GetClassNameW(window, name, 64)));
}

std::vector<HWND> top_level_windows() {
    std::vector<HWND> windows;
    EnumWindows(
        [](HWND window, LPARAM list) -> BOOL {
            if (IsWindowVisible(window))
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::vector<HWND> children_of(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    return children;
}

// CR LF, or CR alone as a rich-edit control may give them, become LF.
std::wstring with_lf_breaks(const std::wstring& text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        out.push_back(text[i] == L'\r' ? L'\n' : text[i]);
    }
    return out;
}

bool is_document(HWND window) {
    const std::wstring name = class_of(window);
    return lstrcmpiW(name.c_str(), L"Edit") == 0 ||
           (name.size() >= 8 && lstrcmpiW(name.substr(0, 8).c_str(), L"RichEdit") == 0);
}

void print(const std::wstring& text) {
    const std::string bytes = utf8(text) + "\n";
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

std::wstring name_text(IAccessible* object, VARIANT child) {
    BSTR name = nullptr;
    std::wstring text;
    if (object->get_accName(child, &name) == S_OK && name != nullptr) text = name;
    SysFreeString(name);
    return text;
}

std::wstring role_text(IAccessible* object, VARIANT child) {
    VARIANT role;
    VariantInit(&role);
    wchar_t text[64] = {};
    if (object->get_accRole(child, &role) == S_OK && role.vt == VT_I4)
        GetRoleTextW(DWORD(role.lVal), text, 64);
    VariantClear(&role);
    return text;
}

// What a screen reader reads of a control (MSAA), by one of the two functions above.
std::wstring accessible(HWND control, std::wstring (*read)(IAccessible*, VARIANT)) {
    IAccessible* object = nullptr;
    if (control == nullptr ||
        FAILED(AccessibleObjectFromWindow(control, DWORD(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))))
        return L"(none)";
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    const std::wstring text = read(object, self);
    object->Release();
    return text;
}

// The program the events are watched in: the process of the first window with this title.
std::wstring watched_title;
DWORD watched_process = 0;

struct Event {
    DWORD event;
    HWND window;
    LONG id, child;
};
// Events as they come, read once the hook has returned: reading one asks the program, and a
// thread waiting for an answer takes the next event meanwhile, which would then print first.
std::vector<Event> pending;

void CALLBACK on_event(HWINEVENTHOOK, DWORD event, HWND window, LONG id, LONG child, DWORD, DWORD) {
    pending.push_back({event, window, id, child});
}

void print_event(const Event& e) {
    DWORD process = 0;
    GetWindowThreadProcessId(e.window, &process);
    if (watched_process == 0 || process != watched_process) return;
    IAccessible* object = nullptr;
    VARIANT which;
    VariantInit(&which);
    if (AccessibleObjectFromEvent(e.window, DWORD(e.id), DWORD(e.child), &object, &which) != S_OK)
        return;
    print((e.event == EVENT_SYSTEM_ALERT ? L"alert " : L"focus ") + role_text(object, which) +
          L": " + name_text(object, which));
    VariantClear(&which);
    object->Release();
}

int watch_events(const std::wstring& title) {
    watched_title = title;
    SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT, nullptr, on_event, 0, 0,
                    WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, on_event, 0, 0,
                    WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    // Ready once the window is there: the script waits for this line before it types.
    SetTimer(nullptr, 0, 100, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (watched_process == 0) {
            for (HWND window : top_level_windows()) {
                if (text_of(window).rfind(watched_title, 0) != 0) continue;
                GetWindowThreadProcessId(window, &watched_process);
                print(L"watching");
                break;
            }
        }
        DispatchMessageW(&msg);
        while (!pending.empty()) {
            const Event next = pending.front();
            pending.erase(pending.begin());
            print_event(next);
        }
    }
    return 0;
}

std::wstring without_marks(const std::wstring& caption) {
    std::wstring out;
    for (wchar_t c : caption)
        if (c != L'&') out.push_back(c);
    return out;
}

// The command line of argv[first...]: the program quoted, each argument quoted only when it holds
// a blank, as NSIS reads its switches only unquoted; its _?= never, as NSIS reads it unquoted to
// the end of the line.
std::wstring command_line(int argc, wchar_t** argv, int first) {
    std::wstring command = L"\"" + std::wstring(argv[first]) + L"\"";
    for (int i = first + 1; i < argc; ++i) {
        const std::wstring argument = argv[i];
        const bool blank =
            argument.find(L' ') != std::wstring::npos && argument.rfind(L"_?=", 0) != 0;
        command += blank ? L" \"" + argument + L"\"" : L" " + argument;
    }
    return command;
}

int wait_for_end(const PROCESS_INFORMATION& process) {
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 1;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return int(status);
}

// Runs argv[2...], as a user who is not an administrator when as_user; its exit status.
int run(int argc, wchar_t** argv, bool as_user) {
    std::wstring command = command_line(argc, argv, 2);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!as_user) {
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process))
            return 1;
        return wait_for_end(process);
    }
    HANDLE own = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &own)) return 1;
    BYTE administrators[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof administrators;
    CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size);
    SID_AND_ATTRIBUTES deny_only{administrators, 0};
    HANDLE user = nullptr;
    if (!CreateRestrictedToken(own, 0, 1, &deny_only, 0, nullptr, 0, nullptr, &user)) return 1;
    if (!CreateProcessAsUserW(user, nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &process))
        return 1;
    return wait_for_end(process);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 3) return 2;
    const std::wstring mode = argv[1];
    const std::wstring name = argv[2];
    if (mode == L"names" || mode == L"roles" || mode == L"events") CoInitialize(nullptr);
    if (mode == L"events") return watch_events(name);
    if (mode == L"foreground") return text_of(GetForegroundWindow()).rfind(name, 0) == 0 ? 0 : 1;
    if (mode == L"run" || mode == L"as-user") return run(argc, argv, mode == L"as-user");
    if (mode == L"start-at" && argc == 5) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USEPOSITION;
        startup.dwX = DWORD(std::wcstol(argv[2], nullptr, 10));
        startup.dwY = DWORD(std::wcstol(argv[3], nullptr, 10));
        std::wstring command = command_line(argc, argv, 4);
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process))
            return 1;
        return wait_for_end(process);
    }
    bool found = false;
    for (HWND window : top_level_windows()) {
        if (mode == L"controls" && text_of(window).rfind(name, 0) == 0) {
            for (int i = 3; i < argc; ++i)
                print(text_of(GetDlgItem(window, int(std::wcstol(argv[i], nullptr, 10)))));
            return 0;
        }
        if (mode == L"names" && text_of(window).rfind(name, 0) == 0) {
            for (int i = 3; i < argc; ++i)
                print(accessible(GetDlgItem(window, int(std::wcstol(argv[i], nullptr, 10))),
                                 name_text));
            return 0;
        }
        if (mode == L"roles" && text_of(window).rfind(name, 0) == 0) {
            for (int i = 3; i < argc; ++i)
                print(accessible(GetDlgItem(window, int(std::wcstol(argv[i], nullptr, 10))),
                                 role_text));
            return 0;
        }
        if (mode == L"off-taskbar" && text_of(window).rfind(name, 0) == 0) {
            const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
            const LONG_PTR ex_style = GetWindowLongPtrW(window, GWL_EXSTYLE);
            return GetWindow(window, GW_OWNER) != nullptr && (ex_style & WS_EX_APPWINDOW) == 0 &&
                           (style & WS_CAPTION) == WS_CAPTION && (ex_style & WS_EX_TOOLWINDOW) == 0
                       ? 0
                       : 1;
        }
        if (mode == L"place" && text_of(window).rfind(name, 0) == 0) {
            RECT rect{};
            GetWindowRect(window, &rect);
            print(std::to_wstring(rect.left) + L" " + std::to_wstring(rect.top));
            return 0;
        }
        if (mode == L"focus" && text_of(window).rfind(name, 0) == 0) {
            GUITHREADINFO thread{};
            thread.cbSize = sizeof thread;
            GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread);
            const bool ours = GetForegroundWindow() == window && thread.hwndFocus != nullptr &&
                              IsChild(window, thread.hwndFocus);
            print(std::to_wstring(ours ? GetDlgCtrlID(thread.hwndFocus) : 0));
            return 0;
        }
        if (mode == L"press" && argc == 4 && text_of(window) == name) {
            for (HWND child : children_of(window)) {
                if (class_of(child) == L"Button" && IsWindowVisible(child) &&
                    without_marks(text_of(child)) == argv[3]) {
                    PostMessageW(child, BM_CLICK, 0, 0);
                    return 0;
                }
            }
            return 1;
        }
        if (mode == L"children" && text_of(window) == name) {
            for (HWND child : children_of(window)) print(text_of(child));
            return 0;
        }
        if (mode == L"documents" && text_of(window) == name) {
            for (HWND child : children_of(window)) {
                if (!is_document(child)) continue;
                print(L"== " + std::to_wstring(GetDlgCtrlID(child)));
                std::string bytes = utf8(with_lf_breaks(text_of(child)));
                if (!bytes.empty() && bytes.back() != '\n') bytes += '\n';
                std::fwrite(bytes.data(), 1, bytes.size(), stdout);
            }
            found = true;
        }
        if (mode == L"editors" && lstrcmpiW(class_of(window).c_str(), name.c_str()) == 0) {
            for (HWND child : children_of(window)) {
                if (lstrcmpiW(class_of(child).c_str(), L"Edit") == 0) {
                    const std::string bytes = utf8(text_of(child));
                    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
                    std::fputs("--\n", stdout);
                    found = true;
                    break;
                }
            }
        }
    }
    return found ? 0 : 1;
}
