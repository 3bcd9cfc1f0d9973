#pragma once

#include <string>
#include <vector>

#include "core/patient_record.h"

namespace ristemo::report {

struct Font {
    std::string name;
    float size = 0.0f;  // points
    bool bold = false;

    friend bool operator==(const Font& a, const Font& b) {
        return a.name == b.name && a.size == b.size && a.bold == b.bold;
    }
};

// One printed line: top-left corner of its text in twips from the printable area's top-left
// corner, the font in effect for it, and the text (UTF-8).
struct PageLine {
    int x = 0;
    int y = 0;
    Font font;
    std::string text;
};

// The thirteen lines of the printed report, from the record alone.
std::vector<PageLine> build_page(const core::PatientRecord& record);

// The thirteen lines of the text export, each ended by record.crlf_text.
std::string build_export_text(const core::PatientRecord& record);

}  // namespace ristemo::report
