#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/editor_export.h"
#include "platform/windows/win32.h"

namespace ristemo::platform {

// Starts a new Notepad for each export and puts the text into that Notepad's edit control with
// window messages, so the text cannot land in whatever window has the focus. The new Notepad is
// the first Notepad window that appears after the launch and was not there before: on some
// Windows versions notepad.exe hands over to another process, so the process started is no
// guide. The window is looked for on a timer of the GUI thread; export_text does not wait.
class WinEditorExport : public EditorExport {
public:
    struct Options {
        std::wstring command = L"notepad.exe";
        std::wstring window_class = L"Notepad";
        std::string editor_name = "Notepad";  // for the messages
        UINT timeout_ms = 10000;
        UINT poll_ms = 50;
    };

    WinEditorExport();
    explicit WinEditorExport(Options options);
    ~WinEditorExport() override;
    WinEditorExport(const WinEditorExport&) = delete;
    WinEditorExport& operator=(const WinEditorExport&) = delete;

    void export_text(const std::string& text, FailureHandler on_failure) override;

private:
    struct Job {
        std::wstring text;
        FailureHandler on_failure;
        std::set<HWND> before;  // the editor's windows that were there at the launch
        ULONGLONG deadline = 0;
    };

    static LRESULT CALLBACK timer_window_proc(HWND window, UINT message, WPARAM wparam,
                                              LPARAM lparam);
    void poll(UINT_PTR id);
    std::set<HWND> editor_windows() const;
    void finish(UINT_PTR id, const std::string& failure);

    Options options_;
    HWND timers_ = nullptr;  // message-only window that receives the jobs' timers
    UINT_PTR next_id_ = 1;
    std::map<UINT_PTR, Job> jobs_;
    std::set<HWND> claimed_;  // windows already given a text
};

}  // namespace ristemo::platform
