#include "core/validation.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <string_view>
#include <system_error>

#include "core/number_format.h"

namespace ristemo::core {

namespace {

// Box text as a number. Empty and a lone separator read as 0; nullopt means the text is not a
// number at all (only pasting can bring that): digits with at most one separator, "," or ".".
std::optional<double> read_number(std::string_view text) {
    const auto is_blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);

    std::string plain;
    bool separator = false;
    bool digit = false;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            digit = true;
            plain.push_back(c);
        } else if ((c == ',' || c == '.') && !separator) {
            separator = true;
            plain.push_back('.');
        } else {
            return std::nullopt;
        }
    }
    if (!digit) return 0.0;

    double value = 0.0;
    const auto res = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (res.ec != std::errc() || res.ptr != plain.data() + plain.size()) return std::nullopt;
    return value;
}

std::optional<float> read_float(std::string_view text) {
    const auto value = read_number(text);
    if (!value || *value > FLT_MAX) return std::nullopt;
    return static_cast<float>(*value);
}

// Rounded to the nearest integer, a half going to the even neighbour.
std::optional<std::int16_t> read_age(std::string_view text) {
    const auto value = read_number(text);
    if (!value) return std::nullopt;
    const double rounded = std::nearbyint(*value);
    if (rounded > INT16_MAX) return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

struct DecimalBox {
    int index;
    std::optional<float> CheckOutcome::*field;
    float low;
    float high;
    const char* prefix;
    const char* suffix;
};

// In screen order; the age box (index 2) comes after the height box (index 3).
constexpr DecimalBox kCreatinine{0,     &CheckOutcome::creatinine, 0.4f,
                                 13.0f, "valore creatinina ",      " mg/dl non accettabile..."};
constexpr DecimalBox kWeight{1,      &CheckOutcome::weight, 30.0f,
                             200.0f, "valore peso ",        " Kg  non accettabile..."};
constexpr DecimalBox kHeight{3,    &CheckOutcome::height, 1.0f,
                             2.2f, "valore altezza ",     " m  non accettabile..."};
constexpr int kAgeIndex = 2;
constexpr std::int16_t kAgeLow = 18;
constexpr std::int16_t kAgeHigh = 100;

void reject(CheckOutcome& out, FocusTarget::Control control, int index, std::string message) {
    out.accepted = false;
    out.focus = {control, index};
    out.message = std::move(message);
}

// Reads one decimal box into the outcome; false when it rejected the input.
bool check_decimal(const DecimalBox& box, const std::string& text, CheckOutcome& out) {
    const auto value = read_float(text);
    if (!value) {
        reject(out, FocusTarget::Control::Text1, box.index, box.prefix + text + box.suffix);
        return false;
    }
    out.*box.field = *value;
    if (*value < box.low || *value > box.high) {
        reject(out, FocusTarget::Control::Text1, box.index,
               box.prefix + number_text(*value) + box.suffix);
        return false;
    }
    return true;
}

}  // namespace

CheckOutcome check_inputs(const std::array<std::string, 4>& texts,
                          const std::array<bool, 2>& options) {
    CheckOutcome out;
    for (const DecimalBox* box : {&kCreatinine, &kWeight, &kHeight}) {
        if (!check_decimal(*box, texts[box->index], out)) return out;
    }

    const std::string& age_text = texts[kAgeIndex];
    const auto age = read_age(age_text);
    const char* age_prefix = "valore et\u00e0 ";
    const char* age_suffix = " anni  non accettabile...";
    if (!age) {
        reject(out, FocusTarget::Control::Text1, kAgeIndex, age_prefix + age_text + age_suffix);
        return out;
    }
    out.age = *age;
    if (*age < kAgeLow || *age > kAgeHigh) {
        reject(out, FocusTarget::Control::Text1, kAgeIndex,
               age_prefix + number_text(*age) + age_suffix);
        return out;
    }

    if (!options[0] && !options[1]) {
        reject(out, FocusTarget::Control::Option1, 0, "specificare sesso del paziente...");
        return out;
    }
    out.is_male = options[0];
    out.sex_factor = options[0] ? 1.0f : 0.85f;
    out.accepted = true;
    return out;
}

void apply_outcome(const CheckOutcome& outcome, PatientRecord& record) {
    record.data_ok = false;
    if (outcome.creatinine) record.creatinine = *outcome.creatinine;
    if (outcome.weight) record.weight = *outcome.weight;
    if (outcome.height) record.height = *outcome.height;
    if (outcome.age) record.age = *outcome.age;
    if (outcome.is_male) record.is_male = *outcome.is_male;
    if (outcome.sex_factor) record.sex_factor = *outcome.sex_factor;
    record.data_ok = outcome.accepted;
}

}  // namespace ristemo::core
