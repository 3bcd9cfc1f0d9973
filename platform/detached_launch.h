#pragma once

#include <QString>
#include <QStringList>

namespace ristemo::platform {

// The absolute path of an executable program: `name` itself when it contains a slash, otherwise
// looked up in PATH. Empty when there is no such executable.
QString find_program(const QString& name);

enum class WatchedStart {
    NotStarted,    // no such program, or the system could not start it
    ExitedOk,      // it finished with status 0 within the wait
    ExitedBadly,   // it finished with another status, or was killed, within the wait
    StillRunning,  // it was still running when the wait ended; it goes on on its own
};

// Starts a program in a session of its own, with standard input and output on /dev/null, and
// watches it for at most `wait_ms` milliseconds. The program is never our child: whether it ends
// within the wait or later, it leaves no zombie behind. Blocks the caller for at most the wait.
WatchedStart start_detached_watched(const QString& program, const QStringList& arguments,
                                    int wait_ms);

// Starts a program in a session of its own, with standard input and output on /dev/null, without
// waiting for it. False when it could not be started.
bool start_detached(const QString& program, const QStringList& arguments);

}  // namespace ristemo::platform
