#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "platform/regional_settings.h"

namespace ristemo::platform {

// The command that opens a desktop's regional-format settings: program and arguments.
struct SettingsCommand {
    QString program;  // absolute path, as found
    QStringList arguments;
};

// Picks the settings tool of the first desktop named in current_desktop (XDG_CURRENT_DESKTOP,
// a ':'-separated list) whose tool is installed. find_executable maps a program name to its
// path, or to an empty string when it is not installed. Empty program: no tool found.
SettingsCommand regional_settings_command(
    const QString& current_desktop, const std::function<QString(const QString&)>& find_executable);

// Starts the desktop's regional-format settings (GNOME, KDE Plasma, LXQt) as an independent
// process whose output is not tied to ours.
class DesktopRegionalSettings : public RegionalSettings {
public:
    bool open_regional_settings() override;
};

}  // namespace ristemo::platform
