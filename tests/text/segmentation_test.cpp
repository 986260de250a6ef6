#include <gtest/gtest.h>

#include "tests/support/hex.h"
#include "text/text.h"

namespace quenvar {
namespace {

using testing::hex;
using testing::to_hex;

const std::string zhong = hex("D6 D0");  // 中
const std::string separator = hex("A1 F1 A1 F4 A1 F1 A1 F1 A1 F4 A1 F1 A1 F1 A1 F1");

std::string times(int n, const std::string& unit) {
    std::string out;
    for (int i = 0; i < n; ++i) out += unit;
    return out;
}

// The segments a check sees: the cut, split at the separator.
std::vector<std::string> segments(const std::string& article, int32_t size) {
    std::vector<std::string> out;
    const Bytes cut = cut_into_segments(Text(article), size);
    for (const Bytes& member : bin_split(cut, segment_separator())) out.push_back(member.str());
    return out;
}

std::vector<size_t> lengths(const std::vector<std::string>& parts) {
    std::vector<size_t> out;
    for (const std::string& p : parts) out.push_back(p.size());
    return out;
}

std::string joined(const std::vector<std::string>& parts) {
    std::string out;
    for (const std::string& p : parts) out += p;
    return out;
}

TEST(CutIntoSegments, WorkedExamplesAtSize72) {
    struct Case {
        const char* name;
        std::string article;
        std::vector<size_t> segment_lengths;
    };
    const Case cases[] = {
        {"72 Chinese", times(72, zhong), {72, 72}},
        {"73 Chinese", times(73, zhong), {72, 72, 2}},
        {"36 Chinese", times(36, zhong), {72}},
        {"10 ASCII", times(10, "a"), {10}},
        {"72 ASCII", times(72, "a"), {71, 1}},
        {"73 ASCII", times(73, "a"), {71, 2}},
        {"a then 72 Chinese", "a" + times(72, zhong), {71, 72, 2}},
        {"3 Chinese, CR LF, 40 Chinese", times(3, zhong) + "\r\n" + times(40, zhong), {72, 16}},
        {"70 ASCII then 2 Chinese", times(70, "a") + times(2, zhong), {72, 2}},
        {"one byte", "x", {1}},
        {"ends on a lone lead byte", "ab" + hex("B0"), {3}},
        {"empty", "", {}},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> parts = segments(c.article, 72);
        EXPECT_EQ(lengths(parts), c.segment_lengths) << c.name;
        EXPECT_EQ(joined(parts), c.article) << c.name;  // nothing lost, nothing added
    }
}

TEST(CutIntoSegments, ASeparatorInTheArticleCutsItToo) {
    const std::string jia = hex("BC D7"), yi = hex("D2 D2");  // 甲, 乙
    EXPECT_EQ(segments(jia + separator + yi, 72), (std::vector<std::string>{jia, yi}));
    EXPECT_EQ(segments(separator, 72), (std::vector<std::string>{"", ""}));
}

TEST(CutIntoSegments, JoinsPiecesWithTheSeparatorButDropsTheLastOne) {
    const std::string article = times(72, zhong);
    const Bytes cut = cut_into_segments(Text(article), 72);
    EXPECT_EQ(to_hex(cut.view()),
              to_hex(article.substr(0, 72) + separator + article.substr(72) + separator));
    EXPECT_EQ(to_hex(segment_separator().view()), to_hex(separator));

    // The last byte stands alone when size divides the length and that byte
    // is a character by itself: a one-byte one, or a lone lead byte.
    EXPECT_EQ(segments("a" + hex("B0"), 2), (std::vector<std::string>{"a", hex("B0")}));
}

TEST(CutIntoSegments, SizesOfZeroAndBelow) {
    EXPECT_EQ(segments(times(5, zhong), 0), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(segments(times(5, zhong), -2), std::vector<std::string>{});
    EXPECT_EQ(segments(times(100, "a"), -76), std::vector<std::string>{});
}

TEST(CutIntoSegments, SeparatorLifecycle) {
    release_separator();
    EXPECT_TRUE(segment_separator().empty());
    cut_into_segments(Text("abc"), 4);
    EXPECT_EQ(to_hex(segment_separator().view()), to_hex(separator));
    release_separator();
    EXPECT_TRUE(segment_separator().empty());
}

}  // namespace
}  // namespace quenvar
