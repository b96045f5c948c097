#include "platform/base64.h"

#include <gtest/gtest.h>

#include <numeric>

namespace corvan {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Of(std::string_view s) {
    return Bytes(s.begin(), s.end());
}

Bytes Counting(std::size_t n) {
    Bytes b(n);
    std::iota(b.begin(), b.end(), std::uint8_t{0});
    return b;
}

// The test vectors of the encoding's standard, covering both padding lengths.
TEST(Base64, StandardVectors) {
    const struct {
        const char* plain;
        const char* encoded;
    } cases[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Base64Encode(Of(c.plain)), c.encoded);
        const auto back = Base64Decode(c.encoded);
        ASSERT_TRUE(back) << back.Error();
        EXPECT_EQ(*back, Of(c.plain));
    }
    EXPECT_EQ(Base64Encode(Bytes{0xFB, 0xFF, 0xBF}), "+/+/");
}

TEST(Base64, LinesHoldSixtyCharactersButTheLast) {
    const struct {
        std::size_t bytes;
        std::size_t lines;
        std::size_t last;
    } cases[] = {
        {0, 0, 0}, {1, 1, 4}, {44, 1, 60}, {45, 1, 60}, {46, 2, 4}, {90, 2, 60}, {100, 3, 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        const Bytes data = Counting(c.bytes);
        const auto lines = Base64EncodeLines(data);
        ASSERT_EQ(lines.size(), c.lines);
        for (std::size_t i = 0; i + 1 < lines.size(); ++i) EXPECT_EQ(lines[i].size(), 60u);
        if (!lines.empty()) {
            EXPECT_EQ(lines.back().size(), c.last);
        }
        std::string joined;
        for (const auto& line : lines) joined += line + "\r\n";
        const auto back = Base64Decode(joined);
        ASSERT_TRUE(back) << back.Error();
        EXPECT_EQ(*back, data);
    }
}

TEST(Base64, RoundTripsEveryLengthAndByte) {
    for (std::size_t n = 0; n < 300; n += 7) {
        Bytes data = Counting(n);
        for (auto& b : data) b = static_cast<std::uint8_t>(b * 37 + 11);
        const auto back = Base64Decode(Base64Encode(data));
        ASSERT_TRUE(back) << n << ": " << back.Error();
        EXPECT_EQ(*back, data) << n;
    }
}

TEST(Base64, DecodingSkipsBlanksAndLineBreaks) {
    const auto back = Base64Decode(" Zm9v\r\nYm\tFy \n");
    ASSERT_TRUE(back) << back.Error();
    EXPECT_EQ(*back, Of("foobar"));
    EXPECT_TRUE(Base64Decode("Zg==\r\n  "));
}

TEST(Base64, RefusesInvalidInput) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"Zm9v!", "character '!' at position 4"},
        {"Zm-v", "character '-'"},
        {"Zm9\x01", "byte 1 at position 3"},
        {"Zm9", "ends inside a 4-character group"},
        {"Z", "ends inside"},
        {"Z===", "Misplaced Base64 padding"},
        {"====", "Misplaced"},
        {"Zg===", "continues after padding '=' at position 4"},
        {"Zg=a", "continues after padding"},
        {"Zg==Zm9v", "continues after padding"},
        {"Zm8=\nZm8=", "continues after padding"},
    };
    for (const auto& c : cases) {
        const auto result = Base64Decode(c.text);
        ASSERT_FALSE(result) << c.text;
        EXPECT_NE(result.Error().find(c.message), std::string::npos)
            << c.text << ": " << result.Error();
    }
}

}  // namespace
}  // namespace corvan
