#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <QStringList>

#include "platform/editor_messages.h"

namespace ristemo::platform {

enum class TypingResult {
    Typed,           // every line sent to the editor's window
    NoDisplay,       // the X display could not be opened
    EditorClosed,    // the process ended before its window appeared
    WindowNotReady,  // no visible window of the process appeared in time
};

struct TypingRequest {
    pid_t pid = -1;      // the editor process whose window gets the keys
    QStringList lines;   // each followed by one Return
    QByteArray display;  // X display name; empty for $DISPLAY
    int window_timeout_ms = editor_text::kWindowTimeoutMs;
    unsigned key_delay_us = 300;
};

// Waits for a visible window of request.pid and sends the lines to that window alone as key
// events (XSendEvent), never through the input focus: whichever window the user activates
// meanwhile gets nothing. Each event carries its own modifier state, so Caps Lock, a held key
// or the keyboard layout cannot change what arrives, for toolkits that read that state (Qt).
// Blocks: call it on a worker thread.
TypingResult type_into_window(const TypingRequest& request);

}  // namespace ristemo::platform
