#include "cutting/lzhuf.h"

#include <gtest/gtest.h>

#include <random>

namespace corvan {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

TEST(Lzhuf, RoundTripsTypicalAndAwkwardData) {
    std::mt19937 rng(7);
    std::vector<std::uint8_t> noise(50000);
    for (auto& b : noise) b = static_cast<std::uint8_t>(rng());
    std::vector<std::uint8_t> points;  // float pairs and flags, like cut-file records
    for (int i = 0; i < 20000; ++i) {
        const float y = 10.5f + i * 0.1f, x = 489.5f - (i % 300) * 0.1f;
        const auto* py = reinterpret_cast<const std::uint8_t*>(&y);
        const auto* px = reinterpret_cast<const std::uint8_t*>(&x);
        points.insert(points.end(), py, py + 4);
        points.insert(points.end(), px, px + 4);
        points.push_back(i % 50 == 0 ? 1 : 2);
        points.push_back(0);
    }
    const std::vector<std::vector<std::uint8_t>> cases = {
        {},
        Bytes("a"),
        Bytes("                                        "),  // matches the blank preset
        std::vector<std::uint8_t>(200000, 'x'),           // long runs rescale the tree
        noise,
        points,
    };
    for (const auto& data : cases) {
        const auto coded = LzhufEncode(data);
        std::string reason;
        auto back = LzhufDecode(coded, data.size(), &reason);
        ASSERT_TRUE(back) << data.size() << " " << reason;
        EXPECT_EQ(*back, data) << data.size();
    }
    EXPECT_LT(LzhufEncode(points).size(), points.size() / 2);
}

TEST(Lzhuf, SingleLiteralTakesOneCodeOfTheFreshTree) {
    // 314 equally likely symbols: a code of 8 or 9 bits, padded to two bytes.
    const auto coded = LzhufEncode(Bytes("A"));
    ASSERT_EQ(coded.size(), 2u);
    auto back = LzhufDecode(coded, 1);
    ASSERT_TRUE(back);
    EXPECT_EQ((*back)[0], 'A');
}

TEST(Lzhuf, DamagedInputFailsCleanly) {
    const auto data = Bytes(std::string(3000, 'q') + "the end of the line");
    const auto coded = LzhufEncode(data);
    std::string reason;
    EXPECT_FALSE(LzhufDecode(std::span(coded).first(coded.size() / 2), data.size(), &reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_FALSE(LzhufDecode(coded, std::size_t{1} << 40, &reason));
    std::mt19937 rng(3);
    for (int i = 0; i < 200; ++i) {
        std::vector<std::uint8_t> junk(64);
        for (auto& b : junk) b = static_cast<std::uint8_t>(rng());
        (void)LzhufDecode(junk, 1000);  // any result, never a crash
    }
}

}  // namespace
}  // namespace corvan
