#include <gtest/gtest.h>

#include <QDir>

#include "platform/linux/desktop_entry.h"
#include "qt_print.h"
#include "xdg_sandbox.h"

namespace ristemo::platform {
namespace {

const QString kAddress = QStringLiteral("http://www.nomra.example/velsor");

struct ExecRow {
    const char* name;
    const char* exec;  // after the key-level escapes are undone
    std::optional<QStringList> argv;
    const char* icon = "web-browser";
};
void PrintTo(const ExecRow& row, std::ostream* os) {
    *os << row.name;
}

class ExecExpansion : public ::testing::TestWithParam<ExecRow> {};

TEST_P(ExecExpansion, Arguments) {
    DesktopEntry entry;
    entry.name = QStringLiteral("Fake Browser");
    entry.icon = QString::fromUtf8(GetParam().icon);
    entry.path = QStringLiteral("/apps/fake.desktop");
    EXPECT_EQ(expand_exec(QString::fromUtf8(GetParam().exec), kAddress, entry), GetParam().argv);
}

const QString A = kAddress;

INSTANTIATE_TEST_SUITE_P(
    Table, ExecExpansion,
    ::testing::Values(
        ExecRow{"url_code", "browser %u", QStringList{"browser", A}},
        ExecRow{"url_list_code", "browser %U", QStringList{"browser", A}},
        ExecRow{"file_code", "viewer %f", QStringList{"viewer", A}},
        ExecRow{"file_list_code", "viewer --new %F", QStringList{"viewer", "--new", A}},
        ExecRow{"no_code_appends_address", "browser --new-window",
                QStringList{"browser", "--new-window", A}},
        ExecRow{"code_inside_argument", "browser --url=%u", QStringList{"browser", "--url=" + A}},
        ExecRow{"only_first_target_code", "browser %u %U", QStringList{"browser", A}},
        ExecRow{"percent_escape", "browser --ratio=100%% %u",
                QStringList{"browser", "--ratio=100%", A}},
        ExecRow{"icon_code", "browser %i %u", QStringList{"browser", "--icon", "web-browser", A}},
        ExecRow{"icon_code_without_icon", "browser %i %u", QStringList{"browser", A}, ""},
        ExecRow{"name_code_one_argument", "browser --class %c %u",
                QStringList{"browser", "--class", "Fake Browser", A}},
        ExecRow{"location_code", "browser --from %k %u",
                QStringList{"browser", "--from", "/apps/fake.desktop", A}},
        ExecRow{"deprecated_codes_dropped", "browser %d %D %n %N %v %m %u",
                QStringList{"browser", A}},
        ExecRow{"blanks_and_tabs", "  browser \t  %u  ", QStringList{"browser", A}},
        ExecRow{"quoted_program_with_spaces", "\"/opt/My Browser/run\" %u",
                QStringList{"/opt/My Browser/run", A}},
        ExecRow{"quoted_escapes", "browser \"a\\\"b\" \"c\\\\d\" \"e\\$f\" \"g\\`h\"",
                QStringList{"browser", "a\"b", "c\\d", "e$f", "g`h", A}},
        ExecRow{"quoted_percent_escape", "browser \"--x=50%%\" %u",
                QStringList{"browser", "--x=50%", A}},
        ExecRow{"code_in_quotes_stays_text", "sh -c \"browser %u\"",
                QStringList{"sh", "-c", "browser %u", A}},
        ExecRow{"empty_quotes_make_empty_argument", "browser \"\" %u",
                QStringList{"browser", "", A}},
        ExecRow{"quotes_join_with_text", "browser --title=\"Two words\" %u",
                QStringList{"browser", "--title=Two words", A}},
        ExecRow{"single_quotes_literal", "browser '$HOME %u'",
                QStringList{"browser", "$HOME %u", A}},
        ExecRow{"backslash_outside_quotes", "browser two\\ words %u",
                QStringList{"browser", "two words", A}},
        ExecRow{"unterminated_double_quote", "browser \"abc %u", std::nullopt},
        ExecRow{"unterminated_single_quote", "browser 'abc %u", std::nullopt},
        ExecRow{"empty_line", "", std::nullopt},
        ExecRow{"only_dropped_codes", "%d %m", std::nullopt},
        ExecRow{"address_as_program", "%u --flag", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ExecExpansionAddress, ShellCharactersStayInOneArgument) {
    const QString address = QStringLiteral("http://x.example/?a=1&b=$(id);c='d' \"e\"");
    EXPECT_EQ(expand_exec(QStringLiteral("browser %u"), address, DesktopEntry{}),
              QStringList({"browser", address}));
}

struct EntryRow {
    const char* name;
    const char* body;
    bool readable;
    const char* expected_name;
    const char* expected_exec;
    QStringList mime_types;
    bool hidden;
    bool no_display;
};
void PrintTo(const EntryRow& row, std::ostream* os) {
    *os << row.name;
}

class ReadDesktopEntry : public ::testing::TestWithParam<EntryRow> {};

TEST_P(ReadDesktopEntry, Fields) {
    const EntryRow& row = GetParam();
    test::XdgSandbox sandbox;
    const QString file = sandbox.write_entry("apps", "e.desktop", QString::fromUtf8(row.body));
    const auto entry = read_desktop_entry(file, QStringLiteral("e.desktop"));
    ASSERT_EQ(entry.has_value(), row.readable);
    if (!entry) return;
    EXPECT_EQ(entry->name, QString::fromUtf8(row.expected_name));
    EXPECT_EQ(entry->exec, QString::fromUtf8(row.expected_exec));
    EXPECT_EQ(entry->mime_types, row.mime_types);
    EXPECT_EQ(entry->hidden, row.hidden);
    EXPECT_EQ(entry->no_display, row.no_display);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReadDesktopEntry,
    ::testing::Values(
        EntryRow{"plain",
                 "[Desktop Entry]\nType=Application\nName=Web\nExec=web %u\n"
                 "MimeType=text/html;x-scheme-handler/http;\n",
                 true,
                 "Web",
                 "web %u",
                 {"text/html", "x-scheme-handler/http"},
                 false,
                 false},
        EntryRow{"italian_name_preferred",
                 "[Desktop Entry]\nName=Web Browser\nName[it]=Navigatore\nName[de]=Netz\n"
                 "Exec=web\n",
                 true,
                 "Navigatore",
                 "web",
                 {},
                 false,
                 false},
        EntryRow{"blanks_around_equals_comments",
                 "# comment\n\n[Desktop Entry]\n# another\nName = Web\nExec =  web %u\n",
                 true,
                 "Web",
                 "web %u",
                 {},
                 false,
                 false},
        EntryRow{"string_escapes_undone",
                 "[Desktop Entry]\nName=A\\sB\nExec=web \"a\\\\\\\\b\"\n",
                 true,
                 "A B",
                 "web \"a\\\\b\"",
                 {},
                 false,
                 false},
        EntryRow{"escaped_separator_in_list",
                 "[Desktop Entry]\nName=W\nMimeType=a\\;b;c\n",
                 true,
                 "W",
                 "",
                 {"a;b", "c"},
                 false,
                 false},
        EntryRow{"other_groups_ignored",
                 "[Desktop Entry]\nName=Web\nExec=web %u\n[Desktop Action new]\nName=New\n"
                 "Exec=web --new\nMimeType=text/html;\n",
                 true,
                 "Web",
                 "web %u",
                 {},
                 false,
                 false},
        EntryRow{"flags",
                 "[Desktop Entry]\nName=Web\nHidden=true\nNoDisplay=true\n",
                 true,
                 "Web",
                 "",
                 {},
                 true,
                 true},
        EntryRow{"flags_false",
                 "[Desktop Entry]\nName=Web\nHidden=false\nNoDisplay=1\n",
                 true,
                 "Web",
                 "",
                 {},
                 false,
                 false},
        EntryRow{"no_group", "Name=Web\nExec=web\n", false, "", "", {}, false, false},
        EntryRow{"duplicated_group",
                 "[Desktop Entry]\nName=A\n[Desktop Entry]\nName=B\n",
                 false,
                 "",
                 "",
                 {},
                 false,
                 false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadDesktopEntryFile, MissingFileIsNothing) {
    EXPECT_FALSE(read_desktop_entry(QStringLiteral("/nonexistent/x.desktop"), "x.desktop"));
}

// Discovery over a user folder and two system folders.
class WebApplications : public ::testing::Test {
protected:
    void entry(const char* folder, const char* file, const QString& name, const QString& extra,
               const QString& mime = QStringLiteral("x-scheme-handler/http;")) {
        sandbox.write_entry(QString::fromUtf8(folder), QString::fromUtf8(file),
                            "[Desktop Entry]\nType=Application\nName=" + name +
                                "\nExec=sh %u\nMimeType=" + mime + "\n" + extra);
    }
    QStringList found_ids() {
        QStringList ids;
        for (const DesktopEntry& e : find_web_applications(dirs())) ids << e.id;
        return ids;
    }
    QStringList dirs() const {
        return {sandbox.path("user/applications"), sandbox.path("sys1/applications"),
                sandbox.path("sys2/applications"), sandbox.path("absent/applications")};
    }
    test::XdgSandbox sandbox;
};

TEST_F(WebApplications, ListsVisibleWebHandlersSortedByName) {
    entry("sys1/applications", "zeta.desktop", "Zeta", "");
    entry("sys1/applications", "html.desktop", "alfa html", "", "text/html;");
    entry("sys1/applications", "images.desktop", "Images", "", "image/png;");
    entry("sys1/applications", "nodisplay.desktop", "NoDisplay", "NoDisplay=true\n");
    entry("sys1/applications", "hidden.desktop", "Hidden", "Hidden=true\n");
    entry("sys1/applications", "tryexec.desktop", "TryExec", "TryExec=ristemo-no-such-program\n");
    entry("sys1/applications", "link.desktop", "Link", "Type=Link\n");
    sandbox.write_entry("sys1/applications", "noprogram.desktop",
                        "[Desktop Entry]\nType=Application\nName=NoProgram\n"
                        "Exec=ristemo-no-such-program %u\nMimeType=text/html;\n");
    sandbox.write_entry("sys1/applications", "badexec.desktop",
                        "[Desktop Entry]\nType=Application\nName=BadExec\nExec=sh \"%u\n"
                        "MimeType=text/html;\n");
    entry("sys2/applications/vendor", "browser.desktop", "Mid", "");

    EXPECT_EQ(found_ids(), QStringList({"html.desktop", "vendor-browser.desktop", "zeta.desktop"}));
}

TEST_F(WebApplications, EarlierFolderHidesSameId) {
    entry("user/applications", "web.desktop", "User Web", "");
    entry("sys1/applications", "web.desktop", "System Web", "");
    entry("user/applications", "gone.desktop", "Gone", "Hidden=true\n");
    entry("sys2/applications", "gone.desktop", "Gone System", "");

    const auto found = find_web_applications(dirs());
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].name, QStringLiteral("User Web"));
    EXPECT_EQ(found[0].path, sandbox.path("user/applications/web.desktop"));
}

struct DirsRow {
    const char* name;
    const char* data_home;  // nullptr: unset
    const char* data_dirs;
    QStringList expected;  // "~" stands for HOME
};
void PrintTo(const DirsRow& row, std::ostream* os) {
    *os << row.name;
}

class ApplicationDirs : public ::testing::TestWithParam<DirsRow> {};

TEST_P(ApplicationDirs, FromEnvironment) {
    const DirsRow& row = GetParam();
    test::XdgSandbox sandbox;
    sandbox.set("HOME", QStringLiteral("/home/u"));
    if (row.data_home)
        sandbox.set("XDG_DATA_HOME", QString::fromUtf8(row.data_home));
    else
        sandbox.unset("XDG_DATA_HOME");
    if (row.data_dirs)
        sandbox.set("XDG_DATA_DIRS", QString::fromUtf8(row.data_dirs));
    else
        sandbox.unset("XDG_DATA_DIRS");
    EXPECT_EQ(xdg_application_dirs(), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ApplicationDirs,
    ::testing::Values(DirsRow{"defaults",
                              nullptr,
                              nullptr,
                              {"/home/u/.local/share/applications", "/usr/local/share/applications",
                               "/usr/share/applications"}},
                      DirsRow{
                          "set",
                          "/d/home",
                          "/d/one:/d/two/",
                          {"/d/home/applications", "/d/one/applications", "/d/two/applications"}},
                      DirsRow{"empty_items_and_repeats",
                              "/d/home",
                              ":/d/one::/d/one:",
                              {"/d/home/applications", "/d/one/applications"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ristemo::platform
