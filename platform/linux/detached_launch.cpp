#include "platform/linux/detached_launch.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <vector>

namespace ristemo::platform {

namespace {

// What the middle process and the program report through the status pipe. Each record goes out
// in one write() below PIPE_BUF, so the records of the two never interleave.
struct StatusRecord {
    int kind;
    int value;  // the pid for kPid, errno for the failures
};
enum : int {
    kPid = 1,
    kForkFailed,
    kExecFailed,
    kExitedOk,
    kExitedBadly,
    kRunning,
};

// Everything the children need, prepared before fork(): after it they may make only
// async-signal-safe calls, since other threads may hold the allocator's locks.
struct ExecPlan {
    const char* path;
    char* const* argv;
    char* const* envp;  // nullptr: ours
    int stdin_read;     // the program's end of the input pipe, or -1 for /dev/null
    int watch_ms;
};

void write_record(int fd, int kind, int value) {
    const StatusRecord r{kind, value};
    while (::write(fd, &r, sizeof r) < 0 && errno == EINTR) {
    }
}

long long monotonic_ms() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

void default_action(int signal_number) {
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    ::sigemptyset(&dfl.sa_mask);
    ::sigaction(signal_number, &dfl, nullptr);
}

// Closes every descriptor from 3 up except `a` and `b` (either may be -1): whatever else is open
// here (sockets, other launches' pipes) is none of the child's business, and holding another
// launch's pipe would delay the end-of-file its caller waits for.
void close_all_from_3_except(int a, int b) {
    int keep[2] = {std::min(a, b), std::max(a, b)};
    unsigned first = 3;
    for (const int k : keep) {
        if (k < static_cast<int>(first)) continue;
        if (static_cast<unsigned>(k) > first) ::close_range(first, static_cast<unsigned>(k) - 1, 0);
        first = static_cast<unsigned>(k) + 1;
    }
    ::close_range(first, ~0U, 0);
}

// Moves a descriptor out of 0..2, where setting up the standard streams would overwrite it.
int above_standard_streams(int fd) {
    if (fd < 0 || fd > 2) return fd;
    const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
    return moved < 0 ? fd : moved;
}

[[noreturn]] void run_program(const ExecPlan& plan, int status_fd) {
    // Leader of a session of its own: no terminal hang-up or job-control signal of ours
    // reaches it.
    ::setsid();
    default_action(SIGPIPE);
    default_action(SIGCHLD);
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);

    status_fd = above_standard_streams(status_fd);
    const int input = above_standard_streams(plan.stdin_read);
    // Its output is not tied to ours: a closed terminal or a full pipe of ours must not stop it.
    const int null_fd = ::open("/dev/null", O_RDWR);
    if (input >= 0) {
        ::dup2(input, STDIN_FILENO);
    } else if (null_fd >= 0) {
        ::dup2(null_fd, STDIN_FILENO);
    }
    if (null_fd >= 0) {
        ::dup2(null_fd, STDOUT_FILENO);
        ::dup2(null_fd, STDERR_FILENO);
    }
    close_all_from_3_except(status_fd, -1);

    if (plan.envp) {
        ::execve(plan.path, plan.argv, plan.envp);
    } else {
        ::execv(plan.path, plan.argv);
    }
    write_record(status_fd, kExecFailed, errno);
    ::_exit(127);
}

// The middle process: starts the program, reports its pid, watches it for up to watch_ms, and
// leaves. Leaving hands the program over to init, which reaps it when it ends.
[[noreturn]] void run_middle(const ExecPlan& plan, int status_fd) {
    // An ignored SIGCHLD inherited from us would make the program's end unobservable.
    default_action(SIGCHLD);
    const pid_t child = ::fork();
    if (child < 0) {
        write_record(status_fd, kForkFailed, errno);
        ::_exit(0);
    }
    if (child == 0) run_program(plan, status_fd);

    write_record(status_fd, kPid, child);
    // Holding either end of the input pipe would keep the program from seeing its end, and the
    // caller from seeing the program gone.
    close_all_from_3_except(status_fd, -1);
    const long long deadline = monotonic_ms() + plan.watch_ms;
    while (plan.watch_ms > 0) {
        int status = 0;
        const pid_t r = ::waitpid(child, &status, WNOHANG);
        if (r == child) {
            const bool ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
            write_record(status_fd, ok ? kExitedOk : kExitedBadly, 0);
            ::_exit(0);
        }
        if (r < 0 && errno != EINTR) {
            write_record(status_fd, kExitedBadly, 0);
            ::_exit(0);
        }
        if (monotonic_ms() >= deadline) break;
        timespec pause{0, 10 * 1000 * 1000};
        ::nanosleep(&pause, nullptr);
    }
    write_record(status_fd, kRunning, 0);
    ::_exit(0);
}

std::vector<char*> pointers_to(QList<QByteArray>& strings) {
    std::vector<char*> out;
    out.reserve(static_cast<std::size_t>(strings.size()) + 1);
    for (QByteArray& s : strings) out.push_back(s.data());
    out.push_back(nullptr);
    return out;
}

void close_quietly(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

}  // namespace

// An ended process that nobody has reaped yet (init may be slow to) counts as gone.
bool process_alive(pid_t pid) {
    if (::kill(pid, 0) != 0 && errno != EPERM) return false;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return true;
    const QByteArray fields = stat.readAll();
    const qsizetype name_end = fields.lastIndexOf(')');
    return name_end < 0 || fields.mid(name_end + 2, 1) != "Z";
}

QString find_program(const QString& name, const QString& path_list) {
    const auto executable = [](const QString& file) {
        const QFileInfo info(file);
        return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
    };
    if (name.isEmpty()) return {};
    if (name.contains(u'/')) return executable(name);
    for (const QString& dir : path_list.split(u':', Qt::SkipEmptyParts)) {
        if (!QDir::isAbsolutePath(dir)) continue;
        const QString found = executable(QDir(dir).filePath(name));
        if (!found.isEmpty()) return found;
    }
    return {};
}

QString find_program(const QString& name) {
    return find_program(name, qEnvironmentVariable("PATH"));
}

Launch launch_detached(const QString& program, const QStringList& arguments,
                       const LaunchOptions& options) {
    Launch result;
    const QString path_list = options.environment
                                  ? options.environment->value(QStringLiteral("PATH"))
                                  : qEnvironmentVariable("PATH");
    const QString path = find_program(program, path_list);
    if (path.isEmpty()) {
        result.error = ENOENT;
        return result;
    }

    QByteArray path_bytes = QFile::encodeName(path);
    QList<QByteArray> arg_bytes{QFile::encodeName(program)};
    for (const QString& a : arguments) arg_bytes << QFile::encodeName(a);
    QList<QByteArray> env_bytes;
    if (options.environment) {
        for (const QString& e : options.environment->toStringList()) env_bytes << e.toLocal8Bit();
    }
    std::vector<char*> argv = pointers_to(arg_bytes);
    std::vector<char*> envp = pointers_to(env_bytes);

    int input[2] = {-1, -1};
    int status[2] = {-1, -1};
    if ((options.stdin_pipe && ::pipe2(input, O_CLOEXEC) != 0) || ::pipe2(status, O_CLOEXEC) != 0) {
        result.error = errno;
        close_quietly(input[0]);
        close_quietly(input[1]);
        return result;
    }
    const ExecPlan plan{path_bytes.constData(), argv.data(),
                        options.environment ? envp.data() : nullptr, input[0],
                        std::max(options.watch_ms, 0)};

    const pid_t middle = ::fork();
    if (middle < 0) {
        result.error = errno;
        close_quietly(input[0]);
        close_quietly(input[1]);
        close_quietly(status[0]);
        close_quietly(status[1]);
        return result;
    }
    if (middle == 0) run_middle(plan, status[1]);

    close_quietly(input[0]);
    close_quietly(status[1]);
    while (::waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
    }

    // Read until every writer is gone: the middle process has left, and the program has either
    // replaced its image (close-on-exec) or said why it could not.
    pid_t started = -1;
    int error = 0;
    int watched = 0;
    StatusRecord r{};
    for (;;) {
        const ssize_t n = ::read(status[0], &r, sizeof r);
        if (n < 0 && errno == EINTR) continue;
        if (n != static_cast<ssize_t>(sizeof r)) break;
        if (r.kind == kPid) started = r.value;
        if (r.kind == kExecFailed || r.kind == kForkFailed) error = r.value;
        if (r.kind == kExitedOk || r.kind == kExitedBadly || r.kind == kRunning) watched = r.kind;
    }
    close_quietly(status[0]);

    if (started <= 0 || error != 0 || watched == 0) {
        result.error = error != 0 ? error : ECHILD;
        close_quietly(input[1]);
        return result;
    }
    result.pid = started;
    result.stdin_fd = input[1];
    result.outcome = watched == kExitedOk      ? LaunchOutcome::ExitedOk
                     : watched == kExitedBadly ? LaunchOutcome::ExitedBadly
                                               : LaunchOutcome::StillRunning;
    return result;
}

}  // namespace ristemo::platform
