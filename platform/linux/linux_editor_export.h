#pragma once

#include <QByteArray>
#include <QObject>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <functional>
#include <list>
#include <memory>
#include <optional>

#include "platform/editor_export.h"
#include "platform/editor_messages.h"
#include "platform/linux/editor_choice.h"

namespace ristemo::platform {

// The bytes given to an editor on its standard input: UTF-8, each CR LF turned into LF.
QByteArray standard_input_bytes(const QString& text);

// The lines to type: the text split at each CR LF (every line, the last included, gets a Return).
QStringList typed_lines(const QString& text);

// The Italian messages the user may see while the text is handed over (editor_choice.h has the
// others).
namespace editor_messages {
QString not_started(const QString& editor);
QString text_not_delivered(const QString& editor);
QString no_display();
QString no_accessibility_bus(const QString& editor);
QString window_not_ready(const QString& editor);
QString editor_closed(const QString& editor);
}  // namespace editor_messages

// Starts a new instance of the desktop's plain-text editor and hands it the text: through its
// standard input when it reads one, otherwise into its own text area or window (see Delivery),
// never through the input focus. The editor runs detached and outlives the calculator. The work
// runs on a worker thread; failures come back on the thread that built this object.
class LinuxEditorExport : public EditorExport {
public:
    struct Options {
        // Where programs are looked up (PATH) and what the editor inherits.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // How long the new editor's window or text area has to appear.
        int window_timeout_ms = editor_text::kWindowTimeoutMs;
        // Pause between keys sent to a window, in microseconds.
        unsigned key_delay_us = 300;
        // How long the editor may take to accept its standard input.
        int write_timeout_ms = 5000;
    };

    LinuxEditorExport();
    explicit LinuxEditorExport(Options options);
    // Lets every export already started finish (each is bounded by the timeouts above).
    ~LinuxEditorExport() override;
    LinuxEditorExport(const LinuxEditorExport&) = delete;
    LinuxEditorExport& operator=(const LinuxEditorExport&) = delete;

    void export_text(const std::string& text, FailureHandler on_failure) override;

    // Blocks until every export started so far has finished its work; their failures are then
    // waiting in the event queue of the thread that built this object.
    void wait_for_exports();

private:
    struct Job;
    void run(const QString& text, const FailureHandler& on_failure);
    void report(const FailureHandler& on_failure, const QString& message);
    void reap_finished_jobs();

    Options options_;
    std::unique_ptr<QObject> gui_context_;  // lives on the constructing thread; carries reports
    std::list<std::unique_ptr<Job>> jobs_;
};

}  // namespace ristemo::platform
