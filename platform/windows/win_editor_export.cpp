#include "platform/windows/win_editor_export.h"

#include <utility>
#include <vector>

#include "platform/windows/wide_text.h"

namespace ristemo::platform {

namespace {

const wchar_t* const kTimerWindowClass = L"RistemoEditorExportTimers";

std::wstring class_of(HWND window) {
    wchar_t name[64] = {};
    const int length = GetClassNameW(window, name, 64);
    return std::wstring(name, std::size_t(length > 0 ? length : 0));
}

// The control that holds the document: "Edit" in the classic Notepad, a RichEdit in newer ones.
HWND text_control_of(HWND editor) {
    HWND found = nullptr;
    EnumChildWindows(
        editor,
        [](HWND child, LPARAM result) -> BOOL {
            const std::wstring name = class_of(child);
            if (lstrcmpiW(name.c_str(), L"Edit") == 0 || name.rfind(L"RichEdit", 0) == 0) {
                *reinterpret_cast<HWND*>(result) = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Inserts text at the caret of control, as typing would, and checks that it arrived.
bool put_text(HWND control, const std::wstring& text) {
    DWORD_PTR length_before = 0;
    if (!SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000,
                             &length_before))
        return false;
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutW(control, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()),
                             SMTO_ABORTIFHUNG, 5000, &ignored))
        return false;
    DWORD_PTR length_after = 0;
    return SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000,
                               &length_after) &&
           length_after >= length_before + text.size();
}

}  // namespace

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
    if (timers_ != nullptr) DestroyWindow(timers_);
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

std::set<HWND> WinEditorExport::editor_windows() const {
    struct Search {
        const std::wstring* window_class;
        std::set<HWND> found;
    } search{&options_.window_class, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (lstrcmpiW(class_of(window).c_str(), s->window_class->c_str()) == 0)
                s->found.insert(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void WinEditorExport::export_text(const std::string& text, FailureHandler on_failure) {
    Job job{widen(text), std::move(on_failure), editor_windows(), 0};

    std::wstring command = options_.command;  // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (timers_ == nullptr || !CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0,
                                              nullptr, nullptr, &startup, &process)) {
        if (job.on_failure)
            job.on_failure("Impossibile avviare l'editor di testo " + options_.editor_name + ".");
        return;
    }
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

    for (HWND window : editor_windows()) {
        if (job.before.count(window) != 0 || claimed_.count(window) != 0) continue;
        if (!IsWindowVisible(window)) continue;
        const HWND control = text_control_of(window);
        if (control == nullptr) continue;  // still being built
        claimed_.insert(window);
        const bool delivered = put_text(control, job.text);
        finish(id, delivered ? std::string()
                             : "L'editor di testo " + options_.editor_name +
                                   " non ha ricevuto il testo.");
        return;
    }
    if (GetTickCount64() >= job.deadline) {
        finish(id, "La finestra dell'editor di testo " + options_.editor_name +
                       " non è comparsa in tempo: il testo non è stato scritto.");
    }
}

// Ends a job before telling of its failure: the message box that shows it runs the timers of
// the other jobs.
void WinEditorExport::finish(UINT_PTR id, const std::string& failure) {
    KillTimer(timers_, id);
    const auto found = jobs_.find(id);
    FailureHandler on_failure = std::move(found->second.on_failure);
    jobs_.erase(found);
    // Windows that have gone may come back as new handles: forget them.
    for (auto it = claimed_.begin(); it != claimed_.end();)
        it = IsWindow(*it) ? ++it : claimed_.erase(it);
    if (!failure.empty() && on_failure) on_failure(failure);
}

}  // namespace ristemo::platform
