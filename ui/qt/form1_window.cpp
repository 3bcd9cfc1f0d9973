#include "ui/qt/form1_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "core/app_info.h"
#include "form/captions.h"
#include "platform/linux/window_hints.h"
#include "ui/qt/calculator_icon.h"

namespace ristemo::ui {

namespace {

// The layout is drawn in twips; 15 twips make one pixel at 96 dots per inch, and Qt scales
// pixels on screens of higher density.
int px(int twips) {
    return (twips + 7) / 15;
}

struct Place {
    int left, top, width, height;
};

void place(QWidget* w, Place g) {
    w->setGeometry(px(g.left), px(g.top), px(g.width), px(g.height));
}

constexpr int kClientWidth = 7305;
constexpr int kClientHeight = 5745;

const QColor kDarkBlue(0, 0, 128);
const QColor kBlue(0, 0, 192);
const QColor kDarkRed(128, 0, 0);

QFont verdana(double points) {
    QFont font(QStringLiteral("Verdana"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

void set_text_colour(QWidget* w, const QColor& colour) {
    QPalette palette = w->palette();
    palette.setColor(QPalette::WindowText, colour);
    w->setPalette(palette);
}

// A frame's caption takes the frame's text colour, which its children inherit; so every label in
// a coloured frame sets its own colour.
QGroupBox* make_frame(QWidget* parent, const char* name, const QString& caption, Place g) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(QLatin1String(name));
    frame->setAccessibleName(caption.isEmpty() ? QStringLiteral("comandi") : caption);
    place(frame, g);
    return frame;
}

QPushButton* make_button(QWidget* parent, const QString& name, const QString& caption,
                         const QString& tip, Place g) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(tip);
    button->setAccessibleName(caption);
    button->setAutoDefault(false);
    button->setDefault(false);
    place(button, g);
    return button;
}

struct InputBox {
    int index;
    Place box;
    Place caption;
    const char* tip;
    int max_length;
};

// In Text1 index order: creatinine, weight, age, height (height stands left of age on screen).
const InputBox kInputs[4] = {
    {0, {360, 360, 975, 390}, {360, 840, 975, 255}, "immettere creatinina plasmatica in mg/dl", 4},
    {1, {1860, 360, 975, 390}, {1860, 840, 975, 255}, "peso del soggetto in esame", 5},
    {2, {5520, 360, 975, 375}, {5400, 840, 1215, 255}, "et\u00e0 in anni", 3},
    {3, {3600, 360, 975, 375}, {3480, 840, 1335, 255}, "esprimere in mt (es. 1,75)", 4},
};

// A dark desktop palette (a high-contrast scheme among them) makes the fixed dark blue and dark
// red unreadable: there the captions and results take the desktop's own text colours.
bool is_dark(const QColor& background) {
    return background.lightnessF() < 0.5;
}

struct Colours {
    QColor input_frame, output_frame, caption, result, border;
};

Colours window_colours() {
    const QPalette palette = QApplication::palette();
    const bool dark_window = is_dark(palette.color(QPalette::Window));
    const bool dark_base = is_dark(palette.color(QPalette::Base));
    const QColor text = palette.color(QPalette::WindowText);
    return {dark_window ? text : kBlue, dark_window ? text : kDarkRed,
            dark_window ? text : kDarkBlue, dark_base ? palette.color(QPalette::Text) : kDarkRed,
            dark_base ? palette.color(QPalette::Text) : QColor(Qt::black)};
}

// An option button answers a click anywhere in its area, not only on its circle and caption.
class OptionButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

}  // namespace

Form1Window::Form1Window(const form::Services& services, QWidget* parent)
    : QMainWindow(parent), form_(*this, services) {
    setObjectName(QStringLiteral("Form1"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::CustomizeWindowHint);
    setWindowTitle(QString::fromUtf8(core::kAppTitle));
    setWindowIcon(calculator_icon());
    setFont(verdana(8.25));

    create_controls();
    create_actions();
    create_menus();
    set_tab_order();

    // The menu bar keeps the desktop's own font, like the message boxes.
    menuBar()->setFont(QApplication::font());
    platform::keep_fixed_size(
        *this, QSize(px(kClientWidth), px(kClientHeight) + menuBar()->sizeHint().height()));
    platform::keep_out_of_taskbar(*this);

    qApp->installEventFilter(this);
    c_.Text1[0]->setFocus();
}

Form1Window::~Form1Window() {
    qApp->removeEventFilter(this);
}

void Form1Window::create_controls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(px(kClientWidth), px(kClientHeight));
    setCentralWidget(client);

    c_.Frame1 = make_frame(client, "Frame1", QStringLiteral("INPUT"), {120, 0, 7095, 2055});
    c_.Frame2 = make_frame(client, "Frame2", QStringLiteral("OUTPUT"), {120, 2160, 7095, 2775});
    c_.Frame3 = make_frame(client, "Frame3", QString(), {120, 4920, 7095, 735});
    const Colours colours = window_colours();
    set_text_colour(c_.Frame1, colours.input_frame);
    set_text_colour(c_.Frame2, colours.output_frame);
    // Flat look: a single line instead of the sunken 3D edge.
    const QString flat_border = QStringLiteral("border: 1px solid %1; ").arg(colours.border.name());

    for (const InputBox& in : kInputs) {
        auto* box = new QLineEdit(c_.Frame1);
        box->setObjectName(QStringLiteral("Text1_%1").arg(in.index));
        box->setFont(verdana(9.75));
        box->setAlignment(Qt::AlignCenter);
        box->setMaxLength(in.max_length);
        box->setToolTip(QString::fromUtf8(in.tip));
        box->setAccessibleName(QString::fromUtf8(form::Text1_accessible_name(in.index)));
        box->setAccessibleDescription(QString::fromUtf8(in.tip));
        box->setStyleSheet(QStringLiteral("QLineEdit { ") + flat_border +
                           QStringLiteral("background: palette(base); }"));
        place(box, in.box);
        c_.Text1[in.index] = box;

        auto* caption = new QLabel(QString::fromUtf8(form::kLabel1Captions[in.index]), c_.Frame1);
        caption->setObjectName(QStringLiteral("Label1_%1").arg(in.index));
        caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        caption->setAccessibleName(caption->text());
        set_text_colour(caption, colours.caption);
        place(caption, in.caption);
        c_.Label1[in.index] = caption;
    }

    const Place option_places[2] = {{360, 1440, 1335, 255}, {1800, 1440, 1455, 255}};
    const char* const option_captions[2] = {"maschio", "femmina"};
    c_.sex_group = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        auto* option = new OptionButton(QString::fromUtf8(option_captions[i]), c_.Frame1);
        option->setObjectName(QStringLiteral("Option1_%1").arg(i));
        option->setAccessibleName(option->text());
        set_text_colour(option, colours.caption);
        place(option, option_places[i]);
        c_.sex_group->addButton(option, i);
        c_.Option1[i] = option;
    }
    connect(c_.sex_group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        update_option_tab_stops();
        if (checked) form_.Option1_Click(id);
    });
    update_option_tab_stops();

    c_.Command1 = make_button(c_.Frame1, QStringLiteral("Command1"), QStringLiteral("calcola (F5)"),
                              QStringLiteral("procedi al calcolo"), {5280, 1320, 1500, 375});
    connect(c_.Command1, &QPushButton::clicked, this, [this] { form_.Command1_Click(); });

    const QFont result_font = verdana(12);
    for (int i = 0; i < 5; ++i) {
        const QString caption_text = QString::fromUtf8(form::kLabel2Captions[i]);
        auto* caption = new QLabel(caption_text, c_.Frame2);
        caption->setObjectName(QStringLiteral("Label2_%1").arg(i));
        caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        caption->setAccessibleName(caption_text);
        set_text_colour(caption, QApplication::palette().color(QPalette::WindowText));
        place(caption, {240, 360 + 480 * i, 3375, 255});
        c_.Label2[i] = caption;

        auto* result = new QLabel(c_.Frame2);
        result->setObjectName(QStringLiteral("Label3_%1").arg(i));
        result->setAlignment(Qt::AlignCenter);
        result->setStyleSheet(QStringLiteral("QLabel { ") + flat_border +
                              QStringLiteral("background-color: palette(base); color: %1; }")
                                  .arg(colours.result.name()));
        // The ideal weight and its deviation need the room: that box keeps the window font.
        if (i != 2) result->setFont(result_font);
        // Named by what it shows (set_Label3_caption), described by its caption.
        result->setAccessibleName(caption_text);
        result->setAccessibleDescription(caption_text);
        place(result, {4680, 240 + 480 * i, 2300, 375});
        c_.Label3[i] = result;
    }

    const char* const command3_captions[3] = {"stampa (F3)", "notepad (F7)", "Esci (F12)"};
    const char* const command3_tips[3] = {"stampa diretta dei risultati",
                                          "trasferisce i risultati sul notepad",
                                          "chiude il programma"};
    const int command3_left[3] = {120, 1800, 5280};
    for (int i = 0; i < 3; ++i) {
        c_.Command3[i] =
            make_button(c_.Frame3, QStringLiteral("Command3_%1").arg(i),
                        QString::fromUtf8(command3_captions[i]),
                        QString::fromUtf8(command3_tips[i]), {command3_left[i], 240, 1500, 375});
        connect(c_.Command3[i], &QPushButton::clicked, this,
                [this, i] { form_.Command3_Click(i); });
    }
    c_.Command2 = make_button(c_.Frame3, QStringLiteral("Command2"), QStringLiteral("nuovo (F8)"),
                              QStringLiteral("esegue un nuovo calcolo"), {3600, 240, 1500, 375});
    connect(c_.Command2, &QPushButton::clicked, this, [this] { form_.Command2_Click(); });
}

void Form1Window::set_tab_order() {
    QWidget* const order[] = {c_.Text1[0],    c_.Text1[1],    c_.Text1[3], c_.Text1[2],
                              c_.Option1[0],  c_.Option1[1],  c_.Command1, c_.Command3[0],
                              c_.Command3[1], c_.Command3[2], c_.Command2};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

// The sex group is one stop in the tab order: the selected option, or "maschio" while none is.
void Form1Window::update_option_tab_stops() {
    const bool female = c_.Option1[1]->isChecked();
    c_.Option1[0]->setFocusPolicy(female ? Qt::ClickFocus : Qt::StrongFocus);
    c_.Option1[1]->setFocusPolicy(female ? Qt::StrongFocus : Qt::ClickFocus);
}

std::string Form1Window::Text1_text(int index) const {
    return c_.Text1.at(std::size_t(index))->text().toStdString();
}

void Form1Window::set_Text1_text(int index, const std::string& text) {
    c_.Text1.at(std::size_t(index))->setText(QString::fromStdString(text));
}

bool Form1Window::Option1_value(int index) const {
    return c_.Option1.at(std::size_t(index))->isChecked();
}

void Form1Window::set_Option1_value(int index, bool value) {
    {
        const QSignalBlocker quiet(c_.sex_group);
        // An exclusive group never lets its last checked button go.
        c_.sex_group->setExclusive(false);
        if (value) c_.Option1.at(std::size_t(1 - index))->setChecked(false);
        c_.Option1.at(std::size_t(index))->setChecked(value);
        c_.sex_group->setExclusive(true);
    }
    update_option_tab_stops();
}

// A screen reader that speaks names hears the result itself; its caption, which it has already
// read beside the box, is the description. An empty box is named by its caption.
void Form1Window::set_Label3_caption(int index, const std::string& text) {
    QLabel* box = c_.Label3.at(std::size_t(index));
    box->setText(QString::fromStdString(text));
    box->setAccessibleName(text.empty() ? box->accessibleDescription() : box->text());
}

void Form1Window::set_focus(form::ControlRef control) {
    if (QWidget* widget = widget_of(control)) widget->setFocus(Qt::OtherFocusReason);
}

void Form1Window::close_window() {
    close();
}

form::ControlRef Form1Window::control_of(const QWidget* widget) const {
    using form::Control;
    for (int i = 0; i < 4; ++i)
        if (widget == c_.Text1[std::size_t(i)]) return {Control::Text1, i};
    for (int i = 0; i < 2; ++i)
        if (widget == c_.Option1[std::size_t(i)]) return {Control::Option1, i};
    for (int i = 0; i < 3; ++i)
        if (widget == c_.Command3[std::size_t(i)]) return {Control::Command3, i};
    if (widget == c_.Command1) return {Control::Command1, 0};
    if (widget == c_.Command2) return {Control::Command2, 0};
    return {};
}

QWidget* Form1Window::widget_of(form::ControlRef control) const {
    const auto i = std::size_t(control.index);
    switch (control.control) {
        case form::Control::Text1:
            return c_.Text1.at(i);
        case form::Control::Option1:
            return c_.Option1.at(i);
        case form::Control::Command1:
            return c_.Command1;
        case form::Control::Command2:
            return c_.Command2;
        case form::Control::Command3:
            return c_.Command3.at(i);
        case form::Control::Other:
            break;
    }
    return nullptr;
}

}  // namespace ristemo::ui
