#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "core/decimal.h"
#include "core/number_format.h"

namespace {

using ristemo::core::format_picture;
using ristemo::core::number_text;

struct PictureCase {
    const char* name;
    const char* picture;
    float value;
    const char* text;
};

void PrintTo(const PictureCase& c, std::ostream* os) {
    *os << c.name;
}

class FloatPicture : public ::testing::TestWithParam<PictureCase> {};

TEST_P(FloatPicture, RendersExactly) {
    const auto& c = GetParam();
    EXPECT_EQ(format_picture(c.value, c.picture), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, FloatPicture,
    ::testing::Values(
        PictureCase{"clearance", "###0.0", 64.81481f, "64,8"},
        PictureCase{"zero_integer_kept", "###0.0", 0.5f, "0,5"},
        PictureCase{"no_thousands_separator", "###0.0", 1234.56f, "1234,6"},
        PictureCase{"whole_number", "###0.0", 2.0f, "2,0"},
        PictureCase{"bmi_label", "##0.0", 26.12245f, "26,1"},
        PictureCase{"three_integer_digits", "##0.0", 111.32f, "111,3"},
        PictureCase{"plus_deviation", "+###.0", 13.57587f, "+13,6"},
        PictureCase{"plus_no_integer", "+###.0", 0.5f, "+,5"},
        PictureCase{"plus_rounds_to_zero", "+###.0", 0.003555f, "+,0"},
        PictureCase{"negative", "###.0", -26.19431f, "-26,2"},
        PictureCase{"zero_without_integer", "###.0", 0.0f, ",0"},
        PictureCase{"integer_section_grows", "###.0", 120.0f, "120,0"},
        PictureCase{"two_decimals", "###0.0#", 1.95606f, "1,96"},
        PictureCase{"optional_decimal_dropped", "###0.0#", 1.702523f, "1,7"},
        PictureCase{"below_one_two_decimals", "###0.0#", 0.8592961f, "0,86"},
        PictureCase{"creatinine_below_one", "##.0", 0.9f, ",9"},
        PictureCase{"creatinine_whole", "##.0", 13.0f, "13,0"},
        PictureCase{"height", "#.0#", 1.75f, "1,75"},
        PictureCase{"height_one_decimal", "#.0#", 1.8f, "1,8"},
        PictureCase{"height_whole", "#.0#", 2.0f, "2,0"},
        PictureCase{"no_leading_zero", "#.0#", 0.8592961f, ",86"},
        PictureCase{"half_below_one", "#.0#", 0.5f, ",5"},
        PictureCase{"integer_picture_rounds", "###", 64.81481f, "65"},
        PictureCase{"integer_picture_zero_is_empty", "###", 0.0f, ""},
        PictureCase{"integer_picture_rounds_to_zero", "###", 0.4f, ""},
        PictureCase{"bmi_report", "##.0#", 39.0625f, "39,06"},
        PictureCase{"bmi_report_whole", "##.0#", 30.0f, "30,0"},
        PictureCase{"lean_mass_report", "###.0#", 164.4f, "164,4"},
        PictureCase{"lean_mass_below_one", "###.0#", 0.5f, ",5"},
        // Halves go away from zero, decided on the seven-digit text, not the binary value:
        // float(22.605) is 22.6049995..., float(0.25) and float(2.5) are exact.
        PictureCase{"half_from_seven_digits", "###0.0#", 22.605f, "22,61"},
        PictureCase{"half_up", "##.0", 0.25f, ",3"},
        PictureCase{"half_up_integer", "###", 2.5f, "3"},
        PictureCase{"half_away_negative", "###.0", -8.25f, "-8,3"},
        PictureCase{"carry_into_new_digit", "###0.0", 99.96f, "100,0"},
        PictureCase{"carry_through_decimals", "#.0#", 1.996f, "2,0"},
        PictureCase{"negative_rounding_to_zero_keeps_sign", "###.0", -0.04f, "-,0"},
        PictureCase{"negative_zero_has_no_sign", "###.0", -0.0f, ",0"},
        PictureCase{"tiny_value", "###0.0#", 1e-30f, "0,0"},
        PictureCase{"huge_value", "###", 1e20f, "100000000000000000000"}),
    [](const auto& info) { return std::string(info.param.name); });

struct IntCase {
    const char* name;
    const char* picture;
    std::int16_t value;
    const char* text;
};

void PrintTo(const IntCase& c, std::ostream* os) {
    *os << c.name;
}

class IntPicture : public ::testing::TestWithParam<IntCase> {};

TEST_P(IntPicture, RendersExactly) {
    const auto& c = GetParam();
    EXPECT_EQ(format_picture(c.value, c.picture), c.text);
}

INSTANTIATE_TEST_SUITE_P(Pictures, IntPicture,
                         ::testing::Values(IntCase{"age", "###", 70, "70"},
                                           IntCase{"zero_is_empty", "###", 0, ""},
                                           IntCase{"with_decimals", "###0.0", 17, "17,0"},
                                           IntCase{"negative", "###", -5, "-5"},
                                           IntCase{"smallest", "###", -32768, "-32768"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct TextCase {
    const char* name;
    float value;
    const char* text;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.name;
}

class PlainText : public ::testing::TestWithParam<TextCase> {};

TEST_P(PlainText, IsShortestSevenDigitForm) {
    const auto& c = GetParam();
    EXPECT_EQ(number_text(c.value), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Floats, PlainText,
    ::testing::Values(TextCase{"zero", 0.0f, "0"}, TextCase{"below_one", 0.39f, "0,39"},
                      TextCase{"nearest_to_point_three", 0.3f, "0,3"},
                      TextCase{"one_decimal", 13.5f, "13,5"}, TextCase{"whole", 250.0f, "250"},
                      TextCase{"just_below_bound", 29.9f, "29,9"},
                      TextCase{"seven_digits", 123.4567f, "123,4567"},
                      TextCase{"rounded_to_seven_digits", 0.1234567891f, "0,1234568"},
                      TextCase{"small", 0.000615f, "0,000615"},
                      TextCase{"large_whole", 16777216.0f, "16777220"},
                      TextCase{"negative", -2.5f, "-2,5"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PlainText, WritesIntegersAsDigits) {
    EXPECT_EQ(number_text(std::int16_t{17}), "17");
    EXPECT_EQ(number_text(std::int16_t{101}), "101");
    EXPECT_EQ(number_text(std::int16_t{0}), "0");
    EXPECT_EQ(number_text(std::int16_t{-3}), "-3");
}

TEST(PlainText, NonFiniteValuesDoNotCrash) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(number_text(nan), "NaN");
    EXPECT_EQ(number_text(-inf), "-inf");
    EXPECT_EQ(format_picture(inf, "###0.0"), "inf");
}

}  // namespace

namespace {

// The fast exact path must agree with the standard library's correctly rounded conversion.
TEST(PlainText, FastDigitsAgreeWithGeneralConversion) {
    using ristemo::core::detail::decimal_of;
    using ristemo::core::detail::decimal_of_general;
    std::uint32_t state = 12345u;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state;
    };
    int mismatches = 0;
    // Exact ties at the eighth digit first.
    for (float v : {1234566.5f, 1234567.5f, 8388607.5f, 0.0009765625f, 16777215.0f}) {
        const auto a = decimal_of(v);
        const auto b = decimal_of_general(v);
        EXPECT_EQ(a.digits, b.digits) << v;
        EXPECT_EQ(a.point, b.point) << v;
    }
    for (int i = 0; i < 300000 && mismatches < 5; ++i) {
        // Random bit patterns over the whole exponent range, plus values near the program's inputs.
        std::uint32_t bits = next();
        float v;
        if (i % 2 == 0) {
            std::memcpy(&v, &bits, sizeof v);
            if (!std::isfinite(v)) continue;
        } else {
            v = static_cast<float>(bits % 2000000u) / 1000.0f;
        }
        const auto a = decimal_of(v);
        const auto b = decimal_of_general(v);
        if (a.negative != b.negative || a.digits != b.digits || a.point != b.point) {
            ++mismatches;
            ADD_FAILURE() << "value bits " << bits << ": " << a.digits << "e" << a.point << " vs "
                          << b.digits << "e" << b.point;
        }
    }
}

}  // namespace
