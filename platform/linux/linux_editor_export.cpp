#include "platform/linux/linux_editor_export.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QProcess>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <mutex>
#include <thread>

#include "platform/linux/atspi_text.h"
#include "platform/linux/detached_launch.h"
#include "platform/linux/x11_typing.h"

namespace ristemo::platform {

namespace {

// Writes all of data to a non-blocking descriptor within timeout_ms; false when the reader has
// gone or stays blocked past the timeout.
bool write_all(int fd, const QByteArray& data, int timeout_ms) {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0) return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    qsizetype sent = 0;
    while (sent < data.size()) {
        const ssize_t n =
            ::write(fd, data.constData() + sent, static_cast<size_t>(data.size() - sent));
        if (n > 0) {
            sent += n;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        pollfd p{fd, POLLOUT, 0};
        ::poll(&p, 1, 50);
    }
    return true;
}

// After the last byte went into the pipe: waits until the editor has read all of it. The pipe
// holds a short text whole, so a successful write says nothing of an editor that quit without
// reading. False when the reader went with bytes left unread; true once the pipe is empty, and
// also when the editor is still there but slow to read at the timeout (it may yet).
bool read_by_editor(int fd, int timeout_ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        int unread = 0;
        if (::ioctl(fd, FIONREAD, &unread) < 0) return true;  // cannot tell: assume read
        if (unread == 0) return true;
        // No events asked for: POLLERR alone, which comes once the read end has been closed.
        pollfd p{fd, 0, 0};
        if (::poll(&p, 1, 50) > 0 && (p.revents & POLLERR)) {
            return ::ioctl(fd, FIONREAD, &unread) == 0 && unread == 0;
        }
        if (std::chrono::steady_clock::now() >= deadline) return true;
    }
}

// One export by key events at a time: two would share the spare keycodes bound for the
// characters the keymap lacks.
std::mutex& window_events_mutex() {
    static std::mutex m;
    return m;
}

const QString kPrivateTempPrefix = QStringLiteral("ristemo-editor-");
const QString kPrivateTempOwner = QStringLiteral(".ristemo-editor-pid");

// Removes the private temporary folders of editors started earlier that have ended since.
void remove_unused_temp_folders(const QString& base) {
    const QDir dir(base);
    for (const QString& name :
         dir.entryList({kPrivateTempPrefix + QLatin1Char('*')}, QDir::Dirs | QDir::Hidden)) {
        QDir folder(dir.filePath(name));
        const QFileInfo info(folder.path());
        if (info.isSymLink() || info.ownerId() != ::getuid()) continue;
        QFile owner(folder.filePath(kPrivateTempOwner));
        if (!owner.open(QIODevice::ReadOnly)) continue;
        const qint64 pid = owner.readAll().trimmed().toLongLong();
        owner.close();
        if (pid > 0 && !process_alive(static_cast<pid_t>(pid))) folder.removeRecursively();
    }
}

// A new folder, readable by us alone, under base; empty when it cannot be made.
QString make_private_temp_folder(const QString& base) {
    QByteArray pattern =
        QFile::encodeName(QDir(base).filePath(kPrivateTempPrefix + QStringLiteral("XXXXXX")));
    if (::mkdtemp(pattern.data()) == nullptr) return {};
    return QFile::decodeName(pattern);
}

}  // namespace

QByteArray standard_input_bytes(const QString& text) {
    QString unix_text = text;
    unix_text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return unix_text.toUtf8();
}

QStringList typed_lines(const QString& text) {
    QStringList lines = text.split(QLatin1String("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

namespace editor_messages {
QString not_started(const QString& editor) {
    return QString::fromStdString(editor_text::not_started(editor.toStdString()));
}
QString text_not_delivered(const QString& editor) {
    return QString::fromStdString(editor_text::text_not_delivered(editor.toStdString()));
}
QString no_display() {
    return QStringLiteral(
        "Impossibile collegarsi al display grafico: il testo non è stato scritto nell'editor.");
}
QString no_accessibility_bus(const QString& editor) {
    return QStringLiteral(
               "L'editor di testo %1 riceve il testo attraverso il servizio di accessibilità del "
               "desktop, che non è disponibile: il testo non è stato scritto.")
        .arg(editor);
}
QString window_not_ready(const QString& editor) {
    return QString::fromStdString(editor_text::window_not_ready(editor.toStdString()));
}
QString editor_closed(const QString& editor) {
    return QString::fromStdString(editor_text::editor_closed(editor.toStdString()));
}
}  // namespace editor_messages

struct LinuxEditorExport::Job {
    std::thread thread;
    std::atomic<bool> done{false};
};

LinuxEditorExport::LinuxEditorExport() : LinuxEditorExport(Options{}) {}

LinuxEditorExport::LinuxEditorExport(Options options)
    : options_(std::move(options)), gui_context_(std::make_unique<QObject>()) {}

LinuxEditorExport::~LinuxEditorExport() {
    // An export under way finishes: stopping it would leave the new editor half-filled.
    wait_for_exports();
}

void LinuxEditorExport::wait_for_exports() {
    for (auto& job : jobs_) {
        if (job->thread.joinable()) job->thread.join();
    }
    jobs_.clear();
}

void LinuxEditorExport::reap_finished_jobs() {
    for (auto it = jobs_.begin(); it != jobs_.end();) {
        if ((*it)->done.load()) {
            (*it)->thread.join();
            it = jobs_.erase(it);
        } else {
            ++it;
        }
    }
}

void LinuxEditorExport::export_text(const std::string& text_utf8, FailureHandler on_failure) {
    const QString text = QString::fromStdString(text_utf8);
    reap_finished_jobs();
    jobs_.push_back(std::make_unique<Job>());
    Job& job = *jobs_.back();
    job.thread = std::thread([this, &job, text, on_failure = std::move(on_failure)] {
        run(text, on_failure);
        job.done = true;
    });
}

void LinuxEditorExport::report(const FailureHandler& on_failure, const QString& message) {
    if (!on_failure) return;
    // Queued to the object's own thread; dropped if the object is gone by then.
    QMetaObject::invokeMethod(
        gui_context_.get(), [on_failure, message] { on_failure(message.toStdString()); },
        Qt::QueuedConnection);
}

void LinuxEditorExport::run(const QString& text, const FailureHandler& on_failure) {
    // A reader that has gone must give EPIPE here, not end the program.
    sigset_t pipe_signal;
    sigemptyset(&pipe_signal);
    sigaddset(&pipe_signal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe_signal, nullptr);

    const QProcessEnvironment& env = options_.environment;
    const QString path_list = env.value(QStringLiteral("PATH"));
    const bool wayland = is_wayland_session(env);
    const bool window_events_possible = !wayland && !env.value(QStringLiteral("DISPLAY")).isEmpty();
    const auto find = [&path_list](const QString& name) { return find_program(name, path_list); };

    const std::optional<EditorCommand> editor =
        choose_editor(desktop_default_for_text(env), find, window_events_possible);
    if (!editor) {
        const bool any_installed = choose_editor({}, find, true).has_value();
        if (!any_installed) {
            report(on_failure, editor_messages::no_editor(window_events_possible));
        } else if (wayland) {
            report(on_failure, editor_messages::no_editor_for_wayland());
        } else {
            report(on_failure, editor_messages::no_display());
        }
        return;
    }

    LaunchOptions launch;
    launch.environment = env;
    launch.stdin_pipe = editor->delivery == Delivery::StandardInput;
    // Toolkits skip the accessibility bus when told to, and then the text area is out of reach.
    if (editor->delivery == Delivery::Accessibility) {
        launch.environment->remove(QStringLiteral("NO_AT_BRIDGE"));
    }
    QString temp_folder;
    if (editor->private_temp_folder) {
        const QString base = env.value(QStringLiteral("TMPDIR"), QStringLiteral("/tmp"));
        remove_unused_temp_folders(base);
        temp_folder = make_private_temp_folder(base);
        if (temp_folder.isEmpty()) {
            report(on_failure, editor_messages::not_started(editor->name));
            return;
        }
        launch.environment->insert(QStringLiteral("TMPDIR"), temp_folder);
    }
    std::unique_lock<std::mutex> window_events_turn(window_events_mutex(), std::defer_lock);
    if (editor->delivery == Delivery::WindowEvents) window_events_turn.lock();

    // Found again in the same PATH, so started as the program chosen, called by its name.
    const Launch process = launch_detached(editor->name, editor->arguments, launch);
    if (!temp_folder.isEmpty()) {
        if (!process.started()) {
            QDir(temp_folder).removeRecursively();
        } else {
            QFile owner(QDir(temp_folder).filePath(kPrivateTempOwner));
            if (owner.open(QIODevice::WriteOnly)) owner.write(QByteArray::number(process.pid));
        }
    }
    if (!process.started()) {
        report(on_failure, editor_messages::not_started(editor->name));
        return;
    }

    switch (editor->delivery) {
        case Delivery::StandardInput: {
            const bool written = write_all(process.stdin_fd, standard_input_bytes(text),
                                           options_.write_timeout_ms) &&
                                 read_by_editor(process.stdin_fd, options_.write_timeout_ms);
            ::close(process.stdin_fd);
            if (!written) report(on_failure, editor_messages::text_not_delivered(editor->name));
            return;
        }
        case Delivery::Accessibility: {
            AccessibleTextRequest request;
            request.pid = process.pid;
            request.session_bus_address = env.value(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
            // The editor's own line ends, as it would save them.
            request.text = QString::fromUtf8(standard_input_bytes(text));
            request.timeout_ms = options_.window_timeout_ms;
            request.process_alive = [pid = process.pid] { return process_alive(pid); };
            switch (set_editor_text(request)) {
                case AccessibleTextResult::Set:
                    return;
                case AccessibleTextResult::NoBus:
                    report(on_failure, editor_messages::no_accessibility_bus(editor->name));
                    return;
                case AccessibleTextResult::EditorClosed:
                    report(on_failure, editor_messages::editor_closed(editor->name));
                    return;
                case AccessibleTextResult::NotFound:
                    report(on_failure, editor_messages::window_not_ready(editor->name));
                    return;
                case AccessibleTextResult::Refused:
                    report(on_failure, editor_messages::text_not_delivered(editor->name));
                    return;
            }
            return;
        }
        case Delivery::WindowEvents: {
            TypingRequest request;
            request.pid = process.pid;
            request.lines = typed_lines(text);
            request.display = env.value(QStringLiteral("DISPLAY")).toLocal8Bit();
            request.window_timeout_ms = options_.window_timeout_ms;
            request.key_delay_us = options_.key_delay_us;
            switch (type_into_window(request)) {
                case TypingResult::Typed:
                    return;
                case TypingResult::NoDisplay:
                    report(on_failure, editor_messages::no_display());
                    return;
                case TypingResult::EditorClosed:
                    report(on_failure, editor_messages::editor_closed(editor->name));
                    return;
                case TypingResult::WindowNotReady:
                    report(on_failure, editor_messages::window_not_ready(editor->name));
                    return;
            }
            return;
        }
    }
}

}  // namespace ristemo::platform
