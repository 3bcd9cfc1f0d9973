// Any bytes in the four boxes, any length, both selection flags: the check and, when it accepts,
// the computation and both reports must neither crash nor hang.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/calculation.h"
#include "report/report.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::array<bool, 2> options = {(data[0] & 1) != 0, (data[0] & 2) != 0};
    // Boxes separated by NUL-free splits on byte 0xff, so every box can hold any other byte.
    std::array<std::string, 4> texts;
    std::size_t box = 0;
    for (std::size_t i = 1; i < size; ++i) {
        if (data[i] == 0xff && box < 3) {
            ++box;
        } else {
            texts[box].push_back(static_cast<char>(data[i]));
        }
    }
    ristemo::core::PatientRecord record;
    record.crlf_text = "\r\n";
    const auto out = ristemo::core::check_and_calculate(texts, options, record).check;
    if (out.accepted != record.data_ok) __builtin_trap();
    if (!out.accepted && out.message.empty()) __builtin_trap();
    if (record.data_ok) {
        if (ristemo::report::build_page(record).size() != 13) __builtin_trap();
        (void)ristemo::report::build_export_text(record);
    }
    return 0;
}
