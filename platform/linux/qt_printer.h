#pragma once

#include <QString>
#include <vector>

#include "platform/printer.h"

namespace ristemo::platform {

// Prints a page with Qt's painter on the default CUPS queue, or into a PDF file when one is named:
// the same drawing code runs for both.
//
// The page is drawn at high resolution on the queue's current paper, with (0, 0) at the top-left
// corner of its printable area, each line placed by the top-left corner of its text.
class QtPrinter : public Printer {
public:
    QtPrinter() = default;

    // From now on pages are written to the PDF file at path instead of going to the printer.
    void print_to_pdf(const QString& path) { pdf_path_ = path; }

    PrintResult print_page(const std::vector<PrintLine>& lines) override;

private:
    PrintResult print_to_default_printer(const std::vector<PrintLine>& lines);
    PrintResult print_to_pdf_file(const std::vector<PrintLine>& lines);

    QString pdf_path_;
};

}  // namespace ristemo::platform
