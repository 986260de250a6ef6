#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>

#include "tests/support/hex.h"
#include "text/text.h"

namespace quenvar {
namespace {

using testing::hex;
using testing::to_hex;

TEST(UnicodeEdges, RoundTripsEveryCharacterIncludingOnesOutsideGbk) {
    const std::u16string samples[] = {
        u"中文abc，。\r\n", u"😀 emoji", u"𠀀 rare", u"ǖ Ё α", u"",
    };
    for (const std::u16string& s : samples) {
        EXPECT_EQ(txt_to_utf16(utf16_to_txt(s)), s);
        EXPECT_EQ(utf8_to_txt(txt_to_utf8(utf16_to_txt(s))), utf16_to_txt(s));
    }
    EXPECT_EQ(to_hex(utf16_to_txt(u"中文").view()), "D6 D0 CE C4");
    EXPECT_EQ(to_hex(utf16_to_txt(u"😀").view()), "94 39 FC 36");  // four GB18030 bytes
    EXPECT_EQ(to_hex(utf8_to_txt("\xE4\xB8\xAD").view()), "D6 D0");
}

TEST(UnicodeEdges, InvalidInputBecomesReplacementCharacters) {
    EXPECT_EQ(txt_to_utf16(Text("a" + hex("B0"))), u"a\uFFFD");  // lone lead byte at the end
    EXPECT_EQ(txt_to_utf16(Text(hex("FF 61"))), u"\uFFFDa");
    EXPECT_EQ(txt_to_utf8(Text(hex("D6 D0 FF"))), "\xE4\xB8\xAD\xEF\xBF\xBD");
    const char16_t lone_surrogate[] = {u'a', 0xD800, u'b'};
    EXPECT_EQ(txt_to_utf16(utf16_to_txt(std::u16string_view(lone_surrogate, 3))), u"a\uFFFDb");
    EXPECT_EQ(utf16_to_txt(std::u16string_view(u"a\0b", 3)), Text("a"));  // a zero ends it
}

// What iconv itself makes of the bytes, all or nothing.
std::optional<std::string> iconv_gb18030(const std::string& utf8) {
    iconv_t cd = iconv_open("GB18030", "UTF-8");
    std::string out(utf8.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(utf8.data());
    char* dst = out.data();
    size_t in_left = utf8.size(), dst_left = out.size();
    const bool ok = iconv(cd, &in, &in_left, &dst, &dst_left) != static_cast<size_t>(-1);
    iconv_close(cd);
    if (!ok) return std::nullopt;
    out.resize(out.size() - dst_left);
    return out;
}

std::string utf8_of(char32_t cp) {
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | cp >> 6);
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        s += static_cast<char>(0xE0 | cp >> 12);
        s += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | cp >> 18);
        s += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
        s += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
}

TEST(Utf8ToGb18030, ConvertsExactlyAsIconvDoes) {
    std::string every_character;
    for (char32_t cp = 0; cp < 0x10000; ++cp) {
        if (cp < 0xD800 || cp > 0xDFFF) every_character += utf8_of(cp);
    }
    for (char32_t cp : {0x10000u, 0x1F600u, 0x20000u, 0x10FFFFu}) every_character += utf8_of(cp);

    const std::string cases[] = {
        every_character,
        "",
        std::string("a\0b", 3),
        "<html>" + hex("E4 B8 AD") + "</html>",
        hex("80"),           // a lone continuation byte
        hex("C0 80"),        // overlong
        hex("E0 80 80"),     // overlong
        hex("ED A0 80"),     // a surrogate
        hex("F4 90 80 80"),  // beyond U+10FFFF
        hex("F5 80 80 80"),
        "abcdefgh" + hex("E4 B8"),  // cut off at the end
        "abcdefghijklmnop" + hex("FF") + "qrstuvw",
        hex("E4 B8 41"),
    };
    for (const std::string& c : cases) {
        Bytes fast;
        const bool ok = utf8_to_gb18030(c, fast);
        const std::optional<std::string> reference = iconv_gb18030(c);
        ASSERT_EQ(ok, reference.has_value()) << to_hex(c.substr(0, 40));
        EXPECT_TRUE(ok ? fast.str() == *reference : fast.empty()) << to_hex(c.substr(0, 40));
    }
}

}  // namespace
}  // namespace quenvar
