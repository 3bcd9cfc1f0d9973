// Both reports' lines for every accepted row of the independent model's vectors.
#include <gtest/gtest.h>

#include "core/calculation.h"
#include "core/validation.h"
#include "report/report.h"
#include "support/golden_rows.h"

namespace {

using namespace ristemo;

TEST(Golden, ReportLinesMatchTheIndependentModel) {
    const auto rows = golden::load_rows(RISTEMO_GOLDEN_FILE);
    ASSERT_EQ(rows.size(), 2000u) << "cannot read " << RISTEMO_GOLDEN_FILE;
    for (const golden::Row& row : rows) {
        if (row.at("outcome") != "ok") continue;
        SCOPED_TRACE("row " + row.at("id"));
        core::PatientRecord record;
        record.crlf_text = "\r\n";
        core::apply_outcome(core::check_inputs(golden::texts_of(row), golden::options_of(row)),
                            record);
        ASSERT_TRUE(record.data_ok);
        core::calculate(record);

        std::vector<std::string> printed;
        for (const auto& line : report::build_page(record)) printed.push_back(line.text);
        EXPECT_EQ(printed, golden::split(row.at("print_lines"), '|'));

        const std::string text = report::build_export_text(record);
        std::vector<std::string> exported;
        std::size_t start = 0;
        for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos;
             start = end + 2) {
            exported.push_back(text.substr(start, end - start));
        }
        EXPECT_EQ(start, text.size()) << "text must end with CR LF";
        EXPECT_EQ(exported, golden::split(row.at("export_lines"), '|'));

        const auto* result = ::testing::UnitTest::GetInstance()->current_test_info()->result();
        if (result->total_part_count() > 40) break;
    }
}

}  // namespace
