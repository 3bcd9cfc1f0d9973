#include "platform/detached_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace ristemo::platform {

namespace {

// What the intermediate child and the program report back through the status pipe; each record
// is written with one write() below PIPE_BUF, so records never interleave.
struct StatusRecord {
    int kind;  // kPid, kExecFailed or kForkFailed
    int value;
};
constexpr int kPid = 1;
constexpr int kExecFailed = 2;
constexpr int kForkFailed = 3;

void write_record(int fd, int kind, int value) {
    const StatusRecord r{kind, value};
    ssize_t n;
    do {
        n = ::write(fd, &r, sizeof r);
    } while (n < 0 && errno == EINTR);
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

DetachedProcess start_in_new_session(const QByteArray& program, const QList<QByteArray>& arguments,
                                     const QList<QByteArray>& environment, bool stdin_pipe) {
    DetachedProcess result;
    // Everything the children need is prepared here: after fork() only async-signal-safe calls
    // are allowed, since other threads may hold the allocator's locks.
    QByteArray path = program;
    QList<QByteArray> args = arguments;
    QList<QByteArray> env = environment;
    std::vector<char*> argv = pointers_to(args);
    std::vector<char*> envp = pointers_to(env);
    const char* const path_c = path.constData();

    int input[2] = {-1, -1};
    int status[2] = {-1, -1};
    if ((stdin_pipe && ::pipe2(input, O_CLOEXEC) != 0) || ::pipe2(status, O_CLOEXEC) != 0) {
        result.error = errno;
        close_quietly(input[0]);
        close_quietly(input[1]);
        return result;
    }

    const pid_t child = ::fork();
    if (child < 0) {
        result.error = errno;
        close_quietly(input[0]);
        close_quietly(input[1]);
        close_quietly(status[0]);
        close_quietly(status[1]);
        return result;
    }
    if (child == 0) {
        const pid_t grandchild = ::fork();
        if (grandchild < 0) {
            write_record(status[1], kForkFailed, errno);
            ::_exit(1);
        }
        if (grandchild > 0) {
            write_record(status[1], kPid, grandchild);
            ::_exit(0);
        }
        // Leader of a session of its own: no terminal hang-up or job-control signal of ours
        // reaches it.
        ::setsid();
        sigset_t none;
        ::sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::signal(SIGPIPE, SIG_DFL);
        if (stdin_pipe) {
            ::dup2(input[0], STDIN_FILENO);
        } else {
            const int null_fd = ::open("/dev/null", O_RDONLY);
            if (null_fd >= 0) ::dup2(null_fd, STDIN_FILENO);
        }
        ::execve(path_c, argv.data(), envp.data());
        write_record(status[1], kExecFailed, errno);
        ::_exit(127);
    }

    close_quietly(input[0]);
    close_quietly(status[1]);
    int child_status = 0;
    while (::waitpid(child, &child_status, 0) < 0 && errno == EINTR) {
    }

    // Read until every writer is gone: the intermediate child has exited and the program has
    // either replaced its image (close-on-exec) or reported why it could not.
    pid_t started = -1;
    int error = 0;
    StatusRecord r{};
    for (;;) {
        const ssize_t n = ::read(status[0], &r, sizeof r);
        if (n < 0 && errno == EINTR) continue;
        if (n != static_cast<ssize_t>(sizeof r)) break;
        if (r.kind == kPid) started = r.value;
        if (r.kind == kExecFailed || r.kind == kForkFailed) error = r.value;
    }
    close_quietly(status[0]);

    if (started <= 0 || error != 0) {
        result.error = error != 0 ? error : ECHILD;
        close_quietly(input[1]);
        return result;
    }
    result.pid = started;
    result.stdin_fd = input[1];
    return result;
}

}  // namespace ristemo::platform
