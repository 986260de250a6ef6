#include <gtest/gtest.h>

#include "tests/support/hex.h"
#include "text/text.h"

namespace quenvar {
namespace {

using testing::hex;
using testing::to_hex;

// Every text below is written in hexadecimal so that trail bytes, lone lead
// bytes and zeros stand in plain sight.
Text T(std::string_view pairs) {
    return Text(hex(pairs));
}
std::string H(const Text& t) {
    return to_hex(t.view());
}
std::string H(const Bytes& b) {
    return to_hex(b.view());
}

TEST(TextValue, EmptyAndMissingAreOneValueAndZeroEndsIt) {
    EXPECT_EQ(Text(), Text(""));
    EXPECT_EQ(Text(static_cast<const char*>(nullptr)), Text());
    EXPECT_EQ(Text(hex("61 00 62")), Text("a"));
    EXPECT_EQ(Text(std::string(hex("61 00 62"))).view().size(), 1u);
    EXPECT_EQ(bin_to_txt(Bytes(hex("61 00 62"))), Text("a"));
    EXPECT_EQ(bin_len(Bytes(hex("61 00 62"))), 3);
}

TEST(TextAccess, CountsBytesAndNeverOverruns) {
    struct Case {
        const char* text;
        int32_t start, count;
        const char* mid;
    };
    const Case cases[] = {
        {"61 62 63", 0, 2, ""},         {"61 62 63", 3, 5, "63"}, {"61 62 63", 4, 1, ""},
        {"61 62 63", 1, 0, ""},         {"61 62 63", -1, 5, ""},  {"61 62 63", 2, 1, "62"},
        {"D6 D0 D6 D0", 2, 2, "D0 D6"},  // bytes, not characters
    };
    for (const Case& c : cases) {
        EXPECT_EQ(H(txt_mid(T(c.text), c.start, c.count)), c.mid)
            << c.text << " from " << c.start << " for " << c.count;
    }

    EXPECT_EQ(H(txt_left(T("D6 D0 D6 D0"), 3)), "D6 D0 D6");  // ends on a lone lead byte
    EXPECT_EQ(H(txt_left(T("61 62"), 0)), "");
    EXPECT_EQ(H(txt_left(T("61 62"), -1)), "");
    EXPECT_EQ(H(txt_left(T("61 62"), 99)), "61 62");

    EXPECT_EQ(txt_code_at(T("D6"), 1), -42);
    EXPECT_EQ(txt_code_at(Text("a"), 1), 97);
    EXPECT_EQ(txt_code_at(Text(), 1), 0);
    EXPECT_EQ(txt_code_at(Text("a"), 0), 0);
    EXPECT_EQ(txt_code_at(Text("a"), 2), 0);

    EXPECT_EQ(txt_len(T("D6 D0 61")), 3);
}

TEST(BytesAccess, MidClampsInsteadOfGivingUp) {
    struct Case {
        int32_t start, count;
        const char* mid;
    };
    const Case cases[] = {
        {0, 2, "61 00"}, {3, 5, "63"}, {5, 1, ""},         {-5, 1, "61"},
        {1, -1, ""},     {2, 1, "00"}, {1, 3, "61 00 63"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(H(bin_mid(Bytes(hex("61 00 63")), c.start, c.count)), c.mid)
            << c.start << " for " << c.count;
    }
}

TEST(TextCompareAndJoin, UnsignedOrderAndPlainConcatenation) {
    EXPECT_EQ(txt_compare(Text(), Text("")), 0);
    EXPECT_GT(txt_compare(Text("a"), Text()), 0);
    EXPECT_LT(txt_compare(Text(), Text("a")), 0);
    EXPECT_GT(txt_compare(T("B0"), Text("a")), 0);  // lead bytes sort above ASCII
    EXPECT_LT(txt_compare(Text("ab"), Text("abc")), 0);

    EXPECT_EQ(txt_join(Text("http://"), Text("host"), "/s?wd="), Text("http://host/s?wd="));
    EXPECT_EQ(H(bin_join(Bytes(hex("61")), Bytes(), Bytes(hex("00 62")))), "61 00 62");
}

TEST(TextFind, MatchesOnlyWhereACharacterStarts) {
    struct Case {
        const char* text;
        const char* needle;
        int32_t position;
    };
    const Case cases[] = {
        {"32 2E 30 32 37", "2E", 2},      // "2.027" for "."
        {"32", "2E", -1},                 // "2" for "."
        {"B0 A1 A1 A1", "A1 A1", 3},      // not at the trail byte of B0 A1
        {"D6 D0 D6 D0", "D0 D6", -1},     // only ever inside characters
        {"D6 5B 5B", "5B", 3},            // "[" as a trail byte is skipped
        {"D6 D0 61", "61", 3},            //
        {"61 B0", "B0", 2},               // a lone lead byte can still be matched
        {"61 B0", "62", -1},              //
        {"61 62 63", "61 62 63 64", -1},  // needle longer than the text
        {"61", "", 1},                    // empty needle in a text
        {"", "", -1},                     // empty needle in the empty text
        {"", "61", -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(txt_find(T(c.text), T(c.needle)), c.position) << c.text << " / " << c.needle;
    }
}

TEST(TextReplace, StepsByCharactersAndNeverRescans) {
    struct Case {
        const char* text;
        const char* needle;
        const char* replacement;
        const char* result;
    };
    const Case cases[] = {
        {"B0 A1 A1 A1", "A1 A1", "", "B0 A1"},
        {"61 20 62 20 20 63", "20", "", "61 62 63"},
        {"78 0D 0A 79 0D 0A", "0D 0A", "", "78 79"},
        {"61 20 B0", "20", "", "61"},             // one-byte needle drops the lone lead
        {"61 20 B0", "0D 0A", "", "61 20 B0"},    // a longer needle keeps it
        {"61 B0", "61", "", ""},                  //
        {"D6 D0 D6 D0", "D6", "", "D0 D6"},       // the scan restarts after the match
        {"D6 5C 5C", "5C", "", "D6 5C"},          // "\" as a trail byte stays
        {"61 61", "61", "61 61", "61 61 61 61"},  // replacement not scanned again
        {"61 61 61", "61 61", "62", "62 61"},     // left to right, no overlap
        {"", "61", "62", ""},
        {"61 62 63", "", "78", "61 62 63"},
        {"3C 65 6D 3E 61 3C 2F 65 6D 3E", "3C 65 6D 3E", "", "61 3C 2F 65 6D 3E"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(H(txt_replace(T(c.text), T(c.needle), T(c.replacement))), c.result)
            << c.text << " / " << c.needle;
    }
}

TEST(TextTrim, BlanksAndFullWidthBlanksAtBothEnds) {
    struct Case {
        const char* text;
        const char* result;
    };
    const Case cases[] = {
        {"A1 A1 20 61 20 62 20 A1 A1", "61 20 62"},
        {"09 61", "09 61"},           // a tab is not a blank
        {"61 0D 0A", "61 0D 0A"},     // neither is a line break
        {"20 20 A1 A1", ""},          // blanks only
        {"61 D6 20", "61 D6 20"},     // 0x20 as a trail byte is no blank
        {"61 20 20 B0", "61 20 20"},  // cut before a lone lead byte, blanks stay
        {"B0", ""},                   //
        {"20 A1", ""},                // a lone A1 is no blank, but is cut
        {"B0 A1 A1 A1 20", "B0 A1"},  // B0 A1 is a character, A1 A1 a blank
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(H(txt_trim(T(c.text))), c.result) << c.text;
}

TEST(TextWidth, ConvertsExactlyTheTabledCharacters) {
    struct Case {
        const char* text;
        const char* full;
        const char* half;
    };
    const Case cases[] = {
        {"41 62 20 7E", "A3 C1 A3 E2 A1 A1 A1 AB", "41 62 20 7E"},
        {"0D 0A 09 7F", "0D 0A 09 7F", "0D 0A 09 7F"},
        {"24", "A3 A4", "24"},
        {"A3 A4", "A3 A4", "24"},
        {"A1 EE A1 EF", "A1 EE A1 EF", "2A 2A"},  // the stars
        {"A3 FE A3 A1 A3 A0", "A3 FE A3 A1 A3 A0", "7E 21 A3 A0"},
        {"A1 A1 A1 AB", "A1 A1 A1 AB", "20 7E"},
        {"D6 D0", "D6 D0", "D6 D0"},
        {"61 B0", "A3 E1", "61"},     // a lone lead byte is dropped
        {"D6 41", "D6 41", "D6 41"},  // 0x41 as a trail byte is no letter
    };
    for (const Case& c : cases) {
        EXPECT_EQ(H(txt_fullwidth(T(c.text))), c.full) << c.text;
        EXPECT_EQ(H(txt_halfwidth(T(c.text))), c.half) << c.text;
    }

    std::string printable;
    for (int b = 0x20; b <= 0x7E; ++b) printable.push_back(static_cast<char>(b));
    EXPECT_EQ(txt_halfwidth(txt_fullwidth(Text(printable))), Text(printable));
}

TEST(BytesSplit, PlainByteSearchWithEmptyMembers) {
    const std::string s = hex("A1 F1 A1 F4 A1 F1 A1 F1 A1 F4 A1 F1 A1 F1 A1 F1");
    const auto split = [&](const std::string& data) {
        std::vector<std::string> members;
        for (const Bytes& m : bin_split(Bytes(data), Bytes(s))) members.push_back(H(m));
        return members;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(split(s + "x" + s + s + "y" + s), (V{"", "78", "", "79"}));
    EXPECT_EQ(split(""), V{});
    EXPECT_EQ(split("xy"), V{"78 79"});
    EXPECT_EQ(split("x" + s.substr(0, 8)), V{"78 " + to_hex(s.substr(0, 8))});
    // Found at any offset, even one that is a trail byte of the text.
    EXPECT_EQ(split(hex("B0") + s + "z"), (V{"B0", "7A"}));
    EXPECT_EQ(split(std::string("a\0b", 3) + s), V{"61 00 62"});
}

}  // namespace
}  // namespace quenvar
