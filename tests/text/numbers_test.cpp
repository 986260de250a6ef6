#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/support/hex.h"
#include "text/text.h"

namespace quenvar {
namespace {

using testing::hex;

TEST(NumToInt, TruncatesTowardZeroAndWrapsThe64BitValue) {
    struct Case {
        double number;
        int32_t result;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {2.9, 2},          {-2.9, -2},
        {std::nan(""), 0}, {inf, 0},
        {-inf, 0},         {2147483648.0, -2147483647 - 1},  // low 32 bits of the 64-bit integer
        {4294967297.0, 1}, {1e19, 0},                        // beyond the 64-bit range
        {-0.5, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(num_to_int(c.number), c.result) << c.number;
    EXPECT_EQ(num_to_int(int32_t{-7}), -7);
}

TEST(TxtToInt, ReadsTheLeadingIntegerOfHalfWidthText) {
    struct Case {
        std::string text;
        int32_t result;
    };
    const Case cases[] = {
        {"36", 36},
        {hex("A3 B3 A3 B8"), 38},  // full-width 38
        {" 12abc", 12},
        {"3.9", 3},
        {"abc", 0},
        {"", 0},
        {"-5", -5},
        {hex("A3 AD 35"), -5},  // full-width minus
        {"+7", 7},
        {"\t\n\v\f\r 8", 8},
        {"- 5", 0},
        {"4294967297", 1},  // wraps in 32 bits
        {"2147483648", -2147483647 - 1},
        {"0036", 36},
    };
    for (const Case& c : cases) EXPECT_EQ(txt_to_int(Text(c.text)), c.result) << c.text;

    // Held at the limits instead, as the window's integer boxes show them.
    EXPECT_EQ(txt_to_int_saturated(Text("4294967297")), 2147483647);
    EXPECT_EQ(txt_to_int_saturated(Text("-99999999999")), -2147483647 - 1);
    EXPECT_EQ(txt_to_int_saturated(Text("-2147483648")), -2147483647 - 1);
    EXPECT_EQ(txt_to_int_saturated(Text(" 0036abc")), 36);
}

TEST(TxtToNum, DecimalOnlyAsAtofReadsIt) {
    struct Case {
        std::string text;
        double result;
    };
    const Case cases[] = {
        {"1.#INF", 1},
        {"-1.#IND", -1},
        {"inf", 0},
        {"nan", 0},
        {"0x1A", 0},
        {"2.5e3", 2500},
        {"2.5e", 2.5},
        {"2.5e+x", 2.5},
        {" -3.5x", -3.5},
        {".5", 0.5},
        {"5.", 5},
        {".", 0},
        {"", 0},
        {"1e+020", 1e20},
        {"2.027777777778", 2.027777777778},
        {hex("A3 B1 A3 AE A3 B5"), 1.5},  // full-width 1.5
    };
    for (const Case& c : cases) EXPECT_EQ(txt_to_num(Text(c.text)), c.result) << c.text;
    EXPECT_EQ(txt_to_num(Text("1e400")), std::numeric_limits<double>::infinity());
}

TEST(NumFloor, AbsorbsAHairBelowTheNextInteger) {
    struct Case {
        double number;
        int32_t result;
    };
    const Case cases[] = {
        {2.0277, 2},
        {-2.5, -3},
        {2.9999999999995, 3},
        {-2.9999999999995, -3},
        {5, 5},
        {0.999999999998, 0},
        {std::nan(""), 0},
        {-0.9999999999995, -1},  // the sign of the number, not of its whole part -0
    };
    for (const Case& c : cases) EXPECT_EQ(num_floor(c.number), c.result) << c.number;
}

TEST(NumRound, HalfAwayFromZeroWithANudge) {
    struct Case {
        double number;
        int32_t places;
        double result;
    };
    const Case cases[] = {
        {5.0 / 6.0, 4, 0.8333},
        {0.03125, 4, 0.0313},  // not 0.0312
        {-0.03125, 4, -0.0313},
        {0.49999999999995, 0, 1},
        {0, 4, 0},
        {2.0 / 3.0, 4, 0.6667},
        {119.0 / 200.0, 4, 0.595},
        {1234.5, -1, 1230},
        {1235, -1, 1240},
        {2.5, 0, 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(num_round(c.number, c.places), c.result) << c.number << " to " << c.places;
    }
    EXPECT_TRUE(std::isnan(num_round(std::nan(""), 4)));
}

TEST(NumToTxt, ThirteenSignificantDigitsAndThreeDigitExponents) {
    struct Case {
        double number;
        const char* text;
    };
    const double zero = 0;  // 0 / 0 and 1 / 0 worked out at run time
    const Case cases[] = {
        {2, "2"},
        {146.0 / 72.0, "2.027777777778"},
        {72.5, "72.5"},
        {0.5, "0.5"},
        {0.8333 * 100, "83.33"},
        {100, "100"},
        {0, "0"},
        {1e20, "1e+020"},
        {1e-5, "1e-005"},
        {1e100, "1e+100"},
        {1e13, "1e+013"},
        {1234567890123.0, "1234567890123"},
        {0.0001, "0.0001"},
        {10.0 / 72.0, "0.1388888888889"},
        {1 / zero, "1.#INF"},
        {-1 / zero, "-1.#INF"},
        {zero / zero, "-1.#IND"},
    };
    for (const Case& c : cases) EXPECT_EQ(num_to_txt(c.number), Text(c.text)) << c.text;
    EXPECT_EQ(num_to_txt(int32_t{-5}), Text("-5"));
    EXPECT_EQ(num_to_txt(int32_t{0}), Text("0"));
    EXPECT_EQ(txt_to_num(num_to_txt(1 / zero)), 1);
}

}  // namespace
}  // namespace quenvar
