#pragma once

#include <QString>
#include <functional>

#include "platform/editor_messages.h"

namespace ristemo::platform {

enum class AccessibleTextResult {
    Set,           // the editor's text area now holds the text
    NoBus,         // no session bus, or no accessibility bus on it
    EditorClosed,  // the process ended before its text area appeared
    NotFound,      // no editable multi-line text area of the process appeared in time
    Refused,       // the text area did not take the text, or reads back otherwise
};

struct AccessibleTextRequest {
    qint64 pid = -1;              // the editor process
    QString session_bus_address;  // DBUS_SESSION_BUS_ADDRESS of the editor's session
    QString text;                 // replaces whatever the text area holds
    int timeout_ms = editor_text::kWindowTimeoutMs;  // for the text area to appear
    std::function<bool()> process_alive;
};

// Puts the text into the editable multi-line text area of process pid through the accessibility
// bus (AT-SPI's EditableText): the text goes to that widget and nowhere else, whichever window
// holds the input focus meanwhile. Blocks: call it on a worker thread.
AccessibleTextResult set_editor_text(const AccessibleTextRequest& request);

}  // namespace ristemo::platform
