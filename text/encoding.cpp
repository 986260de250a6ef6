// Conversions between the GB18030 text model and Unicode, for the edges of the
// program (the window, the regex engine, standard output).
#include <iconv.h>

#include <bit>
#include <cerrno>

#include "text/text.h"

namespace quenvar {

namespace {

constexpr const char* utf16_name =
    std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// Converts `in`, putting `replacement` for each unit of `unit` bytes that the
// source set rejects and for a sequence cut off at the end.
std::string convert(std::string_view in, const char* from, const char* to,
                    std::string_view replacement, size_t unit) {
    std::string out;
    if (in.empty()) return out;
    const iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return out;
    out.resize(in.size() * 2 + 16);
    char* src = const_cast<char*>(in.data());
    size_t src_left = in.size();
    size_t produced = 0;
    while (src_left > 0) {
        char* dst = out.data() + produced;
        size_t dst_left = out.size() - produced;
        const size_t result = iconv(cd, &src, &src_left, &dst, &dst_left);
        produced = out.size() - dst_left;
        if (result != static_cast<size_t>(-1)) break;
        if (errno == E2BIG || dst_left < replacement.size()) {
            out.resize(out.size() * 2);
            continue;
        }
        out.replace(produced, replacement.size(), replacement);
        produced += replacement.size();
        const size_t skip = errno == EINVAL ? src_left : std::min(unit, src_left);
        src += skip;
        src_left -= skip;
    }
    iconv_close(cd);
    out.resize(produced);
    return out;
}

const std::string_view gb18030_replacement = "\x84\x31\xA4\x37";  // U+FFFD
const std::string_view utf8_replacement = "\xEF\xBF\xBD";

}  // namespace

std::u16string txt_to_utf16(const Text& text) {
    const char16_t replacement = u'\uFFFD';
    const std::string raw =
        convert(text.view(), "GB18030", utf16_name,
                std::string_view(reinterpret_cast<const char*>(&replacement), 2), 1);
    std::u16string out(raw.size() / 2, u'\0');
    std::copy(raw.begin(), raw.begin() + static_cast<std::ptrdiff_t>(out.size() * 2),
              reinterpret_cast<char*>(out.data()));
    return out;
}

Text utf16_to_txt(std::u16string_view text) {
    const std::string_view raw(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    return Text(convert(raw, utf16_name, "GB18030", gb18030_replacement, 2));
}

std::string txt_to_utf8(const Text& text) {
    return convert(text.view(), "GB18030", "UTF-8", utf8_replacement, 1);
}

Text utf8_to_txt(std::string_view text) {
    return Text(convert(text, "UTF-8", "GB18030", gb18030_replacement, 1));
}

}  // namespace quenvar
