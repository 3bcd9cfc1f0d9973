#include <QApplication>

#include "core/app_info.h"
#include "platform/desktop_regional_settings.h"
#include "platform/editor_export.h"
#include "platform/fonts.h"
#include "platform/printer.h"
#include "platform/qt_message_box.h"
#include "platform/shell_open.h"
#include "platform/system_locale_query.h"
#include "ui/form1.h"
#include "ui/services.h"

namespace {

// PLACEHOLDERS until the printer, editor export and link opener land on main; replace them with
// platform::QtPrinter, platform::LinuxEditorExport and platform::XdgShellOpen at the merge.
class PlaceholderPrinter : public ristemo::platform::Printer {
public:
    ristemo::platform::PrintResult print_page(
        const std::vector<ristemo::platform::PrintLine>&) override {
        return {false, QStringLiteral("stampa non disponibile in questa versione.")};
    }
};

class PlaceholderEditorExport : public ristemo::platform::EditorExport {
public:
    void export_text(const QString&, FailureHandler on_failure) override {
        if (on_failure)
            on_failure(QStringLiteral("Esportazione non disponibile in questa versione."));
    }
};

class PlaceholderShellOpen : public ristemo::platform::ShellOpen {
public:
    std::int32_t shell_open(const QString&) override { return ristemo::platform::kShellFailure; }
    std::int32_t open_with_dialog(const QString&) override {
        return ristemo::platform::kShellFailure;
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    using namespace ristemo;
    QApplication app(argc, argv);
    platform::install_font_substitutions();

    platform::QtMessageBox message_box(QString::fromUtf8(core::kMessageTitle));
    platform::SystemLocaleQuery locale;
    platform::DesktopRegionalSettings regional_settings;
    PlaceholderPrinter printer;
    PlaceholderEditorExport editor;
    PlaceholderShellOpen shell;
    const ui::Services services{message_box, locale, regional_settings, printer, editor, shell};

    ui::Form1 form(services);
    if (!form.Form_Load()) return 1;
    form.show();
    return app.exec();
}
