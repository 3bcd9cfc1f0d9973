#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "platform/linux/qt_message_box.h"

using ristemo::platform::Answer;
using ristemo::platform::Buttons;
using ristemo::platform::Icon;
using ristemo::platform::QtMessageBox;

Q_DECLARE_METATYPE(Buttons)
Q_DECLARE_METATYPE(Icon)
Q_DECLARE_METATYPE(Answer)

class QtMessageBoxTest : public QObject {
    Q_OBJECT

private slots:
    void built_box_data();
    void built_box();
    void real_box_answers_data();
    void real_box_answers();
};

void QtMessageBoxTest::built_box_data() {
    QTest::addColumn<Buttons>("buttons");
    QTest::addColumn<Icon>("icon");
    QTest::addColumn<QStringList>("texts");  // the buttons, default first
    QTest::addColumn<QString>("escape");

    QTest::newRow("ok") << Buttons::Ok << Icon::None << QStringList{"OK"} << "OK";
    QTest::newRow("yes no with question")
        << Buttons::YesNo << Icon::Question << QStringList{"S\u00ec", "No"} << "No";
    QTest::newRow("yes no cancel") << Buttons::YesNoCancel << Icon::None
                                   << QStringList{"S\u00ec", "No", "Annulla"} << "Annulla";
}

void QtMessageBoxTest::built_box() {
    QFETCH(Buttons, buttons);
    QFETCH(Icon, icon);
    QFETCH(QStringList, texts);
    QFETCH(QString, escape);

    QMessageBox box;
    ristemo::platform::prepare_message_box(box, QStringLiteral("ristemo"),
                                           QStringLiteral("riga uno\r\n\r\nriga tre\r\n"), buttons,
                                           icon);
    QCOMPARE(box.windowTitle(), QStringLiteral("ristemo"));
    QCOMPARE(box.text(), QStringLiteral("riga uno\n\nriga tre\n"));
    QCOMPARE(box.textFormat(), Qt::PlainText);
    QCOMPARE(box.icon(), icon == Icon::Question ? QMessageBox::Question : QMessageBox::NoIcon);
    QStringList shown;
    for (QAbstractButton* b : box.buttons()) shown << b->text();
    shown.sort();
    QStringList expected = texts;
    expected.sort();
    QCOMPARE(shown, expected);
    QCOMPARE(box.defaultButton()->text(), texts.first());
    QCOMPARE(box.escapeButton()->text(), escape);
}

void QtMessageBoxTest::real_box_answers_data() {
    QTest::addColumn<Buttons>("buttons");
    QTest::addColumn<QString>("action");  // a button text, or "enter", "escape", "close"
    QTest::addColumn<Answer>("answer");

    QTest::newRow("ok by enter") << Buttons::Ok << "enter" << Answer::Ok;
    QTest::newRow("enter chooses yes") << Buttons::YesNo << "enter" << Answer::Yes;
    QTest::newRow("escape is no without cancel") << Buttons::YesNo << "escape" << Answer::No;
    QTest::newRow("closing is no without cancel") << Buttons::YesNo << "close" << Answer::No;
    QTest::newRow("no clicked") << Buttons::YesNoCancel << "No" << Answer::No;
    QTest::newRow("yes clicked") << Buttons::YesNoCancel << "S\u00ec" << Answer::Yes;
    QTest::newRow("escape is cancel") << Buttons::YesNoCancel << "escape" << Answer::Cancel;
    QTest::newRow("closing is cancel") << Buttons::YesNoCancel << "close" << Answer::Cancel;
}

// Drives a real modal box: found once it is up, checked, then answered like a user would.
void QtMessageBoxTest::real_box_answers() {
    QFETCH(Buttons, buttons);
    QFETCH(QString, action);
    QFETCH(Answer, answer);

    QString title;
    QString default_text;
    bool found = false;
    std::function<void()> answer_box = [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) {
            QTimer::singleShot(10, answer_box);
            return;
        }
        found = true;
        title = box->windowTitle();
        default_text = box->defaultButton() ? box->defaultButton()->text() : QString();
        if (action == QLatin1String("enter")) {
            QTest::keyClick(box, Qt::Key_Return);
        } else if (action == QLatin1String("escape")) {
            QTest::keyClick(box, Qt::Key_Escape);
        } else if (action == QLatin1String("close")) {
            box->close();
        } else {
            for (QAbstractButton* b : box->buttons())
                if (b->text() == action) b->click();
        }
    };
    QTimer::singleShot(0, answer_box);

    QtMessageBox message_box(QStringLiteral("ristemo"));
    const Answer got = message_box.show_message("uscire?", buttons, Icon::Question);

    QVERIFY(found);
    QCOMPARE(title, QStringLiteral("ristemo"));
    QCOMPARE(default_text,
             buttons == Buttons::Ok ? QStringLiteral("OK") : QStringLiteral("S\u00ec"));
    QCOMPARE(got, answer);
}

QTEST_MAIN(QtMessageBoxTest)
#include "test_qt_message_box.moc"
