// The worked example: a man of 70 years, 80 kg, 1,75 m, plasma creatinine 1,2 mg/dl. Its five
// results as the window shows them are one file, tests/data/worked_example_results.txt, which the
// core test holds against the calculation; its text export is another,
// tests/data/worked_example.txt, which the report test holds against the report. Every other test
// reads them.
#pragma once

#include <array>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace ristemo::test {

// What the user types, in Text1 index order (creatinine, weight, age, height), and picks.
inline const std::array<std::string, 4> kWorkedExampleTexts = {"1,2", "80", "70", "1,75"};
inline constexpr bool kWorkedExampleMale = true;

// The lines of a file, without their line ends.
inline std::vector<std::string> lines_of(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    // An unreadable file must fail the test, not turn it into a comparison of empty texts.
    if (lines.empty()) throw std::runtime_error(std::string("cannot read ") + path);
    return lines;
}

// The texts of the five result boxes, Label3 index 0 to 4.
inline std::vector<std::string> worked_example_results() {
    return lines_of(RISTEMO_WORKED_EXAMPLE_RESULTS_FILE);
}

// The thirteen lines of the text export.
inline std::vector<std::string> worked_example_lines() {
    return lines_of(RISTEMO_WORKED_EXAMPLE_FILE);
}

// The export with each line ended by line_end ("\r\n" as the window hands it over).
inline std::string worked_example_text(const std::string& line_end) {
    std::string text;
    for (const std::string& line : worked_example_lines()) text += line + line_end;
    return text;
}

}  // namespace ristemo::test
