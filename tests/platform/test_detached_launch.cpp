#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <cerrno>

#include "platform/detached_launch.h"
#include "qt_print.h"
#include "xdg_sandbox.h"

namespace ristemo::platform {
namespace {

struct WatchRow {
    const char* name;
    const char* script;  // nullptr: no program file at all
    bool executable;
    WatchedStart expected;
};
void PrintTo(const WatchRow& row, std::ostream* os) {
    *os << row.name;
}

class WatchedLaunch : public ::testing::TestWithParam<WatchRow> {};

TEST_P(WatchedLaunch, Outcome) {
    const WatchRow& row = GetParam();
    test::XdgSandbox sandbox;
    const QString program = sandbox.path("bin/program");
    if (row.script) {
        QFile f(program);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("#!/bin/sh\n") + row.script + "\n");
        f.close();
        if (row.executable) f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    }
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(start_detached_watched(program, {}, 400), row.expected);
    // The watch never holds the caller much beyond its limit, whatever the program does.
    EXPECT_LT(timer.elapsed(), 2500);
    // Nothing is left for us to reap: the program was never our child.
    int status = 0;
    EXPECT_EQ(waitpid(-1, &status, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WatchedLaunch,
    ::testing::Values(WatchRow{"exits_zero", "exit 0", true, WatchedStart::ExitedOk},
                      WatchRow{"exits_nonzero", "exit 3", true, WatchedStart::ExitedBadly},
                      WatchRow{"killed", "kill -KILL $$", true, WatchedStart::ExitedBadly},
                      WatchRow{"keeps_running", "sleep 3", true, WatchedStart::StillRunning},
                      WatchRow{"missing_program", nullptr, true, WatchedStart::NotStarted},
                      WatchRow{"not_executable", "exit 0", false, WatchedStart::NotStarted}),
    [](const auto& info) { return std::string(info.param.name); });

// The program gets exactly our arguments, runs in a session of its own, and its output does not
// go to ours.
TEST(WatchedLaunchProcess, ArgumentsSessionAndOutput) {
    test::XdgSandbox sandbox;
    const QString program = sandbox.path("bin/report");
    const QString out = sandbox.path("report.txt");
    QFile f(program);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(
        "#!/bin/sh\nsid=$(cut -d' ' -f6 /proc/$$/stat)\nout=$(readlink /proc/$$/fd/1)\n"
        "{ for a in \"$@\"; do printf 'arg %s\\n' \"$a\"; done\n"
        "  printf 'sid %s\\nout %s\\n' \"$sid\" \"$out\"; } > '" +
        out.toLocal8Bit() + "'\n");
    f.close();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner);

    const QStringList args = {"two words", "$(id)", "a\"b'c", ""};
    ASSERT_EQ(start_detached_watched(program, args, 2000), WatchedStart::ExitedOk);
    QFile result(out);
    ASSERT_TRUE(result.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(result.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines.mid(0, 4), QStringList({"arg two words", "arg $(id)", "arg a\"b'c", "arg "}));
    EXPECT_NE(lines[4], QStringLiteral("sid ") + QString::number(getsid(0)));
    EXPECT_EQ(lines[5], QStringLiteral("out /dev/null"));
}

TEST(FindProgram, PathsAndNames) {
    EXPECT_EQ(find_program(QStringLiteral("sh")).isEmpty(), false);
    EXPECT_TRUE(find_program(QStringLiteral("ristemo-no-such-program")).isEmpty());
    EXPECT_TRUE(find_program(QStringLiteral("/etc/passwd")).isEmpty());
    EXPECT_TRUE(find_program(QString()).isEmpty());
    EXPECT_EQ(find_program(QStringLiteral("/bin/sh")), QStringLiteral("/bin/sh"));
}

}  // namespace
}  // namespace ristemo::platform
