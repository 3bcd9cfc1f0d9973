#pragma once

#include <vector>

#include "core/calculation.h"
#include "platform/printer.h"
#include "report/report.h"

namespace ristemo::test {

// The printed page of the worked example (tests/data/worked_example.txt), built by the report as
// the window builds it: thirteen lines in two faces, the headings bold.
inline std::vector<platform::PrintLine> sample_page() {
    core::PatientRecord record;
    core::check_and_calculate({"1,2", "80", "70", "1,75"}, {true, false}, record);
    std::vector<platform::PrintLine> page;
    for (const report::PageLine& l : report::build_page(record)) {
        page.push_back({l.x, l.y, l.font.name, double(l.font.size), l.font.bold, l.text});
    }
    return page;
}

}  // namespace ristemo::test
