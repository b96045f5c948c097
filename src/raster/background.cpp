#include "raster/background.h"

#include "platform/numbers.h"
#include "raster/blendtable.h"

#include <algorithm>
#include <vector>

namespace corvan {

const WeightTable& DefaultWeightTable() {
    static const WeightTable table = [] {
        WeightTable t{};
        for (int f = 0; f < 256; ++f) t[static_cast<std::size_t>(f)] = 128 - f * 128 / 255;
        return t;
    }();
    return table;
}

const WeightTable& NearestWeightTable() {
    static const WeightTable table = [] {
        WeightTable t = DefaultWeightTable();
        for (auto& w : t) w = w >= 64 ? 128 : 0;
        return t;
    }();
    return table;
}

WeightTable BlendWeightTable(float param) {
    std::array<std::int32_t, 256> built{};
    Build_Table(built, param);
    WeightTable table{};
    for (std::size_t f = 0; f < table.size(); ++f) table[f] = built[f] / 2;
    return table;
}

SourceCoord MapSourceCoord(std::int32_t offset, std::int32_t extent, std::int32_t maxIndex) {
    if (extent == 0) return {128, 0, 0};
    // The product is a 32-bit integer (and wraps like one); the scaling is
    // done in extended precision and kept as a float before rounding.
    const auto product = static_cast<std::int32_t>(
        static_cast<std::uint32_t>((static_cast<std::int64_t>(maxIndex) + 1) * offset));
    const auto scaled = static_cast<float>(static_cast<long double>(product) * 256.0L / extent);
    const std::int64_t v = RoundHalfEven(scaled) + 128;
    SourceCoord c;
    std::int64_t upper = v / 256;
    std::int64_t lower = upper - 1;
    c.fraction = static_cast<std::int32_t>(v % 256);
    lower = std::min<std::int64_t>(std::max<std::int64_t>(lower, 0), maxIndex);
    upper = std::max<std::int64_t>(std::min<std::int64_t>(upper, maxIndex), 0);
    c.lower = static_cast<std::int32_t>(lower);
    c.upper = static_cast<std::int32_t>(upper);
    return c;
}

namespace {

// Byte offsets of the two source pixels and the lower pixel's weight for
// one target column; computed once per call and used for every row.
struct ColumnTap {
    std::size_t lower = 0, upper = 0;
    int weight = 0;
};

// b - a with 32-bit wrap-around instead of undefined overflow for
// rectangles that span more than the int range.
std::int32_t OffsetFrom(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(b) - static_cast<std::uint32_t>(a));
}

int WeightAt(const WeightTable& table, std::int32_t fraction) {
    // A table from elsewhere must not push a channel out of its byte.
    return std::clamp(table[static_cast<std::size_t>(std::clamp(fraction, 0, 255))], 0, 128);
}

void BlendRow(const std::uint8_t* lo, const std::uint8_t* hi, int wy,
              const std::vector<ColumnTap>& taps, std::uint8_t* dst) {
    for (const ColumnTap& t : taps) {
        const int w = t.weight, iw = 128 - w;
        for (std::size_t ch = 0; ch < 3; ++ch) {
            const int a = (lo[t.lower + ch] * w + lo[t.upper + ch] * iw) >> 7;
            const int b = (hi[t.lower + ch] * w + hi[t.upper + ch] * iw) >> 7;
            dst[ch] = static_cast<std::uint8_t>((a * wy + b * (128 - wy)) >> 7);
        }
        dst += 3;
    }
}

// A row weight of 128 or 0 takes one source row whole: ((a * 128) >> 7) is
// a, so the second row need not be read (every row in nearest mode).
void BlendOneRow(const std::uint8_t* src, const std::vector<ColumnTap>& taps, std::uint8_t* dst) {
    for (const ColumnTap& t : taps) {
        const int w = t.weight, iw = 128 - w;
        for (std::size_t ch = 0; ch < 3; ++ch)
            dst[ch] =
                static_cast<std::uint8_t>((src[t.lower + ch] * w + src[t.upper + ch] * iw) >> 7);
        dst += 3;
    }
}

}  // namespace

void StretchBackground(const Bitmap24* source, Bitmap24* target, const IntRect& rect,
                       const WeightTable* table, bool smooth) {
    if (!source || !target) return;
    const int L = std::max(rect.left, 0), R = std::min(rect.right, target->Width() - 1);
    const int T = std::max(rect.top, 0), B = std::min(rect.bottom, target->Height() - 1);
    // An area one pixel wide or high is still drawn: a strip or window of
    // that size shows the same pixels as the whole picture there.
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;
    if (L > R || T > B || source->Width() < 2 || source->Height() < 2) return;
    const WeightTable& weights = table    ? *table
                                 : smooth ? DefaultWeightTable()
                                          : NearestWeightTable();
    const std::int32_t extentX = OffsetFrom(rect.left, rect.right);
    const std::int32_t extentY = OffsetFrom(rect.top, rect.bottom);
    std::vector<ColumnTap> taps(static_cast<std::size_t>(R - L + 1));
    for (int x = L; x <= R; ++x) {
        const SourceCoord c =
            MapSourceCoord(OffsetFrom(rect.left, x), extentX, source->Width() - 1);
        taps[static_cast<std::size_t>(x - L)] = {3 * static_cast<std::size_t>(c.lower),
                                                 3 * static_cast<std::size_t>(c.upper),
                                                 WeightAt(weights, c.fraction)};
    }
    for (int y = T; y <= B; ++y) {
        const SourceCoord c =
            MapSourceCoord(OffsetFrom(rect.top, y), extentY, source->Height() - 1);
        const int wy = WeightAt(weights, c.fraction);
        std::uint8_t* dst = target->Row(y) + 3 * static_cast<std::size_t>(L);
        if (wy == 128 || wy == 0 || c.lower == c.upper)
            BlendOneRow(source->Row(wy == 0 ? c.upper : c.lower), taps, dst);
        else
            BlendRow(source->Row(c.lower), source->Row(c.upper), wy, taps, dst);
    }
}

}  // namespace corvan
