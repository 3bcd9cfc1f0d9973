// Runs under an X server and a session bus of its own (dbus-run-session, tests/support/with_xvfb),
// with the stand-in editor named as mousepad (its text area reached through the accessibility
// bus) and as featherpad (key events sent to its window).
#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <atomic>
#include <iostream>
#include <thread>

#include "editor_test_support.h"
#include "platform/linux/linux_editor_export.h"
#include "x11_helpers.h"

namespace ristemo::platform {
namespace {

using test::FakeBin;
using test::read_file;
using test::wait_until;

// What the stand-in editor holds once the text is in: every line ended by a line feed.
QByteArray editor_text(int lines) {
    const QStringList all = typed_lines(test::thirteen_line_report());
    QByteArray out;
    for (int i = 0; i < lines; ++i) out += all[i].toUtf8() + '\n';
    return out;
}

// The two ways into an editor that reads no standard input.
const char* const kEditors[] = {"mousepad", "featherpad"};

class EditorWindowExport : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ASSERT_FALSE(qEnvironmentVariable("DISPLAY").isEmpty())
            << "run under tests/support/with_xvfb";
        ASSERT_FALSE(qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS").isEmpty())
            << "run under dbus-run-session";
        bin_.install(QString::fromUtf8(GetParam()), STAND_IN_EDITOR_PATH);
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
        o.environment.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
        o.environment.insert("STAND_IN_EDITOR_OUTPUT", output_);
        o.environment.remove("WAYLAND_DISPLAY");
        o.environment.remove("XDG_SESSION_TYPE");
        return o;
    }

    QString editor() const { return QString::fromUtf8(GetParam()); }

    FakeBin bin_;
    QTemporaryDir files_;
    QString output_ = QDir(files_.path()).filePath(QStringLiteral("editor.txt"));
    QString other_output_ = QDir(files_.path()).filePath(QStringLiteral("other.txt"));
    QStringList failures_;
};

TEST_P(EditorWindowExport, OnlyTheNewEditorGetsTheTextWhileAnotherWindowTakesTheFocus) {
    // Xvfb's keymap has neither sign: key events need spare keycodes for them.
    ASSERT_FALSE(test::keymap_has("agrave"));
    ASSERT_FALSE(test::keymap_has("copyright"));
    const std::vector<unsigned long> keymap_before = test::keyboard_mapping();
    ASSERT_FALSE(keymap_before.empty());

    // The user's notes, in another program's window that takes the focus every 50 ms.
    QProcess other;
    QProcessEnvironment other_env = options().environment;
    other_env.insert("STAND_IN_EDITOR_OUTPUT", other_output_);
    other.setProcessEnvironment(other_env);
    other.start(STAND_IN_EDITOR_PATH, {});
    ASSERT_TRUE(other.waitForStarted());
    ASSERT_TRUE(wait_until([&] { return QFile::exists(other_output_); }, 60000));
    const qint64 other_pid = other.processId();
    ASSERT_TRUE(test::focus_window_of(other_pid, 60000));
    std::atomic<bool> stop{false};
    std::thread thief([&] {
        while (!stop) {
            test::focus_window_of(other_pid, 100);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });

    LinuxEditorExport exporter(options());
    QElapsedTimer clock;
    clock.start();
    exporter.export_text(test::thirteen_line_report().toStdString(),
                         [this](const std::string& m) { failures_ << QString::fromStdString(m); });
    const QByteArray expected = editor_text(13);
    const bool complete = wait_until([&] { return read_file(output_) == expected; }, 60000);
    std::cout << "[ timing ] " << GetParam() << ": complete text in the editor after "
              << QString::number(clock.elapsed()).toStdString() << " ms\n";
    exporter.wait_for_exports();
    stop = true;
    thief.join();
    QCoreApplication::processEvents();
    // A key typed into the other window now queues behind any stray key the export sent: once it
    // has arrived, so would they have.
    ASSERT_TRUE(test::focus_window_of(other_pid, 60000));
    ASSERT_EQ(
        QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("z")}),
        0);
    const bool marker = wait_until([&] { return read_file(other_output_).endsWith('z'); }, 60000);

    EXPECT_TRUE(complete);
    EXPECT_EQ(QString::fromUtf8(read_file(output_)), QString::fromUtf8(expected));
    EXPECT_TRUE(marker) << "the other window took no key";
    EXPECT_EQ(read_file(other_output_), QByteArray("z")) << "text went into the other window";
    EXPECT_TRUE(failures_.isEmpty()) << failures_.join('\n').toStdString();
    EXPECT_EQ(test::keyboard_mapping(), keymap_before) << "spare keycodes were not restored";
    other.kill();
    other.waitForFinished();
}

TEST_P(EditorWindowExport, TwoExportsInARowGiveTwoEditorsEachWithTheWholeText) {
    LinuxEditorExport::Options o = options();
    o.environment.insert("STAND_IN_EDITOR_OUTPUT",
                         QDir(files_.path()).filePath(QStringLiteral("editor-{pid}.txt")));
    LinuxEditorExport exporter(o);
    const auto on_failure = [this](const std::string& m) {
        failures_ << QString::fromStdString(m);
    };
    exporter.export_text(test::thirteen_line_report().toStdString(), on_failure);
    exporter.export_text(test::thirteen_line_report().toStdString(), on_failure);

    const QDir dir(files_.path());
    const QByteArray expected = editor_text(13);
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
        60000);
    EXPECT_TRUE(both) << texts().size() << " editors";
    exporter.wait_for_exports();
    QCoreApplication::processEvents();
    EXPECT_TRUE(failures_.isEmpty()) << failures_.join('\n').toStdString();
}

struct NoWindowCase {
    const char* name;
    const char* linger_seconds;  // how long the windowless "editor" stays
    bool ends_first;             // it ends before the wait is over
};

TEST_P(EditorWindowExport, AnEditorWithoutAWindowGetsNothingAndTheUserIsTold) {
    const NoWindowCase cases[] = {
        {"window_never_appears", "120", false},
        {"editor_ends_at_once", "0", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeBin bin;
        bin.install(editor(), FAKE_STDIN_EDITOR_PATH);
        QTemporaryDir records;
        LinuxEditorExport::Options o = options();
        o.environment.insert("PATH", bin.path());
        o.environment.insert("FAKE_EDITOR_RECORD", QDir(records.path()).filePath("editor"));
        o.environment.insert("FAKE_EDITOR_LINGER", c.linger_seconds);
        // An editor that ends must be noticed at once: its row gets a timeout it cannot reach.
        o.window_timeout_ms = c.ends_first ? 60000 : 1000;
        QStringList failures;
        LinuxEditorExport exporter(o);
        exporter.export_text(
            test::thirteen_line_report().toStdString(),
            [&failures](const std::string& m) { failures << QString::fromStdString(m); });
        ASSERT_TRUE(wait_until([&] { return !failures.isEmpty(); }, 60000));
        QCoreApplication::processEvents();
        EXPECT_EQ(failures,
                  QStringList{c.ends_first ? editor_messages::editor_closed(editor())
                                           : editor_messages::window_not_ready(editor())});
        const qint64 pid = read_file(QDir(records.path()).filePath("editor.pid")).toLongLong();
        if (pid > 0) ::kill(static_cast<pid_t>(pid), SIGTERM);
    }
}

INSTANTIATE_TEST_SUITE_P(Editors, EditorWindowExport, ::testing::ValuesIn(kEditors),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace ristemo::platform
