#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "core/calculation.h"
#include "support/worked_example.h"

namespace {

using namespace ristemo::core;

CalculationResults run(const char* creatinine, const char* weight, const char* height,
                       const char* age, bool male) {
    PatientRecord record;
    const Calculation c =
        check_and_calculate({creatinine, weight, age, height}, {male, !male}, record);
    EXPECT_TRUE(c.check.accepted) << c.check.message;
    return c.results;
}

struct Case {
    const char* name;
    const char* creatinine;
    const char* weight;
    const char* height;
    const char* age;
    bool male;
    std::array<const char*, 5> labels;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class Labels : public ::testing::TestWithParam<Case> {};

TEST_P(Labels, ShowExactTexts) {
    const Case& c = GetParam();
    const auto r = run(c.creatinine, c.weight, c.height, c.age, c.male);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(r.label3[i], c.labels[i]) << "Label3 index " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Patients, Labels,
    ::testing::Values(
        Case{"woman_salazar_corcoran",
             "1",
             "100",
             "1,6",
             "60",
             false,
             {"76,9", "39,1", "55,0 (+81,7%)", "2,02", "75,35"}},
        Case{"man_underweight",
             "0,9",
             "55",
             "1,8",
             "30",
             true,
             {"93,4", "17,0", "74,5 (-26,2%)", "1,7", "45,21"}},
        // bmi exactly 30 switches to Salazar-Corcoran (Cockcroft-Gault would give about 1,28).
        Case{"bmi_exactly_30",
             "13",
             "30",
             "1",
             "100",
             true,
             {"1,2", "30,0", "23,0 (+30,4%)", "0,86", "24,66"}},
        Case{"deviation_rounds_to_plus_zero",
             "1,2",
             "70,44",
             "1,75",
             "70",
             true,
             {"57,1", "23,0", "70,4 (+,0%)", "1,85", "57,9"}},
        Case{"largest_inputs",
             "0,4",
             "200",
             "2,2",
             "18",
             true,
             {"674,1", "41,3", "111,3 (+79,7%)", "3,41", "164,4"}}),
    [](const auto& info) { return std::string(info.param.name); });

// The worked example, whose results the other layers' tests read from their file.
TEST(WorkedExample, ResultsAreTheSharedFile) {
    const auto& texts = ristemo::test::kWorkedExampleTexts;
    const auto r = run(texts[0].c_str(), texts[1].c_str(), texts[3].c_str(), texts[2].c_str(),
                       ristemo::test::kWorkedExampleMale);
    EXPECT_EQ(std::vector<std::string>(r.label3.begin(), r.label3.end()),
              ristemo::test::worked_example_results());
}

TEST(Deviation, NegativeRoundingToZeroKeepsSign) {
    // 70,4 kg against an ideal of 70,4375 kg: ideal_percent just under 100.
    const auto r = run("1,2", "70,4", "1,75", "70", true);
    ASSERT_LT(deviation(r.ideal_percent), 0.0f);
    EXPECT_EQ(r.label3[2], "70,4 (-,1%)");
    const auto z = run("1,2", "70,43", "1,75", "70", true);
    ASSERT_LT(deviation(z.ideal_percent), 0.0f);
    EXPECT_EQ(z.label3[2], "70,4 (-,0%)");
}

}  // namespace
