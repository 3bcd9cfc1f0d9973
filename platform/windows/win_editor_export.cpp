#include "platform/windows/win_editor_export.h"

#include <algorithm>
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

// The controls that hold documents: "Edit" in the classic Notepad, a rich-edit control in newer
// ones (RichEdit20W, RICHEDIT50W; RichEditD2DPT inside a NotepadTextBox in Windows 11's); one per
// open document in a tabbed one, made once its tab has been shown.
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

}  // namespace

std::wstring WinEditorExport::with_cr_breaks(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        out.push_back(text[i] == L'\n' ? L'\r' : text[i]);
    }
    while (!out.empty() && out.back() == L'\r') out.pop_back();
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
    // An export under way finishes: its file must not outlive it.
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

// Only reads: a control's text is asked for only when its length fits the text's, which it
// gives with each line break as one or two characters.
std::vector<HWND> WinEditorExport::documents_holding(const std::wstring& text) const {
    struct Search {
        const std::wstring* window_class;
        std::vector<HWND> windows;
    } search{&options_.window_class, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (lstrcmpiW(class_of(window).c_str(), s->window_class->c_str()) == 0)
                s->windows.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    const std::wstring wanted = with_cr_breaks(text);
    std::vector<HWND> holding;
    for (HWND window : search.windows) {
        for (HWND document : document_controls(window)) {
            DWORD_PTR length = 0;
            std::wstring held;
            if (text_length(document, &length) && length >= wanted.size() &&
                length <= text.size() + 2 && text_of(document, &held) &&
                with_cr_breaks(held) == wanted)
                holding.push_back(document);
        }
    }
    return holding;
}

void WinEditorExport::export_text(const std::string& text, FailureHandler on_failure) {
    Job job;
    job.text = widen(text);
    job.on_failure = std::move(on_failure);
    const std::string& editor = options_.editor_name;
    if (timers_ == nullptr) {
        if (job.on_failure) job.on_failure(editor_text::not_started(editor));
        return;
    }
    if (!job.file.write(text)) {
        if (job.on_failure) job.on_failure(editor_text::report_not_written(editor));
        return;
    }
    job.held_before = documents_holding(job.text);

    std::wstring command = options_.command + L" \"" + job.file.path() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        const bool removed = job.file.remove();
        if (job.on_failure)
            job.on_failure(removed
                               ? editor_text::not_started(editor)
                               : editor_text::report_not_removed(editor, narrow(job.file.left())));
        return;
    }
    // The process is not followed: it may hand the file over to a Notepad already running, or
    // to one that the system starts, and end.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    job.deadline = GetTickCount64() + options_.timeout_ms;
    const UINT_PTR id = next_id_++;
    jobs_.emplace(id, std::move(job));
    SetTimer(timers_, id, options_.poll_ms, nullptr);
}

void WinEditorExport::poll(UINT_PTR id) {
    const auto found = jobs_.find(id);
    if (found == jobs_.end()) return;
    Job& job = found->second;
    const std::string& editor = options_.editor_name;

    if (!job.shown) {
        for (HWND document : documents_holding(job.text))
            job.shown = job.shown || std::find(job.held_before.begin(), job.held_before.end(),
                                               document) == job.held_before.end();
    }
    const bool late = GetTickCount64() >= job.deadline;
    if (!job.shown && !late) return;
    // Notepad has read the file once a document shows the report: the file goes at once. An
    // editor that keeps it open is given until the deadline to let it go.
    if (job.file.remove()) {
        finish(id, job.shown ? std::string() : editor_text::report_not_shown(editor));
    } else if (late) {
        finish(id, editor_text::report_not_removed(editor, narrow(job.file.left())));
    }
}

// Ends a job before telling of its failure: the message box that shows it runs the timers of
// the other jobs.
void WinEditorExport::finish(UINT_PTR id, const std::string& failure) {
    KillTimer(timers_, id);
    const auto found = jobs_.find(id);
    FailureHandler on_failure = std::move(found->second.on_failure);
    jobs_.erase(found);
    if (!failure.empty() && on_failure) on_failure(failure);
}

}  // namespace ristemo::platform
