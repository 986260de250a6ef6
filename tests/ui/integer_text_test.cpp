#include <gtest/gtest.h>

#include <string>

#include "tests/support/hex.h"
#include "ui/integer_text.h"

namespace quenvar {
namespace {

using testing::hex;

TEST(NormaliseIntegerText, ShowsTheLeadingIntegerHeldInInt32AndZeroAsEmpty) {
    struct Case {
        std::string text;
        std::string shown;
    };
    const Case cases[] = {
        {"36", "36"},
        {"0036", "36"},
        {"0", ""},
        {"-0", ""},
        {"", ""},
        {"-", ""},
        {"-5", "-5"},
        {"12-3", "12"},
        {"7abc", "7"},
        {"abc", ""},
        {" 12", "12"},
        {"+7", "7"},
        {"2147483647", "2147483647"},
        {"2147483648", "2147483647"},  // held at the limit, not wrapped
        {"99999999999999999999", "2147483647"},
        {"-2147483648", "-2147483648"},
        {"-2147483649", "-2147483648"},
        {hex("A3 B3 A3 B6"), "36"},  // full-width 36
    };
    for (const Case& c : cases)
        EXPECT_EQ(normalise_integer_text(Text(c.text)).str(), c.shown) << c.text;
}

TEST(IntegerBoxAccepts, TakesDigitsAndMinusAndLetsControlKeysThrough) {
    struct Case {
        std::u16string typed;
        bool accepted;
    };
    const Case cases[] = {
        {u"0", true},       {u"9", true},    {u"-", true},
        {u"12", true},      {u"a", false},   {u" ", false},
        {u"+", false},      {u".", false},   {u"\uFF11", false},  // full-width 1
        {u"\u4E2D", false},                                       // 中
        {u"1a", false},     {u"\b", true},   {u"\x7F", true},
        {u"\r", true},      {u"\x16", true},  // Ctrl+V
        {u"", true},                          // keys without text: arrows, Home, Delete
    };
    for (const Case& c : cases)
        EXPECT_EQ(integer_box_accepts(c.typed), c.accepted)
            << std::string(c.typed.begin(), c.typed.end());
}

}  // namespace
}  // namespace quenvar
