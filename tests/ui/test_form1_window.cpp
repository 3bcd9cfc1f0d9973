#include <QAccessible>
#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

#include "form1_harness.h"
#include "platform/linux/qt_translations.h"

using ristemo::test::Form1Harness;

class Form1WindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QApplication::setQuitOnLastWindowClosed(false);
        QVERIFY(ristemo::platform::install_qt_translations());
    }

    void geometry_in_pixels_data();
    void geometry_in_pixels();
    void fonts_and_limits_data();
    void fonts_and_limits();
    void fixed_size_with_close_button_only();
    void starts_empty_with_focus_in_creatinine();
    void menu_tree();
    void accessible_names_data();
    void accessible_names();
    void every_control_is_named();
    void icon_is_16_pixels_and_transparent_at_the_sides();
    void input_box_menu_in_italian_data();
    void input_box_menu_in_italian();
};

// Twips divided by 15.
void Form1WindowTest::geometry_in_pixels_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");

    QTest::newRow("Frame1") << "Frame1" << QRect(8, 0, 473, 137);
    QTest::newRow("Frame2") << "Frame2" << QRect(8, 144, 473, 185);
    QTest::newRow("Frame3") << "Frame3" << QRect(8, 328, 473, 49);
    QTest::newRow("height box left of age") << "Text1_3" << QRect(240, 24, 65, 25);
    QTest::newRow("age box") << "Text1_2" << QRect(368, 24, 65, 25);
    QTest::newRow("weight box") << "Text1_1" << QRect(124, 24, 65, 26);
    QTest::newRow("age caption") << "Label1_2" << QRect(360, 56, 81, 17);
    QTest::newRow("femmina") << "Option1_1" << QRect(120, 96, 97, 17);
    QTest::newRow("calcola") << "Command1" << QRect(352, 88, 100, 25);
    QTest::newRow("lean mass caption") << "Label2_4" << QRect(16, 152, 225, 17);
    QTest::newRow("lean mass box") << "Label3_4" << QRect(312, 144, 153, 25);
    QTest::newRow("nuovo third in the row") << "Command2" << QRect(240, 16, 100, 25);
    QTest::newRow("esci last in the row") << "Command3_2" << QRect(352, 16, 100, 25);
}

void Form1WindowTest::geometry_in_pixels() {
    QFETCH(QString, name);
    QFETCH(QRect, rect);
    Form1Harness h;
    QWidget* w = h.get<QWidget>(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(w->geometry(), rect);
}

void Form1WindowTest::fonts_and_limits_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("points");
    QTest::addColumn<int>("max_length");  // -1: not an input box
    QTest::addColumn<QString>("tooltip");

    QTest::newRow("creatinine") << "Text1_0" << 9.75 << 4
                                << "immettere creatinina plasmatica in mg/dl";
    QTest::newRow("weight") << "Text1_1" << 9.75 << 5 << "peso del soggetto in esame";
    QTest::newRow("age") << "Text1_2" << 9.75 << 3 << "et\u00e0 in anni";
    QTest::newRow("height") << "Text1_3" << 9.75 << 4 << "esprimere in mt (es. 1,75)";
    QTest::newRow("clearance box") << "Label3_0" << 12.0 << -1 << "";
    QTest::newRow("ideal weight box uses window font") << "Label3_2" << 8.25 << -1 << "";
    QTest::newRow("result caption") << "Label2_1" << 8.25 << -1 << "";
    QTest::newRow("print button") << "Command3_0" << 8.25 << -1 << "stampa diretta dei risultati";
    QTest::newRow("new button") << "Command2" << 8.25 << -1 << "esegue un nuovo calcolo";
}

void Form1WindowTest::fonts_and_limits() {
    QFETCH(QString, name);
    QFETCH(double, points);
    QFETCH(int, max_length);
    QFETCH(QString, tooltip);
    Form1Harness h;
    QWidget* w = h.get<QWidget>(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(w->font().family(), QStringLiteral("Verdana"));
    QCOMPARE(w->font().pointSizeF(), points);
    QVERIFY(w->font().bold());
    QCOMPARE(w->toolTip(), tooltip);
    if (max_length >= 0) QCOMPARE(qobject_cast<QLineEdit*>(w)->maxLength(), max_length);
}

void Form1WindowTest::fixed_size_with_close_button_only() {
    Form1Harness h;
    QVERIFY(h.show());
    QCOMPARE(h.form->minimumSize(), h.form->maximumSize());
    QCOMPARE(h.form->centralWidget()->size(), QSize(487, 383));
    const Qt::WindowFlags flags = h.form->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QCOMPARE(h.form->windowTitle(),
             QStringLiteral("Ristemo 1.0 - \u00a9 2026 gli autori di Ristemo"));
}

void Form1WindowTest::starts_empty_with_focus_in_creatinine() {
    Form1Harness h;
    QVERIFY(h.show());
    QTRY_COMPARE_WITH_TIMEOUT(h.focus_name(), QStringLiteral("Text1_0"), 60000);
    for (int i = 0; i < 4; ++i) QCOMPARE(h.text1(i)->text(), QString());
    QCOMPARE(h.labels(), QStringList({"", "", "", "", ""}));
    QVERIFY(!h.option1(0)->isChecked());
    QVERIFY(!h.option1(1)->isChecked());
    QVERIFY(!h.form->record().data_ok);
}

void Form1WindowTest::menu_tree() {
    Form1Harness h;
    auto captions = [](const QList<QAction*>& actions) {
        QStringList out;
        for (QAction* a : actions) {
            QString text = a->text();
            if (!a->shortcut().isEmpty()) text += QLatin1Char('\t') + a->shortcut().toString();
            out << text;
        }
        return out;
    };
    QCOMPARE(captions(h.form->menuBar()->actions()), QStringList({"&Opzioni", "Info"}));
    QCOMPARE(captions(h.get<QMenu>(QStringLiteral("mnu_opzioni"))->actions()),
             QStringList({"Calcolo\tF5", "Stampa\tF3", "Notepad\tF7", "Azzera\tF8", "Esci\tF12"}));
    QCOMPARE(captions(h.get<QMenu>(QStringLiteral("mnu_info"))->actions()),
             QStringList({"Ristemo", "medical software"}));
    QCOMPARE(captions(h.get<QMenu>(QStringLiteral("mnu_sofr"))->actions()),
             QStringList({"terapia anticoagulante", "stampa rapida ricette", "insulino-resistenza",
                          "sito ZENTAB"}));
}

void Form1WindowTest::accessible_names_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("accessible_name");
    QTest::addColumn<QString>("description");

    QTest::newRow("creatinine box") << "Text1_0"
                                    << "creatinina"
                                    << "immettere creatinina plasmatica in mg/dl";
    QTest::newRow("age box") << "Text1_2"
                             << "et\u00e0 (anni)"
                             << "et\u00e0 in anni";
    QTest::newRow("height box") << "Text1_3"
                                << "altezza (m)"
                                << "esprimere in mt (es. 1,75)";
    QTest::newRow("maschio") << "Option1_0"
                             << "maschio"
                             << "";
    QTest::newRow("calcola") << "Command1"
                             << "calcola (F5)"
                             << "procedi al calcolo";
    QTest::newRow("clearance box") << "Label3_0"
                                   << "clearance  creatinina stimata"
                                   << "clearance  creatinina stimata";
    QTest::newRow("ideal weight box") << "Label3_2"
                                      << "peso ideale e scostamento"
                                      << "peso ideale e scostamento";
    QTest::newRow("output frame") << "Frame2"
                                  << "OUTPUT"
                                  << "";
}

// What a screen reader is told, read through the accessibility layer.
void Form1WindowTest::accessible_names() {
    QFETCH(QString, name);
    QFETCH(QString, accessible_name);
    QFETCH(QString, description);
    Form1Harness h;
    QVERIFY(h.show());
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(h.get<QWidget>(name));
    QVERIFY(iface);
    QCOMPARE(iface->text(QAccessible::Name), accessible_name);
    QCOMPARE(iface->text(QAccessible::Description), description);
}

void Form1WindowTest::every_control_is_named() {
    Form1Harness h;
    QVERIFY(h.show());
    const QList<QWidget*> widgets = h.form->centralWidget()->findChildren<QWidget*>();
    QCOMPARE(widgets.size(), 3 + 4 + 4 + 2 + 1 + 5 + 5 + 3 + 1);
    for (QWidget* w : widgets) {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
        QVERIFY(iface);
        QVERIFY2(!iface->text(QAccessible::Name).isEmpty(), qPrintable(w->objectName()));
    }
    for (QAction* a : h.form->findChildren<QAction*>()) {
        if (a->menu() == nullptr) QVERIFY2(!a->text().isEmpty(), qPrintable(a->objectName()));
    }
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(h.form->menuBar());
    QStringList menu_names;
    for (int i = 0; i < bar->childCount(); ++i)
        menu_names << bar->child(i)->text(QAccessible::Name);
    QCOMPARE(menu_names, QStringList({"Opzioni", "Info"}));
}

void Form1WindowTest::icon_is_16_pixels_and_transparent_at_the_sides() {
    Form1Harness h;
    const QImage image = h.form->windowIcon().pixmap(16, 16).toImage();
    QCOMPARE(image.size(), QSize(16, 16));
    for (int y = 0; y < 16; ++y) {
        QCOMPARE(qAlpha(image.pixel(0, y)), 0);
        QCOMPARE(qAlpha(image.pixel(15, y)), 0);
    }
    QSet<QRgb> colours;
    for (int y = 0; y < 16; ++y)
        for (int x = 2; x < 14; ++x) colours.insert(image.pixel(x, y));
    QCOMPARE(colours, QSet<QRgb>({qRgb(0, 0, 0), qRgb(128, 128, 128), qRgb(192, 192, 192),
                                  qRgb(255, 255, 255)}));
}

void Form1WindowTest::input_box_menu_in_italian_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("text");
    QTest::newRow("undo") << 0 << "Ann&ulla";
    QTest::newRow("redo") << 1 << "&Rifai";
    QTest::newRow("cut") << 3 << "&Taglia";
    QTest::newRow("copy") << 4 << "&Copia";
    QTest::newRow("paste") << 5 << "&Incolla";
    QTest::newRow("delete") << 6 << "Elimina";
    QTest::newRow("select all") << 8 << "Seleziona tutto";
}

// The right-click menu of an input box, with Qt's texts as the program loads them.
void Form1WindowTest::input_box_menu_in_italian() {
    QFETCH(int, position);
    QFETCH(QString, text);
    Form1Harness h;
    const std::unique_ptr<QMenu> menu(h.text1(0)->createStandardContextMenu());
    QCOMPARE(menu->actions().at(position)->text().section(QLatin1Char('\t'), 0, 0), text);
}

QTEST_MAIN(Form1WindowTest)
#include "test_form1_window.moc"
