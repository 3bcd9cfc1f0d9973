#include "platform/linux/desktop_regional_settings.h"

#include <QProcessEnvironment>
#include <QStandardPaths>
#include <vector>

#include "platform/linux/detached_launch.h"

namespace ristemo::platform {

namespace {

struct DesktopTool {
    const char* desktop;  // as named in XDG_CURRENT_DESKTOP
    const char* program;
    QStringList arguments;
};

const std::vector<DesktopTool>& desktop_tools() {
    static const std::vector<DesktopTool> tools = {
        {"GNOME", "gnome-control-center", {QStringLiteral("region")}},
        // The module's name since Plasma 5.24; older Plasma has no single region page.
        {"KDE", "systemsettings", {QStringLiteral("kcm_regionandlang")}},
        {"LXQt", "lxqt-config-locale", {}},
    };
    return tools;
}

}  // namespace

SettingsCommand regional_settings_command(
    const QString& current_desktop, const std::function<QString(const QString&)>& find_executable) {
    const QStringList desktops = current_desktop.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& desktop : desktops) {
        for (const DesktopTool& tool : desktop_tools()) {
            if (desktop.trimmed().compare(QLatin1String(tool.desktop), Qt::CaseInsensitive) != 0)
                continue;
            const QString path = find_executable(QLatin1String(tool.program));
            if (!path.isEmpty()) return {path, tool.arguments};
        }
    }
    return {};
}

bool DesktopRegionalSettings::open_regional_settings() {
    const SettingsCommand command = regional_settings_command(
        QProcessEnvironment::systemEnvironment().value(QStringLiteral("XDG_CURRENT_DESKTOP")),
        [](const QString& name) { return QStandardPaths::findExecutable(name); });
    if (command.program.isEmpty()) return false;

    // The tool outlives us, and reads and writes nothing of ours.
    return launch_detached(command.program, command.arguments).started();
}

}  // namespace ristemo::platform
