#pragma once

#include <cstdint>
#include <string>

namespace ristemo::core {

// The one record of the main window: the inputs the check accepted, its flags and the results.
struct PatientRecord {
    float creatinine = 0.0f;    // mg/dl
    float crcl = 0.0f;          // ml/min
    float weight = 0.0f;        // kg
    float height = 0.0f;        // m
    float bmi = 0.0f;           // kg/m²
    float ideal_weight = 0.0f;  // kg
    bool is_male = false;
    bool data_ok = false;        // gate of every consumer: true only after a full successful check
    float sex_factor = 0.0f;     // Cockcroft-Gault multiplier: 1 or float(0.85)
    std::int16_t age = 0;        // years
    std::string crlf_text;       // "\r\n", stored when the window loads
    float bsa = 0.0f;            // m²
    float lean_mass = 0.0f;      // kg
    float ideal_percent = 0.0f;  // weight as a percentage of the ideal weight
};

}  // namespace ristemo::core
