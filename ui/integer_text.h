// The rules of the window's integer boxes, apart from any widget.
#pragma once

#include <string_view>

#include "text/text.h"

namespace quenvar {

// Whether a box takes what a key press types: digits and "-" only. Control
// characters (backspace, Ctrl+V and the like) are not typing and pass.
bool integer_box_accepts(std::u16string_view typed);

// What a box shows once it loses the focus: the integer its text begins with,
// saturated to int32, in decimal; 0 shows as "".
Text normalise_integer_text(const Text& text);

}  // namespace quenvar
