#include "ui/integer_text.h"

#include <algorithm>
#include <cstdint>

namespace quenvar {

namespace {

bool is_control(char16_t c) {
    return c < 0x20 || c == 0x7F;
}

}  // namespace

bool integer_box_accepts(std::u16string_view typed) {
    if (std::all_of(typed.begin(), typed.end(), is_control)) return true;
    return std::all_of(typed.begin(), typed.end(),
                       [](char16_t c) { return (c >= u'0' && c <= u'9') || c == u'-'; });
}

Text normalise_integer_text(const Text& text) {
    // Reads the box as the check does, but held at the int32 limits.
    const int32_t value = txt_to_int_saturated(text);
    return value == 0 ? Text() : num_to_txt(value);
}

}  // namespace quenvar
