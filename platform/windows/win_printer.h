#pragma once

#include "platform/printer.h"
#include "platform/windows/win32.h"

namespace ristemo::platform {

// Prints on the default printer with its current paper, through GDI: one document of one page.
class WinPrinter : public Printer {
public:
    PrintResult print_page(const std::vector<PrintLine>& lines) override;

    // Draws the lines on dc, whose (0, 0) is the printable area's top-left corner (as on every
    // printer device context), converting twips with the device's own resolution. False when a
    // line could not be drawn.
    static bool draw_lines(HDC dc, const std::vector<PrintLine>& lines);
    // What a job that did not start tells: StartDoc's result and the error it left.
    static PrintResult start_failure(int started, DWORD error, const std::string& name);
};

}  // namespace ristemo::platform
