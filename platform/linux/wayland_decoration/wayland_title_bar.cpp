#include "platform/linux/wayland_decoration/wayland_title_bar.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QtGlobal>

namespace ristemo::platform {

void use_own_wayland_title_bar() {
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) return;
    // The plugin is built on Qt's private interface, which holds only for the Qt it was built
    // with; any other keeps Qt's own title bar.
    if (qstrcmp(qVersion(), QT_VERSION_STR) != 0) return;
    // Next to the program as installed (/usr/bin, /usr/lib/ristemo) and as built.
    const QString plugins = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                            QLatin1String("/../lib/ristemo/plugins"));
    if (!QFileInfo::exists(plugins + QLatin1String("/wayland-decoration-client"))) return;
    QCoreApplication::addLibraryPath(plugins);
    // A title bar the user chose stays, ours included.
    if (qEnvironmentVariableIsEmpty("QT_WAYLAND_DECORATION"))
        qputenv("QT_WAYLAND_DECORATION", "ristemo");
}

}  // namespace ristemo::platform
