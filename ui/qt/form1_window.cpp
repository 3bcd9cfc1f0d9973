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
#include <algorithm>

#include "core/app_info.h"
#include "form/form1_design.h"
#include "platform/linux/window_hints.h"
#include "ui/qt/calculator_icon.h"

namespace ristemo::ui::qt {

namespace {

// The layout is drawn in twips; 15 twips make one pixel at 96 dots per inch, and Qt scales
// pixels on screens of higher density.
int px(int twips) {
    return (twips + 7) / 15;
}

QFont qfont(form::FontRole role) {
    const form::Font design = form::font_of(role);
    QFont font(QString::fromUtf8(design.face));
    font.setPointSizeF(design.points);
    font.setBold(design.bold);
    return font;
}

QColor qcolour(form::Rgb rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

// A dark desktop palette (a high-contrast scheme among them) makes the fixed dark blue and dark
// red unreadable: there the captions and results take the desktop's own text colours.
bool is_dark(const QColor& background) {
    return background.lightnessF() < 0.5;
}

QColor text_colour(const form::ControlDesign& d) {
    const QPalette palette = QApplication::palette();
    if (d.kind == form::ControlKind::ResultBox) {
        return is_dark(palette.color(QPalette::Base)) ? palette.color(QPalette::Text)
                                                      : qcolour(form::rgb_of(d.colour));
    }
    if (d.colour == form::ColourRole::System || is_dark(palette.color(QPalette::Window)))
        return palette.color(QPalette::WindowText);
    return qcolour(form::rgb_of(d.colour));
}

// Flat look: a single line instead of the sunken 3D edge.
QString flat_border() {
    const QPalette palette = QApplication::palette();
    const QColor colour = is_dark(palette.color(QPalette::Base)) ? palette.color(QPalette::Text)
                                                                 : qcolour(form::kFlatBorder);
    return QStringLiteral("border: 1px solid %1; ").arg(colour.name());
}

// A frame's caption takes the frame's text colour, which its children inherit; so every label in
// a coloured frame sets its own colour.
void set_text_colour(QWidget* w, const QColor& colour) {
    QPalette palette = w->palette();
    palette.setColor(QPalette::WindowText, colour);
    w->setPalette(palette);
}

// An option button answers a click anywhere in its area, not only on its circle and caption.
class OptionButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

Qt::Alignment alignment_of(const form::ControlDesign& d) {
    if (d.kind == form::ControlKind::Label)
        return (d.align == form::Align::Center ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop;
    return d.align == form::Align::Center ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter;
}

}  // namespace

Form1Window::Form1Window(const form::Services& services, QWidget* parent)
    : QMainWindow(parent), form_(*this, services) {
    setObjectName(QStringLiteral("Form1"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::CustomizeWindowHint);
    setWindowTitle(QString::fromUtf8(core::kAppTitle));
    setWindowIcon(calculator_icon());
    setFont(qfont(form::FontRole::Window));

    create_controls();
    create_menus();
    set_tab_order();

    // The menu bar keeps the desktop's own font, like the message boxes.
    menuBar()->setFont(QApplication::font());
    platform::keep_fixed_size(
        *this,
        QSize(px(form::kClientWidth), px(form::kClientHeight) + menuBar()->sizeHint().height()));
    platform::keep_out_of_taskbar(*this);

    qApp->installEventFilter(this);
    Text1_.at(0)->setFocus();
}

Form1Window::~Form1Window() {
    qApp->removeEventFilter(this);
}

void Form1Window::create_controls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(px(form::kClientWidth), px(form::kClientHeight));
    setCentralWidget(client);

    sex_group_ = new QButtonGroup(this);
    // Each frame comes before what it holds.
    for (const form::ControlDesign& d : form::kControls) {
        const form::ControlDesign* frame = form::frame_of(d);
        create_control(d, frame ? widget_of(frame->ref()) : client);
    }
    connect(sex_group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        update_option_tab_stops();
        if (checked) form_.Option1_Click(id);
    });
    update_option_tab_stops();
    group_options();
    create_announcement();
}

// One control of the design, in its frame, with its name, caption, tooltip, font and colour.
void Form1Window::create_control(const form::ControlDesign& d, QWidget* parent) {
    const QString caption = QString::fromUtf8(d.caption);
    const QString name = QString::fromUtf8(form::accessible_name(d));
    QWidget* w = nullptr;
    switch (d.kind) {
        case form::ControlKind::Frame:
            w = new QGroupBox(caption, parent);
            break;
        case form::ControlKind::InputBox: {
            auto* box = new QLineEdit(parent);
            box->setAlignment(alignment_of(d));
            box->setMaxLength(d.max_length);
            box->setAccessibleDescription(QString::fromUtf8(d.tooltip));
            box->setStyleSheet(QStringLiteral("QLineEdit { ") + flat_border() +
                               QStringLiteral("background: palette(base); }"));
            Text1_.at(std::size_t(d.index)) = box;
            w = box;
            break;
        }
        case form::ControlKind::OptionButton: {
            auto* option = new OptionButton(caption, parent);
            sex_group_->addButton(option, d.index);
            Option1_.at(std::size_t(d.index)) = option;
            w = option;
            break;
        }
        case form::ControlKind::PushButton: {
            auto* button = new QPushButton(caption, parent);
            button->setAutoDefault(false);
            button->setDefault(false);
            connect(button, &QPushButton::clicked, this,
                    [this, command = d.command] { form_.run(command); });
            w = button;
            break;
        }
        case form::ControlKind::Label:
            w = new QLabel(caption, parent);
            static_cast<QLabel*>(w)->setAlignment(alignment_of(d));
            break;
        case form::ControlKind::ResultBox: {
            auto* result = new QLabel(parent);
            result->setAlignment(alignment_of(d));
            result->setStyleSheet(QStringLiteral("QLabel { ") + flat_border() +
                                  QStringLiteral("background-color: palette(base); color: %1; }")
                                      .arg(text_colour(d).name()));
            // Named by what it shows (set_Label3_caption), described by its caption.
            result->setAccessibleDescription(name);
            Label3_.at(std::size_t(d.index)) = result;
            w = result;
            break;
        }
    }
    w->setObjectName(QString::fromStdString(form::object_name(d.ref())));
    w->setAccessibleName(name);
    w->setToolTip(QString::fromUtf8(d.tooltip));
    if (d.font != form::FontRole::Window) w->setFont(qfont(d.font));
    if (d.kind == form::ControlKind::Frame || d.kind == form::ControlKind::Label ||
        d.kind == form::ControlKind::OptionButton)
        set_text_colour(w, text_colour(d));
    w->setGeometry(px(d.left), px(d.top), px(d.width), px(d.height));
    named_.push_back({d.ref(), w});
}

void Form1Window::set_tab_order() {
    std::vector<const form::ControlDesign*> order;
    for (const form::ControlDesign& d : form::kControls) {
        if (form::takes_focus(d)) order.push_back(&d);
    }
    std::sort(order.begin(), order.end(),
              [](const auto* a, const auto* b) { return a->tab < b->tab; });
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(widget_of(order[i - 1]->ref()), widget_of(order[i]->ref()));
}

// The sex group is one stop in the tab order: the selected option, or "maschio" while none is.
void Form1Window::update_option_tab_stops() {
    const bool female = Option1_[1]->isChecked();
    Option1_[0]->setFocusPolicy(female ? Qt::ClickFocus : Qt::StrongFocus);
    Option1_[1]->setFocusPolicy(female ? Qt::StrongFocus : Qt::ClickFocus);
}

std::string Form1Window::Text1_text(int index) const {
    return Text1_.at(std::size_t(index))->text().toStdString();
}

void Form1Window::set_Text1_text(int index, const std::string& text) {
    Text1_.at(std::size_t(index))->setText(QString::fromStdString(text));
}

bool Form1Window::Option1_value(int index) const {
    return Option1_.at(std::size_t(index))->isChecked();
}

void Form1Window::set_Option1_value(int index, bool value) {
    {
        const QSignalBlocker quiet(sex_group_);
        // An exclusive group never lets its last checked button go.
        sex_group_->setExclusive(false);
        if (value) Option1_.at(std::size_t(1 - index))->setChecked(false);
        Option1_.at(std::size_t(index))->setChecked(value);
        sex_group_->setExclusive(true);
    }
    update_option_tab_stops();
}

// A screen reader that speaks names hears the result itself; its caption, which it has already
// read beside the box, is the description. An empty box is named by its caption.
void Form1Window::set_Label3_caption(int index, const std::string& text) {
    QLabel* box = Label3_.at(std::size_t(index));
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
    for (const auto& [ref, w] : named_) {
        if (w == widget) return ref;
    }
    return {};
}

QWidget* Form1Window::widget_of(form::ControlRef control) const {
    for (const auto& [ref, w] : named_) {
        if (ref == control) return w;
    }
    return nullptr;
}

}  // namespace ristemo::ui::qt
