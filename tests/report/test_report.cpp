#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app_info.h"
#include "core/calculation.h"
#include "report/report.h"
#include "support/crlf_lines.h"
#include "support/worked_example.h"

namespace {

using namespace ristemo;

core::PatientRecord calculated(const char* creatinine, const char* weight, const char* height,
                               const char* age, bool male) {
    core::PatientRecord record;
    record.crlf_text = "\r\n";
    core::check_and_calculate({creatinine, weight, age, height}, {male, !male}, record);
    EXPECT_TRUE(record.data_ok);
    return record;
}

TEST(Page, ThirteenLinesAtFixedPositionsInTwoFonts) {
    const auto page = report::build_page(calculated("1,2", "80", "1,75", "70", true));
    ASSERT_EQ(page.size(), 13u);
    const report::Font heading{"verdana", 12.0f, true};
    for (std::size_t i = 0; i < page.size(); ++i) {
        SCOPED_TRACE("line " + std::to_string(i + 1));
        EXPECT_EQ(page[i].x, 200);
        EXPECT_EQ(page[i].y, 200 + 450 * static_cast<int>(i));
        const bool is_heading = i == 0 || i == 1 || i == 7;
        if (is_heading) {
            EXPECT_EQ(page[i].font, heading);
        } else {
            EXPECT_EQ(page[i].font.size, 10.0f);
            EXPECT_FALSE(page[i].font.bold);
            EXPECT_EQ(page[i].font.name, i < 7 ? "courier new" : "Courier new");
        }
    }
}

// The worked example's export is the file every other test expects; the page words line 11 alone
// differently.
TEST(Report, WorkedExampleIsTheSharedFile) {
    const core::PatientRecord record = calculated("1,2", "80", "1,75", "70", true);
    EXPECT_EQ(report::build_export_text(record), test::worked_example_text("\r\n"));

    std::vector<std::string> expected = test::worked_example_lines();
    ASSERT_EQ(expected.size(), 13u);
    expected[10] = "peso ideale / scostamento     : 70,4 Kg (+13,6%)";
    std::vector<std::string> texts;
    for (const auto& l : report::build_page(record)) texts.push_back(l.text);
    EXPECT_EQ(texts, expected);
}

// Line 11 of both reports for a given ideal_percent: the page signs a positive deviation, the
// export never writes a plus sign, parentheses or a percent sign.
struct DeviationCase {
    const char* name;
    float ideal_weight;
    float ideal_percent;
    const char* page_line;
    const char* export_line;
};

void PrintTo(const DeviationCase& c, std::ostream* os) {
    *os << c.name;
}

class Deviation : public ::testing::TestWithParam<DeviationCase> {};

TEST_P(Deviation, LineElevenOfBothReports) {
    const auto& c = GetParam();
    core::PatientRecord record = calculated("1,2", "80", "1,75", "70", true);
    record.ideal_weight = c.ideal_weight;
    record.ideal_percent = c.ideal_percent;
    EXPECT_EQ(report::build_page(record).at(10).text, c.page_line);
    EXPECT_EQ(test::crlf_lines(report::build_export_text(record)).at(10), c.export_line);
}

INSTANTIATE_TEST_SUITE_P(
    IdealWeight, Deviation,
    ::testing::Values(
        DeviationCase{"above", 64.0f, 120.0f, "peso ideale / scostamento     : 64,0 Kg (+20,0%)",
                      "peso ideale / scostamento     : 64,0 Kg  20,0 pc"},
        DeviationCase{"above_by_a_quarter", 64.0f, 125.0f,
                      "peso ideale / scostamento     : 64,0 Kg (+25,0%)",
                      "peso ideale / scostamento     : 64,0 Kg  25,0 pc"},
        DeviationCase{"below", 64.0f, 90.0f, "peso ideale / scostamento     : 64,0 Kg (-10,0%)",
                      "peso ideale / scostamento     : 64,0 Kg  -10,0 pc"},
        DeviationCase{"exact", 64.0f, 100.0f, "peso ideale / scostamento     : 64,0 Kg (,0%)",
                      "peso ideale / scostamento     : 64,0 Kg  ,0 pc"},
        DeviationCase{"just_below_rounds_to_zero", 64.0f, 99.99f,
                      "peso ideale / scostamento     : 64,0 Kg (-,0%)",
                      "peso ideale / scostamento     : 64,0 Kg  -,0 pc"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Export, WorkedExamplesForBothSexes) {
    const auto woman =
        test::crlf_lines(report::build_export_text(calculated("1", "100", "1,6", "60", false)));
    ASSERT_EQ(woman.size(), 13u);
    EXPECT_EQ(woman[0], core::kAppTitle);
    EXPECT_EQ(woman[6], "sesso                         : femminile");
    EXPECT_EQ(woman[8], "Stima clearance creatinina    : 77 ml/min");
    EXPECT_EQ(woman[9], "Body Mass Index               : 39,06");
    EXPECT_EQ(woman[10], "peso ideale / scostamento     : 55,0 Kg  81,7 pc");

    const auto man =
        test::crlf_lines(report::build_export_text(calculated("0,9", "55", "1,8", "30", true)));
    EXPECT_EQ(man[2], "creatinina plasmatica         : ,9 mg/dl");
    EXPECT_EQ(man[4], "altezza                       : 1,8 mt");
    EXPECT_EQ(man[6], "sesso                         : maschile");
    EXPECT_EQ(man[10], "peso ideale / scostamento     : 74,5 Kg  -26,2 pc");
    EXPECT_EQ(man[11], "stima superficie corporea     : 1,7 mq");
    EXPECT_EQ(man[12], "stima massa magra             : 45,21 Kg");
}

}  // namespace
