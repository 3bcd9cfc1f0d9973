#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/editor_export.h"
#include "platform/editor_messages.h"
#include "platform/windows/win32.h"

namespace ristemo::platform {

// Starts a new Notepad for each export and puts the text into that Notepad's document with
// window messages, so the text cannot land in whatever window has the focus. The Notepad is
// known by its process: a window of the process started, or of a process that one started (a
// launcher handing over to the real editor). The text goes only into a new window that holds a
// single, empty document: a Notepad that reopened the user's documents, or one that passed the
// new document to a window already open (a single-instance, tabbed Notepad), is told of and left
// alone, since the new document cannot be told for certain from the user's there. The window is
// looked for on a timer of the GUI thread; export_text does not wait.
class WinEditorExport : public EditorExport {
public:
    struct Options {
        std::wstring command = L"notepad.exe";
        std::wstring window_class = L"Notepad";
        std::string editor_name = "Notepad";  // for the messages
        UINT timeout_ms = editor_text::kWindowTimeoutMs;
        UINT poll_ms = 50;
    };

    WinEditorExport();
    explicit WinEditorExport(Options options);
    // Lets every export already started finish (see wait_for_exports).
    ~WinEditorExport() override;
    WinEditorExport(const WinEditorExport&) = delete;
    WinEditorExport& operator=(const WinEditorExport&) = delete;

    void export_text(const std::string& text, FailureHandler on_failure) override;

    // Runs the thread's messages until every export started so far has put its text into its
    // editor or told its failure; each ends at the latest timeout_ms after it started. A quit
    // request met meanwhile is posted again.
    void wait_for_exports();

    // The control's text with every line break as one CR, as a rich-edit control keeps it; an
    // Edit control keeps CR LF.
    static std::wstring with_cr_breaks(const std::wstring& text);

private:
    struct Job {
        std::wstring text;
        FailureHandler on_failure;
        ULONGLONG deadline = 0;
        ULONGLONG started_at = 0;           // FILETIME of the launch, as one number
        std::map<DWORD, HANDLE> processes;  // the one started and those it started
    };

    static LRESULT CALLBACK timer_window_proc(HWND window, UINT message, WPARAM wparam,
                                              LPARAM lparam);
    void poll(UINT_PTR id);
    std::vector<HWND> editor_windows() const;
    void finish(UINT_PTR id, const std::string& failure);

    Options options_;
    HWND timers_ = nullptr;  // message-only window that receives the jobs' timers
    UINT_PTR next_id_ = 1;
    std::map<UINT_PTR, Job> jobs_;
};

}  // namespace ristemo::platform
