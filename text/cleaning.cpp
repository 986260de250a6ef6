#include "text/cleaning.h"

#include "script_regex/script_regex.h"

namespace quenvar {

Text extract_non_ascii(const Text& article, bool remove_whitespace) {
    ScriptRegex regex;
    regex.execute(Text("[^\\x20-\\x7f]"), article);
    // Every match is one UTF-16 unit. Joining the units and converting once
    // keeps a character outside the BMP (an emoji's two surrogates) whole.
    Text extract = utf16_to_txt(regex.joined_match_units());
    if (remove_whitespace) {
        regex.execute(Text("\\s"), extract);
        extract = regex.replace(Text());
    }
    regex.destroy();
    return extract;
}

double character_count(const Text& article) {
    return static_cast<double>(txt_len(extract_non_ascii(article))) / 2;
}

}  // namespace quenvar
