// Prints the sample report page, for looking at it by eye or on a real printer:
//   print_sample_page            the system's default printer
//   print_sample_page FILE.pdf   a PDF file
#include <QGuiApplication>
#include <QStringList>
#include <QTextStream>

#include "platform/linux/fonts.h"
#include "platform/linux/qt_printer.h"
#include "sample_page.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    ristemo::platform::install_font_substitutions();
    const QStringList arguments = QGuiApplication::arguments();
    ristemo::platform::QtPrinter printer;
    if (arguments.size() > 1) printer.print_to_pdf(arguments.at(1));
    const ristemo::platform::PrintResult result = printer.print_page(ristemo::test::sample_page());
    QTextStream err(stderr);
    if (!result.ok) {
        err << "stampa non riuscita: " << QString::fromStdString(result.error) << Qt::endl;
        return 1;
    }
    err << "stampato" << Qt::endl;
    return 0;
}
