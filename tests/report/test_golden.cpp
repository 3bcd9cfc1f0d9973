// Both reports' lines for every accepted row of the independent model's vectors.
#include <gtest/gtest.h>

#include "core/calculation.h"
#include "report/report.h"
#include "support/crlf_lines.h"
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
        core::check_and_calculate(golden::texts_of(row), golden::options_of(row), record);
        ASSERT_TRUE(record.data_ok);

        std::vector<std::string> printed;
        for (const auto& line : report::build_page(record)) printed.push_back(line.text);
        EXPECT_EQ(printed, golden::split(row.at("print_lines"), '|'));

        EXPECT_EQ(test::crlf_lines(report::build_export_text(record)),
                  golden::split(row.at("export_lines"), '|'));

        const auto* result = ::testing::UnitTest::GetInstance()->current_test_info()->result();
        if (result->total_part_count() > 40) break;
    }
}

}  // namespace
