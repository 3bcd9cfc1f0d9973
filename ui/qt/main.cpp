#include <QApplication>

#include "core/app_info.h"
#include "platform/linux/desktop_regional_settings.h"
#include "platform/linux/fonts.h"
#include "platform/linux/linux_editor_export.h"
#include "platform/linux/qt_message_box.h"
#include "platform/linux/qt_printer.h"
#include "platform/linux/qt_translations.h"
#include "platform/linux/system_locale_query.h"
#include "platform/linux/xdg_shell_open.h"
#include "platform/linux/wayland_decoration/wayland_title_bar.h"
#include "ui/qt/form1_window.h"

int main(int argc, char* argv[]) {
    using namespace ristemo;
    QApplication app(argc, argv);
    // Wayland desktops match the window to its launcher and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Ristemo"));
    platform::use_own_wayland_title_bar();
    platform::install_font_substitutions();
    platform::install_qt_translations();

    platform::QtMessageBox message_box(core::kMessageTitle);
    platform::SystemLocaleQuery locale;
    platform::DesktopRegionalSettings regional_settings;
    platform::QtPrinter printer;
    platform::LinuxEditorExport editor;
    platform::XdgShellOpen shell;
    const form::Services services{message_box, locale, regional_settings, printer, editor, shell};

    ui::qt::Form1Window window(services);
    if (!window.form().Form_Load()) return 1;
    window.show();
    // Window managers need not give a new window the keyboard; typing must begin at once.
    window.activateWindow();
    const int status = app.exec();
    // An export started just before the window closed still reaches its editor, and a failure
    // of it is still shown.
    editor.wait_for_exports();
    QCoreApplication::processEvents();
    return status;
}
