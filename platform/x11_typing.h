#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

namespace ristemo::platform {

enum class TypingResult {
    Typed,           // every line typed into the editor's window
    Cancelled,       // stopped on request; nothing to report
    NoDisplay,       // the X display could not be opened
    EditorClosed,    // the process ended before its window took the focus
    WindowNotReady,  // no visible window of the process held the focus in time
    FocusLost,       // the focus went elsewhere before all lines were typed
};

struct TypingRequest {
    pid_t pid = -1;      // the editor process whose window gets the keys
    QStringList lines;   // each followed by one Return
    QByteArray display;  // X display name; empty for $DISPLAY
    int focus_timeout_ms = 10000;
    unsigned key_delay_us = 1000;
    std::function<void(int line)> before_line;  // a seam for tests; may be empty
};

// Waits for a visible window of request.pid, gives it the input focus and types the lines with
// XTest, checking before every line and every Return that the focus still belongs to that
// process. Blocks: call it on a worker thread, one call at a time. cancel stops it between steps.
TypingResult type_into_editor(const TypingRequest& request, const std::atomic<bool>& cancel);

}  // namespace ristemo::platform
