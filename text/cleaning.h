// The article's character count: what is left of it outside printable ASCII.
//
// Kept apart from text.h because it stands on the scripting regex, which itself
// stands on the text model.
#pragma once

#include "text/text.h"

namespace quenvar {

// Every character of the article whose UTF-16 unit lies outside 0x20..0x7F,
// in article order: Chinese characters, full-width punctuation, line breaks
// and other control characters; optionally without white space.
Text extract_non_ascii(const Text& article, bool remove_whitespace = false);

// The extract's length in bytes divided by two: "\r\n" counts one character,
// a tab half of one.
double character_count(const Text& article);

}  // namespace quenvar
