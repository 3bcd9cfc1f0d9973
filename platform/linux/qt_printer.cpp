#include "platform/linux/qt_printer.h"

#include <QByteArray>
#include <QFont>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPainter>
#include <QPointF>
#include <QPrinter>
#include <QTemporaryDir>

#include "platform/linux/cups_submit.h"
#include "platform/linux/fonts.h"

namespace ristemo::platform {

namespace {

constexpr double kTwipsPerInch = 1440.0;

PrintResult failure(const QString& reason) {
    return PrintResult{false, reason.toStdString(), {}};
}

// A line the painter could not draw as asked is refused before anything reaches the printer.
QString check_lines(const std::vector<PrintLine>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const PrintLine& line = lines[i];
        const QString number = QString::number(i + 1);
        if (QString::fromStdString(line.font_family).trimmed().isEmpty())
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
        QFont font(QString::fromStdString(line.font_family));
        font.setPointSizeF(line.point_size);
        font.setBold(line.bold);
        painter.setFont(font);
        // A position is the top-left corner of the text, so the baseline sits one ascent below.
        const QFontMetricsF metrics(painter.font(), &printer);
        const QPointF baseline(line.x_twips * x_scale, line.y_twips * y_scale + metrics.ascent());
        painter.drawText(baseline, QString::fromStdString(line.text));
    }

    if (!painter.end() || printer.printerState() == QPrinter::Error ||
        printer.printerState() == QPrinter::Aborted)
        return failure(QStringLiteral("errore durante la preparazione della pagina"));
    return PrintResult{true, {}, {}};
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
// without a word; and without a PPD Qt does not know the queue's paper. The page is therefore
// drawn into a file of our own, on the paper and within the printable area CUPS gives for the
// default queue, and submitted here, where the answer can be checked.
PrintResult QtPrinter::print_to_default_printer(const std::vector<PrintLine>& lines) {
    const CupsQueue queue = cups_default_queue();
    switch (queue.status) {
        case CupsQueue::Status::NoLibrary:
            return failure(QStringLiteral("la libreria di stampa CUPS non è installata"));
        case CupsQueue::Status::ServiceDown:
            return failure(QStringLiteral("il servizio di stampa non risponde"));
        case CupsQueue::Status::NoDefault:
            return failure(QStringLiteral("nessuna stampante predefinita"));
        case CupsQueue::Status::Found:
            break;
    }
    const QString name = QString::fromLocal8Bit(queue.name);

    QTemporaryDir dir;
    if (!dir.isValid())
        return failure(QStringLiteral("impossibile preparare la pagina da stampare: %1")
                           .arg(dir.errorString()));
    const QString page_file = dir.filePath(QStringLiteral("pagina.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(page_file);
    if (queue.has_paper) {
        const CupsPaper& paper = queue.paper;
        // CUPS measures in hundredths of a millimetre.
        const QPageSize size(QSizeF(paper.width / 100.0, paper.length / 100.0),
                             QPageSize::Millimeter, QString::fromLatin1(paper.media),
                             QPageSize::FuzzyMatch);
        const QMarginsF margins(paper.left / 100.0, paper.top / 100.0, paper.right / 100.0,
                                paper.bottom / 100.0);
        if (!printer.setPageLayout(QPageLayout(size, QPageLayout::Portrait, margins,
                                               QPageLayout::Millimeter, margins)))
            return failure(
                QStringLiteral("impossibile usare la carta della stampante \"%1\"").arg(name));
    }

    const PrintResult drawn = draw_page(
        printer, lines, QStringLiteral("la stampante \"%1\" non può iniziare la stampa").arg(name));
    if (!drawn.ok) return drawn;

    const CupsSubmission submitted =
        cups_print_file(queue.name, page_file, queue.has_paper ? queue.paper.media : QByteArray());
    if (submitted.job <= 0)
        return failure(QStringLiteral("la stampante \"%1\" non ha accettato il lavoro: %2")
                           .arg(name, submitted.error));
    PrintResult printed{true, {}, {}};
    if (queue.paused)
        printed.notice = QStringLiteral(
                             "La pagina attende nella coda della stampante \"%1\", che è in "
                             "pausa: uscirà quando la stampante sarà riattivata.")
                             .arg(name)
                             .toStdString();
    return printed;
}

}  // namespace ristemo::platform
