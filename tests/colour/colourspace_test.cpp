// The colour space conversions against published values (the Rec. 709
// primaries and their inverse) and against L*a*b* values worked out by hand
// from the CIE 1976 formulas with this program's white point.
#include "colour/colourspace.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

struct XyzCase {
    Rgb rgb;
    Xyz xyz;
};

TEST(ColourSpace, RgbToXyzGivesThePrimariesAndWhite) {
    const XyzCase cases[] = {
        {{255, 0, 0}, {0.4124, 0.2126, 0.0193}},
        {{0, 255, 0}, {0.3576, 0.7152, 0.1192}},
        {{0, 0, 255}, {0.1805, 0.0722, 0.9505}},
        {{255, 255, 255}, {0.9505, 1.0, 1.089}},
        {{0, 0, 0}, {0, 0, 0}},
        // (128 / 255)^2.2 = 0.219520 on every channel.
        {{128, 128, 128}, {0.208653, 0.219520, 0.239057}},
    };
    for (const auto& c : cases) {
        const Xyz x = RgbToXyz(c.rgb);
        EXPECT_NEAR(x.x, c.xyz.x, 1e-6) << int(c.rgb.r) << "," << int(c.rgb.g);
        EXPECT_NEAR(x.y, c.xyz.y, 1e-6) << int(c.rgb.r) << "," << int(c.rgb.g);
        EXPECT_NEAR(x.z, c.xyz.z, 1e-6) << int(c.rgb.r) << "," << int(c.rgb.g);
    }
}

TEST(ColourSpace, TheInverseMatrixIsThePublishedOne) {
    const Matrix3 expected = {{{3.2406, -1.5372, -0.4986},  //
                               {-0.9689, 1.8758, 0.0415},
                               {0.0557, -0.2040, 1.0570}}};
    const Matrix3 inv = InverseMatrix(RgbToXyzMatrix());
    const Matrix3& m = RgbToXyzMatrix();
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            EXPECT_NEAR(inv[r][c], expected[r][c], 1e-4) << r << "," << c;
            double product = 0;
            for (int k = 0; k < 3; ++k) product += m[r][k] * inv[k][c];
            EXPECT_NEAR(product, r == c ? 1.0 : 0.0, 1e-12) << r << "," << c;
        }
    const Matrix3 singular = {{{1, 2, 3}, {2, 4, 6}, {0, 1, 5}}};
    for (const auto& row : InverseMatrix(singular))
        for (const double v : row) EXPECT_EQ(v, 0.0);
}

struct LabCase {
    Rgb rgb;
    Lab lab;
};

TEST(ColourSpace, RgbToLabMatchesTheFormulas) {
    // White: L* 100 with a* and b* below zero, for the RGB white is bluer
    // than the L*a*b* reference white.
    const LabCase cases[] = {
        {{255, 255, 255}, {100.0, -3.0314, -14.1807}},
        {{0, 0, 0}, {0, 0, 0}},
        {{255, 0, 0}, {53.2329, 77.8104, 63.5256}},
        {{0, 255, 0}, {87.7370, -88.3768, 76.4027}},
        {{0, 0, 255}, {32.3026, 77.4512, -121.4058}},
        {{128, 128, 128}, {53.9760, -1.8287, -8.5544}},
        {{200, 30, 60}, {43.3632, 63.5378, 24.7546}},
        // Dark enough for the linear toe of L*.
        {{2, 2, 2}, {0.021072, -0.001642, -0.008289}},
    };
    for (const auto& c : cases) {
        const Lab l = RgbToLab(c.rgb);
        const std::string at =
            std::to_string(c.rgb.r) + "," + std::to_string(c.rgb.g) + "," + std::to_string(c.rgb.b);
        EXPECT_NEAR(l.L, c.lab.L, 1e-4) << at;
        EXPECT_NEAR(l.a, c.lab.a, 1e-4) << at;
        EXPECT_NEAR(l.b, c.lab.b, 1e-4) << at;
    }
    const Lab white = RgbToLab({255, 255, 255});
    EXPECT_DOUBLE_EQ(white.L, 100.0);
    EXPECT_NEAR(white.a, -3.0, 0.05);
    EXPECT_NEAR(white.b, -14.2, 0.05);
}

TEST(ColourSpace, LabToRgbClipsAndDoesNotAdaptTheWhite) {
    const LabCase cases[] = {
        // The L*a*b* white is yellower than RGB white.
        {{255, 252, 229}, {100, 0, 0}},
        {{126, 117, 106}, {50, 0, 0}},
        {{210, 170, 216}, {75, 20, -30}},
        {{26, 24, 22}, {5, 0, 0}},  // below the toe limit of L* (about 8)
        {{0, 0, 0}, {0, 0, 0}},
        // Outside the gamut: green below 0 and blue above 1 are clipped.
        {{216, 0, 255}, {50, 128, -128}},
    };
    for (const auto& c : cases) {
        const Rgb rgb = LabToRgb(c.lab);
        EXPECT_EQ(rgb, c.rgb) << c.lab.L << "," << c.lab.a << "," << c.lab.b << " gave "
                              << int(rgb.r) << "," << int(rgb.g) << "," << int(rgb.b);
    }
    EXPECT_EQ(XyzToRgb({0, 1, 0}), (Rgb{0, 255, 0}));
    EXPECT_EQ(XyzToRgb({-1, -1, -1}), (Rgb{0, 0, 0}));
    EXPECT_EQ(XyzToRgb({5, 5, 5}), (Rgb{255, 255, 255}));
}

TEST(ColourSpace, LabAndXyzRoundTrip) {
    for (const Lab lab : {Lab{100, 0, 0}, Lab{50, 20, -30}, Lab{7.5, 3, -2}, Lab{8.5, -5, 5},
                          Lab{90, -100, 90}, Lab{30, 60, -100}}) {
        const Lab back = XyzToLab(LabToXyz(lab));
        EXPECT_NEAR(back.L, lab.L, 1e-3) << lab.L << "," << lab.a << "," << lab.b;
        EXPECT_NEAR(back.a, lab.a, 1e-3) << lab.L << "," << lab.a << "," << lab.b;
        EXPECT_NEAR(back.b, lab.b, 1e-3) << lab.L << "," << lab.a << "," << lab.b;
    }
    // Every 8-bit colour survives the way to L*a*b* and back.
    for (int v = 0; v < 256; v += 5)
        for (const Rgb rgb : {Rgb{std::uint8_t(v), 0, 0}, Rgb{std::uint8_t(v), std::uint8_t(v), 40},
                              Rgb{7, std::uint8_t(255 - v), std::uint8_t(v)}})
            EXPECT_EQ(LabToRgb(RgbToLab(rgb)), rgb) << v;
    // Noise below 1e-7 reads as 0 rather than as a tiny negative amount.
    const Xyz black = LabToXyz({0, 0, 0});
    EXPECT_EQ(black.x, 0.0);
    EXPECT_EQ(black.y, 0.0);
    EXPECT_EQ(black.z, 0.0);
    EXPECT_EQ(LabToXyz({0, -50, 50}).x, 0.0);
}

struct CmykCase {
    Rgb rgb;
    Cmyk cmyk;
};

TEST(ColourSpace, CmykSeparationTakesTheGreyIntoBlack) {
    const CmykCase cases[] = {
        {{255, 0, 0}, {0, 1, 1, 0}},
        {{0, 0, 0}, {0, 0, 0, 1}},
        {{255, 255, 255}, {0, 0, 0, 0}},
        {{51, 102, 204}, {0.6, 0.4, 0, 0.2}},
    };
    for (const auto& c : cases) {
        const Cmyk k = RgbToCmyk(c.rgb);
        EXPECT_NEAR(k.c, c.cmyk.c, 1e-12) << int(c.rgb.r);
        EXPECT_NEAR(k.m, c.cmyk.m, 1e-12) << int(c.rgb.r);
        EXPECT_NEAR(k.y, c.cmyk.y, 1e-12) << int(c.rgb.r);
        EXPECT_NEAR(k.k, c.cmyk.k, 1e-12) << int(c.rgb.r);
    }
}

TEST(ColourSpace, CmykToRgbSaturatesAndRoundsHalvesToEven) {
    const CmykCase cases[] = {
        {{255, 0, 0}, {0, 1, 1, 0}},
        {{0, 0, 0}, {0.2, 0.7, 0.1, 1.0}},  // full black whatever the inks
        {{0, 0, 128}, {0.6, 0.9, 0, 0.5}},  // ink and black add up to at most full ink
        {{178, 255, 255}, {0.3, 0, 0, 0}},  // 255 - 76.5 = 178.5 goes to the even 178
        {{128, 128, 128}, {0, 0, 0, 0.5}},  // 127.5 goes to 128
        {{51, 102, 204}, {0.6, 0.4, 0, 0.2}},
    };
    for (const auto& c : cases) {
        const Rgb rgb = CmykToRgb(c.cmyk);
        EXPECT_EQ(rgb, c.rgb) << c.cmyk.c << "," << c.cmyk.m << "," << c.cmyk.y << "," << c.cmyk.k
                              << " gave " << int(rgb.r) << "," << int(rgb.g) << "," << int(rgb.b);
    }
}

TEST(ColourSpace, ColourValuesHoldRedInTheLowByte) {
    EXPECT_EQ(ColourValue({0x12, 0x34, 0x56}), 0x563412u);
    EXPECT_EQ(FromColourValue(0xFF563412u), (Rgb{0x12, 0x34, 0x56}));
}

}  // namespace
}  // namespace corvan
