#pragma once

#include <QString>
#include <vector>

#include "platform/printer.h"

namespace ristemo::test {

// A report page as the report builds it: thirteen lines 450 twips apart from (200, 200), the
// headings (lines 1, 2 and 8) in bold 12-point "verdana", the data lines in 10-point
// "courier new" and, after the second heading, "Courier new".
struct SampleLine {
    const char* text;  // UTF-8
    bool heading;
};

inline const std::vector<SampleLine>& sample_lines() {
    static const std::vector<SampleLine> lines = {
        {"Ristemo 1.0 - © 2026 gli autori di Ristemo", true},
        {"Dati in ingresso:", true},
        {"creatinina plasmatica         : 1,2 mg/dl", false},
        {"peso corporeo                 : 70,0 Kg", false},
        {"altezza                       : 1,75 mt", false},
        {"età                           : 45 anni", false},
        {"sesso                         : maschile", false},
        {"Dati calcolati:", true},
        {"Stima clearance creatinina    : 81 ml/min", false},
        {"Body Mass Index               : 22,86", false},
        {"peso ideale / scostamento     : 66,9 Kg (+4,6%)", false},
        {"stima superficie corporea     : 1,85 mq", false},
        {"stima massa magra             : 56,2 Kg", false},
    };
    return lines;
}

constexpr int kFirstLineTwips = 200;
constexpr int kLineStepTwips = 450;
constexpr int kLeftTwips = 200;

inline std::vector<platform::PrintLine> sample_page() {
    std::vector<platform::PrintLine> page;
    bool second_block = false;
    int y = kFirstLineTwips;
    for (const SampleLine& s : sample_lines()) {
        platform::PrintLine line;
        line.x_twips = kLeftTwips;
        line.y_twips = y;
        if (s.heading) {
            line.font_family = "verdana";
            line.point_size = 12.0;
            line.bold = true;
            second_block = page.size() > 2;  // the heading of line 8
        } else {
            line.font_family = second_block ? "Courier new" : "courier new";
            line.point_size = 10.0;
        }
        line.text = s.text;
        page.push_back(line);
        y += kLineStepTwips;
    }
    return page;
}

}  // namespace ristemo::test
