#include <gtest/gtest.h>

#include "script_regex/script_regex.h"
#include "tests/support/hex.h"

namespace quenvar {
namespace {

using testing::hex;

const std::string zhong_wen = hex("D6 D0 CE C4");  // 中文
const std::string emoji = hex("94 39 FC 36");      // U+1F600 in GB18030

struct Found {
    std::string text;
    int32_t position;
    friend bool operator==(const Found&, const Found&) = default;
};

std::vector<Found> all_matches(const ScriptRegex& regex) {
    std::vector<Found> found;
    for (int32_t i = 1; i <= regex.match_count(); ++i) {
        int32_t position = -99;
        const Text text = regex.match_text(i, position, true);
        found.push_back({text.str(), position});
    }
    return found;
}

TEST(ScriptRegex, MatchesTextsAndBytePositions) {
    struct Case {
        const char* name;
        std::string pattern, subject;
        std::optional<bool> case_sensitive, multiline, global;
        std::vector<Found> matches;
    };
    const Case cases[] = {
        {"positions", "b", "abcb", {}, {}, {}, {{"b", 1}, {"b", 3}}},
        {"after two-byte characters", "b", zhong_wen + "abc", {}, {}, {}, {{"b", 5}}},
        {"after a character outside the BMP", "b", emoji + "b", {}, {}, {}, {{"b", 4}}},
        {"ignores case by default", "b", "aBcb", {}, {}, {}, {{"B", 1}, {"b", 3}}},
        {"case-sensitive on request", "b", "aBcb", true, {}, {}, {{"b", 3}}},
        {"multi-line by default", "^a", "a\na", {}, {}, {}, {{"a", 0}, {"a", 2}}},
        {"single-line on request", "^a", "a\na", {}, false, {}, {{"a", 0}}},
        {"first match only on request", "a", "aaa", {}, {}, false, {{"a", 0}}},
        {"no match", "[^\\x20-\\x7f]", "plain ASCII, 123!", {}, {}, {}, {}},
        {"one unit per Chinese character",
         "[^\\x20-\\x7f]",
         "a" + zhong_wen,
         {},
         {},
         {},
         {{hex("D6 D0"), 1}, {hex("CE C4"), 3}}},
    };
    for (const Case& c : cases) {
        ScriptRegex regex;
        EXPECT_TRUE(regex.execute(Text(c.pattern), Text(c.subject), c.case_sensitive, c.multiline,
                                  c.global))
            << c.name;
        EXPECT_EQ(all_matches(regex), c.matches) << c.name;
    }
}

TEST(ScriptRegex, NothingToReadGivesEmptyResults) {
    ScriptRegex regex;
    int32_t position = -99;
    EXPECT_EQ(regex.match_count(), 0);
    EXPECT_EQ(regex.pattern(), Text());
    EXPECT_EQ(regex.match_text(1), Text());
    EXPECT_EQ(regex.submatch_count(), 0);
    EXPECT_EQ(regex.replace(Text("x")), Text());

    EXPECT_FALSE(regex.execute(Text("("), Text("a(b")));
    EXPECT_EQ(regex.match_count(), 0);
    EXPECT_EQ(regex.match_text(1), Text());
    EXPECT_EQ(regex.pattern(), Text("("));  // the object exists, its pattern is set

    ASSERT_TRUE(regex.execute(Text("b"), Text("abcb")));
    EXPECT_EQ(regex.match_text(0, position, true), Text());
    EXPECT_EQ(position, 0);  // located from a first index of 0: the empty text at the start
    EXPECT_EQ(regex.match_text(3), Text());
}

TEST(ScriptRegex, GroupsReplaceAndCopies) {
    ScriptRegex regex;
    ASSERT_TRUE(regex.execute(Text("(a)(x)?"), Text("ba ba")));
    EXPECT_EQ(regex.submatch_count(), 2);
    int32_t position = -99;
    EXPECT_EQ(regex.submatch_text(2, 1, position, true), Text("a"));
    EXPECT_EQ(position, 4);
    EXPECT_EQ(regex.submatch_text(2, 2, position, false), Text());  // took no part
    EXPECT_EQ(regex.replace(Text("[$1]")), Text("b[a] b[a]"));

    ASSERT_TRUE(regex.execute(Text("\\s"), Text("a b\tc\r\nd\v\fe" + zhong_wen)));
    EXPECT_EQ(regex.replace(Text()), Text("abcde" + zhong_wen));
    EXPECT_EQ(regex.replace(Text("$&$&")), Text("a  b\t\tc\r\r\n\nd\v\v\f\fe" + zhong_wen));

    ScriptRegex twin = regex.copy();
    regex.destroy();
    EXPECT_EQ(regex.match_count(), 0);
    EXPECT_EQ(twin.match_count(), 6);
    EXPECT_EQ(twin.pattern(), Text("\\s"));
}

// A pattern that is one character class is answered from a table; wrapped in
// a group it takes the engine's search. Both must find the same matches.
TEST(ScriptRegex, OneClassTableAgreesWithTheEngine) {
    const std::string subject =
        "a " + zhong_wen + "\r\n\t" + emoji + hex("7F 1F A3 AC A1 A1") + "Z~";
    for (const char* pattern : {"[^\\x20-\\x7f]", "\\s", "\\S", "[a-z]", "[^]a]", "[[:upper:]]"}) {
        ScriptRegex table, engine;
        table.execute(Text(pattern), Text(subject));
        engine.execute(Text(std::string("(?:") + pattern + ")"), Text(subject));
        EXPECT_EQ(all_matches(table), all_matches(engine)) << pattern;
    }
}

}  // namespace
}  // namespace quenvar
