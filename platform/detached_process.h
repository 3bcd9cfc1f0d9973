#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <QList>

namespace ristemo::platform {

struct DetachedProcess {
    pid_t pid = -1;     // of the started program; -1 when it could not be started
    int stdin_fd = -1;  // write end of its standard input when asked for, else -1
    int error = 0;      // errno of the failed step when pid is -1
};

// Starts program (an absolute path) as the leader of a new session, a grandchild that init adopts:
// it outlives this process and never becomes our zombie. With stdin_pipe the caller gets the
// write end of a pipe on the program's standard input (close-on-exec, blocking); otherwise the
// program reads /dev/null. argv[0] included in arguments; environment as KEY=VALUE entries.
// Safe to call from any thread.
DetachedProcess start_in_new_session(const QByteArray& program, const QList<QByteArray>& arguments,
                                     const QList<QByteArray>& environment, bool stdin_pipe);

}  // namespace ristemo::platform
