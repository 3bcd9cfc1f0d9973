#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ristemo::test {

// The lines of a text whose every line, the last included, ends with CR LF, as the window hands
// the export over; a text that ends otherwise fails the calling test.
inline std::vector<std::string> crlf_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "every line, the last included, ends with CR LF";
    return lines;
}

}  // namespace ristemo::test
