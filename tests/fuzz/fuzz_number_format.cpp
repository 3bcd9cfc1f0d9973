// Every float bit pattern (NaN, infinities, subnormals, -0 included) and every 16-bit integer,
// through every picture the program uses and the plain text.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/number_format.h"

namespace {

constexpr const char* kPictures[] = {"###0.0", "##0.0", "+###.0", "###.0", "###0.0#",
                                     "##.0",   "#.0#",  "###",    "##.0#", "###.0#"};

void check_text(const std::string& text) {
    // Only digits, the comma, signs and the non-finite words may appear.
    for (char c : text) {
        const bool ok = (c >= '0' && c <= '9') || c == ',' || c == '-' || c == '+' ||
                        std::strchr("NaninfN", c) != nullptr;
        if (!ok) __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    float value = 0.0f;
    std::memcpy(&value, data, sizeof value);
    std::int16_t integer = 0;
    std::memcpy(&integer, data, sizeof integer);
    // An arbitrary picture too: the rest of the input.
    const std::string picture(reinterpret_cast<const char*>(data) + 4, size - 4);

    check_text(ristemo::core::number_text(value));
    check_text(ristemo::core::number_text(integer));
    for (const char* p : kPictures) {
        check_text(ristemo::core::format_picture(value, p));
        check_text(ristemo::core::format_picture(integer, p));
    }
    (void)ristemo::core::format_picture(value, picture);
    (void)ristemo::core::format_picture(integer, picture);
    return 0;
}
