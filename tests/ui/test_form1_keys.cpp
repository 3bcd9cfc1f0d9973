#include <QClipboard>
#include <QMenu>
#include <QtTest>

#include "form1_harness.h"

using ristemo::platform::Answer;
using ristemo::platform::Buttons;
using ristemo::platform::Icon;
using ristemo::test::Form1Harness;

namespace {

// A key with the text the X11 platform gives it, which QTest's own table does not know.
class KeyWithText : public QTestEvent {
public:
    KeyWithText(Qt::Key key, QString text) : key_(key), text_(std::move(text)) {}
    void simulate(QWidget* w) override {
        QTest::sendKeyEvent(QTest::Click, w, key_, text_, Qt::NoModifier);
    }
    QTestEvent* clone() const override { return new KeyWithText(*this); }

private:
    Qt::Key key_;
    QString text_;
};

}  // namespace

class Form1KeysTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void input_filter_data();
    void input_filter();
    void enter_and_tab_order_data();
    void enter_and_tab_order();
    void keys_typed_ahead_of_enter_go_to_the_next_box();
    void choosing_a_sex_moves_to_calculate_data();
    void choosing_a_sex_moves_to_calculate();
    void enter_and_space_run_a_focused_button_data();
    void enter_and_space_run_a_focused_button();
    void menu_key_then_escape_gives_the_box_back_its_keyboard();
    void escape_asks_before_quitting_data();
    void escape_asks_before_quitting();
};

void Form1KeysTest::input_filter_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("select_all");
    QTest::addColumn<QTestEventList>("keys");
    QTest::addColumn<QString>("after");

    auto typed = [](const QString& text) {
        QTestEventList keys;
        keys.addKeyClicks(text);
        return keys;
    };
    auto key = [](Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTestEventList keys;
        keys.addKeyClick(k, mods);
        return keys;
    };

    QTest::newRow("point becomes comma") << 0 << "" << false << typed("1.75") << "1,75";
    QTest::newRow("comma over selected text with comma")
        << 0 << "1,5" << true << typed(",") << "1,5";
    QTest::newRow("digit over selected text") << 0 << "1,5" << true << typed("7") << "7";
    QTest::newRow("digits kept among refused") << 1 << "" << false << typed("1a2b3") << "123";
    QTest::newRow("creatinine holds 4") << 0 << "" << false << typed("12345") << "1234";
    QTest::newRow("weight holds 5") << 1 << "" << false << typed("123456") << "12345";
    QTest::newRow("age holds 3") << 2 << "" << false << typed("1234") << "123";
    QTest::newRow("height holds 4") << 3 << "" << false << typed("12345") << "1234";
    QTest::newRow("backspace works") << 3 << "1,7" << false << key(Qt::Key_Backspace) << "1,";
    QTest::newRow("enter inserts nothing") << 0 << "1" << false << key(Qt::Key_Return) << "1";
    QTest::newRow("keypad enter inserts nothing") << 0 << "1" << false << key(Qt::Key_Enter) << "1";
    QTest::newRow("paste key pastes unfiltered")
        << 1 << "" << false << key(Qt::Key_V, Qt::ControlModifier) << "1.2";
    QTest::newRow("delete still edits") << 0 << "12" << false << [] {
        QTestEventList keys;
        keys.addKeyClick(Qt::Key_Home);
        keys.addKeyClick(Qt::Key_Delete);
        return keys;
    }() << "2";
    // Under X11 Delete comes with the character 127.
    QTest::newRow("delete with its control character edits") << 0 << "1,5" << false << [] {
        QTestEventList keys;
        keys.addKeyClick(Qt::Key_Left);
        keys.append(new KeyWithText(Qt::Key_Delete, QStringLiteral("\x7f")));
        keys.addKeyClicks(QStringLiteral("2"));
        return keys;
    }() << "1,2";
    auto chorded = [](const char* text, Qt::KeyboardModifiers mods) {
        QTestEventList keys;
        for (const char* c = text; *c; ++c) keys.addKeyClick(*c, mods);
        return keys;
    };
    QTest::newRow("alt letters and signs refused")
        << 1 << "" << false << chorded("ia.-5", Qt::AltModifier) << "";
    QTest::newRow("super letters refused")
        << 1 << "" << false << chorded("a.", Qt::MetaModifier) << "";
}

void Form1KeysTest::input_filter() {
    QFETCH(int, box);
    QFETCH(QString, before);
    QFETCH(bool, select_all);
    QFETCH(QTestEventList, keys);
    QFETCH(QString, after);

    Form1Harness h;
    QVERIFY(h.show());
    QApplication::clipboard()->setText(QStringLiteral("1.2"));
    h.message_box.default_answer = Answer::No;  // Esc asks; the window stays
    QLineEdit* edit = h.text1(box);
    edit->setText(before);
    edit->setFocus();
    QTRY_COMPARE_WITH_TIMEOUT(h.focus_name(), edit->objectName(), 60000);
    if (select_all) edit->selectAll();
    keys.simulate(edit);
    QCOMPARE(edit->text(), after);
}

void Form1KeysTest::enter_and_tab_order_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<char>("sex");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("to");

    const int enter = Qt::Key_Return, tab = Qt::Key_Tab, backtab = Qt::Key_Backtab;
    QTest::newRow("enter creatinine to weight") << "Text1_0" << ' ' << enter << "Text1_1";
    QTest::newRow("enter weight to height") << "Text1_1" << ' ' << enter << "Text1_3";
    QTest::newRow("enter height to age") << "Text1_3" << ' ' << enter << "Text1_2";
    QTest::newRow("enter age to sex") << "Text1_2" << ' ' << enter << "Option1_0";
    QTest::newRow("enter age to chosen sex") << "Text1_2" << 'f' << enter << "Option1_1";
    QTest::newRow("tab weight to height") << "Text1_1" << ' ' << tab << "Text1_3";
    QTest::newRow("enter on maschio to calculate") << "Option1_0" << ' ' << enter << "Command1";
    QTest::newRow("enter on femmina to calculate") << "Option1_1" << 'f' << enter << "Command1";
    QTest::newRow("tab calculate to print") << "Command1" << ' ' << tab << "Command3_0";
    QTest::newRow("tab print to export") << "Command3_0" << ' ' << tab << "Command3_1";
    QTest::newRow("tab export to exit") << "Command3_1" << ' ' << tab << "Command3_2";
    QTest::newRow("tab exit to new") << "Command3_2" << ' ' << tab << "Command2";
    QTest::newRow("back from calculate to sex") << "Command1" << ' ' << backtab << "Option1_0";
}

void Form1KeysTest::enter_and_tab_order() {
    QFETCH(QString, from);
    QFETCH(char, sex);
    QFETCH(int, key);
    QFETCH(QString, to);

    Form1Harness h;
    QVERIFY(h.show());
    h.fill({}, {}, {}, {}, sex);
    QWidget* start = h.get<QWidget>(from);
    start->setFocus();
    QTRY_COMPARE_WITH_TIMEOUT(h.focus_name(), from, 60000);
    QTest::keyClick(start, Qt::Key(key));
    QTRY_COMPARE_WITH_TIMEOUT(h.focus_name(), to, 60000);
    QVERIFY(h.message_box.shown.empty());
}

// The window system hands each key to whichever control has the focus when it comes to it; keys
// already waiting when Enter is handled must find the focus moved on.
void Form1KeysTest::keys_typed_ahead_of_enter_go_to_the_next_box() {
    Form1Harness h;
    QVERIFY(h.show());
    QTRY_COMPARE_WITH_TIMEOUT(h.focus_name(), QStringLiteral("Text1_0"), 60000);
    QTest::keyClicks(h.text1(0), QStringLiteral("1.2"));
    QTest::keyClick(h.text1(0), Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("80"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("1.75"));

    QCOMPARE(h.text1(0)->text(), QStringLiteral("1,2"));
    QCOMPARE(h.text1(1)->text(), QStringLiteral("80"));
    QCOMPARE(h.text1(3)->text(), QStringLiteral("1,75"));
}

void Form1KeysTest::choosing_a_sex_moves_to_calculate_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("how");

    QTest::newRow("mouse on maschio") << "Option1_0"
                                      << "mouse";
    QTest::newRow("mouse on femmina") << "Option1_1"
                                      << "mouse";
    QTest::newRow("space on maschio") << "Option1_0"
                                      << "space";
    QTest::newRow("mouse at the right end of maschio") << "Option1_0"
                                                       << "mouse right";
    QTest::newRow("mouse at the right end of femmina") << "Option1_1"
                                                       << "mouse right";
    QTest::newRow("down from maschio picks femmina") << "Option1_1"
                                                     << "Down";
    QTest::newRow("right from maschio picks femmina") << "Option1_1"
                                                      << "Right";
    QTest::newRow("up from femmina picks maschio") << "Option1_0"
                                                   << "Up";
    QTest::newRow("left from femmina picks maschio") << "Option1_0"
                                                     << "Left";
}

void Form1KeysTest::choosing_a_sex_moves_to_calculate() {
    QFETCH(QString, option);
    QFETCH(QString, how);

    Form1Harness h;
    QVERIFY(h.show());
    auto* button = h.get<QRadioButton>(option);
    const QMap<QString, Qt::Key> arrows = {{"Up", Qt::Key_Up},
                                           {"Down", Qt::Key_Down},
                                           {"Left", Qt::Key_Left},
                                           {"Right", Qt::Key_Right}};
    if (how == QLatin1String("mouse")) {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    } else if (how == QLatin1String("mouse right")) {
        QTest::mouseClick(button, Qt::LeftButton, {},
                          QPoint(button->width() - 2, button->height() / 2));
    } else if (arrows.contains(how)) {
        // The arrow is pressed on the other option, the one that has the focus.
        QRadioButton* from = h.option1(option == QLatin1String("Option1_0") ? 1 : 0);
        if (option == QLatin1String("Option1_0")) from->setChecked(true);
        from->setFocus();
        QTRY_COMPARE_WITH_TIMEOUT(h.focus_name(), from->objectName(), 60000);
        QTest::keyClick(from, arrows[how]);
    } else {
        button->setFocus();
        QTRY_COMPARE_WITH_TIMEOUT(h.focus_name(), option, 60000);
        QTest::keyClick(button, Qt::Key_Space);
    }
    QTRY_COMPARE_WITH_TIMEOUT(h.focus_name(), QStringLiteral("Command1"), 60000);
    QVERIFY(button->isChecked());
}

void Form1KeysTest::enter_and_space_run_a_focused_button_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("enter") << int(Qt::Key_Return);
    QTest::newRow("space") << int(Qt::Key_Space);
}

// The calculate button, run from the keyboard.
void Form1KeysTest::enter_and_space_run_a_focused_button() {
    QFETCH(int, key);
    Form1Harness h;
    QVERIFY(h.show());
    h.fill_worked_example();
    QPushButton* calculate = h.button(QStringLiteral("Command1"));
    calculate->setFocus();
    QTRY_COMPARE_WITH_TIMEOUT(h.focus_name(), QStringLiteral("Command1"), 60000);
    QTest::keyClick(calculate, Qt::Key(key));
    QTRY_COMPARE_WITH_TIMEOUT(h.labels(), Form1Harness::worked_example_results(), 60000);
}

// Alt+O opens "Opzioni"; one Esc closes it and gives the keyboard back to the box: the window's
// focus is there again and the next digit typed lands in it. (The offscreen platform leaves the
// closed menu the active window, so the window's own focus is what is looked at.)
void Form1KeysTest::menu_key_then_escape_gives_the_box_back_its_keyboard() {
    Form1Harness h;
    QVERIFY(h.show());
    h.text1(2)->setText(QStringLiteral("70"));
    h.text1(2)->setFocus();
    QTRY_COMPARE_WITH_TIMEOUT(h.focus_name(), QStringLiteral("Text1_2"), 60000);

    QTest::keyClick(h.text1(2), Qt::Key_O, Qt::AltModifier);
    QMenu* menu = h.get<QMenu>(QStringLiteral("mnu_opzioni"));
    QTRY_VERIFY_WITH_TIMEOUT(menu->isVisible(), 60000);
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Escape);
    QTRY_VERIFY_WITH_TIMEOUT(!menu->isVisible(), 60000);
    QTRY_COMPARE_WITH_TIMEOUT(h.form->focusWidget()->objectName(), QStringLiteral("Text1_2"),
                              60000);
    QTest::keyClick(h.form->focusWidget(), Qt::Key_5);
    // That Esc was the menu's: it does not ask whether to quit.
    QVERIFY(h.message_box.shown.empty());
    QCOMPARE(h.text1(2)->text(), QStringLiteral("705"));
}

void Form1KeysTest::escape_asks_before_quitting_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("visible_after");
    QTest::newRow("yes closes") << int(Answer::Yes) << false;
    QTest::newRow("no keeps everything") << int(Answer::No) << true;
}

void Form1KeysTest::escape_asks_before_quitting() {
    QFETCH(int, answer);
    QFETCH(bool, visible_after);

    Form1Harness h;
    QVERIFY(h.show());
    h.message_box.script = {Answer(answer)};
    h.text1(1)->setText(QStringLiteral("80"));
    h.text1(1)->setFocus();
    QTRY_COMPARE_WITH_TIMEOUT(h.focus_name(), QStringLiteral("Text1_1"), 60000);

    QTest::keyClick(h.text1(1), Qt::Key_Escape);

    QCOMPARE(h.message_box.shown.size(), std::size_t(1));
    QCOMPARE(h.message_box.shown[0].prompt, std::string("uscire?"));
    QCOMPARE(h.message_box.shown[0].buttons, Buttons::YesNo);
    QCOMPARE(h.message_box.shown[0].icon, Icon::Question);
    QCOMPARE(h.form->isVisible(), visible_after);
    if (visible_after) {
        QCOMPARE(h.text1(1)->text(), QStringLiteral("80"));
        QCOMPARE(h.focus_name(), QStringLiteral("Text1_1"));
    }
}

QTEST_MAIN(Form1KeysTest)
#include "test_form1_keys.moc"
