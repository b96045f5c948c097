// The decoded-bitmap cache a metafile shares between its playbacks: one
// decoding per bitmap, a size bound with the least recently used dropped,
// and a bitmap too large for the bound used but not kept.
#include "platform/metafile/bitmap_cache.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace corvan::emf {
namespace {

// A decoder of w x w grey pictures that counts its calls.
struct Decoder {
    int calls = 0;
    std::optional<DecodedDib> operator()(int w) {
        ++calls;
        DecodedDib d;
        d.image.pixels = Bitmap24::Create(w, w);
        return d;
    }
};

BitmapKey Key(const std::uint8_t* at) {
    return {at, at, 4, false, -1, 0};
}

TEST(BitmapCache, DecodesOnceAndDropsTheLeastRecentlyUsed) {
    const std::uint8_t bytes[4] = {};
    Decoder decoder;
    BitmapCache cache(3 * 100 * 100 * 2);  // room for two 100 x 100 pictures
    const auto get = [&](int i, int w = 100) {
        return cache.Get(Key(bytes + i), [&] { return decoder(w); });
    };
    const auto a = get(0);
    ASSERT_TRUE(a);
    EXPECT_EQ(get(0), a);
    EXPECT_EQ(decoder.calls, 1);
    get(1);
    get(0);  // 0 is now the most recently used
    get(2);  // drops 1
    EXPECT_EQ(decoder.calls, 3);
    get(0);
    EXPECT_EQ(decoder.calls, 3);
    get(1);
    EXPECT_EQ(decoder.calls, 4);
    EXPECT_LE(cache.Bytes(), std::size_t{3 * 100 * 100 * 2});

    const auto huge = get(3, 1000);
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->image.pixels->Width(), 1000);
    get(3, 1000);
    EXPECT_EQ(decoder.calls, 6) << "a picture larger than the bound is never kept";
    EXPECT_FALSE(cache.Get(Key(bytes + 3 + 1), [] { return std::optional<DecodedDib>(); }));
}

TEST(BitmapCache, ThreadsShareOneEntry) {
    const std::uint8_t bytes[1] = {};
    BitmapCache cache;
    std::atomic<int> calls{0};
    std::vector<BitmapCache::Entry> got(8);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < got.size(); ++i)
        threads.emplace_back([&, i] {
            got[i] = cache.Get(Key(bytes), [&] {
                ++calls;
                DecodedDib d;
                d.image.pixels = Bitmap24::Create(50, 50);
                return std::optional<DecodedDib>(std::move(d));
            });
        });
    for (auto& t : threads) t.join();
    for (const auto& g : got) EXPECT_EQ(g, got[0]);
    EXPECT_GE(calls.load(), 1);
}

}  // namespace
}  // namespace corvan::emf
