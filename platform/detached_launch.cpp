#include "platform/detached_launch.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <cerrno>
#include <string>
#include <vector>

namespace ristemo::platform {

namespace {

// What the watching process reports through the pipe: one byte.
enum : char {
    kReportNotStarted = 'n',
    kReportExitedOk = 'o',
    kReportExitedBadly = 'b',
    kReportRunning = 'r',
};

long long monotonic_ms() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

void write_report(int fd, char report) {
    while (write(fd, &report, 1) < 0 && errno == EINTR) {
    }
}

// Runs in the forked children: only async-signal-safe calls from here on.
[[noreturn]] void run_program(const char* path, char* const* argv) {
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    sigaction(SIGCHLD, &dfl, nullptr);
    sigaction(SIGPIPE, &dfl, nullptr);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);

    const int null_fd = open("/dev/null", O_RDWR);
    if (null_fd >= 0) {
        dup2(null_fd, 0);
        dup2(null_fd, 1);
        dup2(null_fd, 2);
    }
    // Our own descriptors (sockets, pipes, files) are not the program's business.
    close_range(3, ~0U, 0);
    execv(path, argv);
    _exit(127);
}

[[noreturn]] void watch_program(int report_fd, const char* path, char* const* argv, int wait_ms) {
    setsid();
    const pid_t child = fork();
    if (child < 0) {
        write_report(report_fd, kReportNotStarted);
        _exit(0);
    }
    if (child == 0) {
        close(report_fd);
        run_program(path, argv);
    }
    const long long deadline = monotonic_ms() + wait_ms;
    for (;;) {
        int status = 0;
        const pid_t r = waitpid(child, &status, WNOHANG);
        if (r == child) {
            const bool ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
            write_report(report_fd, ok ? kReportExitedOk : kReportExitedBadly);
            _exit(0);
        }
        if (r < 0 && errno != EINTR) {
            write_report(report_fd, kReportExitedBadly);
            _exit(0);
        }
        if (monotonic_ms() >= deadline) break;
        timespec pause{0, 10 * 1000 * 1000};
        nanosleep(&pause, nullptr);
    }
    // Leaving now hands the program over to init, which reaps it when it ends.
    write_report(report_fd, kReportRunning);
    _exit(0);
}

}  // namespace

QString find_program(const QString& name) {
    if (name.isEmpty()) return {};
    if (name.contains(u'/')) {
        const QFileInfo info(name);
        return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(name);
}

WatchedStart start_detached_watched(const QString& program, const QStringList& arguments,
                                    int wait_ms) {
    const QString path = find_program(program);
    if (path.isEmpty()) return WatchedStart::NotStarted;

    // Everything the children need is prepared here: after fork they may not allocate.
    const std::string path_bytes = QFile::encodeName(path).toStdString();
    std::vector<std::string> arg_bytes;
    arg_bytes.push_back(QFile::encodeName(program).toStdString());
    for (const QString& a : arguments) arg_bytes.push_back(QFile::encodeName(a).toStdString());
    std::vector<char*> argv;
    for (std::string& a : arg_bytes) argv.push_back(a.data());
    argv.push_back(nullptr);

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return WatchedStart::NotStarted;
    const pid_t watcher = fork();
    if (watcher < 0) {
        close(fds[0]);
        close(fds[1]);
        return WatchedStart::NotStarted;
    }
    if (watcher == 0) {
        close(fds[0]);
        watch_program(fds[1], path_bytes.c_str(), argv.data(), wait_ms);
    }
    close(fds[1]);
    char report = kReportNotStarted;
    ssize_t got = 0;
    do {
        got = read(fds[0], &report, 1);
    } while (got < 0 && errno == EINTR);
    close(fds[0]);
    while (waitpid(watcher, nullptr, 0) < 0 && errno == EINTR) {
    }
    if (got != 1) return WatchedStart::NotStarted;
    switch (report) {
        case kReportExitedOk:
            return WatchedStart::ExitedOk;
        case kReportExitedBadly:
            return WatchedStart::ExitedBadly;
        case kReportRunning:
            return WatchedStart::StillRunning;
        default:
            return WatchedStart::NotStarted;
    }
}

bool start_detached(const QString& program, const QStringList& arguments) {
    const QString path = find_program(program);
    if (path.isEmpty()) return false;
    QProcess process;
    process.setProgram(path);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    return process.startDetached();
}

}  // namespace ristemo::platform
