#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

#include "ui/qt/form1_window.h"

namespace ristemo::ui::qt {

namespace {

using form::kBackspace;
using form::kEnter;
using form::kEscape;
using form::kTab;

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
bool Form1Window::eventFilter(QObject* watched, QEvent* event) {
    if (!watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (event->type() == QEvent::FocusIn && centralWidget()->isAncestorOf(widget))
        last_focused_ = widget;
    if (event->type() != QEvent::KeyPress) return false;
    if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && qobject_cast<QMenu*>(widget) &&
        widget->window() == widget) {
        // Esc closes a menu of the bar and leaves the bar holding the keyboard, waiting for a
        // second Esc; the box typed into must have it back at once. Looked at once the menu has
        // gone: Esc in a submenu only goes back to its parent menu.
        QMetaObject::invokeMethod(this, &Form1Window::give_keyboard_back, Qt::QueuedConnection);
        return false;
    }
    // The menu bar takes the focus while it is driven from the keyboard; its keys are its own.
    if (widget != QApplication::focusWidget() || !centralWidget()->isAncestorOf(widget))
        return false;
    return preview_key(widget, static_cast<QKeyEvent&>(*event));
}

// True when the key is used up here and must not reach the control.
bool Form1Window::preview_key(QWidget* focused, QKeyEvent& event) {
    const form::ControlRef control = control_of(focused);
    if (is_arrow(event.key()) &&
        !(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return form_.arrow_key(control);
    const int typed = char_code_of(event);
    if (typed == kChord) return true;
    if (typed == kNoCharacter) return false;
    tab_sent_ = false;
    const int code = form_.key_press(control, typed);
    if (tab_sent_) {
        // The handler has returned; the Tab it queued takes effect before the next key is read.
        // Keys typed ahead (a fast typist, a slow machine) are already waiting in the window
        // system's queue, and they belong in the next box, not in the one Enter has just left.
        tab_sent_ = false;
        QCoreApplication::sendPostedEvents(focused, QEvent::KeyPress);
    }
    if (code == typed) return false;
    if (code != 0 && control.control == form::Control::Text1)
        Text1_.at(std::size_t(control.index))->insert(QString(QChar(code)));
    return true;
}

void Form1Window::give_keyboard_back() {
    QMenuBar* bar = menuBar();
    if (focusWidget() != bar || QApplication::activePopupWidget()) return;
    // The bar's own Esc ends its keyboard mode and gives the focus back where it was.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(bar, &escape);
    if (focusWidget() == bar || !focusWidget()) {
        QWidget* box = last_focused_ ? last_focused_.data() : Text1_[0];
        box->setFocus(Qt::OtherFocusReason);
    }
}

void Form1Window::send_tab() {
    QWidget* target = QApplication::focusWidget();
    if (!target) return;
    QCoreApplication::postEvent(target,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
    tab_sent_ = true;
}

}  // namespace ristemo::ui::qt
