#include <gtest/gtest.h>

#include "tests/support/hex.h"
#include "text/cleaning.h"

namespace quenvar {
namespace {

using testing::hex;
using testing::to_hex;

TEST(ExtractNonAscii, KeepsWhatLiesOutsidePrintableAscii) {
    struct Case {
        const char* name;
        std::string article;
        std::string extract;
        const char* count;
    };
    const Case cases[] = {
        {"ASCII only", "Hello, world 123!~", "", "0"},
        {"Chinese, a blank, letters, a line break", hex("D6 D0 CE C4") + " ab\r\n",
         hex("D6 D0 CE C4 0D 0A"), "3"},
        {"a tab counts half", hex("D6 D0") + "\t" + hex("CE C4"), hex("D6 D0 09 CE C4"), "2.5"},
        {"full-width comma and blank count, ASCII ones do not", hex("A3 AC A1 A1") + ", ",
         hex("A3 AC A1 A1"), "2"},
        {"DEL does not count, 0x1F counts half", hex("7F 1F"), hex("1F"), "0.5"},
        {"Greek, Cyrillic, pinyin", hex("A6 C1 A7 A7 A8 B5"), hex("A6 C1 A7 A7 A8 B5"), "3"},
        {"an emoji stays whole", hex("D6 D0 94 39 FC 36") + "x", hex("D6 D0 94 39 FC 36"), "3"},
        {"empty", "", "", "0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(to_hex(extract_non_ascii(Text(c.article)).view()), to_hex(c.extract)) << c.name;
        EXPECT_EQ(num_to_txt(character_count(Text(c.article))), Text(c.count)) << c.name;
    }
}

TEST(ExtractNonAscii, CanDropWhiteSpaceToo) {
    const Text article(hex("D6 D0 CE C4") + "\r\n\t" + hex("A1 A1"));
    EXPECT_EQ(to_hex(extract_non_ascii(article, true).view()), "D6 D0 CE C4 A1 A1");
    EXPECT_EQ(to_hex(extract_non_ascii(article).view()), "D6 D0 CE C4 0D 0A 09 A1 A1");
}

}  // namespace
}  // namespace quenvar
