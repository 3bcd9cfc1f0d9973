#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/editor_export.h"
#include "platform/editor_messages.h"
#include "platform/windows/win32.h"
#include "platform/windows/win_report_file.h"

namespace ristemo::platform {

// Hands the report to Notepad as a file that Notepad itself opens ("notepad.exe FILE"), so that
// nothing is typed or sent into any window: today's Notepad may open it as a new tab of a window
// already open, in a new window, after the tabs of a restored session, or from a process that
// the system starts in place of the one started here; the classic Notepad opens it in a window
// of its own. The file, written in a folder of its own (ReportFile), is removed once a document
// of a Notepad window holds the report that held none of it before; at the latest after
// timeout_ms. Notepad is watched on a timer of the GUI thread; export_text does not wait.
class WinEditorExport : public EditorExport {
public:
    struct Options {
        std::wstring command = L"notepad.exe";  // the file's path is added, quoted
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

    // Runs the thread's messages until every export started so far has had its report shown
    // and its file removed, or told its failure; each ends at the latest timeout_ms after it
    // started. A quit request met meanwhile is posted again.
    void wait_for_exports();

    // The text with every line break as one CR, as a rich-edit control keeps it (an Edit control
    // keeps CR LF), and without the last line's break.
    static std::wstring with_cr_breaks(const std::wstring& text);

private:
    struct Job {
        std::wstring text;
        ReportFile file;
        FailureHandler on_failure;
        ULONGLONG deadline = 0;
        std::vector<HWND> held_before;  // documents that already held the report
        bool shown = false;
    };

    static LRESULT CALLBACK timer_window_proc(HWND window, UINT message, WPARAM wparam,
                                              LPARAM lparam);
    void poll(UINT_PTR id);
    std::vector<HWND> documents_holding(const std::wstring& text) const;
    void finish(UINT_PTR id, const std::string& failure);

    Options options_;
    HWND timers_ = nullptr;  // message-only window that receives the jobs' timers
    UINT_PTR next_id_ = 1;
    std::map<UINT_PTR, Job> jobs_;
};

}  // namespace ristemo::platform
