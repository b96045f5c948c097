#include "imagelib/resample.h"

#include "platform/numbers.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace corvan {

FittedSize FitSize(int width, int height, int boxWidth, int boxHeight) {
    if (width <= boxWidth && height <= boxHeight) return {width, height, false};
    const float fy =
        height != 0 ? static_cast<float>(boxHeight) / static_cast<float>(height) : 1e30f;
    const float fx = width != 0 ? static_cast<float>(boxWidth) / static_cast<float>(width) : 1e30f;
    const float factor = std::min(fy, fx);
    return {RoundToInt(static_cast<long double>(width) * factor),
            RoundToInt(static_cast<long double>(height) * factor), true};
}

namespace {

// How one source index spreads over at most two target indices, in 256
// sub-units per target pixel.
struct Spread {
    int first = 0, second = 0;
    std::uint32_t w1 = 0, w2 = 0;
};

std::vector<Spread> SpreadTable(int source, int target) {
    std::vector<Spread> table(static_cast<std::size_t>(source));
    for (int i = 0; i < source; ++i) {
        const std::int64_t d = static_cast<std::int64_t>(target) * i * 256 / source;
        const std::int64_t e = static_cast<std::int64_t>(target) * (i + 1) * 256 / source;
        Spread s;
        s.first = static_cast<int>(d / 256);
        s.second = static_cast<int>(e / 256);
        if (s.first == s.second) {
            s.w1 = static_cast<std::uint32_t>(e - d);
        } else {
            s.w1 = static_cast<std::uint32_t>(256 - d % 256);
            s.w2 = static_cast<std::uint32_t>(e % 256);
        }
        // A spill past the last target carries no weight: fold it back.
        if (s.second >= target) {
            s.second = s.first;
            s.w2 = 0;
        }
        table[static_cast<std::size_t>(i)] = s;
    }
    return table;
}

// Blue, green, red and total weight of one target pixel. A target pixel
// gathers at most 256 x 256 weight units of byte values, so 32 bits hold it.
using Accumulator = std::array<std::uint32_t, 4>;

// Spreads one source row over the target columns.
void SpreadRow(const std::uint8_t* src, const std::vector<Spread>& cols,
               std::vector<Accumulator>& row) {
    std::fill(row.begin(), row.end(), Accumulator{});
    for (const Spread& c : cols) {
        Accumulator& a = row[static_cast<std::size_t>(c.first)];
        Accumulator& b = row[static_cast<std::size_t>(c.second)];
        for (std::size_t ch = 0; ch < 3; ++ch) {
            a[ch] += src[ch] * c.w1;
            b[ch] += src[ch] * c.w2;
        }
        a[3] += c.w1;
        b[3] += c.w2;
        src += 3;
    }
}

void AddRow(const std::vector<Accumulator>& row, std::uint32_t weight, Accumulator* target) {
    if (weight == 0) return;
    for (const Accumulator& a : row) {
        for (std::size_t ch = 0; ch < 4; ++ch) (*target)[ch] += a[ch] * weight;
        ++target;
    }
}

}  // namespace

// Separable form of the per-pixel sums: the row weight times the column-
// weighted row sum gives exactly the same integers as adding every product.
std::unique_ptr<Bitmap24> AreaResample(const Bitmap24* source, int width, int height) {
    if (!source || source->Width() == 0 || source->Height() == 0 || width <= 0 || height <= 0)
        return nullptr;
    auto out = Bitmap24::Create(width, height);
    if (!out) return nullptr;
    const int W = source->Width(), H = source->Height();
    const auto cols = SpreadTable(W, width);
    const auto rows = SpreadTable(H, height);
    // A white start of weight 1 avoids dividing by zero and weighs next to nothing.
    std::vector<Accumulator> acc(static_cast<std::size_t>(width) * height,
                                 Accumulator{255, 255, 255, 1});
    std::vector<Accumulator> rowSums(static_cast<std::size_t>(width));
    for (int y = 0; y < H; ++y) {
        const Spread& r = rows[static_cast<std::size_t>(y)];
        SpreadRow(source->Row(y), cols, rowSums);
        AddRow(rowSums, r.w1, &acc[static_cast<std::size_t>(r.first) * width]);
        AddRow(rowSums, r.w2, &acc[static_cast<std::size_t>(r.second) * width]);
    }
    for (int y = 0; y < height; ++y) {
        std::uint8_t* dst = out->Row(y);
        const Accumulator* a = &acc[static_cast<std::size_t>(y) * width];
        for (int x = 0; x < width; ++x, ++a, dst += 3)
            for (std::size_t ch = 0; ch < 3; ++ch)
                dst[ch] = static_cast<std::uint8_t>((*a)[ch] / (*a)[3]);
    }
    return out;
}

std::unique_ptr<Bitmap24> NearestResample(const Bitmap24* source, int width, int height) {
    if (!source || source->Width() == 0 || source->Height() == 0 || width <= 0 || height <= 0)
        return nullptr;
    auto out = Bitmap24::Create(width, height);
    if (!out) return nullptr;
    const std::int64_t W = source->Width(), H = source->Height();
    // A target of one pixel takes the first source pixel.
    std::vector<int> srcX(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
        srcX[static_cast<std::size_t>(x)] =
            width > 1 ? static_cast<int>((W - 1) * x / (width - 1)) : 0;
    for (int y = 0; y < height; ++y) {
        const int sy = height > 1 ? static_cast<int>((H - 1) * y / (height - 1)) : 0;
        const std::uint8_t* src = source->Row(sy);
        std::uint8_t* dst = out->Row(y);
        for (int x = 0; x < width; ++x)
            std::memcpy(dst + 3 * x, src + 3 * srcX[static_cast<std::size_t>(x)], 3);
    }
    return out;
}

std::unique_ptr<Bitmap24> ResampleBitmap(const Bitmap24* source, int width, int height) {
    if (!source) return nullptr;
    if (width < source->Width() && height < source->Height())
        return AreaResample(source, width, height);
    return NearestResample(source, width, height);
}

}  // namespace corvan
