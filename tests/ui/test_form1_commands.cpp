#include <QAction>
#include <QtTest>

#include "form/form1_design.h"
#include "form1_harness.h"

namespace form = ristemo::form;
using ristemo::platform::Answer;
using ristemo::platform::Buttons;
using ristemo::test::Form1Harness;

namespace {

// The ways to give a command: its menu item, its function key, a button.
enum Trigger { MenuItem, FunctionKey, Button };

// What the command visibly does once the worked example has been calculated and its result boxes
// emptied; what the command does in detail is Form1's, and tested without Qt.
void check_effect(form::Command command, Form1Harness& h) {
    switch (command) {
        case form::Command::Calculate:
            QCOMPARE(h.labels(), Form1Harness::worked_example_results());
            break;
        case form::Command::Reset:
            for (int i = 0; i < 4; ++i) QCOMPARE(h.text1(i)->text(), QString());
            QTRY_COMPARE_WITH_TIMEOUT(h.focus_name(), QStringLiteral("Text1_0"), 60000);
            break;
        case form::Command::Print:
            QCOMPARE(h.printer.pages.size(), std::size_t(1));
            break;
        case form::Command::Export:
            QCOMPARE(h.editor.texts.size(), std::size_t(1));
            break;
        case form::Command::Exit:
            QTRY_VERIFY_WITH_TIMEOUT(!h.form->isVisible(), 60000);
            QVERIFY(h.message_box.shown.empty());
            return;
        case form::Command::About:
            QCOMPARE(h.message_box.shown.size(), std::size_t(1));
            QCOMPARE(h.message_box.shown[0].buttons, Buttons::Ok);
            break;
        case form::Command::OpenNomra:
        case form::Command::OpenVelsor:
        case form::Command::OpenMirdo:
        case form::Command::OpenZentab:
            QCOMPARE(h.shell.opened.size(), std::size_t(1));
            break;
        case form::Command::None:
            QFAIL("no command");
    }
    QVERIFY(h.form->isVisible());
}

}  // namespace

// What the window's menu items, function keys and buttons reach.
class Form1CommandsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void every_way_runs_its_command_data();
    void every_way_runs_its_command();
    void rejection_moves_the_focus();
    void reset_clears_the_sex_without_choosing();
    void title_bar_closes_without_asking();
};

// Each menu item of the design, its function key and the buttons that give the same command.
void Form1CommandsTest::every_way_runs_its_command_data() {
    QTest::addColumn<int>("trigger");
    QTest::addColumn<QString>("name");  // of the menu item or the button
    QTest::addColumn<int>("key");       // n for Fn
    QTest::addColumn<int>("command");

    for (const form::MenuDesign& entry : form::kMenus) {
        if (entry.command == form::Command::None) continue;
        const int command = int(entry.command);
        QTest::addRow("%s", entry.name) << int(MenuItem) << QString(entry.name) << 0 << command;
        if (const int key = form::function_key_of(entry.command))
            QTest::addRow("F%d", key) << int(FunctionKey) << QString() << key << command;
        for (const form::ControlDesign& d : form::kControls) {
            if (d.command != entry.command) continue;
            const QString name = QString::fromStdString(form::object_name(d.ref()));
            QTest::addRow("%s", qPrintable(name)) << int(Button) << name << 0 << command;
        }
    }
}

void Form1CommandsTest::every_way_runs_its_command() {
    QFETCH(int, trigger);
    QFETCH(QString, name);
    QFETCH(int, key);
    QFETCH(int, command);

    Form1Harness h;
    QVERIFY(h.show());
    h.fill_worked_example();
    h.form->form().run(form::Command::Calculate);  // print and export need a calculation
    for (int i = 0; i < 5; ++i) h.label3(i)->clear();
    h.message_box.default_answer = Answer::Yes;  // print, when asked
    // The function keys work from anywhere; here from the age box.
    h.text1(2)->setFocus();
    QTRY_COMPARE_WITH_TIMEOUT(h.focus_name(), QStringLiteral("Text1_2"), 60000);

    switch (Trigger(trigger)) {
        case MenuItem:
            h.form->findChild<QAction*>(name)->trigger();
            break;
        case FunctionKey:
            QTest::keyClick(h.text1(2), Qt::Key(Qt::Key_F1 + key - 1));
            break;
        case Button:
            h.button(name)->click();
            break;
    }
    check_effect(form::Command(command), h);
}

void Form1CommandsTest::rejection_moves_the_focus() {
    Form1Harness h;
    QVERIFY(h.show());
    h.fill_worked_example();
    h.form->set_Option1_value(0, false);
    h.button(QStringLiteral("Command1"))->click();
    QCOMPARE(h.prompts().size(), 1);
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
