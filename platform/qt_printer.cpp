#include "platform/qt_printer.h"

#include <QByteArray>
#include <QFont>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPainter>
#include <QPointF>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>

#include "platform/cups_submit.h"
#include "platform/fonts.h"

namespace ristemo::platform {

namespace {

constexpr double kTwipsPerInch = 1440.0;

PrintResult failure(const QString& reason) {
    return PrintResult{false, reason};
}

// A line the painter could not draw as asked is refused before anything reaches the printer.
QString check_lines(const std::vector<PrintLine>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const PrintLine& line = lines[i];
        const QString number = QString::number(i + 1);
        if (line.font_family.trimmed().isEmpty())
            return QStringLiteral("la riga %1 non ha un tipo di carattere").arg(number);
        if (!(line.point_size > 0.0))
            return QStringLiteral("la riga %1 ha una dimensione del carattere non valida")
                .arg(number);
        if (line.x_twips < 0 || line.y_twips < 0)
            return QStringLiteral("la riga %1 cade fuori dalla pagina").arg(number);
    }
    return {};
}

// Draws the lines on one page of printer. (0, 0) is the top-left corner of the printable area:
// the margins are the printer's minimum and the painter starts inside them.
PrintResult draw_page(QPrinter& printer, const std::vector<PrintLine>& lines,
                      const QString& cannot_begin) {
    printer.setFullPage(false);
    const QPageLayout layout = printer.pageLayout();
    if (!printer.setPageMargins(layout.minimumMargins(), layout.units()))
        return failure(QStringLiteral("impossibile impostare i margini della pagina"));

    QPainter painter;
    if (!painter.begin(&printer)) return failure(cannot_begin);

    const double x_scale = printer.logicalDpiX() / kTwipsPerInch;
    const double y_scale = printer.logicalDpiY() / kTwipsPerInch;
    for (const PrintLine& line : lines) {
        QFont font(line.font_family);
        font.setPointSizeF(line.point_size);
        font.setBold(line.bold);
        painter.setFont(font);
        // A position is the top-left corner of the text, so the baseline sits one ascent below.
        const QFontMetricsF metrics(painter.font(), &printer);
        const QPointF baseline(line.x_twips * x_scale, line.y_twips * y_scale + metrics.ascent());
        painter.drawText(baseline, line.text);
    }

    if (!painter.end() || printer.printerState() == QPrinter::Error ||
        printer.printerState() == QPrinter::Aborted)
        return failure(QStringLiteral("errore durante la preparazione della pagina"));
    return PrintResult{true, {}};
}

}  // namespace

PrintResult QtPrinter::print_page(const std::vector<PrintLine>& lines) {
    const QString bad_line = check_lines(lines);
    if (!bad_line.isEmpty()) return failure(bad_line);
    // The page must show the same faces as the window, whoever built the lines.
    install_font_substitutions();
    return pdf_path_.isEmpty() ? print_to_default_printer(lines) : print_to_pdf_file(lines);
}

PrintResult QtPrinter::print_to_pdf_file(const std::vector<PrintLine>& lines) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf_path_);
    return draw_page(printer, lines,
                     QStringLiteral("impossibile scrivere il file \"%1\"").arg(pdf_path_));
}

// Qt hands the finished page to CUPS but ignores CUPS's answer, so a refused job would vanish
// without a word. The page is therefore drawn for the printer into a file of our own (same page
// size, printable area and resolution) and submitted here, where the answer can be checked.
PrintResult QtPrinter::print_to_default_printer(const std::vector<PrintLine>& lines) {
    // Can be null even when printers are listed: none of them is the default.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return failure(QStringLiteral("nessuna stampante predefinita"));
    const QString name = info.printerName();

    QPrinter printer(info, QPrinter::HighResolution);
    if (!printer.isValid())
        return failure(QStringLiteral("la stampante \"%1\" non è disponibile").arg(name));

    QTemporaryDir dir;
    if (!dir.isValid())
        return failure(QStringLiteral("impossibile preparare la pagina da stampare: %1")
                           .arg(dir.errorString()));
    // No ".pdf" ending: that would switch QPrinter to its plain PDF engine and lose the printer's
    // page setup.
    const QString page_file = dir.filePath(QStringLiteral("pagina"));
    printer.setOutputFileName(page_file);
    if (printer.outputFormat() != QPrinter::NativeFormat)
        return failure(QStringLiteral("la stampante \"%1\" non è gestita da CUPS").arg(name));

    const PrintResult drawn = draw_page(
        printer, lines, QStringLiteral("la stampante \"%1\" non può iniziare la stampa").arg(name));
    if (!drawn.ok) return drawn;

    // CUPS wants the queue's name without an instance suffix.
    const QByteArray queue = name.section(QLatin1Char('/'), 0, 0).toLocal8Bit();
    const QByteArray media = printer.pageLayout().pageSize().key().toLocal8Bit();
    const CupsSubmission submitted = cups_print_file(queue, page_file, media);
    if (submitted.job <= 0)
        return failure(QStringLiteral("la stampante \"%1\" non ha accettato il lavoro: %2")
                           .arg(name, submitted.error));
    return PrintResult{true, {}};
}

}  // namespace ristemo::platform
