#include <fcntl.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>
#include <cerrno>
#include <csignal>
#include <optional>

#include "platform/linux/detached_launch.h"
#include "qt_print.h"
#include "support/files.h"
#include "xdg_sandbox.h"

namespace ristemo::platform {

// Found by argument lookup, hence outside the anonymous namespace.
void PrintTo(LaunchOutcome outcome, std::ostream* os) {
    static const char* const names[] = {"NotStarted", "ExitedOk", "ExitedBadly", "StillRunning"};
    *os << names[static_cast<int>(outcome)];
}

namespace {

using test::read_file;
using test::write_file;

// Nothing is left for us to reap: the program was never our child, the middle one was reaped.
void expect_no_children() {
    int status = 0;
    EXPECT_EQ(waitpid(-1, &status, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

struct OutcomeRow {
    const char* name;
    // The program file; nullptr: no file at all. RELEASE stands for a file that the test
    // creates once launch_detached has returned, so a program waiting for it is still running
    // then, whatever the machine's speed. It also stops when its own file goes with the sandbox.
    const char* content;
    bool executable;
    int watch_ms;
    LaunchOutcome expected;
};
void PrintTo(const OutcomeRow& row, std::ostream* os) {
    *os << row.name;
}

class LaunchOutcomes : public ::testing::TestWithParam<OutcomeRow> {};

TEST_P(LaunchOutcomes, Outcome) {
    const OutcomeRow& row = GetParam();
    test::XdgSandbox sandbox;
    const QString program = sandbox.path("bin/program");
    const QString release = sandbox.path("release");
    if (row.content) {
        ASSERT_TRUE(write_file(
            program, QByteArray(row.content).replace("RELEASE", QFile::encodeName(release)),
            row.executable));
    }
    LaunchOptions options;
    options.watch_ms = row.watch_ms;
    const Launch launch = launch_detached(program, {}, options);
    QFile(release).open(QIODevice::WriteOnly);
    EXPECT_EQ(launch.outcome, row.expected);
    EXPECT_EQ(launch.stdin_fd, -1);
    if (launch.started()) {
        EXPECT_GT(launch.pid, 0);
        EXPECT_EQ(launch.error, 0);
    } else {
        EXPECT_EQ(launch.pid, -1);
        EXPECT_NE(launch.error, 0);
    }
    expect_no_children();
}

INSTANTIATE_TEST_SUITE_P(
    Table, LaunchOutcomes,
    ::testing::Values(
        OutcomeRow{"exits_zero", "#!/bin/sh\nexit 0\n", true, 400, LaunchOutcome::ExitedOk},
        OutcomeRow{"exits_nonzero", "#!/bin/sh\nexit 3\n", true, 400, LaunchOutcome::ExitedBadly},
        OutcomeRow{"killed", "#!/bin/sh\nkill -KILL $$\n", true, 400, LaunchOutcome::ExitedBadly},
        OutcomeRow{"keeps_running",
                   "#!/bin/sh\nwhile [ ! -e RELEASE ] && [ -e \"$0\" ]; do sleep 0.05; done\n",
                   true, 400, LaunchOutcome::StillRunning},
        OutcomeRow{"unwatched_returns_once_started",
                   "#!/bin/sh\nwhile [ ! -e RELEASE ] && [ -e \"$0\" ]; do sleep 0.05; done\n",
                   true, 0, LaunchOutcome::StillRunning},
        OutcomeRow{"missing_program", nullptr, true, 400, LaunchOutcome::NotStarted},
        OutcomeRow{"not_executable", "#!/bin/sh\nexit 0\n", false, 400, LaunchOutcome::NotStarted},
        // Executable, but execve itself fails: that is not starting, not a bad exit.
        OutcomeRow{"exec_fails_watched", "#!/nonexistent/interpreter\n", true, 400,
                   LaunchOutcome::NotStarted},
        OutcomeRow{"exec_fails_unwatched", "#!/nonexistent/interpreter\n", true, 0,
                   LaunchOutcome::NotStarted}),
    [](const auto& info) { return std::string(info.param.name); });

// Points our own standard output and error at a file for as long as it lives.
class OurOutputCaptured {
public:
    explicit OurOutputCaptured(const QString& file) {
        fflush(stdout);
        fflush(stderr);
        const int fd = ::open(QFile::encodeName(file).constData(), O_WRONLY | O_CREAT, 0600);
        saved_out_ = ::dup(STDOUT_FILENO);
        saved_err_ = ::dup(STDERR_FILENO);
        ::dup2(fd, STDOUT_FILENO);
        ::dup2(fd, STDERR_FILENO);
        ::close(fd);
    }
    ~OurOutputCaptured() { restore(); }
    void restore() {
        if (saved_out_ < 0) return;
        ::dup2(saved_out_, STDOUT_FILENO);
        ::dup2(saved_err_, STDERR_FILENO);
        ::close(saved_out_);
        ::close(saved_err_);
        saved_out_ = saved_err_ = -1;
    }
    OurOutputCaptured(const OurOutputCaptured&) = delete;
    OurOutputCaptured& operator=(const OurOutputCaptured&) = delete;

private:
    int saved_out_ = -1;
    int saved_err_ = -1;
};

// What the started program finds around itself.
struct SurroundingsRow {
    const char* name;
    int watch_ms;
    bool given_environment;  // a whole environment of our making instead of ours
    bool stdin_pipe;
    QByteArray input;  // written through the pipe
    LaunchOutcome expected;
    const char* stdin_kind;  // what its standard input is: "/dev/null" or "pipe"
    const char* probe;       // the probe variable it sees
};
void PrintTo(const SurroundingsRow& row, std::ostream* os) {
    *os << row.name;
}

class LaunchSurroundings : public ::testing::TestWithParam<SurroundingsRow> {};

TEST_P(LaunchSurroundings, ProgramSeesExactlyWhatItWasGiven) {
    const SurroundingsRow& row = GetParam();
    test::XdgSandbox sandbox;
    sandbox.set("RISTEMO_LAUNCH_PROBE", "ours");
    sandbox.set("PATH", sandbox.path("bin"));
    const QString program = sandbox.path("bin/report");
    const QString out = sandbox.path("report.txt");
    const QString captured = sandbox.path("our-output.txt");
    // Writes to its standard output and error first, then records what it sees, all at once.
    ASSERT_TRUE(write_file(program,
                           "#!/bin/sh\necho leaked; echo leaked >&2\n"
                           "f=/proc/$$/fd; in=$(/bin/readlink $f/0); out=$(/bin/readlink $f/1)\n"
                           "err=$(/bin/readlink $f/2)\n"
                           "{ printf 'pid %s\\n' \"$$\"\n"
                           "  printf 'sid %s\\n' \"$(/usr/bin/cut -d' ' -f6 /proc/$$/stat)\"\n"
                           "  printf 'in %s\\nout %s\\nerr %s\\n' \"$in\" \"$out\" \"$err\"\n"
                           "  printf 'probe %s\\n' \"${RISTEMO_LAUNCH_PROBE-unset}\"\n"
                           "  for a in \"$@\"; do printf 'arg %s\\n' \"$a\"; done\n"
                           "  printf 'read %s\\n' \"$(/bin/cat)\"; } > '" +
                               out.toLocal8Bit() + ".part'\n/bin/mv '" + out.toLocal8Bit() +
                               ".part' '" + out.toLocal8Bit() + "'\n",
                           true));

    LaunchOptions options;
    options.watch_ms = row.watch_ms;
    options.stdin_pipe = row.stdin_pipe;
    if (row.given_environment) {
        QProcessEnvironment env;
        env.insert("PATH", sandbox.path("bin"));
        env.insert("RISTEMO_LAUNCH_PROBE", "given");
        options.environment = env;
    }
    const QStringList args = {"two words", "$(id)", "a\"b'c", ""};
    std::optional<OurOutputCaptured> capture(std::in_place, captured);
    // By name, found in the PATH it will run with.
    const Launch launch = launch_detached("report", args, options);
    if (launch.stdin_fd >= 0) {
        EXPECT_EQ(::write(launch.stdin_fd, row.input.constData(), row.input.size()),
                  row.input.size());
        ::close(launch.stdin_fd);
    }
    // A cap for a hung run only: the report appears (renamed into place) when the program has run.
    QDeadlineTimer deadline(60000);
    while (!QFile::exists(out) && !deadline.hasExpired()) QThread::msleep(10);
    capture.reset();

    EXPECT_EQ(launch.outcome, row.expected);
    EXPECT_EQ(launch.stdin_fd >= 0, row.stdin_pipe);
    expect_no_children();
    // Its output is not tied to ours.
    EXPECT_EQ(read_file(captured), QByteArray());

    const QStringList lines = QString::fromUtf8(read_file(out)).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 11) << lines.join('|').toStdString();
    EXPECT_EQ(lines[0], "pid " + QString::number(launch.pid));
    // The leader of a session of its own, not of ours.
    EXPECT_EQ(lines[1], "sid " + QString::number(launch.pid));
    EXPECT_NE(lines[1], "sid " + QString::number(getsid(0)));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("in ") + row.stdin_kind))
        << lines[2].toStdString();
    EXPECT_EQ(lines[3], QStringLiteral("out /dev/null"));
    EXPECT_EQ(lines[4], QStringLiteral("err /dev/null"));
    EXPECT_EQ(lines[5], QStringLiteral("probe ") + row.probe);
    EXPECT_EQ(lines.mid(6, 4), QStringList({"arg two words", "arg $(id)", "arg a\"b'c", "arg "}));
    EXPECT_EQ(lines[10], "read " + QString::fromUtf8(row.input));
}

INSTANTIATE_TEST_SUITE_P(
    Table, LaunchSurroundings,
    ::testing::Values(SurroundingsRow{"watched_with_our_environment", 3000, false, false, "",
                                      LaunchOutcome::ExitedOk, "/dev/null", "ours"},
                      SurroundingsRow{"unwatched_with_our_environment", 0, false, false, "",
                                      LaunchOutcome::StillRunning, "/dev/null", "ours"},
                      SurroundingsRow{"given_environment_and_input_pipe", 0, true, true,
                                      "text through the pipe", LaunchOutcome::StillRunning,
                                      "pipe:", "given"},
                      SurroundingsRow{"given_environment_without_pipe", 3000, true, false, "",
                                      LaunchOutcome::ExitedOk, "/dev/null", "given"}),
    [](const auto& info) { return std::string(info.param.name); });

// A program whose reader has gone gives the writer EPIPE, once SIGPIPE is blocked as the editor
// export does, and the write end is ours alone: no other process keeps the pipe open.
TEST(LaunchInputPipe, ReaderGoneBreaksThePipe) {
    sigset_t pipe_signal;
    sigemptyset(&pipe_signal);
    sigaddset(&pipe_signal, SIGPIPE);
    ASSERT_EQ(pthread_sigmask(SIG_BLOCK, &pipe_signal, nullptr), 0);
    test::XdgSandbox sandbox;
    const QString program = sandbox.path("bin/program");
    ASSERT_TRUE(write_file(program, "#!/bin/sh\nexit 0\n", true));
    LaunchOptions options;
    options.stdin_pipe = true;
    options.watch_ms = 60000;  // ends as soon as the program does
    const Launch launch = launch_detached(program, {}, options);
    ASSERT_EQ(launch.outcome, LaunchOutcome::ExitedOk);
    ASSERT_GE(launch.stdin_fd, 0);
    const char byte = 'x';
    EXPECT_EQ(::write(launch.stdin_fd, &byte, 1), -1);
    EXPECT_EQ(errno, EPIPE);
    ::close(launch.stdin_fd);
}

TEST(FindProgram, NamesInAbsoluteFoldersOfThePathPathsAsTheyAre) {
    test::XdgSandbox sandbox;
    const QString first = sandbox.path("bin");
    const QString second = sandbox.path("more/bin");
    ASSERT_TRUE(QDir().mkpath(second + "/sub"));
    const QByteArray script = "#!/bin/sh\nexit 0\n";
    ASSERT_TRUE(write_file(first + "/gedit", script, true));
    ASSERT_TRUE(write_file(second + "/gedit", script, true));
    ASSERT_TRUE(write_file(second + "/kate", script, true));
    ASSERT_TRUE(write_file(second + "/sub/gedit", script, true));
    ASSERT_TRUE(write_file(first + "/kwrite", script));
    const QString both = first + "::" + second;
    sandbox.set("PATH", both);
    struct Case {
        const char* name;
        QString program;
        std::optional<QString> path_list;  // unset: ours
        QString expected;
    } cases[] = {
        {"first_folder_wins", "gedit", both, first + "/gedit"},
        {"later_folder", "kate", both, second + "/kate"},
        {"not_executable", "kwrite", both, {}},
        {"absent", "pluma", both, {}},
        {"relative_folder_ignored", "gedit", QStringLiteral("relative/bin"), {}},
        {"name_with_slash_not_looked_up", "sub/gedit", both, {}},
        {"absolute_path_as_it_is", first + "/gedit", second, first + "/gedit"},
        {"path_to_a_plain_file", "/etc/passwd", both, {}},
        {"folder_is_no_program", first, both, {}},
        {"empty_name", "", both, {}},
        {"our_path", "kate", std::nullopt, second + "/kate"},
        {"our_path_without_it", "pluma", std::nullopt, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.path_list ? find_program(c.program, *c.path_list) : find_program(c.program),
                  c.expected);
    }
}

}  // namespace
}  // namespace ristemo::platform
