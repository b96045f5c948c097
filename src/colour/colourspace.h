#pragma once
// Conversions between the colour spaces the colour chart manager shows at
// once: 8-bit RGB, CIE XYZ, CIE 1976 L*a*b* and a plain CMYK separation.
// This is arithmetic with fixed constants, not colour management: RGB goes
// through the Rec. 709 primaries with a pure 2.2 gamma, and L*a*b* uses its
// own reference white without any chromatic adaptation, so RGB white comes
// out with L* 100 and slightly negative a* and b*.
#include <array>
#include <cstdint>

namespace corvan {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};
// Relative values, Y of RGB white = 1.
struct Xyz {
    double x = 0, y = 0, z = 0;
};
struct Lab {
    double L = 0, a = 0, b = 0;
};
// Fractions 0 to 1.
struct Cmyk {
    double c = 0, m = 0, y = 0, k = 0;
};

using Matrix3 = std::array<std::array<double, 3>, 3>;

// The inverse from cofactors and determinant; the zero matrix when the
// determinant is 0.
Matrix3 InverseMatrix(const Matrix3& m);
// Rows give X, Y, Z; columns apply to linear red, green and blue.
const Matrix3& RgbToXyzMatrix();

// The reference white of L*a*b*.
inline constexpr Xyz kLabWhite{0.968, 1.0, 0.8867};

Xyz RgbToXyz(Rgb rgb);
// Channels outside the RGB gamut are clipped to 0 or 255.
Rgb XyzToRgb(const Xyz& xyz);
Lab XyzToLab(const Xyz& xyz);
// X, Y or Z below 1e-7 become 0.
Xyz LabToXyz(const Lab& lab);
Lab RgbToLab(Rgb rgb);
Rgb LabToRgb(const Lab& lab);

// The separation shown beside an RGB colour: grey component removal with the
// whole grey going to black.
Cmyk RgbToCmyk(Rgb rgb);
// Typed CMYK back to RGB: each ink and black add up, saturating at full ink.
Rgb CmykToRgb(const Cmyk& cmyk);

// The colour value 0x00BBGGRR and back.
std::uint32_t ColourValue(Rgb rgb);
Rgb FromColourValue(std::uint32_t colour);

}  // namespace corvan
