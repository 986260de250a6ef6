// Conversions between the GB18030 text model and Unicode, for the edges of the
// program (the window, the regex engine, standard output).
#include <iconv.h>

#include <algorithm>
#include <bit>
#include <cerrno>

#include "text/text.h"

namespace quenvar {

namespace {

constexpr const char* utf16_name =
    std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// Converts `in`, putting `replacement` for each unit of `unit` bytes that the
// source set rejects and for a sequence cut off at the end. The result is
// written straight into a string of `Char`.
template <typename Char>
std::basic_string<Char> convert(std::string_view in, const char* from, const char* to,
                                std::string_view replacement, size_t unit) {
    std::basic_string<Char> out;
    if (in.empty()) return out;
    const iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return out;
    // Two bytes of room for every input byte covers nearly every conversion.
    out.resize((in.size() * 2 + 16) / sizeof(Char));
    char* src = const_cast<char*>(in.data());
    size_t src_left = in.size();
    size_t produced = 0;  // bytes
    while (src_left > 0) {
        const size_t room = out.size() * sizeof(Char);
        char* dst = reinterpret_cast<char*>(out.data()) + produced;
        size_t dst_left = room - produced;
        const size_t result = iconv(cd, &src, &src_left, &dst, &dst_left);
        produced = room - dst_left;
        if (result != static_cast<size_t>(-1)) break;
        if (errno == E2BIG || dst_left < replacement.size()) {
            out.resize(out.size() * 2);
            continue;
        }
        std::copy(replacement.begin(), replacement.end(),
                  reinterpret_cast<char*>(out.data()) + produced);
        produced += replacement.size();
        const size_t skip = errno == EINVAL ? src_left : std::min(unit, src_left);
        src += skip;
        src_left -= skip;
    }
    iconv_close(cd);
    out.resize(produced / sizeof(Char));
    return out;
}

const std::string_view gb18030_replacement = "\x84\x31\xA4\x37";  // U+FFFD
const std::string_view utf8_replacement = "\xEF\xBF\xBD";

}  // namespace

std::u16string txt_to_utf16(const Text& text) {
    static constexpr char16_t replacement = u'\uFFFD';
    return convert<char16_t>(text.view(), "GB18030", utf16_name,
                             std::string_view(reinterpret_cast<const char*>(&replacement), 2), 1);
}

Text utf16_to_txt(std::u16string_view text) {
    const std::string_view raw(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    return Text(convert<char>(raw, utf16_name, "GB18030", gb18030_replacement, 2));
}

std::string txt_to_utf8(const Text& text) {
    return convert<char>(text.view(), "GB18030", "UTF-8", utf8_replacement, 1);
}

Text utf8_to_txt(std::string_view text) {
    return Text(convert<char>(text, "UTF-8", "GB18030", gb18030_replacement, 1));
}

}  // namespace quenvar
