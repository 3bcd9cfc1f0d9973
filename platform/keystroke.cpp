#include "platform/keystroke.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace ristemo::platform {

void send_tab() {
    QWidget* target = QApplication::focusWidget();
    if (!target) return;
    QCoreApplication::postEvent(target,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
}

}  // namespace ristemo::platform
