#pragma once

#include <sys/types.h>

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <optional>

namespace ristemo::platform {

// The absolute path of an executable program: `name` itself when it contains a slash, otherwise
// looked up in the folders of `path_list` (PATH syntax; relative folders are skipped, so that the
// choice never depends on the working directory). Empty when there is no such executable.
QString find_program(const QString& name, const QString& path_list);

// The same, looked up in our own PATH.
QString find_program(const QString& name);

// True while process pid runs; an ended process that nobody has reaped yet counts as gone.
bool process_alive(pid_t pid);

enum class LaunchOutcome {
    NotStarted,    // no such program, or the system could not start it
    ExitedOk,      // it finished with status 0 within the watch
    ExitedBadly,   // it finished with another status, or was killed, within the watch
    StillRunning,  // it was running when the watch ended (at once when not watched); it goes on
};

struct LaunchOptions {
    // The program's whole environment, whose PATH also finds the program; unset: ours.
    std::optional<QProcessEnvironment> environment;
    // Hand back the write end of a pipe on the program's standard input; otherwise it reads
    // /dev/null. Its standard output and error always go to /dev/null.
    bool stdin_pipe = false;
    // How long to wait for the program to end and tell how it did; 0 returns once it started.
    int watch_ms = 0;
};

struct Launch {
    LaunchOutcome outcome = LaunchOutcome::NotStarted;
    pid_t pid = -1;     // of the program once started (it may have ended since); else -1
    int stdin_fd = -1;  // write end of its standard input (close-on-exec, blocking), or -1
    int error = 0;      // errno of the failed step when not started

    bool started() const { return outcome != LaunchOutcome::NotStarted; }
};

// Starts `program` (a name looked up in PATH, or a path; also its argv[0]) as the leader of a
// session of its own. It is never our child: init adopts it, so whether it ends within the watch
// or later it leaves no zombie behind, and it outlives us. Blocks the caller for at most the
// watch, plus the time to start the program. Safe to call from any thread.
Launch launch_detached(const QString& program, const QStringList& arguments,
                       const LaunchOptions& options = {});

}  // namespace ristemo::platform
