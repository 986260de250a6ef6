// Conversions between the GB18030 text model and Unicode, for the edges of the
// program (the window, the regex engine, standard output).
#include <iconv.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

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

namespace quenvar {

namespace {

// GB18030 codes of the Basic Multilingual Plane as glibc's iconv gives them: a
// two-byte code as 0x0000XXYY, a four-byte one as 0xAABBCCDD, 0 where iconv has
// none. Built once, on first use, by asking iconv about every code point.
class Gb18030Table {
public:
    static const Gb18030Table& get() {
        static const Gb18030Table* table = new Gb18030Table;
        return *table;
    }
    uint32_t code(uint32_t code_point) const { return codes_[code_point]; }

private:
    Gb18030Table() : codes_(0x10000, 0) {
        const iconv_t cd = iconv_open("GB18030", "UTF-32LE");
        if (cd == reinterpret_cast<iconv_t>(-1)) return;
        for (uint32_t cp = 0x80; cp < 0x10000; ++cp) {
            if (cp >= 0xD800 && cp <= 0xDFFF) continue;  // not characters
            unsigned char in[4] = {static_cast<unsigned char>(cp),
                                   static_cast<unsigned char>(cp >> 8), 0, 0};
            unsigned char out[8];
            char* src = reinterpret_cast<char*>(in);
            char* dst = reinterpret_cast<char*>(out);
            size_t src_left = 4, dst_left = sizeof out;
            if (iconv(cd, &src, &src_left, &dst, &dst_left) == static_cast<size_t>(-1)) continue;
            const size_t n = sizeof out - dst_left;
            if (n == 2) codes_[cp] = uint32_t{out[0]} << 8 | out[1];
            if (n == 4)
                codes_[cp] = uint32_t{out[0]} << 24 | uint32_t{out[1]} << 16 |
                             uint32_t{out[2]} << 8 | out[3];
        }
        iconv_close(cd);
    }
    std::vector<uint32_t> codes_;
};

}  // namespace

bool utf8_to_gb18030(std::string_view utf8, Bytes& out) {
    out = Bytes();
    const auto* in = reinterpret_cast<const unsigned char*>(utf8.data());
    const size_t n = utf8.size();
    if (n == 0) return true;
    const Gb18030Table& table = Gb18030Table::get();
    // Never longer than twice the input; left uninitialised, so only the part
    // written is ever touched.
    std::unique_ptr<char[]> buffer(new char[n * 2]);
    char* o = buffer.get();
    const auto continuation = [&](size_t at) { return at < n && (in[at] & 0xC0) == 0x80; };
    for (size_t i = 0; i < n;) {
        // Markup is mostly ASCII: eight bytes at a time where it is.
        if (i + 8 <= n) {
            uint64_t word;
            std::memcpy(&word, in + i, 8);
            if ((word & 0x8080808080808080ull) == 0) {
                std::memcpy(o, in + i, 8);
                i += 8;
                o += 8;
                continue;
            }
        }
        const unsigned char b = in[i];
        if (b < 0x80) {
            *o++ = static_cast<char>(b);
            ++i;
            continue;
        }
        // Chinese text is three-byte sequences from E1 to EC: take them directly.
        if (b >= 0xE1 && b <= 0xEC && i + 2 < n && (in[i + 1] & 0xC0) == 0x80 &&
            (in[i + 2] & 0xC0) == 0x80) {
            const uint32_t code =
                table.code((b & 0x0Fu) << 12 | (in[i + 1] & 0x3Fu) << 6 | (in[i + 2] & 0x3Fu));
            if (code != 0 && code <= 0xFFFF) {
                o[0] = static_cast<char>(code >> 8);
                o[1] = static_cast<char>(code);
                o += 2;
                i += 3;
                continue;
            }
        }
        uint32_t cp;
        if (b >= 0xC2 && b <= 0xDF && continuation(i + 1)) {
            cp = (b & 0x1Fu) << 6 | (in[i + 1] & 0x3Fu);
            i += 2;
        } else if (b >= 0xE0 && b <= 0xEF && continuation(i + 1) && continuation(i + 2) &&
                   !(b == 0xE0 && in[i + 1] < 0xA0) && !(b == 0xED && in[i + 1] > 0x9F)) {
            cp = (b & 0x0Fu) << 12 | (in[i + 1] & 0x3Fu) << 6 | (in[i + 2] & 0x3Fu);
            i += 3;
        } else if (b >= 0xF0 && b <= 0xF4 && continuation(i + 1) && continuation(i + 2) &&
                   continuation(i + 3) && !(b == 0xF0 && in[i + 1] < 0x90) &&
                   !(b == 0xF4 && in[i + 1] > 0x8F)) {
            cp = (b & 0x07u) << 18 | (in[i + 1] & 0x3Fu) << 12 | (in[i + 2] & 0x3Fu) << 6 |
                 (in[i + 3] & 0x3Fu);
            i += 4;
        } else {
            return false;  // not UTF-8: nothing stands
        }
        if (cp >= 0x10000) {
            // Beyond the BMP the four-byte codes run in order from 90 30 81 30.
            const uint32_t k = cp - 0x10000;
            *o++ = static_cast<char>(0x90 + k / 12600);
            *o++ = static_cast<char>(0x30 + k / 1260 % 10);
            *o++ = static_cast<char>(0x81 + k / 10 % 126);
            *o++ = static_cast<char>(0x30 + k % 10);
            continue;
        }
        const uint32_t code = table.code(cp);
        if (code == 0) return false;  // a character iconv cannot convert
        if (code > 0xFFFF) {
            *o++ = static_cast<char>(code >> 24);
            *o++ = static_cast<char>(code >> 16);
        }
        *o++ = static_cast<char>(code >> 8);
        *o++ = static_cast<char>(code);
    }
    out = Bytes(std::string_view(buffer.get(), static_cast<size_t>(o - buffer.get())));
    return true;
}

}  // namespace quenvar
