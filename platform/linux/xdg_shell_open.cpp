#include "platform/linux/xdg_shell_open.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QMetaObject>
#include <QProcess>
#include <QUrl>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/linux/ask_tool.h"
#include "platform/linux/detached_launch.h"

namespace ristemo::platform {

// The watches of xdg-open under way, each on a thread of its own.
struct XdgShellOpen::Watches {
    std::mutex mutex;
    std::condition_variable ended;
    int running = 0;
};

XdgShellOpen::XdgShellOpen() : XdgShellOpen(XdgShellOpenOptions{}) {}

XdgShellOpen::XdgShellOpen(XdgShellOpenOptions options)
    : options_(std::move(options)), watches_(std::make_shared<Watches>()) {
    if (!options_.chooser) options_.chooser = ask_open_with;
}

XdgShellOpen::~XdgShellOpen() {
    std::unique_lock<std::mutex> lock(watches_->mutex);
    watches_->ended.wait(lock, [this] { return watches_->running == 0; });
}

std::optional<QString> XdgShellOpen::query(const QString& program,
                                           const QStringList& arguments) const {
    const QString path = find_program(program);
    if (path.isEmpty()) return QString();
    const ToolAnswer answer = ask_tool(path, arguments, options_.query_timeout_ms);
    if (!answer.finished) return std::nullopt;
    return answer.output;
}

bool XdgShellOpen::has_associated_program(const QString& address) const {
    // Without the tools to ask, assume there is one and let the opener find out.
    if (find_program(options_.xdg_mime).isEmpty() && find_program(options_.xdg_settings).isEmpty())
        return true;
    QString scheme = QUrl(address).scheme().toLower();
    if (scheme.isEmpty()) scheme = QStringLiteral("http");
    // Only an answer of nothing means no program: a tool too slow to answer (a busy machine) or
    // one that crashed leaves it to the opener, whose failure is then reported like any other.
    const std::optional<QString> by_type =
        query(options_.xdg_mime, {QStringLiteral("query"), QStringLiteral("default"),
                                  QStringLiteral("x-scheme-handler/") + scheme});
    if (!by_type || !by_type->isEmpty()) return true;
    const QStringList setting =
        scheme == QStringLiteral("http") || scheme == QStringLiteral("https")
            ? QStringList{QStringLiteral("get"), QStringLiteral("default-web-browser")}
            : QStringList{QStringLiteral("get"), QStringLiteral("default-url-scheme-handler"),
                          scheme};
    const std::optional<QString> by_setting = query(options_.xdg_settings, setting);
    return !by_setting || !by_setting->isEmpty();
}

std::int32_t XdgShellOpen::shell_open(const std::string& address_utf8, LateFailure late_failure) {
    const QString address = QString::fromStdString(address_utf8);
    if (address.isEmpty()) return kShellFailure;
    if (find_program(options_.xdg_open).isEmpty()) {
        return QDesktopServices::openUrl(QUrl(address)) ? kShellSuccess : kShellFailure;
    }
    if (!has_associated_program(address)) return kShellNoAssociation;
    // xdg-open's exit codes differ from desktop to desktop, so any early non-zero exit counts as
    // a failure; a browser that is still starting after the wait counts as opened. Watching takes
    // up to the whole wait, so it runs on a thread of its own and the window stays responsive;
    // until it ends, the launch counts as a success.
    LaunchOptions watched;
    watched.watch_ms = options_.exit_wait_ms;
    {
        const std::lock_guard<std::mutex> lock(watches_->mutex);
        ++watches_->running;
    }
    std::thread([program = options_.xdg_open, address, watched, late_failure,
                 watches = watches_]() mutable {
        const LaunchOutcome outcome = launch_detached(program, {address}, watched).outcome;
        const bool failed =
            outcome == LaunchOutcome::ExitedBadly || outcome == LaunchOutcome::NotStarted;
        // The application outlives this object, whose destructor waits for us.
        if (failed && late_failure) {
            if (QCoreApplication* app = QCoreApplication::instance())
                QMetaObject::invokeMethod(app, std::move(late_failure), Qt::QueuedConnection);
        }
        const std::lock_guard<std::mutex> lock(watches->mutex);
        --watches->running;
        watches->ended.notify_all();
    }).detach();
    return kShellSuccess;
}

std::int32_t XdgShellOpen::open_with_dialog(const std::string& address_utf8) {
    const QString address = QString::fromStdString(address_utf8);
    const std::vector<DesktopEntry> applications = find_web_applications(xdg_application_dirs());
    const std::optional<OpenWithChoice> choice = options_.chooser(address, applications);
    if (!choice) return kShellFailure;

    QString program = choice->program;
    QStringList arguments{address};
    if (choice->application) {
        const auto argv = expand_exec(choice->application->exec, address, *choice->application);
        if (!argv) return kShellFailure;
        program = argv->front();
        arguments = argv->mid(1);
        if (choice->application->terminal) {
            const QString terminal = find_program(QStringLiteral("x-terminal-emulator"));
            if (!terminal.isEmpty()) {
                arguments.prepend(program);
                arguments.prepend(QStringLiteral("-e"));
                program = terminal;
            }
        }
    }
    return launch_detached(program, arguments).started() ? kShellSuccess : kShellFailure;
}

}  // namespace ristemo::platform
