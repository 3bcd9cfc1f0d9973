#pragma once

#include <array>
#include <string>

#include "core/patient_record.h"
#include "core/validation.h"

namespace ristemo::core {

struct CalculationResults {
    float crcl = 0.0f;
    float bmi = 0.0f;
    float ideal_weight = 0.0f;
    float ideal_percent = 0.0f;
    float bsa = 0.0f;
    float lean_mass = 0.0f;
    std::array<std::string, 5> label3;  // texts of the result boxes Label3 index 0 to 4 (UTF-8)
};

struct Calculation {
    CheckOutcome check;
    CalculationResults results;  // zero and empty unless check.accepted
};

// The calculate command: checks the box texts (indexed like Text1) and the options (like
// Option1), stores in the record what the check read, and once the check has accepted them
// computes the results and stores them too (data_ok says which happened).
Calculation check_and_calculate(const std::array<std::string, 4>& texts,
                                const std::array<bool, 2>& options, PatientRecord& record);

// The deviation from the ideal weight in percent, as the labels and both reports show it.
float deviation(float ideal_percent);

// That deviation as the result label and the printed page write it: a gain with its plus sign.
std::string deviation_text(float ideal_percent);

}  // namespace ristemo::core
