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

// One input box: where the check stores what it read, the accepted range, and the words around
// the value in its message.
template <typename T>
struct Box {
    int index;  // in Text1
    std::optional<T> CheckOutcome::*field;
    std::optional<T> (*read)(std::string_view text);
    T low;
    T high;
    const char* prefix;
    const char* suffix;
};

constexpr Box<float> kCreatinine{0,
                                 &CheckOutcome::creatinine,
                                 read_float,
                                 0.4f,
                                 13.0f,
                                 "valore creatinina ",
                                 " mg/dl non accettabile..."};
constexpr Box<float> kWeight{
    1, &CheckOutcome::weight, read_float, 30.0f, 200.0f, "valore peso ", " Kg  non accettabile..."};
constexpr Box<float> kHeight{
    3, &CheckOutcome::height, read_float, 1.0f, 2.2f, "valore altezza ", " m  non accettabile..."};
constexpr Box<std::int16_t> kAge{
    2, &CheckOutcome::age, read_age, 18, 100, "valore et\u00e0 ", " anni  non accettabile..."};

void reject(CheckOutcome& out, FocusTarget::Control control, int index, std::string message) {
    out.accepted = false;
    out.focus = {control, index};
    out.message = std::move(message);
}

// Reads one box into the outcome; false when it rejected the input.
template <typename T>
bool check_box(const Box<T>& box, const std::array<std::string, 4>& texts, CheckOutcome& out) {
    const std::string& text = texts[std::size_t(box.index)];
    const std::optional<T> value = box.read(text);
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
    // In screen order: the age box (index 2) comes after the height box (index 3).
    if (!(check_box(kCreatinine, texts, out) && check_box(kWeight, texts, out) &&
          check_box(kHeight, texts, out) && check_box(kAge, texts, out)))
        return out;

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
