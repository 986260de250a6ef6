#include <gtest/gtest.h>

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

}  // namespace
}  // namespace quenvar
