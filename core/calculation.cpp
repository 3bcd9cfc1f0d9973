#include "core/calculation.h"

#include <cmath>
#include <cstdint>

#include "core/number_format.h"

namespace ristemo::core {

namespace {

struct CalculationInputs {
    float creatinine = 0.0f;
    float weight = 0.0f;
    float height = 0.0f;
    std::int16_t age = 0;
    bool is_male = false;
    float sex_factor = 0.0f;
};

// The rounding steps below are deliberate: every float() marks a value that is stored in single
// precision, and a visible digit of a label or a report line can depend on each of them.

// Only for inputs that the check accepted: outside those ranges the formulas are not meaningful.
CalculationResults compute(const CalculationInputs& in) {
    const double W = in.weight;
    const double H = in.height;
    const double C = in.creatinine;
    const double H2 = H * H;

    const auto cg_years = static_cast<std::int16_t>(140 - in.age);
    const float cockcroft_gault =
        static_cast<float>(static_cast<double>(cg_years) * W / (C * 72.0) * in.sex_factor);

    CalculationResults r;
    r.bmi = static_cast<float>(W / H2);

    double salazar_corcoran = 0.0;
    if (in.is_male) {
        const auto years = static_cast<std::int16_t>(137 - in.age);
        const float divisor = static_cast<float>(51.0 * C);
        salazar_corcoran = years * (0.285 * W + 12.1 * H2) / divisor;
    } else {
        const auto years = static_cast<std::int16_t>(146 - in.age);
        const float divisor = static_cast<float>(60.0 * C);
        salazar_corcoran = years * (0.287 * W + 9.74 * H2) / divisor;
    }
    r.crcl = r.bmi >= 30.0f ? static_cast<float>(salazar_corcoran) : cockcroft_gault;
    r.label3[0] = format_picture(r.crcl, "###0.0");
    r.label3[1] = format_picture(r.bmi, "##0.0");

    r.ideal_weight = static_cast<float>(H2 * (in.is_male ? 23.0 : 21.5));
    r.ideal_percent = static_cast<float>(W * 100.0 / r.ideal_weight);
    r.label3[2] =
        format_picture(r.ideal_weight, "##0.0") + " (" + deviation_text(r.ideal_percent) + "%)";

    r.bsa = static_cast<float>(71.84 * std::pow(W, 0.425) * std::pow(100.0 * H, 0.725) / 10000.0);
    r.label3[3] = format_picture(r.bsa, "###0.0#");

    r.lean_mass = static_cast<float>(1.37 * (W * (in.is_male ? 0.6 : 0.55)));
    r.label3[4] = format_picture(r.lean_mass, "###0.0#");
    return r;
}

}  // namespace

float deviation(float ideal_percent) {
    return ideal_percent - 100.0f;
}

std::string deviation_text(float ideal_percent) {
    const float d = deviation(ideal_percent);
    return format_picture(d, d > 0.0f ? "+###.0" : "###.0");
}

Calculation check_and_calculate(const std::array<std::string, 4>& texts,
                                const std::array<bool, 2>& options, PatientRecord& record) {
    Calculation c{check_inputs(texts, options), {}};
    apply_outcome(c.check, record);
    if (!record.data_ok) return c;
    c.results = compute({record.creatinine, record.weight, record.height, record.age,
                         record.is_male, record.sex_factor});
    record.crcl = c.results.crcl;
    record.bmi = c.results.bmi;
    record.ideal_weight = c.results.ideal_weight;
    record.ideal_percent = c.results.ideal_percent;
    record.bsa = c.results.bsa;
    record.lean_mass = c.results.lean_mass;
    return c;
}

}  // namespace ristemo::core
