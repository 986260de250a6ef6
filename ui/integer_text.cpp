#include "ui/integer_text.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace quenvar {

namespace {

bool is_control(char16_t c) {
    return c < 0x20 || c == 0x7F;
}

bool is_c_space(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

bool integer_box_accepts(std::u16string_view typed) {
    if (std::all_of(typed.begin(), typed.end(), is_control)) return true;
    return std::all_of(typed.begin(), typed.end(),
                       [](char16_t c) { return (c >= u'0' && c <= u'9') || c == u'-'; });
}

Text normalise_integer_text(const Text& text) {
    // Reads like txt_to_int, which the check applies to the same boxes, but
    // holds the value at the int32 limits instead of wrapping.
    const Text half = txt_halfwidth(text);
    const std::string_view t = half.view();
    size_t i = 0;
    while (i < t.size() && is_c_space(t[i])) ++i;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    const int64_t limit = negative ? -int64_t{std::numeric_limits<int32_t>::min()}
                                   : int64_t{std::numeric_limits<int32_t>::max()};
    int64_t magnitude = 0;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i)
        magnitude = std::min(limit, magnitude * 10 + (t[i] - '0'));
    const auto value = static_cast<int32_t>(negative ? -magnitude : magnitude);
    return value == 0 ? Text() : num_to_txt(value);
}

}  // namespace quenvar
