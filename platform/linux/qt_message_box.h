#pragma once

#include <QString>
#include <utility>

#include "platform/message_box.h"

class QMessageBox;

namespace ristemo::platform {

// The message box as a QMessageBox over the active window. Button texts are Italian; the
// separator refusal, the only English prompt, still reads well with them.
class QtMessageBox : public MessageBox {
public:
    // title: the application's, shown on every box.
    explicit QtMessageBox(QString title) : title_(std::move(title)) {}
    Answer show_message(const std::string& prompt, Buttons buttons, Icon icon) override;

private:
    QString title_;
};

// Builds the box without showing it, so that a test can inspect what the user would see.
// The answer of a finished box is read back with answer_of.
void prepare_message_box(QMessageBox& box, const QString& title, const QString& prompt,
                         Buttons buttons, Icon icon);
Answer answer_of(const QMessageBox& box, Buttons buttons);

}  // namespace ristemo::platform
