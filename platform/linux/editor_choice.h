#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// Which of the editors the program knows it starts for the text export, and how each takes the
// text.
namespace ristemo::platform {

// How the text reaches the editor: on its standard input; into its text area through the
// accessibility bus; or as key events sent to its window alone (X11 only).
enum class Delivery { StandardInput, Accessibility, WindowEvents };

struct EditorCommand {
    QString name;  // as in the list of known editors, e.g. "gedit"
    QString path;  // absolute path of the program found
    QStringList arguments;
    Delivery delivery = Delivery::StandardInput;
    // It has no option for a new instance, and hands its files to a running one found through a
    // socket in its temporary folder: a folder of its own makes it a separate instance.
    bool private_temp_folder = false;
};

// The known editors in order of preference when the desktop names none of them.
QStringList known_editors();

// The known editor a desktop entry such as "org.gnome.gedit.desktop" stands for; empty when none.
QString editor_for_desktop_entry(const QString& desktop_entry);

// The editor to start. desktop_entry is the desktop's default for text/plain (may be empty);
// find_program gives a program's absolute path or an empty string when it is not installed;
// window_events_possible is false where key events cannot be sent to another program's window
// (Wayland, no X display). Empty when no usable editor is installed.
std::optional<EditorCommand> choose_editor(
    const QString& desktop_entry, const std::function<QString(const QString&)>& find_program,
    bool window_events_possible);

// True in a Wayland session, where key events cannot reach other programs' windows.
bool is_wayland_session(const QProcessEnvironment& environment);

// The first entry xdg-mime names as the default for text/plain; empty when it cannot tell.
QString desktop_default_for_text(const QProcessEnvironment& environment);

// What the user is told when no known editor can take the text.
namespace editor_messages {
// Names only the editors that can receive the text where key events cannot be sent.
QString no_editor(bool window_events_possible);
QString no_editor_for_wayland();
}  // namespace editor_messages

}  // namespace ristemo::platform
