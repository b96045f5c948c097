#include "colour/colourspace.h"

#include "platform/numbers.h"

#include <algorithm>
#include <cmath>

namespace corvan {

namespace {

constexpr double kGamma = 2.2;
// CIE's break point between the cube root and the linear toe of L*.
constexpr double kEpsilon = 0.008856;
constexpr double kKappa = 903.3;
constexpr double kToeSlope = 7.787;
constexpr double kToeOffset = 16.0 / 116.0;
// f(kEpsilon): where the inverse switches from the cube to the linear toe.
constexpr double kToeLimit = 0.206893;
// Tiny results of the inverse are rounding noise; they read as 0.
constexpr double kNoise = 0.0000001;

double Linear(std::uint8_t channel) {
    return std::pow(channel / 255.0, kGamma);
}

std::uint8_t Encoded(double linear) {
    const double clipped = std::clamp(linear, 0.0, 1.0);
    return static_cast<std::uint8_t>(RoundHalfEven(std::pow(clipped, 1.0 / kGamma) * 255.0));
}

double LabF(double t) {
    return t <= kEpsilon ? kToeSlope * t + kToeOffset : std::cbrt(t);
}

double LabG(double t) {
    return t > kToeLimit ? t * t * t : (t - kToeOffset) / kToeSlope;
}

double Denoised(double v) {
    return v < kNoise ? 0.0 : v;
}

std::uint8_t InkToChannel(double ink, double black) {
    return static_cast<std::uint8_t>(
        RoundHalfEven(255.0 - std::clamp(ink + black, 0.0, 1.0) * 255.0));
}

}  // namespace

Matrix3 InverseMatrix(const Matrix3& m) {
    // Cofactor of the element at (row, col), taken from the rows and columns
    // that follow it cyclically so the sign comes out by itself.
    const auto cofactor = [&m](int row, int col) {
        const int r1 = (row + 1) % 3, r2 = (row + 2) % 3;
        const int c1 = (col + 1) % 3, c2 = (col + 2) % 3;
        return m[r1][c1] * m[r2][c2] - m[r1][c2] * m[r2][c1];
    };
    const double det =
        m[0][0] * cofactor(0, 0) + m[0][1] * cofactor(0, 1) + m[0][2] * cofactor(0, 2);
    Matrix3 inv{};
    if (det == 0.0) return inv;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) inv[r][c] = cofactor(c, r) / det;  // the adjugate, transposed
    return inv;
}

const Matrix3& RgbToXyzMatrix() {
    static const Matrix3 m = {{{0.4124, 0.3576, 0.1805},  //
                               {0.2126, 0.7152, 0.0722},
                               {0.0193, 0.1192, 0.9505}}};
    return m;
}

namespace {

const Matrix3& XyzToRgbMatrix() {
    static const Matrix3 inverse = InverseMatrix(RgbToXyzMatrix());
    return inverse;
}

std::array<double, 3> Multiply(const Matrix3& m, const std::array<double, 3>& v) {
    std::array<double, 3> out{};
    for (int r = 0; r < 3; ++r) out[r] = m[r][0] * v[0] + m[r][1] * v[1] + m[r][2] * v[2];
    return out;
}

}  // namespace

Xyz RgbToXyz(Rgb rgb) {
    const auto v = Multiply(RgbToXyzMatrix(), {Linear(rgb.r), Linear(rgb.g), Linear(rgb.b)});
    return {v[0], v[1], v[2]};
}

Rgb XyzToRgb(const Xyz& xyz) {
    const auto v = Multiply(XyzToRgbMatrix(), {xyz.x, xyz.y, xyz.z});
    return {Encoded(v[0]), Encoded(v[1]), Encoded(v[2])};
}

Lab XyzToLab(const Xyz& xyz) {
    const double yr = xyz.y / kLabWhite.y;
    const double L = yr <= kEpsilon ? kKappa * yr : 116.0 * std::cbrt(yr) - 16.0;
    const double fx = LabF(xyz.x / kLabWhite.x);
    const double fy = LabF(yr);
    const double fz = LabF(xyz.z / kLabWhite.z);
    return {L, 500.0 * (fx - fy), 200.0 * (fy - fz)};
}

Xyz LabToXyz(const Lab& lab) {
    static const double kLimitL = 116.0 * std::cbrt(kEpsilon) - 16.0;
    const double yr = lab.L >= kLimitL ? std::pow((lab.L + 16.0) / 116.0, 3.0) : lab.L / kKappa;
    const double y = Denoised(yr * kLabWhite.y);
    const double fy = LabF(yr);
    const double fx = fy + lab.a / 500.0;
    const double fz = fy - lab.b / 200.0;
    return {Denoised(LabG(fx) * kLabWhite.x), y, Denoised(LabG(fz) * kLabWhite.z)};
}

Lab RgbToLab(Rgb rgb) {
    return XyzToLab(RgbToXyz(rgb));
}

Rgb LabToRgb(const Lab& lab) {
    return XyzToRgb(LabToXyz(lab));
}

Cmyk RgbToCmyk(Rgb rgb) {
    const double c = 1.0 - rgb.r / 255.0;
    const double m = 1.0 - rgb.g / 255.0;
    const double y = 1.0 - rgb.b / 255.0;
    const double k = std::min({c, m, y});
    return {std::max(c - k, 0.0), std::max(m - k, 0.0), std::max(y - k, 0.0), k};
}

Rgb CmykToRgb(const Cmyk& cmyk) {
    return {InkToChannel(cmyk.c, cmyk.k), InkToChannel(cmyk.m, cmyk.k),
            InkToChannel(cmyk.y, cmyk.k)};
}

std::uint32_t ColourValue(Rgb rgb) {
    return static_cast<std::uint32_t>(rgb.r) | static_cast<std::uint32_t>(rgb.g) << 8 |
           static_cast<std::uint32_t>(rgb.b) << 16;
}

Rgb FromColourValue(std::uint32_t colour) {
    return {static_cast<std::uint8_t>(colour & 0xFF), static_cast<std::uint8_t>(colour >> 8 & 0xFF),
            static_cast<std::uint8_t>(colour >> 16 & 0xFF)};
}

}  // namespace corvan
