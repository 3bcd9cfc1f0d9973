#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "platform/linux/desktop_entry.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace ristemo::platform {

// What the user picked: an installed application, or any program from the file system.
struct OpenWithChoice {
    std::optional<DesktopEntry> application;
    QString program;  // set when no application was picked
};

// Lets the user choose the program that opens an address: the installed web applications, or
// "Altro programma..." for any executable file. Italian throughout, like the rest of the program.
class OpenWithDialog : public QDialog {
    Q_OBJECT
public:
    // Asks for a program file; returns its path, or nothing when the user gave up.
    using ProgramPicker = std::function<QString(QWidget* parent)>;

    OpenWithDialog(const QString& address, std::vector<DesktopEntry> applications,
                   QWidget* parent = nullptr, ProgramPicker picker = {});

    // The choice once the dialog was accepted.
    std::optional<OpenWithChoice> choice() const { return choice_; }

private:
    void accept_selected();
    void pick_program();
    void update_ok();

    std::vector<DesktopEntry> applications_;
    ProgramPicker picker_;
    QListWidget* list_ = nullptr;
    QPushButton* ok_ = nullptr;
    QLabel* problem_ = nullptr;
    std::optional<OpenWithChoice> choice_;
};

// Shows the dialog modally; nothing when it was cancelled.
std::optional<OpenWithChoice> ask_open_with(const QString& address,
                                            const std::vector<DesktopEntry>& applications);

}  // namespace ristemo::platform
