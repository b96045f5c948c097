#include "imagelib/tgadecoder.h"
#include "picturefiles.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

using namespace test;

// Four pixels in a 2 x 2 picture: red, green / blue, half-transparent black.
const Colour kExpected[2][2] = {{MakeColour(255, 0, 0), MakeColour(0, 255, 0)},
                                {MakeColour(0, 0, 255), MakeColour(127, 127, 127)}};

Bytes Header(int type, int bits, int descriptor, int mapLength = 0, int mapBits = 0) {
    return {3,
            static_cast<std::uint8_t>(mapLength ? 1 : 0),
            static_cast<std::uint8_t>(type),
            0,
            0,
            static_cast<std::uint8_t>(mapLength),
            0,
            static_cast<std::uint8_t>(mapBits),
            0,
            0,
            0,
            0,
            2,
            0,
            2,
            0,
            static_cast<std::uint8_t>(bits),
            static_cast<std::uint8_t>(descriptor),
            'i',
            'd',
            '!'};
}

Bytes Join(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(TgaDecoder, EveryStorageFormGivesTheSamePixels) {
    // BGRA of the four pixels in reading order (top-left first).
    const Bytes tl = {0, 0, 255, 255}, tr = {0, 255, 0, 255}, bl = {255, 0, 0, 255},
                br = {0, 0, 0, 128};
    auto bgra = [](std::initializer_list<Bytes> px) {
        Bytes out;
        for (const auto& p : px) out.insert(out.end(), p.begin(), p.end());
        return out;
    };
    // 16-bit map entries: red 0x7C00, green 0x03E0, blue 0x001F, black.
    const Bytes map16 = {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0x00, 0x00};
    const struct {
        const char* what;
        Bytes file;
        bool halfAlpha;
    } cases[] = {
        {"32-bit top-down", Join(Header(2, 32, 0x28), bgra({tl, tr, bl, br})), true},
        {"32-bit bottom-up", Join(Header(2, 32, 0x08), bgra({bl, br, tl, tr})), true},
        {"32-bit right-to-left", Join(Header(2, 32, 0x38), bgra({tr, tl, br, bl})), true},
        {"32-bit RLE", Join(Header(10, 32, 0x28), bgra({{0x02}, tl, tr, bl, {0x80}, br})), true},
        {"mapped RLE, 16-bit map",
         Join(Join(Header(9, 8, 0x20, 4, 16), map16), {0x02, 0, 1, 2, 0x80, 3}), false},
    };
    PictureFiles files;
    for (const auto& c : cases) {
        const auto r = files.Load(c.file, "p.tga");
        ASSERT_TRUE(r.image) << c.what << ": " << r.error;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x) {
                const Colour want = (x == 1 && y == 1 && !c.halfAlpha) ? 0 : kExpected[y][x];
                EXPECT_EQ(r.image->Pixel(x, y), want) << c.what << " " << x << "," << y;
            }
    }
    // Not every case above exercises the RLE run crossing rows: this one does.
    const auto grey = files.Load(Join(Header(11, 8, 0x20), {0x83, 77}), "g.tga");
    ASSERT_TRUE(grey.image) << grey.error;
    EXPECT_EQ(grey.image->Pixel(1, 1), MakeColour(77, 77, 77));
}

TEST(TgaDecoder, HeaderCheckKeepsOtherFormatsOut) {
    const Bytes tga = Header(2, 24, 0x20);
    EXPECT_TRUE(LooksLikeTga(tga));
    Bytes bad = tga;
    bad[16] = 12;  // no such depth
    EXPECT_FALSE(LooksLikeTga(bad));
    const Bytes ico = {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0};
    EXPECT_FALSE(LooksLikeTga(ico));
    const Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 2, 0, 1, 0, 0x80, 0, 0, 255, 0, 0, 0, 0};
    EXPECT_FALSE(LooksLikeTga(gif));
    Bytes oddMap = tga;  // a colour map with 124-bit entries on a true-colour picture
    oddMap[1] = 1;
    oddMap[5] = 1;
    oddMap[7] = 124;
    EXPECT_FALSE(LooksLikeTga(oddMap));
    PictureFiles files;
    const auto truncated = files.Load(Join(Header(2, 24, 0x20), {1, 2, 3, 4}), "t.tga");
    EXPECT_FALSE(truncated.image);
    EXPECT_NE(truncated.error.find("ends early"), std::string::npos) << truncated.error;
}

}  // namespace
}  // namespace corvan
