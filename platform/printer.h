#pragma once

#include <string>
#include <vector>

namespace ristemo::platform {

// One line of a page: the top-left corner of its text in twips from the printable area's
// top-left corner, its font, and its text.
struct PrintLine {
    int x_twips = 0;
    int y_twips = 0;
    std::string font_family;
    double point_size = 0.0;
    bool bold = false;
    std::string text;  // UTF-8
};

struct PrintResult {
    bool ok = false;
    std::string error;   // Italian, for the user, when !ok; empty when the user stopped the job
                         // (a print-to-file dialog cancelled): there is nothing to tell
    std::string notice;  // Italian, for the user: the page went out but will not come out yet
};

// Prints one page as one job on the default printer.
class Printer {
public:
    virtual ~Printer() = default;
    virtual PrintResult print_page(const std::vector<PrintLine>& lines) = 0;
};

}  // namespace ristemo::platform
