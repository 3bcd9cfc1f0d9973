#include <QAction>
#include <QtTest>

#include "core/app_info.h"
#include "form/web_links.h"
#include "form1_harness.h"

using ristemo::platform::Answer;
using ristemo::test::Form1Harness;

// What the window's buttons and menu items reach; the commands themselves are Form1's and are
// tested without Qt.
class Form1CommandsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void controls_run_their_commands_data();
    void controls_run_their_commands();
    void rejection_moves_the_focus();
    void reset_clears_the_sex_without_choosing();
    void title_bar_closes_without_asking();
};

void Form1CommandsTest::controls_run_their_commands_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("effect");

    QTest::newRow("calcola") << "Command1"
                             << "calculated";
    QTest::newRow("menu calcolo") << "mnu_calcolo"
                                  << "calculated";
    QTest::newRow("nuovo") << "Command2"
                           << "reset";
    QTest::newRow("menu azzera") << "mnu_azzera"
                                 << "reset";
    QTest::newRow("stampa") << "Command3_0"
                            << "print asked";
    QTest::newRow("menu stampa") << "mnu_stampa"
                                 << "print asked";
    QTest::newRow("notepad") << "Command3_1"
                             << "exported";
    QTest::newRow("menu notepad") << "mnu_notepad"
                                  << "exported";
    QTest::newRow("esci") << "Command3_2"
                          << "closed";
    QTest::newRow("menu esci") << "mnu_esci"
                               << "closed";
    QTest::newRow("about") << "mnu_about"
                           << "about";
    QTest::newRow("nomra") << "mnu_nomra" << ristemo::form::web_links::kNomra;
    QTest::newRow("velsor") << "mnu_velsor" << ristemo::form::web_links::kVelsor;
    QTest::newRow("mirdo") << "mnu_mirdo" << ristemo::form::web_links::kMirdo;
    QTest::newRow("zentab") << "mnu_zentab" << ristemo::form::web_links::kZentab;
}

void Form1CommandsTest::controls_run_their_commands() {
    QFETCH(QString, control);
    QFETCH(QString, effect);

    Form1Harness h;
    QVERIFY(h.show());
    h.fill(QStringLiteral("1,2"), QStringLiteral("80"), QStringLiteral("70"),
           QStringLiteral("1,75"), 'm');
    if (effect != QLatin1String("calculated")) h.form->form().calcolo_cg();
    for (int i = 0; i < 5; ++i) h.label3(i)->clear();

    if (auto* button = h.button(control))
        button->click();
    else
        h.form->findChild<QAction*>(control)->trigger();

    if (effect == QLatin1String("calculated")) {
        QCOMPARE(h.labels(), QStringList({"64,8", "26,1", "70,4 (+13,6%)", "1,96", "65,76"}));
        // A screen reader hears what the box shows.
        QCOMPARE(h.label3(0)->accessibleName(), QStringLiteral("64,8"));
    } else if (effect == QLatin1String("reset")) {
        QCOMPARE(h.text1(0)->text(), QString());
    } else if (effect == QLatin1String("print asked")) {
        QCOMPARE(h.prompts(), QStringList{QStringLiteral("Stampare i dati?")});
    } else if (effect == QLatin1String("exported")) {
        QCOMPARE(h.editor.texts.size(), std::size_t(1));
    } else if (effect == QLatin1String("closed")) {
        QVERIFY(!h.form->isVisible());
    } else if (effect == QLatin1String("about")) {
        QCOMPARE(h.prompts().size(), 1);
        QVERIFY(h.prompts()[0].startsWith(QString::fromUtf8(ristemo::core::kAppTitle)));
    } else {
        QCOMPARE(h.shell.opened, std::vector<std::string>{effect.toStdString()});
    }
    if (effect != QLatin1String("closed")) QVERIFY(h.form->isVisible());
}

void Form1CommandsTest::rejection_moves_the_focus() {
    Form1Harness h;
    QVERIFY(h.show());
    h.fill(QStringLiteral("1,2"), QStringLiteral("80"), QStringLiteral("70"),
           QStringLiteral("1,75"), ' ');
    h.button(QStringLiteral("Command1"))->click();
    QCOMPARE(h.prompts(), QStringList{QStringLiteral("specificare sesso del paziente...")});
    QTRY_COMPARE_WITH_TIMEOUT(h.focus_name(), QStringLiteral("Option1_0"), 60000);
}

// Qt's exclusive group never lets its last checked button go, and clearing it must not count as
// a selection (which would send the focus to "calcola").
void Form1CommandsTest::reset_clears_the_sex_without_choosing() {
    Form1Harness h;
    QVERIFY(h.show());
    h.fill({}, {}, {}, {}, 'f');
    h.button(QStringLiteral("Command2"))->click();

    QVERIFY(!h.option1(0)->isChecked());
    QVERIFY(!h.option1(1)->isChecked());
    QTRY_COMPARE_WITH_TIMEOUT(h.focus_name(), QStringLiteral("Text1_0"), 60000);
    // A focus move queued by the reset runs before this later event.
    bool handled = false;
    QMetaObject::invokeMethod(
        h.form.get(), [&handled] { handled = true; }, Qt::QueuedConnection);
    QTRY_VERIFY_WITH_TIMEOUT(handled, 60000);
    QCOMPARE(h.focus_name(), QStringLiteral("Text1_0"));

    // The group still works as one: choosing again selects exactly one option.
    h.option1(0)->click();
    QVERIFY(h.option1(0)->isChecked());
    h.option1(1)->click();
    QVERIFY(!h.option1(0)->isChecked());
}

void Form1CommandsTest::title_bar_closes_without_asking() {
    Form1Harness h;
    QVERIFY(h.show());
    QVERIFY(h.form->close());
    QVERIFY(h.message_box.shown.empty());
}

QTEST_MAIN(Form1CommandsTest)
#include "test_form1_commands.moc"
