#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/keystroke.h"
#include "ui/form1.h"

namespace ristemo::ui {

namespace {

constexpr int kBackspace = 8;
constexpr int kTab = 9;
constexpr int kEnter = 13;
constexpr int kEscape = 27;
constexpr int kComma = 44;
constexpr int kPoint = 46;
constexpr int kNoCharacter = -1;
constexpr int kChord = -2;  // a printable key with Alt or Super held: swallowed

bool is_arrow(int key) {
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right;
}

// The character a key press types, as a code of the 8-bit character set; kNoCharacter for keys
// that type nothing (arrows, Delete, function keys, Ctrl combinations), which the control handles
// as it would; kChord for a printable key with Alt or Super held, which nothing may receive.
int char_code_of(const QKeyEvent& event) {
    const Qt::KeyboardModifiers mods = event.modifiers();
    if (mods & (Qt::AltModifier | Qt::MetaModifier)) {
        // Alt and Super with a printable key are the menu's and the desktop's, never text; the
        // menu's access keys are shortcuts and have been taken before a key press is delivered.
        const QString text = event.text();
        return !text.isEmpty() && text.at(0).isPrint() ? kChord : kNoCharacter;
    }
    switch (event.key()) {
        case Qt::Key_Backspace:
            return kBackspace;
        case Qt::Key_Tab:
            return mods & Qt::ControlModifier ? kNoCharacter : kTab;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return kEnter;
        case Qt::Key_Escape:
            return kEscape;
        default:
            break;
    }
    // Ctrl combinations are the box's editing commands (copy, paste, undo), not characters;
    // whatever a paste brings in is judged by the input check.
    if (mods & Qt::ControlModifier) return kNoCharacter;
    const QString text = event.text();
    if (text.size() != 1) return kNoCharacter;
    const char16_t unicode = text.at(0).unicode();
    // Delete and the like come with a control character (127) under X11 but type nothing: the
    // box handles them as editing keys.
    if (unicode < 0x20 || unicode == 0x7f) return kNoCharacter;
    // Characters outside Latin-1 are none of the codes the handlers act on.
    return unicode < 256 ? unicode : 255;
}

}  // namespace

// Key preview: the window sees each typed character before the focused control. Under X11 an
// application filter sees a key on its way through several receivers (window, focus widget,
// parents when ignored); only the focused widget's own event counts, so each key acts once.
bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    // The menu bar takes the focus while it is driven from the keyboard; its keys are its own.
    if (widget != QApplication::focusWidget() || !centralWidget()->isAncestorOf(widget))
        return false;
    return handle_key(widget, static_cast<QKeyEvent&>(*event));
}

// True when the key is used up here and must not reach the control.
bool Form1::handle_key(QWidget* focused, QKeyEvent& event) {
    // In the sex group an arrow picks the other option, as selection from the keyboard does
    // elsewhere; Qt would only move the focus, and by geometry (Down finds nothing).
    if (is_arrow(event.key()) &&
        !(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        for (int i = 0; i < 2; ++i) {
            if (focused == c_.Option1[i]) {
                QRadioButton* other = c_.Option1[std::size_t(1 - i)];
                other->setFocus(Qt::TabFocusReason);
                other->setChecked(true);
                return true;
            }
        }
    }
    int code = char_code_of(event);
    if (code == kChord) return true;
    if (code == kNoCharacter) return false;
    const int typed = code;

    if (!Form_KeyPress(code)) return true;

    for (int i = 0; i < 4; ++i) {
        if (focused == c_.Text1[i]) {
            Text1_KeyPress(i, code);
            if (code == typed) return false;
            if (code == kComma) c_.Text1[i]->insert(QStringLiteral(","));
            if (typed == kEnter) deliver_sent_tab(focused);
            return true;
        }
    }
    for (int i = 0; i < 2; ++i) {
        if (focused == c_.Option1[i]) {
            Option1_KeyPress(i, code);
            if (typed == kEnter) deliver_sent_tab(focused);
            return code != typed;
        }
    }
    // Keyboard use is complete only if Enter runs the focused button, as Space does.
    if (auto* button = qobject_cast<QPushButton*>(focused); button && code == kEnter) {
        button->click();
        return true;
    }
    return code != typed;
}

// The handler has returned; the Tab it queued takes effect before the next key is read. Keys
// typed ahead (a fast typist, a slow machine) are already waiting in the window system's queue,
// and they belong in the next box, not in the one Enter has just left.
void Form1::deliver_sent_tab(QWidget* focused) {
    QCoreApplication::sendPostedEvents(focused, QEvent::KeyPress);
}

bool Form1::Form_KeyPress(int& code) {
    if (code != kEscape) return true;
    const platform::Answer answer = services_.message_box.show_message(
        QStringLiteral("uscire?"), platform::Buttons::YesNo, platform::Icon::Question);
    if (answer == platform::Answer::Yes) {
        close();
        return false;
    }
    return true;
}

void Form1::Text1_KeyPress(int index, int& code) {
    if (code == kBackspace) return;
    if (code == kEnter) {
        platform::send_tab();
        code = 0;
    }
    const bool has_comma = c_.Text1[index]->text().contains(QLatin1Char(','));
    if (code == kPoint && !has_comma) {
        code = kComma;
        return;
    }
    if (code == kComma && has_comma) {
        code = 0;
        return;
    }
    if (code == kComma || code == kTab) return;
    if (code < '0' || code > '9') code = 0;
}

void Form1::Option1_KeyPress(int /*index*/, int& code) {
    if (code == kEnter) {
        platform::send_tab();
        code = 0;
    }
}

void Form1::Option1_Click(int /*index*/) {
    c_.Command1->setFocus(Qt::OtherFocusReason);
}

}  // namespace ristemo::ui
