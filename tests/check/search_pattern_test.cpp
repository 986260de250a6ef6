#include <gtest/gtest.h>

#include "check/check.h"
#include "tests/support/hex.h"

namespace quenvar {
namespace {

using testing::hex;

// GBK bytes of the characters used below.
const std::string ni_hao = hex("C4 E3 BA C3");   // 你好
const std::string shi_jie = hex("CA C0 BD E7");  // 世界

size_t count(const std::string& probe, const std::string& page) {
    SearchPattern pattern;
    pattern.compile(Text(probe));
    return pattern.find_all(Text(page)).size();
}

TEST(SearchPattern, CountsMatchesOfTheProbeAsAPattern) {
    struct Case {
        const char* name;
        std::string probe, page;
        size_t matches;
    };
    const Case cases[] = {
        {"no overlap", "aa", "aaa", 1},
        {"resumes at the match's end", "aa", "aaaa", 2},
        {"dot over a letter", "a.c", "abc", 1},
        {"dot over a blank", "a.c", "a c", 1},
        {"dot over a line feed", "a.c", "a\nc", 1},
        {"bytes, not characters", hex("D0 D6"), hex("D6 D0 D6 D0"), 1},
        {"groups match their contents", ni_hao + "(" + shi_jie + ")", ni_hao + shi_jie, 1},
        {"groups do not match parentheses", ni_hao + "(" + shi_jie + ")",
         ni_hao + "(" + shi_jie + ")", 0},
        {"empty match at the start ends it", "x*", "<html>x</html>", 1},
        {"a later empty match ends it", "a*", "aab aa", 2},
        {"case-sensitive", "ABC", "abc abc", 0},
        {"^ at inner line breaks", "^a", "a\na\nba", 2},
        {"$ at inner line breaks", "a$", "a\nba\nab", 2},
        {"each search is a text of its own", "a|^b", "ab", 2},
        {"a bracket is a set of bytes", "[" + hex("D6 D0") + "]", hex("D6 D0 CE C4"), 2},
        {"a quantifier takes one byte", hex("D6 D0") + "?", hex("D6 41"), 1},
        {"high bytes are no word characters", "\\w+", hex("D6 D0") + "ab", 1},
        {"trail byte | alternates", hex("D5 7C 61"), hex("61 D5 62"), 2},      // D5|a
        {"trail byte \\ escapes", hex("D5 5C 6E"), hex("D5 0A D5 5C 6E"), 1},  // D5 then \n
        {"empty page", "a", "", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(count(c.probe, c.page), c.matches) << c.name;
}

TEST(SearchPattern, AFailedCompileKeepsTheExpressionInForce) {
    struct Case {
        const char* name;
        std::string probe;
    };
    const Case invalid[] = {
        {"unmatched parenthesis", ni_hao + "(" + shi_jie},
        {"empty probe", ""},
        {"empty last alternative", "ab|"},
        {"empty first alternative in a group", "(|ab)"},
        {"trail byte [ opens a bracket", hex("D5 5B 61")},
        {"trail byte \\ at the end", hex("D5 5C")},
    };
    for (const Case& c : invalid) {
        SearchPattern pattern;
        EXPECT_FALSE(pattern.compile(Text(c.probe))) << c.name;
        EXPECT_TRUE(pattern.find_all(Text("ab ab")).empty()) << c.name << ": none in force";

        ASSERT_TRUE(pattern.compile(Text("ab")));
        EXPECT_FALSE(pattern.compile(Text(c.probe))) << c.name;
        EXPECT_EQ(pattern.find_all(Text("ab ab")).size(), 2u) << c.name << ": ab stays";
    }
}

TEST(SearchPattern, SpansCountFromTheStartOfTheWholeText) {
    SearchPattern pattern;
    ASSERT_TRUE(pattern.compile(Text("(a)|(b)")));
    const std::vector<SearchMatch> found = pattern.find_all(Text("xaxb"));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0], (SearchMatch{{1, 1, true}, {1, 1, true}, {0, 0, false}}));
    EXPECT_EQ(found[1], (SearchMatch{{3, 1, true}, {0, 0, false}, {3, 1, true}}));

    // A probe without syntax takes the plain search; it finds the same spans.
    ASSERT_TRUE(pattern.compile(Text(hex("D6 D0 CE C4"))));
    const std::vector<SearchMatch> literal =
        pattern.find_all(Text(hex("D0 D6 D0 CE C4 D6 D0 CE C4")));
    ASSERT_EQ(literal.size(), 2u);
    EXPECT_EQ(literal[0], (SearchMatch{{1, 4, true}}));
    EXPECT_EQ(literal[1], (SearchMatch{{5, 4, true}}));
}

TEST(SearchPattern, GivesUpOnRunawayProbesWithWhatItFound) {
    std::string page = "b";
    page.append(1'500'000, 'a');
    page += "\n";
    const std::string chinese = hex("D6 D0 CE C4 D4 AD B4 B4");
    const std::string runaway[] = {
        "(a+)+c",
        "(.*)*x",
        "(a*)*(b*)*(c*)*(d*)*" + chinese + chinese + chinese + chinese,
        "(a+)+x" + chinese + chinese + chinese + chinese + chinese + chinese,
    };
    for (const std::string& probe : runaway) {
        // Returns at all (ctest's time-out is the bound) and keeps the match before.
        EXPECT_LE(count("b|" + probe, page), 1u) << probe;
    }
    EXPECT_EQ(count("b|(a+)+c", page), 1u);
}

}  // namespace
}  // namespace quenvar
