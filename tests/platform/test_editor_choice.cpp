#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include "editor_test_support.h"
#include "platform/linux/detached_launch.h"
#include "platform/linux/linux_editor_export.h"

namespace ristemo::platform {
namespace {

using test::FakeBin;
using test::read_file;
using test::wait_until;

struct DesktopEntryCase {
    const char* name;
    const char* entry;
    const char* editor;  // empty: none of ours
};

TEST(EditorForDesktopEntry, MapsTheDesktopsNamesToOurEditors) {
    const DesktopEntryCase cases[] = {
        {"gnome_text_editor_app_id", "org.gnome.TextEditor.desktop", "gnome-text-editor"},
        {"gnome_text_editor_plain", "gnome-text-editor.desktop", "gnome-text-editor"},
        {"gedit_app_id", "org.gnome.gedit.desktop", "gedit"},
        {"gedit_plain", "gedit.desktop", "gedit"},
        {"kwrite_app_id", "org.kde.kwrite.desktop", "kwrite"},
        {"kate_app_id", "org.kde.kate.desktop", "kate"},
        {"mousepad_app_id", "org.xfce.mousepad.desktop", "mousepad"},
        {"featherpad_plain", "featherpad.desktop", "featherpad"},
        {"pluma_plain", "pluma.desktop", "pluma"},
        {"surrounding_blanks", "  gedit.desktop\n", "gedit"},
        {"office_suite_is_not_ours", "libreoffice-writer.desktop", ""},
        {"other_editor_is_not_ours", "vim.desktop", ""},
        {"texteditor_of_another_vendor", "org.example.TextEditor.desktop", ""},
        {"nothing_set", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(editor_for_desktop_entry(QString::fromUtf8(c.entry)),
                  QString::fromUtf8(c.editor));
    }
}

struct ChoiceCase {
    const char* name;
    const char* desktop_entry;
    QStringList installed;
    bool window_events_possible;
    const char* editor;  // empty: no usable editor
    QStringList arguments;
    Delivery delivery;
};

TEST(ChooseEditor, PrefersTheDesktopDefaultThenTheListOrder) {
    const QStringList all = known_editors();
    const ChoiceCase cases[] = {
        {"desktop_default_installed",
         "org.kde.kate.desktop",
         {"gedit", "kate"},
         true,
         "kate",
         {"-n", "-i"},
         Delivery::StandardInput},
        {"desktop_default_missing_falls_to_list",
         "gedit.desktop",
         {"kwrite"},
         true,
         "kwrite",
         {"--stdin"},
         Delivery::StandardInput},
        {"unknown_default_falls_to_list",
         "vim.desktop",
         {"pluma", "mousepad"},
         true,
         "mousepad",
         {"--disable-server"},
         Delivery::Accessibility},
        {"no_default_first_of_list",
         "",
         all,
         true,
         "gnome-text-editor",
         {"-s", "-"},
         Delivery::StandardInput},
        {"gedit_reads_stdin",
         "",
         {"gedit", "pluma"},
         true,
         "gedit",
         {"-s", "-"},
         Delivery::StandardInput},
        {"accessibility_default_under_x11",
         "pluma.desktop",
         {"gedit", "pluma"},
         true,
         "pluma",
         {},
         Delivery::Accessibility},
        {"accessibility_default_under_wayland",
         "pluma.desktop",
         {"gedit", "pluma"},
         false,
         "pluma",
         {},
         Delivery::Accessibility},
        {"window_events_default_under_wayland_skipped",
         "featherpad.desktop",
         {"gedit", "featherpad"},
         false,
         "gedit",
         {"-s", "-"},
         Delivery::StandardInput},
        {"featherpad_new_instance",
         "",
         {"featherpad"},
         true,
         "featherpad",
         {"-s"},
         Delivery::WindowEvents},
        {"only_featherpad_under_wayland",
         "",
         {"featherpad"},
         false,
         "",
         {},
         Delivery::WindowEvents},
        {"nothing_installed", "gedit.desktop", {}, true, "", {}, Delivery::StandardInput},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QSet<QString> installed(c.installed.begin(), c.installed.end());
        const auto find = [&installed](const QString& name) {
            return installed.contains(name) ? QStringLiteral("/opt/bin/") + name : QString();
        };
        const auto chosen =
            choose_editor(QString::fromUtf8(c.desktop_entry), find, c.window_events_possible);
        if (*c.editor == '\0') {
            EXPECT_FALSE(chosen.has_value());
            continue;
        }
        ASSERT_TRUE(chosen.has_value());
        EXPECT_EQ(chosen->name, QString::fromUtf8(c.editor));
        EXPECT_EQ(chosen->path, QStringLiteral("/opt/bin/") + QString::fromUtf8(c.editor));
        EXPECT_EQ(chosen->arguments, c.arguments);
        EXPECT_EQ(chosen->delivery, c.delivery);
    }
}

TEST(WaylandSession, IsToldByEitherVariable) {
    struct Case {
        const char* name;
        const char* wayland_display;
        const char* session_type;
        bool expected;
    } cases[] = {
        {"x11_session", "", "x11", false},
        {"wayland_display_set", "wayland-0", "", true},
        {"session_type_wayland", "", "wayland", true},
        {"tty", "", "tty", false},
        {"nothing_set", nullptr, nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QProcessEnvironment env;
        if (c.wayland_display) env.insert("WAYLAND_DISPLAY", c.wayland_display);
        if (c.session_type) env.insert("XDG_SESSION_TYPE", c.session_type);
        EXPECT_EQ(is_wayland_session(env), c.expected);
    }
}

TEST(StandardInputBytes, TurnEachCrLfIntoOneLfInUtf8) {
    struct Case {
        const char* name;
        QString text;
        QByteArray expected;
    } cases[] = {
        {"one_line", QStringLiteral("Dati in ingresso:\r\n"), "Dati in ingresso:\n"},
        {"accented_letter", QStringLiteral("età : 70 anni\r\n"), "et\xc3\xa0 : 70 anni\n"},
        {"copyright_sign", QStringLiteral("© 2026\r\n"), "\xc2\xa9 2026\n"},
        {"two_lines", QStringLiteral("a\r\nb\r\n"), "a\nb\n"},
        {"lone_cr_kept", QStringLiteral("a\rb\r\n"), "a\rb\n"},
        {"lone_lf_kept", QStringLiteral("a\nb\r\n"), "a\nb\n"},
        {"cr_cr_lf", QStringLiteral("a\r\r\n"), "a\r\n"},
        {"empty", QString(), QByteArray()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(standard_input_bytes(c.text), c.expected);
    }
}

TEST(TypedLines, SplitAtEachCrLf) {
    struct Case {
        const char* name;
        QString text;
        QStringList expected;
    } cases[] = {
        {"two_lines", QStringLiteral("a\r\nb\r\n"), {"a", "b"}},
        {"blank_line_kept", QStringLiteral("a\r\n\r\nb\r\n"), {"a", "", "b"}},
        {"accents_untouched", QStringLiteral("età\r\n©\r\n"), {"età", "©"}},
        {"empty", QString(), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(typed_lines(c.text), c.expected);
    }
}

// The whole choice as the program makes it: programs found on PATH, the desktop default from
// xdg-mime, then the editor started with its arguments, or the user told why not.
struct ExportCase {
    const char* name;
    const char* desktop_entry;  // nullptr: no xdg-mime installed
    QStringList installed;
    const char* display;
    const char* wayland_display;
    QStringList expected_args;  // name then arguments; empty: no editor started
    QString expected_message;   // empty: no failure
};

TEST(LinuxEditorExport, StartsTheChosenEditorOrSaysWhyNot) {
    const ExportCase cases[] = {
        {"desktop_default_gedit",
         "org.gnome.gedit.desktop",
         {"kate", "gedit"},
         "",
         "",
         {"gedit", "-s", "-"},
         {}},
        {"desktop_default_kate",
         "org.kde.kate.desktop",
         {"gedit", "kate"},
         "",
         "",
         {"kate", "-n", "-i"},
         {}},
        {"default_not_installed",
         "org.gnome.gedit.desktop",
         {"kwrite", "kate"},
         "",
         "",
         {"kwrite", "--stdin"},
         {}},
        {"no_xdg_mime",
         nullptr,
         {"kate", "gnome-text-editor"},
         "",
         "",
         {"gnome-text-editor", "-s", "-"},
         {}},
        {"accessibility_editor_without_session_bus",
         "org.xfce.mousepad.desktop",
         {"gedit", "mousepad"},
         ":9999",
         "",
         {"mousepad", "--disable-server"},
         editor_messages::no_accessibility_bus(QStringLiteral("mousepad"))},
        {"window_events_default_under_wayland",
         "featherpad.desktop",
         {"kwrite", "featherpad"},
         ":0",
         "wayland-0",
         {"kwrite", "--stdin"},
         {}},
        {"wayland_with_featherpad_only",
         "",
         {"featherpad"},
         ":0",
         "wayland-0",
         {},
         QStringLiteral("Nessun editor di testo utilizzabile: in una sessione Wayland il testo si "
                        "può consegnare solo a gnome-text-editor, gedit, kwrite, kate, mousepad "
                        "o pluma, e nessuno di questi è installato.")},
        {"no_display_without_stdin_editor",
         "",
         {"featherpad"},
         "",
         "",
         {},
         editor_messages::no_display()},
        {"no_editor_at_all",
         "gedit.desktop",
         {},
         ":0",
         "",
         {},
         QStringLiteral("Nessun editor di testo trovato: installare uno tra gnome-text-editor, "
                        "gedit, kwrite, kate, mousepad, featherpad e pluma.")},
        // featherpad takes its text as key events, which a Wayland session does not deliver.
        {"no_editor_at_all_under_wayland",
         "gedit.desktop",
         {},
         ":0",
         "wayland-0",
         {},
         QStringLiteral("Nessun editor di testo trovato: installare uno tra gnome-text-editor, "
                        "gedit, kwrite, kate, mousepad e pluma.")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeBin bin;
        QTemporaryDir records;
        const QString record = QDir(records.path()).filePath(QStringLiteral("editor"));
        for (const QString& program : c.installed) bin.install(program, FAKE_STDIN_EDITOR_PATH);
        if (c.desktop_entry) bin.set_desktop_default(QString::fromUtf8(c.desktop_entry));

        LinuxEditorExport::Options options;
        options.environment = QProcessEnvironment();
        options.environment.insert("PATH", bin.path());
        options.environment.insert("DISPLAY", c.display);
        options.environment.insert("WAYLAND_DISPLAY", c.wayland_display);
        options.environment.insert("FAKE_EDITOR_RECORD", record);
        options.window_timeout_ms = 500;
        QStringList failures;
        {
            LinuxEditorExport exporter(options);
            exporter.export_text(
                test::thirteen_line_report().toStdString(),
                [&failures](const std::string& m) { failures << QString::fromStdString(m); });
            exporter.wait_for_exports();
            QCoreApplication::processEvents();
        }
        if (c.expected_message.isEmpty()) {
            EXPECT_TRUE(failures.isEmpty()) << failures.join('\n').toStdString();
        } else {
            EXPECT_EQ(failures, QStringList{c.expected_message});
        }
        if (c.expected_args.isEmpty()) {
            EXPECT_FALSE(QFile::exists(record + ".args"));
        } else {
            ASSERT_TRUE(wait_until([&] { return QFile::exists(record + ".stdin"); }, 60000));
            EXPECT_EQ(QString::fromUtf8(read_file(record + ".args")),
                      c.expected_args.join('\n') + '\n');
        }
    }
}

// pluma hands its files to a pluma already running, found through a socket in its temporary
// folder: each export gives it a new folder of its own, and removes those of plumas gone since.
TEST(LinuxEditorExport, PlumaGetsAPrivateTemporaryFolderEachTime) {
    FakeBin bin;
    bin.install(QStringLiteral("pluma"), FAKE_STDIN_EDITOR_PATH);
    QTemporaryDir base;
    QTemporaryDir records;
    QStringList folders;
    for (int i = 0; i < 2; ++i) {
        const QString record = QDir(records.path()).filePath(QStringLiteral("editor%1").arg(i));
        LinuxEditorExport::Options options;
        options.environment = QProcessEnvironment();
        options.environment.insert("PATH", bin.path());
        options.environment.insert("TMPDIR", base.path());
        options.environment.insert("FAKE_EDITOR_RECORD", record);
        LinuxEditorExport exporter(options);
        exporter.export_text(test::thirteen_line_report().toStdString(), {});
        exporter.wait_for_exports();
        ASSERT_TRUE(wait_until([&] { return QFile::exists(record + ".stdin"); }, 60000));
        folders << QString::fromUtf8(read_file(record + ".tmpdir")).trimmed();
        const auto pid = static_cast<pid_t>(read_file(record + ".pid").trimmed().toLongLong());
        ASSERT_TRUE(wait_until([pid] { return !process_alive(pid); }, 60000));
    }
    for (const QString& folder : folders) {
        SCOPED_TRACE(folder.toStdString());
        EXPECT_EQ(QFileInfo(folder).dir().path(), base.path());
    }
    EXPECT_NE(folders[0], folders[1]);
    EXPECT_FALSE(QFileInfo::exists(folders[0])) << "the ended pluma's folder stays";
    const QFileInfo second(folders[1]);
    ASSERT_TRUE(second.isDir());
    EXPECT_EQ(second.permissions() & 0x0077, QFileDevice::Permissions());
}

}  // namespace
}  // namespace ristemo::platform
