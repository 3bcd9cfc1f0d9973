#include <QAccessible>
#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QtTest>
#include <cmath>
#include <vector>

#include "core/app_info.h"
#include "form/form1_design.h"
#include "form1_harness.h"
#include "platform/linux/qt_translations.h"

namespace form = ristemo::form;
using ristemo::test::Form1Harness;

class Form1WindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QApplication::setQuitOnLastWindowClosed(false);
        QVERIFY(ristemo::platform::install_qt_translations());
    }

    void controls_stand_where_the_design_says_data();
    void controls_stand_where_the_design_says();
    void fixed_size_with_close_button_only();
    void starts_empty_with_focus_in_creatinine();
    void menus_follow_the_design();
    void accessible_names_data();
    void accessible_names();
    void results_are_named_by_what_they_show();
    void sex_options_are_the_group_sesso();
    void results_and_choices_are_announced();
    void every_control_is_named();
    void text_colours_data();
    void text_colours();
    void icon_is_16_pixels_and_transparent_at_the_sides();
    void input_box_menu_in_italian_data();
    void input_box_menu_in_italian();
};

void Form1WindowTest::controls_stand_where_the_design_says_data() {
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < std::size(form::kControls); ++i) {
        const form::ControlDesign& d = form::kControls[i];
        QTest::addRow("%s", form::object_name(d.ref()).c_str()) << int(i);
    }
}

// Each control of the design, found by its name, in its frame at its place in pixels (15 twips
// each), with its caption, tooltip, font and limit.
void Form1WindowTest::controls_stand_where_the_design_says() {
    QFETCH(int, row);
    const form::ControlDesign& d = form::kControls[row];
    Form1Harness h;
    QWidget* w = h.get<QWidget>(d.ref());
    QVERIFY(w);

    const auto px = [](int twips) { return int(std::lround(twips / 15.0)); };
    // The sex options stand in a group of their own inside their frame.
    const form::ControlDesign* frame_design = form::frame_of(d);
    auto* frame = h.get<QWidget>(
        frame_design ? QString::fromStdString(form::object_name(frame_design->ref())) : "client");
    QVERIFY(frame && frame->isAncestorOf(w));
    QCOMPARE(QRect(w->mapTo(frame, QPoint()), w->size()),
             QRect(px(d.left), px(d.top), px(d.width), px(d.height)));

    QString caption;
    if (auto* label = qobject_cast<QLabel*>(w)) caption = label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) caption = button->text();
    if (auto* frame = qobject_cast<QGroupBox*>(w)) caption = frame->title();
    if (auto* box = qobject_cast<QLineEdit*>(w)) caption = box->text();
    QCOMPARE(caption, QString::fromUtf8(d.caption));
    QCOMPARE(w->toolTip(), QString::fromUtf8(d.tooltip));

    const form::Font font = form::font_of(d.font);
    QCOMPARE(w->font().family(), QString::fromUtf8(font.face));
    QCOMPARE(w->font().pointSizeF(), font.points);
    QCOMPARE(w->font().bold(), font.bold);
    auto* box = qobject_cast<QLineEdit*>(w);
    QCOMPARE(box != nullptr, d.kind == form::ControlKind::InputBox);
    if (box) QCOMPARE(box->maxLength(), d.max_length);
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
    QCOMPARE(h.form->windowTitle(), QString::fromUtf8(ristemo::core::kAppTitle));
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

// Each entry of the design's menu tree, in order, in the menu that holds it, with its caption and
// function key.
void Form1WindowTest::menus_follow_the_design() {
    Form1Harness h;
    std::vector<QList<QAction*>> open{h.form->menuBar()->actions()};
    std::vector<int> next{0};
    for (std::size_t i = 0; i < std::size(form::kMenus); ++i) {
        const form::MenuDesign& entry = form::kMenus[i];
        open.resize(std::size_t(entry.level));
        next.resize(std::size_t(entry.level));
        const QList<QAction*>& siblings = open.back();
        const int position = next.back()++;
        QVERIFY2(position < siblings.size(), entry.name);
        QAction* action = siblings.at(position);
        QCOMPARE(action->text(), QString::fromUtf8(entry.caption));
        const int function_key = form::function_key_of(entry.command);
        const QKeySequence key =
            function_key ? QKeySequence(int(Qt::Key_F1) + function_key - 1) : QKeySequence();
        QCOMPARE(action->shortcut(), key);
        QCOMPARE(action->menu() != nullptr, form::is_menu(i));
        if (action->menu()) {
            QCOMPARE(action->menu()->objectName(), QString::fromUtf8(entry.name));
            open.push_back(action->menu()->actions());
            next.push_back(0);
        } else {
            QCOMPARE(action->objectName(), QString::fromUtf8(entry.name));
        }
    }
    QCOMPARE(next.front(), h.form->menuBar()->actions().size());
}

// Every control: named as the design says, described by its tooltip; a result box, which is named
// by what it shows once it shows something, is described by its caption.
void Form1WindowTest::accessible_names_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("accessible_name");
    QTest::addColumn<QString>("description");
    for (const form::ControlDesign& d : form::kControls) {
        const std::string name = form::object_name(d.ref());
        const char* description =
            d.kind == form::ControlKind::ResultBox ? form::accessible_name(d) : d.tooltip;
        QTest::addRow("%s", name.c_str())
            << QString::fromStdString(name) << QString::fromUtf8(form::accessible_name(d))
            << QString::fromUtf8(description);
    }
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

// A reader that speaks names hears the number; the caption it has read beside the box is the
// description. An empty box is named by its caption.
void Form1WindowTest::results_are_named_by_what_they_show() {
    Form1Harness h;
    QVERIFY(h.show());
    h.fill_worked_example();
    const auto name_of = [&h](int i) {
        return QAccessible::queryAccessibleInterface(h.label3(i))->text(QAccessible::Name);
    };
    const auto description_of = [&h](int i) {
        return QAccessible::queryAccessibleInterface(h.label3(i))->text(QAccessible::Description);
    };

    const QStringList results = Form1Harness::worked_example_results();
    h.form->form().run(form::Command::Calculate);
    for (int i = 0; i < 5; ++i) {
        const QString caption = QString::fromUtf8(
            form::accessible_name(*form::find_control({form::Control::Label3, i})));
        QCOMPARE(name_of(i), results[i]);
        QCOMPARE(description_of(i), caption);
        h.form->set_Label3_caption(i, {});
        QCOMPARE(name_of(i), caption);
    }
}

namespace {

double luminance(QRgb rgb) {
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) +
           0.0722 * channel(qBlue(rgb));
}

double contrast(QRgb a, QRgb b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Where a control draws its caption: a frame's label, an option's text, a label's inside.
QRect text_area(QWidget* w) {
    if (auto* frame = qobject_cast<QGroupBox*>(w)) {
        QStyleOptionGroupBox option;
        option.initFrom(frame);
        option.text = frame->title();
        option.textAlignment = frame->alignment();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        return frame->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                              QStyle::SC_GroupBoxLabel, frame);
    }
    if (auto* radio = qobject_cast<QRadioButton*>(w)) {
        QStyleOptionButton option;
        option.initFrom(radio);
        option.text = radio->text();
        return radio->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, radio);
    }
    return w->rect().adjusted(2, 2, -2, -2);  // inside the border
}

// The pixels of the control's caption as drawn: the commonest colour is the background, the one
// farthest from it the text.
struct Drawn {
    QRgb background = 0;
    QRgb text = 0;
};

Drawn drawn(QWidget* w) {
    const QImage image = w->grab(text_area(w)).toImage().convertToFormat(QImage::Format_RGB32);
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) ++counts[image.pixel(x, y)];
    Drawn d;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) most = it.value(), d.background = it.key();
    }
    d.text = d.background;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (contrast(it.key(), d.background) > contrast(d.text, d.background)) d.text = it.key();
    }
    return d;
}

}  // namespace

void Form1WindowTest::text_colours_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("dark");
    QTest::addColumn<QColor>("designed");  // the colour on the usual, light desktop

    using form::Control;
    const form::ControlRef controls[] = {{Control::Label1, 2}, {Control::Option1, 1},
                                         {Control::Frame1},    {Control::Frame2},
                                         {Control::Label3, 0}, {Control::Label3, 2}};
    for (const form::ControlRef& c : controls) {
        const form::Rgb rgb = form::rgb_of(form::find_control(c)->colour);
        const QColor colour(rgb.red, rgb.green, rgb.blue);
        const QString name = QString::fromStdString(form::object_name(c));
        QTest::addRow("%s light", qPrintable(name)) << name << false << colour;
        QTest::addRow("%s dark", qPrintable(name)) << name << true << colour;
    }
}

// On a light desktop captions and results keep their own colours; on a dark one (a high-contrast
// scheme) they take the desktop's text colours, which are readable on its background.
void Form1WindowTest::text_colours() {
    QFETCH(QString, name);
    QFETCH(bool, dark);
    QFETCH(QColor, designed);

    const QPalette usual = QApplication::palette();
    if (dark) {
        QPalette black(Qt::white, Qt::black);  // text, window
        black.setColor(QPalette::Base, Qt::black);
        black.setColor(QPalette::Text, Qt::yellow);
        black.setColor(QPalette::WindowText, Qt::white);
        QApplication::setPalette(black);
    }
    Drawn d;
    {
        Form1Harness h;
        QVERIFY(h.show());
        h.fill_worked_example();
        h.form->form().run(ristemo::form::Command::Calculate);
        d = drawn(h.get<QWidget>(name));
    }
    QApplication::setPalette(usual);

    if (dark) {
        QVERIFY2(contrast(d.text, d.background) >= 4.5,
                 qPrintable(QStringLiteral("%1 on %2: %3:1")
                                .arg(QColor(d.text).name(), QColor(d.background).name())
                                .arg(contrast(d.text, d.background), 0, 'f', 1)));
    } else {
        QCOMPARE(QColor(d.text), designed);
    }
}

// Screen readers name an option by the nearest named grouping around it; a plain widget would be
// a filler, which they pass over.
void Form1WindowTest::sex_options_are_the_group_sesso() {
    Form1Harness h;
    QVERIFY(h.show());
    for (const char* option : {"Option1_0", "Option1_1"}) {
        QAccessibleInterface* group =
            QAccessible::queryAccessibleInterface(h.get<QWidget>(option))->parent();
        QCOMPARE(group->role(), QAccessible::Grouping);
        QCOMPARE(group->text(QAccessible::Name), QStringLiteral("sesso"));
    }
}

// What is said without moving the focus stands in a notification: a choice of sex from the
// keyboard, then the results. (Offscreen, no screen reader takes the event that shows it.)
void Form1WindowTest::results_and_choices_are_announced() {
    Form1Harness h;
    QVERIFY(h.show());
    h.fill(QStringLiteral("1,2"), QStringLiteral("80"), QStringLiteral("70"),
           QStringLiteral("1,75"), ' ');
    QAccessibleInterface* notification =
        QAccessible::queryAccessibleInterface(h.get<QWidget>("announcement"));
    QCOMPARE(notification->role(), QAccessible::Notification);
    QVERIFY(notification->state().invisible);

    h.option1(1)->setFocus();
    QTest::keyClick(h.option1(1), Qt::Key_Space);
    QCOMPARE(notification->text(QAccessible::Name), QStringLiteral("femmina, selezionato"));
    QCOMPARE(h.focus_name(), QStringLiteral("Command1"));

    h.form->form().run(form::Command::Calculate);
    QCOMPARE(notification->text(QAccessible::Name),
             QStringLiteral("clearance  creatinina stimata 55,1. body mass index 26,1. peso "
                            "ideale e scostamento 65,8 (+21,5%). superficie corporea 1,96. stima "
                            "massa magra 60,28"));
}

void Form1WindowTest::every_control_is_named() {
    Form1Harness h;
    QVERIFY(h.show());
    QList<QWidget*> widgets = h.form->centralWidget()->findChildren<QWidget*>();
    // Neither is a control of the design: the sex options' group, and what is announced.
    widgets.removeOne(h.get<QWidget>("Option1_group"));
    widgets.removeOne(h.get<QWidget>("announcement"));
    QCOMPARE(std::size_t(widgets.size()), std::size(form::kControls));
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
