#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/patient_record.h"

namespace ristemo::core {

struct CalculationInputs {
    float creatinine = 0.0f;
    float weight = 0.0f;
    float height = 0.0f;
    std::int16_t age = 0;
    bool is_male = false;
    float sex_factor = 0.0f;
};

struct CalculationResults {
    float crcl = 0.0f;
    float bmi = 0.0f;
    float ideal_weight = 0.0f;
    float ideal_percent = 0.0f;
    float bsa = 0.0f;
    float lean_mass = 0.0f;
    std::array<std::string, 5> label3;  // texts of the result boxes Label3 index 0 to 4 (UTF-8)
};

// Only for inputs that the check accepted: outside those ranges the formulas are not meaningful.
CalculationResults compute(const CalculationInputs& in);

// Computes the results of the inputs the record holds and stores them in it; returns them with
// the label texts. Only once the check has accepted those inputs (data_ok).
CalculationResults calculate(PatientRecord& record);

// The deviation from the ideal weight in percent, as the labels and both reports show it.
float deviation(float ideal_percent);

}  // namespace ristemo::core
