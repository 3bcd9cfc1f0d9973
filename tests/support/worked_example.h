// The worked example: a man of 70 years, 80 kg, 1,75 m, plasma creatinine 1,2 mg/dl. Its text
// export is one file, tests/data/worked_example.txt (RISTEMO_WORKED_EXAMPLE_FILE), which the
// report test holds against the report and every other test reads.
#pragma once

#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace ristemo::test {

// The thirteen lines of the worked example's text export, without their line ends.
inline std::vector<std::string> worked_example_lines() {
    std::ifstream in(RISTEMO_WORKED_EXAMPLE_FILE, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    // An unreadable file must fail the test, not turn it into a comparison of empty texts.
    if (lines.empty()) throw std::runtime_error("cannot read " RISTEMO_WORKED_EXAMPLE_FILE);
    return lines;
}

// The export with each line ended by line_end ("\r\n" as the window hands it over).
inline std::string worked_example_text(const std::string& line_end) {
    std::string text;
    for (const std::string& line : worked_example_lines()) text += line + line_end;
    return text;
}

}  // namespace ristemo::test
