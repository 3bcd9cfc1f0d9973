#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/patient_record.h"

namespace ristemo::core {

// The control that receives the focus after a rejection.
struct FocusTarget {
    enum class Control { Text1, Option1 };
    Control control = Control::Text1;
    int index = 0;

    friend bool operator==(const FocusTarget& a, const FocusTarget& b) {
        return a.control == b.control && a.index == b.index;
    }
};

// What one run of the input check decided. Fields are stored as they are read, so a rejection
// carries the fields read up to and including the rejected one; the rest stay empty and must be
// left untouched in the record.
struct CheckOutcome {
    bool accepted = false;
    std::string message;  // empty when accepted
    FocusTarget focus;    // meaningful only when rejected

    std::optional<float> creatinine;
    std::optional<float> weight;
    std::optional<float> height;
    std::optional<std::int16_t> age;
    std::optional<bool> is_male;
    std::optional<float> sex_factor;
};

// texts are indexed like Text1: 0 creatinine, 1 weight, 2 age, 3 height (UTF-8).
// options are indexed like Option1: 0 "maschio", 1 "femmina".
// Checks run in screen order: creatinine, weight, height, age, sex; the first failure ends them.
CheckOutcome check_inputs(const std::array<std::string, 4>& texts,
                          const std::array<bool, 2>& options);

// Applies an outcome to the record: clears data_ok, stores the fields the outcome carries and sets
// data_ok when the inputs were accepted.
void apply_outcome(const CheckOutcome& outcome, PatientRecord& record);

}  // namespace ristemo::core
