#include "platform/linux_editor_export.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QMetaObject>
#include <QProcess>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <mutex>
#include <thread>

#include "platform/detached_launch.h"
#include "platform/x11_typing.h"

namespace ristemo::platform {

namespace {

struct KnownEditor {
    const char* name;
    Delivery delivery;
    QStringList arguments;  // asking for a new instance, and for standard input where read
};

const std::vector<KnownEditor>& editor_table() {
    static const std::vector<KnownEditor> table = {
        {"gnome-text-editor", Delivery::StandardInput, {"-s", "-"}},
        {"gedit", Delivery::StandardInput, {"-s", "-"}},
        {"kwrite", Delivery::StandardInput, {"--stdin"}},
        {"kate", Delivery::StandardInput, {"-n", "-i"}},
        {"mousepad", Delivery::Typing, {"--disable-server"}},
        {"featherpad", Delivery::Typing, {"-s"}},
        {"pluma", Delivery::Typing, {}},
    };
    return table;
}

const KnownEditor* known_editor(const QString& name) {
    for (const KnownEditor& e : editor_table()) {
        if (name == QLatin1String(e.name)) return &e;
    }
    return nullptr;
}

// The first entry xdg-mime names as the default for text/plain; empty when it cannot tell.
QString desktop_default_for_text(const QProcessEnvironment& environment) {
    const QString xdg_mime =
        find_program(QStringLiteral("xdg-mime"), environment.value(QStringLiteral("PATH")));
    if (xdg_mime.isEmpty()) return {};
    QProcess query;
    query.setProcessEnvironment(environment);
    query.setProgram(xdg_mime);
    query.setArguments(
        {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/plain")});
    query.setStandardInputFile(QProcess::nullDevice());
    query.setStandardErrorFile(QProcess::nullDevice());
    query.start();
    if (!query.waitForFinished(3000)) {
        query.kill();
        query.waitForFinished(1000);
        return {};
    }
    if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0) return {};
    const QString out = QString::fromLocal8Bit(query.readAllStandardOutput());
    return out.section(QLatin1Char('\n'), 0, 0).section(QLatin1Char(';'), 0, 0).trimmed();
}

// Writes all of data to a non-blocking descriptor within timeout_ms; false when the reader has
// gone, stays blocked past the timeout, or the export is cancelled.
bool write_all(int fd, const QByteArray& data, int timeout_ms, const std::atomic<bool>& cancel) {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0) return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    qsizetype sent = 0;
    while (sent < data.size()) {
        if (cancel.load()) return false;
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
// also when the editor is still there but slow to read at the timeout (it may yet), or on cancel.
bool read_by_editor(int fd, int timeout_ms, const std::atomic<bool>& cancel) {
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
        if (cancel.load() || std::chrono::steady_clock::now() >= deadline) return true;
    }
}

// One typed export at a time, from starting its editor to the last key: a second editor
// appearing would take the focus from the first in mid-text, and the two would share the spare
// keycodes. The second export waits and then starts its own editor.
std::mutex& typing_mutex() {
    static std::mutex m;
    return m;
}

}  // namespace

QStringList known_editors() {
    QStringList names;
    for (const KnownEditor& e : editor_table()) names << QLatin1String(e.name);
    return names;
}

QString editor_for_desktop_entry(const QString& desktop_entry) {
    QString id = desktop_entry.trimmed().toLower();
    if (id.endsWith(QLatin1String(".desktop"))) id.chop(8);
    if (id.isEmpty()) return {};
    if (id == QLatin1String("org.gnome.texteditor")) return QStringLiteral("gnome-text-editor");
    // Reverse-domain ids ("org.kde.kate", "org.xfce.mousepad") end in the program's name.
    const QString last = id.section(QLatin1Char('.'), -1);
    if (known_editor(last)) return last;
    return {};
}

std::optional<EditorCommand> choose_editor(
    const QString& desktop_entry, const std::function<QString(const QString&)>& find_program,
    bool typing_possible) {
    QStringList candidates;
    const QString preferred = editor_for_desktop_entry(desktop_entry);
    if (!preferred.isEmpty()) candidates << preferred;
    candidates << known_editors();
    for (const QString& name : candidates) {
        const KnownEditor* e = known_editor(name);
        if (e->delivery == Delivery::Typing && !typing_possible) continue;
        const QString path = find_program(name);
        if (path.isEmpty()) continue;
        return EditorCommand{name, path, e->arguments, e->delivery};
    }
    return std::nullopt;
}

bool is_wayland_session(const QProcessEnvironment& environment) {
    return !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty() ||
           environment.value(QStringLiteral("XDG_SESSION_TYPE"))
                   .compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0;
}

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
QString no_editor() {
    return QStringLiteral(
        "Nessun editor di testo trovato: installare uno tra gnome-text-editor, gedit, kwrite, "
        "kate, mousepad, featherpad e pluma.");
}
QString no_standard_input_editor_on_wayland() {
    return QStringLiteral(
        "Nessun editor di testo utilizzabile: in una sessione Wayland il testo si può consegnare "
        "solo a gnome-text-editor, gedit, kwrite o kate, e nessuno di questi è installato.");
}
QString not_started(const QString& editor) {
    return QStringLiteral("Impossibile avviare l'editor di testo %1.").arg(editor);
}
QString text_not_delivered(const QString& editor) {
    return QStringLiteral("L'editor di testo %1 non ha ricevuto il testo.").arg(editor);
}
QString no_display() {
    return QStringLiteral(
        "Impossibile collegarsi al display grafico: il testo non è stato scritto nell'editor.");
}
QString window_not_focused(const QString& editor) {
    return QStringLiteral(
               "La finestra dell'editor di testo %1 non è comparsa o non ha preso il fuoco in "
               "tempo: il testo non è stato scritto.")
        .arg(editor);
}
QString editor_closed(const QString& editor) {
    return QStringLiteral("L'editor di testo %1 si è chiuso prima di ricevere il testo.")
        .arg(editor);
}
QString focus_lost(const QString& editor) {
    return QStringLiteral(
               "La finestra dell'editor di testo %1 ha perso il fuoco: la scrittura è stata "
               "interrotta e il testo nell'editor è incompleto.")
        .arg(editor);
}
}  // namespace editor_messages

struct LinuxEditorExport::Job {
    std::thread thread;
    std::atomic<bool> cancel{false};
    std::atomic<bool> done{false};
};

LinuxEditorExport::LinuxEditorExport() : LinuxEditorExport(Options{}) {}

LinuxEditorExport::LinuxEditorExport(Options options)
    : options_(std::move(options)), gui_context_(std::make_unique<QObject>()) {}

LinuxEditorExport::~LinuxEditorExport() {
    for (auto& job : jobs_) job->cancel = true;
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

void LinuxEditorExport::export_text(const QString& text, FailureHandler on_failure) {
    reap_finished_jobs();
    jobs_.push_back(std::make_unique<Job>());
    Job& job = *jobs_.back();
    job.thread = std::thread([this, &job, text, on_failure = std::move(on_failure)] {
        run(job, text, on_failure);
        job.done = true;
    });
}

void LinuxEditorExport::report(const FailureHandler& on_failure, const QString& message) {
    if (!on_failure) return;
    // Queued to the object's own thread; dropped if the object is gone by then.
    QMetaObject::invokeMethod(
        gui_context_.get(), [on_failure, message] { on_failure(message); }, Qt::QueuedConnection);
}

void LinuxEditorExport::run(Job& job, const QString& text, const FailureHandler& on_failure) {
    // A reader that has gone must give EPIPE here, not end the program.
    sigset_t pipe_signal;
    sigemptyset(&pipe_signal);
    sigaddset(&pipe_signal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe_signal, nullptr);

    const QProcessEnvironment& env = options_.environment;
    const QString path_list = env.value(QStringLiteral("PATH"));
    const bool wayland = is_wayland_session(env);
    const bool typing_possible = !wayland && !env.value(QStringLiteral("DISPLAY")).isEmpty();
    const auto find = [&path_list](const QString& name) { return find_program(name, path_list); };

    const std::optional<EditorCommand> editor =
        choose_editor(desktop_default_for_text(env), find, typing_possible);
    if (!editor) {
        const bool any_installed = choose_editor({}, find, true).has_value();
        if (!any_installed) {
            report(on_failure, editor_messages::no_editor());
        } else if (wayland) {
            report(on_failure, editor_messages::no_standard_input_editor_on_wayland());
        } else {
            report(on_failure, editor_messages::no_display());
        }
        return;
    }

    const bool via_stdin = editor->delivery == Delivery::StandardInput;
    std::unique_lock<std::mutex> typing_turn(typing_mutex(), std::defer_lock);
    if (!via_stdin) {
        typing_turn.lock();
        if (job.cancel.load()) return;
    }
    LaunchOptions launch;
    launch.environment = env;
    launch.stdin_pipe = via_stdin;
    // Found again in the same PATH, so started as the program chosen, called by its name.
    const Launch process = launch_detached(editor->name, editor->arguments, launch);
    if (!process.started()) {
        report(on_failure, editor_messages::not_started(editor->name));
        return;
    }

    if (via_stdin) {
        const bool written =
            write_all(process.stdin_fd, standard_input_bytes(text), options_.write_timeout_ms,
                      job.cancel) &&
            read_by_editor(process.stdin_fd, options_.write_timeout_ms, job.cancel);
        ::close(process.stdin_fd);
        if (!written && !job.cancel.load()) {
            report(on_failure, editor_messages::text_not_delivered(editor->name));
        }
        return;
    }

    TypingRequest request;
    request.pid = process.pid;
    request.lines = typed_lines(text);
    request.display = env.value(QStringLiteral("DISPLAY")).toLocal8Bit();
    request.focus_timeout_ms = options_.focus_timeout_ms;
    request.key_delay_us = options_.key_delay_us;
    if (options_.before_typed_line) {
        request.before_line = [hook = options_.before_typed_line, pid = process.pid](int line) {
            hook(line, pid);
        };
    }
    switch (type_into_editor(request, job.cancel)) {
        case TypingResult::Typed:
        case TypingResult::Cancelled:
            return;
        case TypingResult::NoDisplay:
            report(on_failure, editor_messages::no_display());
            return;
        case TypingResult::EditorClosed:
            report(on_failure, editor_messages::editor_closed(editor->name));
            return;
        case TypingResult::WindowNotReady:
            report(on_failure, editor_messages::window_not_focused(editor->name));
            return;
        case TypingResult::FocusLost:
            report(on_failure, editor_messages::focus_lost(editor->name));
            return;
    }
}

}  // namespace ristemo::platform
