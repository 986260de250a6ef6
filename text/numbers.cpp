// Number conversions of the text model. Printing and parsing never depend on
// the process locale: the window toolkit sets the user's locale at start-up.
#include <locale.h>
#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>

#include "text/text.h"

namespace quenvar {

namespace {

bool is_c_space(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

double c_locale_strtod(const std::string& number) {
    static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", locale_t{});
    return strtod_l(number.c_str(), nullptr, c_locale);
}

// The integer step of num_round: the integer part, plus one from a half up.
double round_half_up(double g) {
    double i = std::trunc(g);
    if (g - i >= 0.5) i += 1;
    return i;
}

double power_of_ten(int64_t exponent) {
    double p = 1;
    for (int64_t k = 0; k < exponent && k < 400; ++k) p *= 10;
    return p;
}

}  // namespace

int32_t num_to_int(int32_t number) {
    return number;
}

int32_t num_to_int(double number) {
    if (!std::isfinite(number)) return 0;
    const double whole = std::trunc(number);
    if (whole < -9223372036854775808.0 || whole >= 9223372036854775808.0) return 0;
    const auto wide = static_cast<uint64_t>(static_cast<int64_t>(whole));
    return static_cast<int32_t>(static_cast<uint32_t>(wide));
}

namespace {

// The integer a text begins with, after half-width conversion and leading
// white space: its sign, and its digits' value both as it wraps in 32 bits
// and held at 2^31.
struct LeadingInteger {
    bool negative = false;
    uint32_t wrapped = 0;
    int64_t held = 0;
};

LeadingInteger leading_integer(const Text& text) {
    const Text half = txt_halfwidth(text);
    const std::string_view t = half.view();
    LeadingInteger n;
    size_t i = 0;
    while (i < t.size() && is_c_space(t[i])) ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) n.negative = t[i++] == '-';
    for (; i < t.size() && is_digit(t[i]); ++i) {
        const int digit = t[i] - '0';
        n.wrapped = n.wrapped * 10 + static_cast<uint32_t>(digit);
        n.held = std::min<int64_t>(n.held * 10 + digit, int64_t{1} << 31);
    }
    return n;
}

}  // namespace

int32_t txt_to_int(const Text& text) {
    const LeadingInteger n = leading_integer(text);
    return static_cast<int32_t>(n.negative ? 0u - n.wrapped : n.wrapped);
}

int32_t txt_to_int_saturated(const Text& text) {
    const LeadingInteger n = leading_integer(text);
    return static_cast<int32_t>(
        std::clamp<int64_t>(n.negative ? -n.held : n.held, INT32_MIN, INT32_MAX));
}

double txt_to_num(const Text& text) {
    const Text half = txt_halfwidth(text);
    const std::string_view t = half.view();
    size_t i = 0;
    while (i < t.size() && is_c_space(t[i])) ++i;
    const size_t start = i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    size_t digits = 0;
    for (; i < t.size() && is_digit(t[i]); ++i) ++digits;
    if (i < t.size() && t[i] == '.') {
        ++i;
        for (; i < t.size() && is_digit(t[i]); ++i) ++digits;
    }
    if (digits == 0) return 0;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        size_t k = i + 1;
        if (k < t.size() && (t[k] == '+' || t[k] == '-')) ++k;
        if (k < t.size() && is_digit(t[k])) {
            while (k < t.size() && is_digit(t[k])) ++k;
            i = k;
        }
    }
    // Only the decimal number itself reaches strtod, so it never sees hex, inf or nan.
    return c_locale_strtod(std::string(t.substr(start, i - start)));
}

int32_t num_floor(double number) {
    const double whole = std::trunc(number);
    const double fraction = number - whole;
    if (std::fabs(fraction) > 0.999999999999) {
        // Away from zero by the number's own sign: -0.9999999999995 has a whole
        // part of -0 and must become -1, not 1.
        number = number >= 0 ? whole + 1 : whole - 1;
    }
    return num_to_int(std::floor(number));
}

double num_round(double number, int32_t places) {
    if (number == 0 || std::isnan(number)) return number;
    const double magnitude = std::fabs(number);
    double rounded;
    if (places > 0) {
        const double p = power_of_ten(places);
        const double scaled = magnitude * p;
        rounded = round_half_up(scaled + 1e-12) / p;
    } else if (places == 0) {
        rounded = round_half_up(magnitude + 1e-12);
    } else {
        const double p = power_of_ten(-int64_t{places});
        const double scaled = magnitude / p;
        rounded = round_half_up(scaled + 1e-12) * p;
    }
    return number < 0 ? -rounded : rounded;
}

Text num_to_txt(int32_t number) {
    return Text(std::to_string(number));
}

Text num_to_txt(double number) {
    if (std::isnan(number)) return Text("-1.#IND");
    if (std::isinf(number)) return Text(number > 0 ? "1.#INF" : "-1.#INF");
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::general, 13);
    std::string out(buffer, result.ptr);
    // The exponent has at least three digits: 1e+020, 1e-005.
    if (const size_t e = out.find('e'); e != std::string::npos) {
        const size_t digits_at = e + 2;  // past the exponent's sign
        const size_t digits = out.size() - digits_at;
        if (digits < 3) out.insert(digits_at, 3 - digits, '0');
    }
    return Text(std::move(out));
}

}  // namespace quenvar
