#include "platform/linux/qt_message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace ristemo::platform {

namespace {

QPushButton* add(QMessageBox& box, QMessageBox::StandardButton which, const QString& text) {
    QPushButton* button = box.addButton(which);
    button->setText(text);
    return button;
}

}  // namespace

void prepare_message_box(QMessageBox& box, const QString& title, const QString& prompt,
                         Buttons buttons, Icon icon) {
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText);
    // The callers break lines with CR LF; a lone CR would show as a stray glyph.
    QString text = prompt;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setText(text);
    box.setIcon(icon == Icon::Question ? QMessageBox::Question : QMessageBox::NoIcon);

    QPushButton* first = nullptr;
    QPushButton* escape = nullptr;
    switch (buttons) {
        case Buttons::Ok:
            first = escape = add(box, QMessageBox::Ok, QStringLiteral("OK"));
            break;
        case Buttons::YesNo:
            first = add(box, QMessageBox::Yes, QStringLiteral("S\u00ec"));
            escape = add(box, QMessageBox::No, QStringLiteral("No"));
            break;
        case Buttons::YesNoCancel:
            first = add(box, QMessageBox::Yes, QStringLiteral("S\u00ec"));
            add(box, QMessageBox::No, QStringLiteral("No"));
            escape = add(box, QMessageBox::Cancel, QStringLiteral("Annulla"));
            break;
    }
    box.setDefaultButton(first);
    box.setEscapeButton(escape);
}

Answer answer_of(const QMessageBox& box, Buttons buttons) {
    QAbstractButton* clicked = box.clickedButton();
    const QMessageBox::StandardButton which =
        clicked ? box.standardButton(clicked) : QMessageBox::NoButton;
    switch (which) {
        case QMessageBox::Ok:
            return Answer::Ok;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        default:
            break;
    }
    // Closed without a choice.
    switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::YesNo:
            return Answer::No;
        case Buttons::YesNoCancel:
            break;
    }
    return Answer::Cancel;
}

Answer QtMessageBox::show_message(const std::string& prompt, Buttons buttons, Icon icon) {
    QWidget* owner = QApplication::activeWindow();
    QMessageBox box(owner);
    prepare_message_box(box, title_, QString::fromStdString(prompt), buttons, icon);
    box.exec();
    // Without a window manager nobody hands the keyboard back to the owner once the box is gone.
    if (owner && owner->isVisible()) owner->activateWindow();
    return answer_of(box, buttons);
}

}  // namespace ristemo::platform
