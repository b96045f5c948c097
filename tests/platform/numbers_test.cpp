#include "platform/numbers.h"
#include "platform/commatext.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

TEST(Numbers, RoundHalfEvenTiesGoToEven) {
    const struct {
        long double in;
        std::int64_t out;
    } cases[] = {
        {0.5L, 0}, {1.5L, 2}, {2.5L, 2}, {-0.5L, 0}, {-1.5L, -2}, {2.4999L, 2}, {-2.6L, -3},
    };
    for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.in), c.out) << static_cast<double>(c.in);
    EXPECT_EQ(RoundToInt(1e30L), INT32_MAX);
}

TEST(Numbers, MulDivRoundsAndRefusesZero) {
    EXPECT_EQ(MulDiv(10, 3, 4), 8);    // 7.5 -> 8
    EXPECT_EQ(MulDiv(-10, 3, 4), -8);  // away from zero
    EXPECT_EQ(MulDiv(5, 5, 0), -1);
    EXPECT_EQ(MulDiv(0x40000000, 8, 1), -1);
}

TEST(Numbers, FloatsWriteWithFifteenDigitsAndAPoint) {
    EXPECT_EQ(FormatFloat15(25.0f), "25");
    EXPECT_EQ(FormatFloat15(25.4f), "25.3999996185303");
    EXPECT_EQ(static_cast<float>(*ParseReal("25.3999996185303")), 25.4f);
    EXPECT_EQ(*ParseReal("12,5"), 12.5);
    EXPECT_FALSE(ParseReal("12.5mm"));
    EXPECT_FALSE(ParseReal(""));
}

TEST(Numbers, IntegersReadDecimalAndHex) {
    EXPECT_EQ(*ParseInteger(" -42 "), -42);
    EXPECT_EQ(*ParseInteger("$FF"), 255);
    EXPECT_EQ(*ParseInteger("0x10"), 16);
    EXPECT_EQ(*ParseInteger("$FFFFFFFF"), -1);
    EXPECT_FALSE(ParseInteger("12a"));
    EXPECT_FALSE(ParseInteger("99999999999"));
}

TEST(CommaText, SplitsByTheFieldRule) {
    using V = std::vector<std::string>;
    const struct {
        const char* in;
        V out;
    } cases[] = {
        {"a,b,c", V{"a", "b", "c"}},    {" a , b ", V{"a", "b"}},
        {"a,,b", V{"a", "", "b"}},      {"a,", V{"a", ""}},
        {"\"x, y\",z", V{"x, y", "z"}}, {"\"say \"\"hi\"\"\"", V{"say \"hi\""}},
        {"one two", V{"one", "two"}},   {"", V{}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitCommaText(c.in), c.out) << c.in;
}

TEST(CommaText, JoinRoundTripsAwkwardFields) {
    const std::vector<std::string> fields{"plain", "with blank", "a,b", "q\"uote", "", "end"};
    EXPECT_EQ(SplitCommaText(JoinCommaText(fields)), fields);
}

TEST(CommaText, EscapesDecode) {
    EXPECT_EQ(DecodeEscapes("a\\rb\\tc\\\"d\\\\e"), "a\rb\tc\"d\\e");
    EXPECT_EQ(DecodeEscapes("C:\\LATHEPRO\\SPOOL"), "C:\\LATHEPRO\\SPOOL");
}

}  // namespace
}  // namespace corvan
