#include "core/number_format.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "core/decimal.h"

namespace ristemo::core {

namespace detail {

namespace {

void trim_zeros(Decimal& d) {
    const auto last = d.digits.find_last_not_of('0');
    if (last == std::string::npos) {
        d.digits.clear();
        d.point = 0;
        return;
    }
    d.digits.erase(last + 1);
    const auto first = d.digits.find_first_not_of('0');
    d.digits.erase(0, first);
    d.point -= static_cast<int>(first);
}

}  // namespace

Decimal decimal_of_general(float value) {
    Decimal d;
    d.negative = std::signbit(value) && value != 0.0f;
    // Seven significant digits, correctly rounded from the float's exact value: "d.dddddde±XX".
    char buf[64];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 6);
    const std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
    const auto e = text.find('e');
    int exponent = 0;
    const char* exp_begin = text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0);
    std::from_chars(exp_begin, res.ptr, exponent);
    for (std::size_t i = 0; i < e; ++i) {
        if (text[i] != '.') d.digits.push_back(text[i]);
    }
    d.point = exponent + 1;
    trim_zeros(d);
    return d;
}

namespace {

__extension__ typedef unsigned __int128 u128;

// The same seven digits by exact integer arithmetic, several times faster than the general path,
// for floats between 2^-100 and 2^24 (all the program shows). False outside that range.
bool seven_digits_exact(float magnitude, std::uint32_t& digits, int& point) {
    int e2 = 0;
    const float fraction = std::frexp(magnitude, &e2);
    const auto m = static_cast<std::uint32_t>(std::ldexp(fraction, 24));  // magnitude = m / 2^s
    const int s = 24 - e2;
    if (s <= 0 || s > 100) return false;

    static constexpr std::uint64_t kPow10[20] = {1ull,
                                                 10ull,
                                                 100ull,
                                                 1000ull,
                                                 10000ull,
                                                 100000ull,
                                                 1000000ull,
                                                 10000000ull,
                                                 100000000ull,
                                                 1000000000ull,
                                                 10000000000ull,
                                                 100000000000ull,
                                                 1000000000000ull,
                                                 10000000000000ull,
                                                 100000000000000ull,
                                                 1000000000000000ull,
                                                 10000000000000000ull,
                                                 100000000000000000ull,
                                                 1000000000000000000ull,
                                                 10000000000000000000ull};
    // Scale by 10^k so that the integer part has seven digits; the estimate from the binary
    // exponent is off by at most one.
    int k = 6 - static_cast<int>(std::floor((e2 - 1) * 0.30102999566398120));
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (k < 0 || k > 30) return false;  // m * 10^30 < 2^124: no overflow
        const u128 scale = k < 20 ? u128{kPow10[k]} : u128{kPow10[19]} * kPow10[k - 19];
        const u128 num = u128{m} * scale;
        std::uint64_t q = static_cast<std::uint64_t>(num >> s);
        if (q >= 10000000u) {
            --k;
            continue;
        }
        if (q < 1000000u) {
            ++k;
            continue;
        }
        const u128 rest = num - (u128{q} << s);
        const u128 half = u128{1} << (s - 1);
        if (rest > half || (rest == half && (q & 1u))) ++q;  // ties to even, as to_chars does
        if (q == 10000000u) {
            q = 1000000u;
            --k;
        }
        digits = static_cast<std::uint32_t>(q);
        point = 7 - k;
        return true;
    }
    return false;
}

}  // namespace

Decimal decimal_of(float value) {
    const float magnitude = std::fabs(value);
    std::uint32_t q = 0;
    int point = 0;
    if (magnitude == 0.0f || !seven_digits_exact(magnitude, q, point)) {
        return decimal_of_general(value);
    }
    Decimal d;
    d.negative = value < 0.0f;
    char buf[8];
    const auto res = std::to_chars(buf, buf + sizeof buf, q);
    d.digits.assign(buf, res.ptr);
    d.point = point;
    trim_zeros(d);
    return d;
}

Decimal decimal_of(std::int16_t value) {
    Decimal d;
    d.negative = value < 0;
    const int magnitude = std::abs(static_cast<int>(value));
    char buf[8];
    const auto res = std::to_chars(buf, buf + sizeof buf, magnitude);
    d.digits.assign(buf, res.ptr);
    d.point = static_cast<int>(d.digits.size());
    trim_zeros(d);
    if (d.digits.empty()) d.point = 0;
    return d;
}

}  // namespace detail

namespace {

using detail::Decimal;

struct Picture {
    std::string prefix;      // literal characters before the first digit place
    int integer_zeros = 0;   // '0' places before the separator (k)
    int decimals = 0;        // digit places after the separator (n)
    int fixed_decimals = 0;  // leading '0' places after the separator (m)
};

Picture parse_picture(std::string_view picture) {
    Picture p;
    const auto dot = picture.find('.');
    const std::string_view integer = picture.substr(0, dot);
    bool in_digits = false;
    for (char c : integer) {
        if (c == '#' || c == '0') {
            in_digits = true;
            if (c == '0') ++p.integer_zeros;
        } else if (!in_digits) {
            p.prefix.push_back(c);
        }
    }
    if (dot != std::string_view::npos) {
        bool leading = true;
        for (char c : picture.substr(dot + 1)) {
            if (c != '#' && c != '0') continue;
            ++p.decimals;
            if (c == '0' && leading) {
                ++p.fixed_decimals;
            } else {
                leading = false;
            }
        }
    }
    return p;
}

// Rounds to `decimals` places, a half going away from zero.
Decimal round_half_away(Decimal d, int decimals) {
    const int keep = d.point + decimals;
    if (keep >= static_cast<int>(d.digits.size())) return d;
    if (keep < 0) {
        d.digits.clear();
        return d;
    }
    const bool up = d.digits[keep] >= '5';
    d.digits.erase(keep);
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[i] == '9') {
            d.digits[i] = '0';
            --i;
        }
        if (i >= 0) {
            ++d.digits[i];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.point;
        }
    }
    return d;
}

char digit_at(const Decimal& d, int index) {
    if (index < 0 || index >= static_cast<int>(d.digits.size())) return '0';
    return d.digits[index];
}

std::string render(const Decimal& value, std::string_view picture) {
    const Picture p = parse_picture(picture);
    const Decimal r = round_half_away(value, p.decimals);
    const bool zero = r.digits.empty();

    std::string integer;
    if (!zero) {
        for (int i = 0; i < r.point; ++i) integer.push_back(digit_at(r, i));
    }
    if (static_cast<int>(integer.size()) < p.integer_zeros) {
        integer.insert(0, p.integer_zeros - integer.size(), '0');
    }

    std::string decimals;
    for (int i = 0; i < p.decimals; ++i) decimals.push_back(zero ? '0' : digit_at(r, r.point + i));
    while (static_cast<int>(decimals.size()) > p.fixed_decimals && decimals.back() == '0') {
        decimals.pop_back();
    }

    // The sign follows the value, not its rounding: a small negative deviation shows «-,0».
    std::string out = value.negative ? "-" : "";
    out += p.prefix;
    out += integer;
    if (p.decimals > 0) {
        out += ',';
        out += decimals;
    }
    return out;
}

std::string plain(const Decimal& d) {
    if (d.digits.empty()) return "0";
    std::string out = d.negative ? "-" : "";
    const int len = static_cast<int>(d.digits.size());
    if (d.point <= 0) {
        out += "0,";
        out.append(static_cast<std::size_t>(-d.point), '0');
        out += d.digits;
    } else if (d.point >= len) {
        out += d.digits;
        out.append(static_cast<std::size_t>(d.point - len), '0');
    } else {
        out += d.digits.substr(0, d.point);
        out += ',';
        out += d.digits.substr(d.point);
    }
    return out;
}

const char* non_finite_text(float value) {
    if (std::isnan(value)) return "NaN";
    return value < 0 ? "-inf" : "inf";
}

}  // namespace

std::string format_picture(float value, std::string_view picture) {
    if (!std::isfinite(value)) return non_finite_text(value);
    return render(detail::decimal_of(value), picture);
}

std::string format_picture(std::int16_t value, std::string_view picture) {
    return render(detail::decimal_of(value), picture);
}

std::string number_text(float value) {
    if (!std::isfinite(value)) return non_finite_text(value);
    return plain(detail::decimal_of(value));
}

std::string number_text(std::int16_t value) {
    return plain(detail::decimal_of(value));
}

}  // namespace ristemo::core
