#include "platform/windows/win_editor_export.h"

#include <tlhelp32.h>

#include <utility>

#include "platform/windows/wide_text.h"

namespace ristemo::platform {

namespace {

const wchar_t* const kTimerWindowClass = L"RistemoEditorExportTimers";

std::wstring class_of(HWND window) {
    wchar_t name[64] = {};
    const int length = GetClassNameW(window, name, 64);
    return std::wstring(name, std::size_t(length > 0 ? length : 0));
}

ULONGLONG as_number(const FILETIME& time) {
    return (ULONGLONG(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

ULONGLONG now_as_filetime() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return as_number(now);
}

bool is_running(HANDLE process) {
    return WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
}

// The controls that hold documents: "Edit" in the classic Notepad, a rich-edit control in newer
// ones (RichEdit20W, RICHEDIT50W, RichEditD2DPT); one per open document in a tabbed one.
std::vector<HWND> document_controls(HWND editor) {
    std::vector<HWND> found;
    EnumChildWindows(
        editor,
        [](HWND child, LPARAM result) -> BOOL {
            const std::wstring name = class_of(child);
            if (lstrcmpiW(name.c_str(), L"Edit") == 0 ||
                (name.size() >= 8 && lstrcmpiW(name.substr(0, 8).c_str(), L"RichEdit") == 0))
                reinterpret_cast<std::vector<HWND>*>(result)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

bool text_length(HWND control, DWORD_PTR* length) {
    return SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, length) !=
           0;
}

bool text_of(HWND control, std::wstring* text) {
    DWORD_PTR length = 0;
    if (!text_length(control, &length)) return false;
    std::wstring buffer(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(control, WM_GETTEXT, length + 1,
                             reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG, 5000,
                             &copied))
        return false;
    buffer.resize(copied);
    *text = std::move(buffer);
    return true;
}

// Puts text into the empty control as typing would, and checks that the control then holds
// exactly it. Line breaks are compared as one character: a rich-edit control stores CR LF as
// one paragraph mark and counts it as one or two depending on how it is asked.
bool put_text(HWND control, const std::wstring& text) {
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutW(control, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()),
                             SMTO_ABORTIFHUNG, 5000, &ignored))
        return false;
    std::wstring held;
    return text_of(control, &held) &&
           WinEditorExport::with_cr_breaks(held) == WinEditorExport::with_cr_breaks(text);
}

}  // namespace

std::wstring WinEditorExport::with_cr_breaks(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        out.push_back(text[i] == L'\n' ? L'\r' : text[i]);
    }
    return out;
}

WinEditorExport::WinEditorExport() : WinEditorExport(Options{}) {}

WinEditorExport::WinEditorExport(Options options) : options_(std::move(options)) {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = timer_window_proc;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = kTimerWindowClass;
    RegisterClassW(&window_class);  // fails harmlessly when a second exporter registers it again
    timers_ = CreateWindowExW(0, kTimerWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(timers_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

WinEditorExport::~WinEditorExport() {
    // An export under way finishes: stopping it would leave the new editor empty.
    wait_for_exports();
    if (timers_ != nullptr) DestroyWindow(timers_);
}

void WinEditorExport::wait_for_exports() {
    bool quit = false;
    WPARAM quit_code = 0;
    while (!jobs_.empty()) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                quit_code = msg.wParam;
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (!jobs_.empty())
            MsgWaitForMultipleObjects(0, nullptr, FALSE, options_.poll_ms, QS_ALLINPUT);
    }
    if (quit) PostQuitMessage(int(quit_code));
}

LRESULT CALLBACK WinEditorExport::timer_window_proc(HWND window, UINT message, WPARAM wparam,
                                                    LPARAM lparam) {
    if (message == WM_TIMER) {
        auto* self = reinterpret_cast<WinEditorExport*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self != nullptr) self->poll(UINT_PTR(wparam));
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

std::vector<HWND> WinEditorExport::editor_windows() const {
    struct Search {
        const std::wstring* window_class;
        std::vector<HWND> found;
    } search{&options_.window_class, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (IsWindowVisible(window) &&
                lstrcmpiW(class_of(window).c_str(), s->window_class->c_str()) == 0)
                s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void WinEditorExport::export_text(const std::string& text, FailureHandler on_failure) {
    Job job;
    job.text = widen(text);
    job.on_failure = std::move(on_failure);
    job.started_at = now_as_filetime();

    std::wstring command = options_.command;  // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (timers_ == nullptr || !CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0,
                                              nullptr, nullptr, &startup, &process)) {
        if (job.on_failure) job.on_failure(editor_text::not_started(options_.editor_name));
        return;
    }
    CloseHandle(process.hThread);
    job.processes.emplace(process.dwProcessId, process.hProcess);

    job.deadline = GetTickCount64() + options_.timeout_ms;
    const UINT_PTR id = next_id_++;
    jobs_.emplace(id, std::move(job));
    SetTimer(timers_, id, options_.poll_ms, nullptr);
}

namespace {

// Adds to processes those that one of them started after started_at. The handles held keep
// their identifiers from being reused meanwhile.
void add_started_processes(std::map<DWORD, HANDLE>& processes, ULONGLONG started_at) {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        if (processes.count(entry.th32ParentProcessID) == 0 ||
            processes.count(entry.th32ProcessID) != 0)
            continue;
        const HANDLE child =
            OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, entry.th32ProcessID);
        if (child == nullptr) continue;
        FILETIME created{}, exited{}, kernel{}, user{};
        if (GetProcessTimes(child, &created, &exited, &kernel, &user) &&
            as_number(created) >= started_at) {
            processes.emplace(entry.th32ProcessID, child);
        } else {
            CloseHandle(child);  // an older process that had the identifier of a parent
        }
    }
    CloseHandle(snapshot);
}

}  // namespace

void WinEditorExport::poll(UINT_PTR id) {
    const auto found = jobs_.find(id);
    if (found == jobs_.end()) return;
    Job& job = found->second;
    const std::string& editor = options_.editor_name;

    // Looked at before the list of processes is taken: one that has ended by then has all the
    // processes it started in that list.
    bool any_running = false;
    for (const auto& p : job.processes) any_running = any_running || is_running(p.second);
    add_started_processes(job.processes, job.started_at);
    for (const auto& p : job.processes) any_running = any_running || is_running(p.second);

    const std::vector<HWND> windows = editor_windows();
    for (HWND window : windows) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        const auto process = job.processes.find(owner);
        if (process == job.processes.end()) continue;  // not ours: the user's, or older
        // Until the editor first waits for input it may still be opening documents.
        if (WaitForInputIdle(process->second, 0) == WAIT_TIMEOUT) continue;
        const std::vector<HWND> documents = document_controls(window);
        if (documents.empty()) continue;  // still being built
        DWORD_PTR length = 1;
        if (documents.size() != 1 || !text_length(documents.front(), &length) || length != 0) {
            finish(id, editor_text::not_a_new_document(editor));
            return;
        }
        finish(id, put_text(documents.front(), job.text) ? std::string()
                                                         : editor_text::text_not_delivered(editor));
        return;
    }
    if (!any_running) {
        // Ended without a window: a single-instance editor gives its new document to the window
        // already open; any other editor simply ended.
        finish(id, windows.empty() ? editor_text::editor_closed(editor)
                                   : editor_text::handed_over(editor));
    } else if (GetTickCount64() >= job.deadline) {
        finish(id, editor_text::window_not_ready(editor));
    }
}

// Ends a job before telling of its failure: the message box that shows it runs the timers of
// the other jobs.
void WinEditorExport::finish(UINT_PTR id, const std::string& failure) {
    KillTimer(timers_, id);
    const auto found = jobs_.find(id);
    FailureHandler on_failure = std::move(found->second.on_failure);
    for (const auto& p : found->second.processes) CloseHandle(p.second);
    jobs_.erase(found);
    if (!failure.empty() && on_failure) on_failure(failure);
}

}  // namespace ristemo::platform
