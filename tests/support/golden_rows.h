// The rows of the independent model's vectors (tests/data/core_vectors.tsv), one map a row keyed
// by the column names of the header line.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace ristemo::golden {

inline std::vector<std::string> split(const std::string& s, char sep) {
    std::vector<std::string> out(1);
    for (char c : s) {
        if (c == sep) {
            out.emplace_back();
        } else {
            out.back().push_back(c);
        }
    }
    return out;
}

// A float's bits as eight lower-case hex digits, as the file writes them.
inline std::string bits(float f) {
    std::uint32_t u = 0;
    std::memcpy(&u, &f, sizeof u);
    static const char* hex = "0123456789abcdef";
    std::string out(8, '0');
    for (int i = 7; i >= 0; --i, u >>= 4) out[i] = hex[u & 0xf];
    return out;
}

using Row = std::map<std::string, std::string>;

inline std::vector<Row> load_rows(const char* path) {
    std::ifstream in(path);
    std::vector<Row> rows;
    std::string line;
    if (!std::getline(in, line)) return rows;
    const auto header = split(line, '\t');
    while (std::getline(in, line)) {
        const auto cells = split(line, '\t');
        Row row;
        for (std::size_t i = 0; i < header.size() && i < cells.size(); ++i)
            row[header[i]] = cells[i];
        rows.push_back(row);
    }
    return rows;
}

// The inputs of a row as the window hands them over: Text1 order and Option1 order.
inline std::array<std::string, 4> texts_of(const Row& row) {
    return {row.at("creatinine_text"), row.at("weight_text"), row.at("age_text"),
            row.at("height_text")};
}
inline std::array<bool, 2> options_of(const Row& row) {
    return {row.at("sex") == "M", row.at("sex") == "F"};
}

}  // namespace ristemo::golden
