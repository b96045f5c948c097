#include "placement/cropmarkfile.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <cstring>

namespace corvan {
namespace {

void Put32(std::vector<std::uint8_t>& v, std::size_t at, std::uint32_t x) {
    for (int i = 0; i < 4; ++i) v[at + i] = static_cast<std::uint8_t>(x >> (8 * i));
}

CropMarkFile Sample() {
    CropMarkFile f;
    f.size = 25;
    for (int i = 0; i < 4; ++i) f.corners[i] = test::TinyMetafile(static_cast<std::uint8_t>(i + 1));
    f.preview = {'B', 'M', 1, 2, 3};
    return f;
}

TEST(CropMarkFileFormat, RoundTripsSizePicturesAndPreview) {
    const auto bytes = BuildCropMarkFile(Sample());
    EXPECT_EQ(bytes[0], 0x00);
    EXPECT_EQ(bytes[1], 0xA8);
    EXPECT_EQ(bytes[2], 0x8F);
    EXPECT_EQ(bytes[3], 0x45);
    std::string reason;
    auto back = ParseCropMarkFile(bytes, &reason);
    ASSERT_TRUE(back) << reason;
    EXPECT_EQ(back->size, 25);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(back->corners[i][60], i + 1);
    EXPECT_EQ(back->preview, Sample().preview);
}

TEST(CropMarkFileFormat, DamagedFilesAreRefusedWithAReason) {
    const auto good = BuildCropMarkFile(Sample());
    auto wrongSignature = good;
    wrongSignature[0] = 1;
    auto lyingLength = good;
    Put32(lyingLength, 24 + 48, 1u << 30);
    auto shortLength = good;
    Put32(shortLength, 24 + 48, 8);
    auto notMetafile = good;
    Put32(notMetafile, 24 + 40, 0);
    const struct { const char* name; std::vector<std::uint8_t> bytes; } cases[] = {
        {"empty", {}},
        {"signature", wrongSignature},
        {"header only", std::vector<std::uint8_t>(good.begin(), good.begin() + 10)},
        {"truncated picture", std::vector<std::uint8_t>(good.begin(), good.begin() + 24 + 100)},
        {"lying length", lyingLength},
        {"short length", shortLength},
        {"not a metafile", notMetafile},
    };
    for (const auto& c : cases) {
        std::string reason;
        EXPECT_FALSE(ParseCropMarkFile(c.bytes, &reason)) << c.name;
        EXPECT_FALSE(reason.empty()) << c.name;
    }
    // Every truncation of a good file is refused or parsed, never read past its end.
    for (std::size_t n = 0; n < good.size(); ++n) {
        std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
        std::string reason;
        (void)ParseCropMarkFile(cut, &reason);
    }
}

}  // namespace
}  // namespace corvan
