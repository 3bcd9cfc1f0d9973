#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace ristemo::platform {

// The parts of an installed application's desktop entry that the open-with dialog needs.
struct DesktopEntry {
    QString id;    // desktop file ID, e.g. "org.example.Browser.desktop"
    QString path;  // the file it was read from
    QString name;  // display name, Italian when the entry has one
    QString icon;
    QString exec;  // the Exec value with the key-level escapes already undone
    QString try_exec;
    QString type;
    QStringList mime_types;
    bool hidden = false;
    bool no_display = false;
    bool terminal = false;
};

// Reads the [Desktop Entry] group of a desktop file. Nothing when the file cannot be read or has
// no such group.
std::optional<DesktopEntry> read_desktop_entry(const QString& path, const QString& id);

// Undoes the escapes of a string value: \s \n \t \r \\.
QString unescape_desktop_value(const QString& value);

// Turns an entry's Exec value into the argument vector that opens `address`: quoting and
// escapes resolved, field codes replaced (%f %F %u %U by the address, %c by the name, %k by the
// file, %i by --icon and the icon, %% by %, deprecated codes dropped). The address is appended
// when the line has no file or URL code, since the user chose the program for that address.
// Nothing when the line is malformed (an unterminated quote, or no program at all).
std::optional<QStringList> expand_exec(const QString& exec, const QString& address,
                                       const DesktopEntry& entry);

// The applications folders of the XDG data directories, most important first:
// $XDG_DATA_HOME (default ~/.local/share), then $XDG_DATA_DIRS (default
// /usr/local/share:/usr/share).
QStringList xdg_application_dirs();

// The applications that can show a web page (x-scheme-handler/http or text/html), visible, with a
// usable Exec line and an installed program, sorted by name. An entry found in an earlier folder
// hides every entry of the same ID in later ones, even when it is itself hidden.
std::vector<DesktopEntry> find_web_applications(const QStringList& application_dirs);

}  // namespace ristemo::platform
