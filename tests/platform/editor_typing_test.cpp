// Runs under an X server of its own (tests/support/with_xvfb), with the stand-in editor named
// as mousepad.
#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <iostream>

#include "editor_test_support.h"
#include "platform/linux_editor_export.h"
#include "x11_helpers.h"

namespace ristemo::platform {
namespace {

using test::FakeBin;
using test::read_file;
using test::wait_until;

// What the stand-in editor holds once typing is done: every Return made a line end.
QByteArray typed_result(int lines) {
    const QStringList all = typed_lines(test::thirteen_line_report());
    QByteArray out;
    for (int i = 0; i < lines; ++i) out += all[i].toUtf8() + '\n';
    return out;
}

class TypingExport : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(qEnvironmentVariable("DISPLAY").isEmpty())
            << "run under tests/support/with_xvfb";
        bin_.install(QStringLiteral("mousepad"), STAND_IN_EDITOR_PATH);
    }

    void TearDown() override {
        // The stand-in editors started here say who they are; end them all.
        const QDir dir(files_.path());
        for (const QString& name : dir.entryList({QStringLiteral("*.pid")}, QDir::Files)) {
            const qint64 pid = read_file(dir.filePath(name)).trimmed().toLongLong();
            if (pid > 0) ::kill(static_cast<pid_t>(pid), SIGTERM);
        }
    }

    LinuxEditorExport::Options options() const {
        LinuxEditorExport::Options o;
        o.environment = QProcessEnvironment::systemEnvironment();
        o.environment.insert("PATH", bin_.path());
        o.environment.insert("QT_QPA_PLATFORM", "xcb");
        o.environment.insert("STAND_IN_EDITOR_OUTPUT", output_);
        o.environment.remove("WAYLAND_DISPLAY");
        o.environment.remove("XDG_SESSION_TYPE");
        return o;
    }

    FakeBin bin_;
    QTemporaryDir files_;
    QString output_ = QDir(files_.path()).filePath(QStringLiteral("editor.txt"));
    QString other_output_ = QDir(files_.path()).filePath(QStringLiteral("other.txt"));
    QStringList failures_;
};

TEST_F(TypingExport, TheNewEditorReceivesAllThirteenLinesWithAccentsIntact) {
    // Xvfb's keymap has neither sign, so both go through spare keycodes.
    ASSERT_FALSE(test::keymap_has("agrave"));
    ASSERT_FALSE(test::keymap_has("copyright"));
    const std::vector<unsigned long> keymap_before = test::keyboard_mapping();
    ASSERT_FALSE(keymap_before.empty());

    LinuxEditorExport exporter(options());
    QElapsedTimer clock;
    clock.start();
    exporter.export_text(test::thirteen_line_report(),
                         [this](const QString& m) { failures_ << m; });
    const qint64 returned_after = clock.elapsed();
    const QByteArray expected = typed_result(13);
    const bool complete = wait_until([&] { return read_file(output_) == expected; }, 20000);
    const qint64 delivered_after = clock.elapsed();
    std::cout << "[ timing ] typing path: export_text returned after "
              << QString::number(returned_after).toStdString()
              << " ms, complete text in the editor after "
              << QString::number(delivered_after).toStdString() << " ms\n";
    EXPECT_TRUE(complete);
    EXPECT_EQ(QString::fromUtf8(read_file(output_)), QString::fromUtf8(expected));

    exporter.wait_for_exports();
    QCoreApplication::processEvents();
    EXPECT_TRUE(failures_.isEmpty()) << failures_.join('\n').toStdString();
    EXPECT_EQ(test::keyboard_mapping(), keymap_before) << "spare keycodes were not restored";
}

TEST_F(TypingExport, FocusTakenByAnotherWindowStopsTheTyping) {
    QProcess other;
    QProcessEnvironment other_env = options().environment;
    other_env.insert("STAND_IN_EDITOR_OUTPUT", other_output_);
    other.setProcessEnvironment(other_env);
    other.start(STAND_IN_EDITOR_PATH, {});
    ASSERT_TRUE(other.waitForStarted());
    ASSERT_TRUE(wait_until([&] { return QFile::exists(other_output_); }, 10000));
    const qint64 other_pid = other.processId();

    constexpr int kLinesBeforeSwitch = 4;
    LinuxEditorExport::Options o = options();
    bool switched = false;
    o.before_typed_line = [other_pid, &switched](int line, qint64) {
        // Another program takes the focus in the middle of the export.
        if (line == kLinesBeforeSwitch) switched = test::focus_window_of(other_pid, 5000);
    };
    LinuxEditorExport exporter(o);
    exporter.export_text(test::thirteen_line_report(),
                         [this](const QString& m) { failures_ << m; });
    ASSERT_TRUE(wait_until([&] { return !failures_.isEmpty(); }, 20000));
    exporter.wait_for_exports();
    ASSERT_TRUE(switched);
    EXPECT_EQ(failures_, QStringList{editor_messages::focus_lost(QStringLiteral("mousepad"))});

    // Give stray keystrokes time to arrive before looking.
    wait_until([] { return false; }, 500);
    EXPECT_EQ(read_file(other_output_), QByteArray()) << "keys went into the other window";
    EXPECT_EQ(QString::fromUtf8(read_file(output_)),
              QString::fromUtf8(typed_result(kLinesBeforeSwitch)));
    other.kill();
    other.waitForFinished();
}

TEST_F(TypingExport, TwoExportsInARowGiveTwoEditorsEachWithTheWholeText) {
    LinuxEditorExport::Options o = options();
    o.environment.insert("STAND_IN_EDITOR_OUTPUT",
                         QDir(files_.path()).filePath(QStringLiteral("editor-{pid}.txt")));
    LinuxEditorExport exporter(o);
    const auto on_failure = [this](const QString& m) { failures_ << m; };
    exporter.export_text(test::thirteen_line_report(), on_failure);
    exporter.export_text(test::thirteen_line_report(), on_failure);

    const QDir dir(files_.path());
    const QByteArray expected = typed_result(13);
    const auto texts = [&] {
        QList<QByteArray> out;
        for (const QString& name : dir.entryList({QStringLiteral("editor-*.txt")}, QDir::Files))
            out << read_file(dir.filePath(name));
        return out;
    };
    const bool both = wait_until(
        [&] {
            return texts() == QList<QByteArray>{expected, expected};
        },
        30000);
    EXPECT_TRUE(both) << texts().size() << " editors";
    exporter.wait_for_exports();
    QCoreApplication::processEvents();
    EXPECT_TRUE(failures_.isEmpty()) << failures_.join('\n').toStdString();
}

struct NoWindowCase {
    const char* name;
    const char* linger_seconds;  // how long the windowless "editor" stays
    QString expected_message;
};

TEST_F(TypingExport, AnEditorWithoutAFocusedWindowGetsNothingAndTheUserIsTold) {
    const NoWindowCase cases[] = {
        {"window_never_appears", "5",
         editor_messages::window_not_focused(QStringLiteral("mousepad"))},
        {"editor_ends_at_once", "0", editor_messages::editor_closed(QStringLiteral("mousepad"))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeBin bin;
        bin.install(QStringLiteral("mousepad"), FAKE_STDIN_EDITOR_PATH);
        QTemporaryDir records;
        LinuxEditorExport::Options o = options();
        o.environment.insert("PATH", bin.path());
        o.environment.insert("FAKE_EDITOR_RECORD", QDir(records.path()).filePath("editor"));
        o.environment.insert("FAKE_EDITOR_LINGER", c.linger_seconds);
        o.focus_timeout_ms = 1000;
        QStringList failures;
        LinuxEditorExport exporter(o);
        QElapsedTimer clock;
        clock.start();
        exporter.export_text(test::thirteen_line_report(),
                             [&failures](const QString& m) { failures << m; });
        ASSERT_TRUE(wait_until([&] { return !failures.isEmpty(); }, 10000));
        QCoreApplication::processEvents();
        EXPECT_EQ(failures, QStringList{c.expected_message});
        EXPECT_LT(clock.elapsed(), 5000);
        const qint64 pid = read_file(QDir(records.path()).filePath("editor.pid")).toLongLong();
        if (pid > 0) ::kill(static_cast<pid_t>(pid), SIGTERM);
    }
}

}  // namespace
}  // namespace ristemo::platform
