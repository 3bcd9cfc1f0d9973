// The four links through the real xdg-open, into a fake browser registered in a throw-away home.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QMetaObject>

#include "form/module1.h"
#include "form/web_links.h"
#include "platform/linux/xdg_shell_open.h"
#include "qt_print.h"
#include "xdg_sandbox.h"

namespace ristemo::platform {
namespace {

using test::XdgSandbox;
namespace Module1 = form::Module1;
namespace web_links = form::web_links;

const QString kBrowserId = QStringLiteral("fakebrowser.desktop");

// Records what the open-with dialog would have been asked, and answers as the test says.
struct ScriptedChooser {
    enum class Answer { Entry, Program, Cancel };
    Answer answer = Answer::Entry;
    QString program;
    QStringList asked;
    QStringList offered_ids;

    XdgShellOpenOptions options() {
        XdgShellOpenOptions o;
        // A loaded machine may be slow to answer, not without an answer.
        o.query_timeout_ms = 60000;
        o.chooser = [this](const QString& address,
                           const std::vector<DesktopEntry>& apps) -> std::optional<OpenWithChoice> {
            asked << address;
            for (const DesktopEntry& app : apps) offered_ids << app.id;
            if (answer == Answer::Cancel) return std::nullopt;
            if (answer == Answer::Program) return OpenWithChoice{std::nullopt, program};
            for (const DesktopEntry& app : apps)
                if (app.id == kBrowserId) return OpenWithChoice{app, {}};
            return std::nullopt;
        };
        return o;
    }
};

void reset_module() {
    Module1::link_target.clear();
    Module1::launch_result = -1;
    Module1::launch_error.clear();
}

struct LinkRow {
    const char* name;
    const char* address;
};
void PrintTo(const LinkRow& row, std::ostream* os) {
    *os << row.name;
}

class WebLinkAddress : public ::testing::TestWithParam<LinkRow> {};

TEST_P(WebLinkAddress, ReachesTheRegisteredBrowserExactly) {
    XdgSandbox sandbox;
    sandbox.write_browser_entry(kBrowserId, sandbox.write_browser("fakebrowser"),
                                "x-scheme-handler/http;text/html;");
    ASSERT_TRUE(sandbox.register_default(kBrowserId));
    ScriptedChooser chooser;
    XdgShellOpen shell(chooser.options());
    reset_module();

    const QString address = QString::fromLatin1(GetParam().address);
    Module1::link_target = address.toStdString();
    EXPECT_TRUE(Module1::open_link(shell));
    EXPECT_EQ(Module1::launch_result, kShellSuccess);
    EXPECT_EQ(sandbox.wait_for_calls(1), QList<QStringList>({{address}}));
    EXPECT_TRUE(chooser.asked.isEmpty());
    EXPECT_EQ(Module1::link_target, address.toStdString());
}

INSTANTIATE_TEST_SUITE_P(FourMenuItems, WebLinkAddress,
                         ::testing::Values(LinkRow{"nomra", web_links::kNomra},
                                           LinkRow{"velsor_no_trailing_slash", web_links::kVelsor},
                                           LinkRow{"mirdo_trailing_slash", web_links::kMirdo},
                                           LinkRow{"zentab", web_links::kZentab}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WebLinks, ChoosingAnItemTwiceMakesTwoRequests) {
    XdgSandbox sandbox;
    sandbox.write_browser_entry(kBrowserId, sandbox.write_browser("fakebrowser"),
                                "x-scheme-handler/http;");
    ASSERT_TRUE(sandbox.register_default(kBrowserId));
    ScriptedChooser chooser;
    XdgShellOpen shell(chooser.options());
    reset_module();

    const QString address = QString::fromLatin1(web_links::kVelsor);
    Module1::link_target = address.toStdString();
    EXPECT_TRUE(Module1::open_link(shell));
    EXPECT_TRUE(Module1::open_link(shell));
    EXPECT_EQ(sandbox.wait_for_calls(2), QList<QStringList>({{address}, {address}}));
    EXPECT_TRUE(chooser.asked.isEmpty());
}

// How the registered browser behaves, and what the launcher makes of it. The launch counts as a
// success at once; a failure comes afterwards, through the event loop.
struct BrowserRow {
    const char* name;
    int status;  // negative: still running when the launcher stops watching
    bool fails;
};
void PrintTo(const BrowserRow& row, std::ostream* os) {
    *os << row.name;
}

class RegisteredBrowser : public ::testing::TestWithParam<BrowserRow> {};

TEST_P(RegisteredBrowser, OutcomeAndMessage) {
    const BrowserRow& row = GetParam();
    XdgSandbox sandbox;
    sandbox.write_browser_entry(kBrowserId, sandbox.write_browser("fakebrowser", row.status),
                                "x-scheme-handler/http;");
    ASSERT_TRUE(sandbox.register_default(kBrowserId));
    ScriptedChooser chooser;
    reset_module();
    const QString address = QString::fromLatin1(web_links::kZentab);
    QStringList told;
    {
        XdgShellOpenOptions options = chooser.options();
        // A browser that ends is watched to its end, however slow the machine; one that keeps
        // running outlives a short watch.
        options.exit_wait_ms = row.status < 0 ? 1000 : 60000;
        XdgShellOpen shell(options);
        Module1::link_target = address.toStdString();
        EXPECT_TRUE(Module1::open_link(
            shell, [&told](const std::string& m) { told << QString::fromStdString(m); }));
        EXPECT_EQ(Module1::launch_result, kShellSuccess);
        EXPECT_EQ(sandbox.wait_for_calls(1), QList<QStringList>({{address}}));
    }  // the shell waits for its watch to end, which has then posted its verdict
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);

    const QString cannot = QStringLiteral("Can't launch 'http://www.zentab.example/'.");
    EXPECT_EQ(told, row.fails ? QStringList{cannot} : QStringList{});
    EXPECT_EQ(Module1::launch_result, row.fails ? kShellFailure : kShellSuccess);
    EXPECT_EQ(Module1::launch_error, row.fails ? cannot.toStdString() : std::string());
    // A failure is not a missing association: the open-with dialog stays out of it.
    EXPECT_TRUE(chooser.asked.isEmpty());
    EXPECT_EQ(Module1::link_target, address.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Behaviours, RegisteredBrowser,
                         ::testing::Values(BrowserRow{"exits_cleanly", 0, false},
                                           BrowserRow{"fails", 1, true},
                                           BrowserRow{"keeps_running", -1, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Desktop tools that do not answer in time say nothing of the association: xdg-open is tried and
// reaches the browser, and no open-with dialog is offered.
TEST(WebLinks, DesktopToolsTooSlowToAnswerLeaveItToTheOpener) {
    XdgSandbox sandbox;
    sandbox.write_browser_entry(kBrowserId, sandbox.write_browser("fakebrowser"),
                                "x-scheme-handler/http;");
    ASSERT_TRUE(sandbox.register_default(kBrowserId));
    const QString hung = sandbox.path("bin/hung-tool");
    QFile script(hung);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nexec sleep 60\n");
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    ScriptedChooser chooser;
    XdgShellOpenOptions options = chooser.options();
    options.xdg_mime = options.xdg_settings = hung;
    options.query_timeout_ms = 100;
    XdgShellOpen shell(options);
    reset_module();

    Module1::link_target = web_links::kNomra;
    EXPECT_TRUE(Module1::open_link(shell));
    EXPECT_EQ(Module1::launch_result, kShellSuccess);
    EXPECT_EQ(sandbox.wait_for_calls(1), QList<QStringList>({{QString(web_links::kNomra)}}));
    EXPECT_TRUE(chooser.asked.isEmpty());
}

// While xdg-open is watched the interface thread goes on: an event queued after open_link runs
// while the browser still waits for it, and the browser's failure is told afterwards.
TEST(WebLinks, WatchingTheOpenerLeavesTheEventLoopFree) {
    XdgSandbox sandbox;
    const QString go = sandbox.path("go");
    const QString browser = sandbox.path("bin/waitingbrowser");
    // Without the go-ahead within about 5 s it gives up and exits cleanly: no failure to tell.
    ASSERT_TRUE(test::write_file(
        browser,
        "#!/bin/sh\ni=0\nwhile [ ! -e '" + go.toLocal8Bit() +
            "' ]; do\n  i=$((i+1)); [ $i -gt 500 ] && exit 0\n  sleep 0.01\ndone\nexit 1\n",
        true));
    sandbox.write_browser_entry(kBrowserId, browser, "x-scheme-handler/http;");
    ASSERT_TRUE(sandbox.register_default(kBrowserId));
    reset_module();

    ScriptedChooser chooser;
    XdgShellOpenOptions options = chooser.options();
    options.exit_wait_ms = 30000;
    XdgShellOpen shell(options);
    Module1::link_target = web_links::kNomra;
    QStringList told;
    EXPECT_TRUE(Module1::open_link(
        shell, [&told](const std::string& m) { told << QString::fromStdString(m); }));
    bool queued_ran = false;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [&] {
            queued_ran = true;
            QFile(go).open(QIODevice::WriteOnly);
        },
        Qt::QueuedConnection);
    QDeadlineTimer deadline(60000);
    while (told.isEmpty() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);

    EXPECT_TRUE(queued_ran);
    EXPECT_EQ(told, QStringList{QStringLiteral("Can't launch 'http://www.nomra.example/'.")});
    EXPECT_EQ(Module1::launch_result, kShellFailure);
    EXPECT_TRUE(chooser.asked.isEmpty());
}

// With no browser registered: the fake one is installed but handles only text/html, so it is
// offered by the dialog and yet is nobody's default for web addresses.
struct FallbackRow {
    const char* name;
    ScriptedChooser::Answer answer;
    bool launched;
};
void PrintTo(const FallbackRow& row, std::ostream* os) {
    *os << row.name;
}

class NoRegisteredBrowser : public ::testing::TestWithParam<FallbackRow> {};

TEST_P(NoRegisteredBrowser, OffersTheOpenWithDialog) {
    const FallbackRow& row = GetParam();
    XdgSandbox sandbox;
    const QString program = sandbox.write_browser("fakebrowser");
    sandbox.write_browser_entry(kBrowserId, program, "text/html;");
    ScriptedChooser chooser;
    chooser.answer = row.answer;
    chooser.program = program;
    XdgShellOpen shell(chooser.options());
    reset_module();

    const QString address = QString::fromLatin1(web_links::kMirdo);
    Module1::link_target = address.toStdString();
    EXPECT_TRUE(Module1::open_link(shell));
    EXPECT_EQ(Module1::launch_result, kShellNoAssociation);
    EXPECT_TRUE(Module1::launch_error.empty());
    EXPECT_EQ(chooser.asked, QStringList{address});
    EXPECT_EQ(chooser.offered_ids, QStringList{kBrowserId});
    if (row.launched) {
        EXPECT_EQ(sandbox.wait_for_calls(1), QList<QStringList>({{address}}));
    } else {
        // A browser started now is recorded after anything the cancelled dialog had started.
        chooser.answer = ScriptedChooser::Answer::Program;
        EXPECT_EQ(shell.open_with_dialog("http://after.example/"), kShellSuccess);
        const QStringList after{QStringLiteral("http://after.example/")};
        QDeadlineTimer deadline(60000);
        while (!sandbox.calls().contains(after) && !deadline.hasExpired()) QThread::msleep(20);
        EXPECT_EQ(sandbox.calls(), QList<QStringList>({after}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, NoRegisteredBrowser,
    ::testing::Values(FallbackRow{"installed_application", ScriptedChooser::Answer::Entry, true},
                      FallbackRow{"other_program", ScriptedChooser::Answer::Program, true},
                      FallbackRow{"cancelled", ScriptedChooser::Answer::Cancel, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WebLinks, OpenWithDialogReportsWhetherSomethingStarted) {
    XdgSandbox sandbox;
    ScriptedChooser chooser;
    chooser.answer = ScriptedChooser::Answer::Program;
    chooser.program = sandbox.write_browser("fakebrowser");
    XdgShellOpen shell(chooser.options());
    EXPECT_EQ(shell.open_with_dialog("http://a.example/"), kShellSuccess);

    chooser.program = sandbox.path("bin/missing");
    EXPECT_EQ(shell.open_with_dialog("http://a.example/"), kShellFailure);
    chooser.answer = ScriptedChooser::Answer::Cancel;
    EXPECT_EQ(shell.open_with_dialog("http://a.example/"), kShellFailure);
}

// Runs on a real X display: Qt's offscreen platform cannot open addresses at all.
TEST(QtDesktopFallback, WithoutXdgOpenQtOpensTheAddress) {
    XdgSandbox sandbox;
    // Qt hands web addresses to $BROWSER when it finds no desktop opener on PATH.
    sandbox.set("PATH", sandbox.path("bin"));
    sandbox.set("BROWSER", sandbox.write_browser("fakebrowser"));
    XdgShellOpenOptions options;
    options.chooser = [](const QString&, const std::vector<DesktopEntry>&) {
        ADD_FAILURE() << "the open-with dialog was offered";
        return std::optional<OpenWithChoice>();
    };
    XdgShellOpen shell(options);
    const QString address = QString::fromLatin1(web_links::kNomra);
    EXPECT_EQ(shell.shell_open(address.toStdString(), {}), kShellSuccess);
    EXPECT_EQ(sandbox.wait_for_calls(1), QList<QStringList>({{address}}));
}

}  // namespace
}  // namespace ristemo::platform
