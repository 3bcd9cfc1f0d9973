#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <iostream>

#include "editor_test_support.h"
#include "platform/linux/linux_editor_export.h"

namespace ristemo::platform {
namespace {

using test::FakeBin;
using test::read_file;
using test::wait_until;

struct ProcessState {
    bool exists = false;
    char state = '?';
    qint64 parent = 0;
    qint64 session = 0;
};

// From /proc/<pid>/stat: "pid (comm) state ppid pgrp session ...".
ProcessState process_state(qint64 pid) {
    ProcessState s;
    const QByteArray stat = read_file(QStringLiteral("/proc/%1/stat").arg(pid));
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0) return s;
    const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
    if (fields.size() < 4) return s;
    s.exists = true;
    s.state = fields[0].isEmpty() ? '?' : fields[0][0];
    s.parent = fields[1].toLongLong();
    s.session = fields[3].toLongLong();
    return s;
}

// Our own children that have ended and were never reaped.
QList<qint64> our_zombie_children() {
    QList<qint64> zombies;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        bool numeric = false;
        const qint64 pid = entry.toLongLong(&numeric);
        if (!numeric) continue;
        const ProcessState s = process_state(pid);
        if (s.exists && s.parent == ::getpid() && s.state == 'Z') zombies << pid;
    }
    return zombies;
}

// Options whose PATH holds only bin, where the test has installed its scripted "gedit".
LinuxEditorExport::Options scripted_gedit_options(const FakeBin& bin, int write_timeout_ms) {
    LinuxEditorExport::Options options;
    options.environment = QProcessEnvironment();
    options.environment.insert("PATH", bin.path());
    options.write_timeout_ms = write_timeout_ms;
    return options;
}

class StandardInputExport : public ::testing::Test {
protected:
    LinuxEditorExport::Options options_for(const QString& linger_seconds) {
        LinuxEditorExport::Options options;
        options.environment = QProcessEnvironment();
        options.environment.insert("PATH", bin_.path());
        options.environment.insert("FAKE_EDITOR_RECORD", record_);
        options.environment.insert("FAKE_EDITOR_LINGER", linger_seconds);
        return options;
    }

    void TearDown() override {
        // The fake editor lingers; end it here rather than leave it to outlive the test run.
        const qint64 pid = read_file(record_ + ".pid").trimmed().toLongLong();
        if (pid > 0 && process_state(pid).exists) ::kill(static_cast<pid_t>(pid), SIGTERM);
    }

    FakeBin bin_;
    QTemporaryDir records_;
    QString record_ = QDir(records_.path()).filePath(QStringLiteral("editor"));
    QStringList failures_;
};

TEST_F(StandardInputExport, GeditGetsTheTextByteForByteAndOutlivesUs) {
    bin_.install(QStringLiteral("gedit"), FAKE_STDIN_EDITOR_PATH);
    bin_.set_desktop_default(QStringLiteral("org.gnome.gedit.desktop"));
    // Standard input gets plain line feeds.
    const QByteArray expected = QByteArray::fromStdString(test::worked_example_text("\n"));

    QElapsedTimer clock;
    {
        LinuxEditorExport exporter(options_for(QStringLiteral("30")));
        clock.start();
        exporter.export_text(
            test::thirteen_line_report().toStdString(),
            [this](const std::string& m) { failures_ << QString::fromStdString(m); });
        const qint64 returned_after = clock.elapsed();
        ASSERT_TRUE(wait_until([&] { return QFile::exists(record_ + ".stdin"); }, 60000));
        const qint64 delivered_after = clock.elapsed();
        std::cout << "[ timing ] standard-input path: export_text returned after "
                  << QString::number(returned_after).toStdString()
                  << " ms, complete text in the editor after "
                  << QString::number(delivered_after).toStdString() << " ms\n";
    }  // the exporter goes, as when the calculator ends

    EXPECT_TRUE(failures_.isEmpty()) << failures_.join('\n').toStdString();
    EXPECT_EQ(read_file(record_ + ".stdin"), expected);
    EXPECT_EQ(read_file(record_ + ".args"), QByteArray("gedit\n-s\n-\n"));

    const qint64 pid = read_file(record_ + ".pid").trimmed().toLongLong();
    ASSERT_GT(pid, 0);
    const ProcessState editor = process_state(pid);
    ASSERT_TRUE(editor.exists);
    EXPECT_NE(editor.state, 'Z');
    EXPECT_NE(editor.parent, ::getpid()) << "the editor would die or linger as our child";
    EXPECT_EQ(editor.session, pid) << "the editor must lead a session of its own";
    EXPECT_TRUE(our_zombie_children().isEmpty());
}

struct StandardInputFailureCase {
    const char* name;
    QByteArray editor_script;  // installed as gedit
    qsizetype text_size;       // bytes of text to send
    QString expected_message;
};

TEST_F(StandardInputExport, FailuresAreReportedOnce) {
    const StandardInputFailureCase cases[] = {
        // More than a pipe holds, to an editor that never reads: the write gives up in time.
        {"editor_never_reads", "exec /bin/sleep 5 >/dev/null 2>&1", 1 << 20,
         editor_messages::text_not_delivered(QStringLiteral("gedit"))},
        // Gone before reading: the pipe breaks, and the calculator must not die of SIGPIPE.
        {"editor_exits_without_reading", "exit 0", 1 << 20,
         editor_messages::text_not_delivered(QStringLiteral("gedit"))},
        // A short text fits in the pipe, so the write succeeds: the editor's leaving with the
        // text unread must still be noticed.
        {"editor_quits_at_once_on_a_short_text", "exit 1", 1024,
         editor_messages::text_not_delivered(QStringLiteral("gedit"))},
        {"editor_reads_half_then_quits", "exec /usr/bin/head -c 100 >/dev/null", 1024,
         editor_messages::text_not_delivered(QStringLiteral("gedit"))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeBin bin;
        bin.install_script(QStringLiteral("gedit"), c.editor_script);
        QStringList failures;
        LinuxEditorExport exporter(scripted_gedit_options(bin, 300));
        QString text(c.text_size / 2, QLatin1Char('x'));
        text = text.replace(0, 2, QStringLiteral("\r\n"));
        exporter.export_text(text.toStdString(), [&failures](const std::string& m) {
            failures << QString::fromStdString(m);
        });
        ASSERT_TRUE(wait_until([&] { return !failures.isEmpty(); }, 60000));
        QCoreApplication::processEvents();
        EXPECT_EQ(failures, QStringList{c.expected_message});
    }
    EXPECT_TRUE(our_zombie_children().isEmpty());
}

TEST_F(StandardInputExport, AnEditorThatTakesTheWholeTextIsNoFailure) {
    const struct {
        const char* name;
        QByteArray editor_script;  // installed as gedit
    } cases[] = {
        // Its own business once it has the text; its status cannot be seen anyway.
        {"reads_then_quits_badly", "/bin/cat >/dev/null; exit 1"},
        {"reads_after_a_while", "/bin/sleep 0.5; exec /bin/cat >/dev/null"},
        // Still there at the timeout: it may yet read, so nothing is said.
        {"slower_than_the_timeout", "exec /bin/sleep 3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeBin bin;
        bin.install_script(QStringLiteral("gedit"), c.editor_script);
        QStringList failures;
        LinuxEditorExport exporter(scripted_gedit_options(bin, 1500));
        exporter.export_text(
            test::thirteen_line_report().toStdString(),
            [&failures](const std::string& m) { failures << QString::fromStdString(m); });
        exporter.wait_for_exports();
        QCoreApplication::processEvents();
        EXPECT_TRUE(failures.isEmpty()) << failures.join('\n').toStdString();
    }
}

TEST_F(StandardInputExport, AnEditorThatCannotStartIsReported) {
    bin_.install_script(QStringLiteral("kate"), "exit 0");
    // Executable, but its interpreter does not exist: execve itself fails.
    ASSERT_TRUE(test::write_file(QDir(bin_.path()).filePath(QStringLiteral("kate")),
                                 "#!/nonexistent/interpreter\n", true));
    LinuxEditorExport exporter(options_for(QStringLiteral("0")));
    exporter.export_text(test::thirteen_line_report().toStdString(),
                         [this](const std::string& m) { failures_ << QString::fromStdString(m); });
    ASSERT_TRUE(wait_until([&] { return !failures_.isEmpty(); }, 60000));
    EXPECT_EQ(failures_, QStringList{editor_messages::not_started(QStringLiteral("kate"))});
    EXPECT_TRUE(our_zombie_children().isEmpty());
}

TEST_F(StandardInputExport, TwoExportsOpenTwoEditorsEachWithTheWholeText) {
    bin_.install(QStringLiteral("kwrite"), FAKE_STDIN_EDITOR_PATH);
    LinuxEditorExport exporter(options_for(QStringLiteral("0")));
    exporter.export_text(test::thirteen_line_report().toStdString(),
                         [this](const std::string& m) { failures_ << QString::fromStdString(m); });
    ASSERT_TRUE(wait_until([&] { return QFile::exists(record_ + ".stdin"); }, 60000));
    const QByteArray first = read_file(record_ + ".stdin");
    QFile::remove(record_ + ".stdin");
    exporter.export_text(test::thirteen_line_report().toStdString(),
                         [this](const std::string& m) { failures_ << QString::fromStdString(m); });
    ASSERT_TRUE(wait_until([&] { return QFile::exists(record_ + ".stdin"); }, 60000));
    EXPECT_EQ(read_file(record_ + ".stdin"), first);
    EXPECT_EQ(first, standard_input_bytes(test::thirteen_line_report()));
    EXPECT_EQ(read_file(record_ + ".args"), QByteArray("kwrite\n--stdin\n"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(failures_.isEmpty());
}

}  // namespace
}  // namespace ristemo::platform
