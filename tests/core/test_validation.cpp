#include <gtest/gtest.h>

#include <string>

#include "core/validation.h"

namespace {

using ristemo::core::apply_outcome;
using ristemo::core::check_inputs;
using ristemo::core::FocusTarget;
using ristemo::core::PatientRecord;
using Control = FocusTarget::Control;

// Box texts in screen order; check_inputs takes them indexed like Text1 (age 2, height 3).
struct Case {
    const char* name;
    const char* creatinine;
    const char* weight;
    const char* height;
    const char* age;
    bool male;
    bool female;
    const char* message;  // "" when accepted
    Control focus_control;
    int focus_index;
};

constexpr Control T = Control::Text1;

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class Check : public ::testing::TestWithParam<Case> {};

TEST_P(Check, GivesTheMessageAndFocus) {
    const Case& c = GetParam();
    const auto out = check_inputs({c.creatinine, c.weight, c.age, c.height}, {c.male, c.female});
    EXPECT_EQ(out.message, c.message);
    EXPECT_EQ(out.accepted, std::string(c.message).empty());
    if (!out.accepted) {
        EXPECT_EQ(out.focus, (FocusTarget{c.focus_control, c.focus_index}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, Check,
    ::testing::Values(
        Case{"all_empty", "", "", "", "", false, false,
             "valore creatinina 0 mg/dl non accettabile...", T, 0},
        Case{"lone_comma_reads_zero", ",", "80", "1,75", "70", true, false,
             "valore creatinina 0 mg/dl non accettabile...", T, 0},
        Case{"creatinine_below", "0,39", "80", "1,75", "70", true, false,
             "valore creatinina 0,39 mg/dl non accettabile...", T, 0},
        Case{"creatinine_low_bound", "0,4", "80", "1,75", "70", true, false, "", T, 0},
        Case{"creatinine_high_bound", "13", "80", "1,75", "70", true, false, "", T, 0},
        Case{"creatinine_above", "13,1", "80", "1,75", "70", true, false,
             "valore creatinina 13,1 mg/dl non accettabile...", T, 0},
        Case{"weight_below", "1", "29,9", "1,75", "70", true, false,
             "valore peso 29,9 Kg  non accettabile...", T, 1},
        Case{"weight_empty", "1", "", "1,75", "70", true, false,
             "valore peso 0 Kg  non accettabile...", T, 1},
        Case{"weight_bounds", "1", "30", "1,75", "70", true, false, "", T, 0},
        Case{"weight_high_bound", "1", "200", "1,75", "70", true, false, "", T, 0},
        Case{"weight_above", "1", "200,1", "1,75", "70", true, false,
             "valore peso 200,1 Kg  non accettabile...", T, 1},
        Case{"height_below", "1", "80", "0,99", "70", true, false,
             "valore altezza 0,99 m  non accettabile...", T, 3},
        Case{"height_above", "1", "80", "2,21", "70", true, false,
             "valore altezza 2,21 m  non accettabile...", T, 3},
        Case{"height_bounds", "1", "80", "1", "70", true, false, "", T, 0},
        Case{"height_high_bound", "1", "80", "2,2", "70", true, false, "", T, 0},
        Case{"age_below", "1", "80", "1,75", "17", true, false,
             "valore et\u00e0 17 anni  non accettabile...", T, 2},
        Case{"age_above", "1", "80", "1,75", "101", true, false,
             "valore et\u00e0 101 anni  non accettabile...", T, 2},
        Case{"age_bounds", "1", "80", "1,75", "18", true, false, "", T, 0},
        Case{"age_high_bound", "1", "80", "1,75", "100", false, true, "", T, 0},
        Case{"age_trailing_comma", "1", "80", "1,75", "45,", true, false, "", T, 0},
        Case{"age_half_to_even_down", "1", "80", "1,75", "18,5", true, false, "", T, 0},
        Case{"age_half_to_even_below", "1", "80", "1,75", "17,5", true, false, "", T, 0},
        Case{"age_half_rounds_down_to_17", "1", "80", "1,75", "16,5", true, false,
             "valore et\u00e0 16 anni  non accettabile...", T, 2},
        Case{"age_100_5_is_100", "1", "80", "1,75", "100,5", true, false, "", T, 0},
        Case{"age_101_5_is_102", "1", "80", "1,75", "101,5", true, false,
             "valore et\u00e0 102 anni  non accettabile...", T, 2},
        Case{"only_first_failure_reported", "1", "29", "3", "5", true, false,
             "valore peso 29 Kg  non accettabile...", T, 1},
        Case{"no_sex", "1", "80", "1,75", "70", false, false, "specificare sesso del paziente...",
             Control::Option1, 0},
        // Pasted texts: a point reads as the comma, blanks around are ignored, anything else is
        // rejected with the box text as it stands.
        Case{"pasted_point", "1.2", "80", "1,75", "70", true, false, "", T, 0},
        Case{"pasted_blanks", " 1,2 ", "80", "1,75", "70", true, false, "", T, 0},
        Case{"pasted_letters", "abc", "80", "1,75", "70", true, false,
             "valore creatinina abc mg/dl non accettabile...", T, 0},
        Case{"pasted_sign", "-1", "80", "1,75", "70", true, false,
             "valore creatinina -1 mg/dl non accettabile...", T, 0},
        Case{"pasted_exponent", "1e1", "80", "1,75", "70", true, false,
             "valore creatinina 1e1 mg/dl non accettabile...", T, 0},
        Case{"pasted_inf", "1", "inf", "1,75", "70", true, false,
             "valore peso inf Kg  non accettabile...", T, 1},
        Case{"pasted_two_separators", "1", "80", "1,7.5", "70", true, false,
             "valore altezza 1,7.5 m  non accettabile...", T, 3},
        Case{"pasted_age_letters", "1", "80", "1,75", "7x", true, false,
             "valore et\u00e0 7x anni  non accettabile...", T, 2},
        Case{"pasted_huge_age", "1", "80", "1,75", "99999999", true, false,
             "valore et\u00e0 99999999 anni  non accettabile...", T, 2},
        // Beyond the float range: rejected as it stands rather than read as infinity.
        Case{"pasted_huge_weight", "1", "999999999999999999999999999999999999999999999", "1,75",
             "70", true, false,
             "valore peso 999999999999999999999999999999999999999999999 Kg  non accettabile...", T,
             1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Check, StoresFieldsUpToTheRejectedOne) {
    PatientRecord record;
    apply_outcome(check_inputs({"1,2", "80", "70", "1,75"}, {true, false}), record);
    ASSERT_TRUE(record.data_ok);

    // Height rejected: creatinine, weight and height are new, age and sex keep the earlier values.
    const auto out = check_inputs({"2", "90", "17", "2,5"}, {false, true});
    apply_outcome(out, record);
    EXPECT_FALSE(record.data_ok);
    EXPECT_EQ(record.creatinine, 2.0f);
    EXPECT_EQ(record.weight, 90.0f);
    EXPECT_EQ(record.height, 2.5f);
    EXPECT_EQ(record.age, 70);
    EXPECT_TRUE(record.is_male);
    EXPECT_EQ(record.sex_factor, 1.0f);
}

TEST(Check, UnreadableTextKeepsTheFieldsEarlierValue) {
    PatientRecord record;
    apply_outcome(check_inputs({"1,2", "80", "70", "1,75"}, {false, true}), record);
    apply_outcome(check_inputs({"3", "8O", "70", "1,75"}, {false, true}), record);
    EXPECT_FALSE(record.data_ok);
    EXPECT_EQ(record.creatinine, 3.0f);
    EXPECT_EQ(record.weight, 80.0f);
}

}  // namespace
