#include "raster/transforms.h"

#include "platform/numbers.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace corvan {

namespace {

bool IsEmpty(const Bitmap24* image) {
    return !image || image->Width() == 0 || image->Height() == 0;
}

// Result row y of an unturned transform: the source row copied forwards or
// reversed pixel by pixel.
void CopyRow(const std::uint8_t* src, std::uint8_t* dst, int width, bool reverse) {
    if (!reverse) {
        std::memcpy(dst, src, 3 * static_cast<std::size_t>(width));
        return;
    }
    const std::uint8_t* s = src + 3 * static_cast<std::size_t>(width - 1);
    for (int x = 0; x < width; ++x, s -= 3, dst += 3) {
        dst[0] = s[0];
        dst[1] = s[1];
        dst[2] = s[2];
    }
}

// A turned result reads source columns; walking it in small blocks keeps
// the few source cache lines each block needs in cache.
void TurnInBlocks(const Bitmap24& source, Bitmap24& out, bool mirrorX, bool mirrorY) {
    constexpr int kBlockRows = 16, kBlockCols = 64;
    const int W = source.Width(), H = source.Height();
    // Result column x reads source row (mirrorY ? H-1-x : x).
    std::vector<const std::uint8_t*> rowOf(static_cast<std::size_t>(H));
    for (int x = 0; x < H; ++x)
        rowOf[static_cast<std::size_t>(x)] = source.Row(mirrorY ? H - 1 - x : x);
    for (int y0 = 0; y0 < W; y0 += kBlockRows) {
        const int y1 = std::min(W, y0 + kBlockRows);
        for (int x0 = 0; x0 < H; x0 += kBlockCols) {
            const int x1 = std::min(H, x0 + kBlockCols);
            for (int y = y0; y < y1; ++y) {
                const std::size_t sx = 3 * static_cast<std::size_t>(mirrorX ? y : W - 1 - y);
                std::uint8_t* dst = out.Row(y) + 3 * static_cast<std::size_t>(x0);
                for (int x = x0; x < x1; ++x, dst += 3) {
                    const std::uint8_t* s = rowOf[static_cast<std::size_t>(x)] + sx;
                    dst[0] = s[0];
                    dst[1] = s[1];
                    dst[2] = s[2];
                }
            }
        }
    }
}

}  // namespace

std::unique_ptr<Bitmap24> TransformBitmap(const Bitmap24* source, bool rotate, bool mirrorX,
                                          bool mirrorY) {
    if (IsEmpty(source)) return nullptr;
    const int W = source->Width(), H = source->Height();
    auto out = rotate ? Bitmap24::Create(H, W) : Bitmap24::Create(W, H);
    if (!out) return nullptr;
    if (rotate) {
        TurnInBlocks(*source, *out, mirrorX, mirrorY);
    } else {
        for (int y = 0; y < H; ++y)
            CopyRow(source->Row(mirrorY ? H - 1 - y : y), out->Row(y), W, mirrorX);
    }
    return out;
}

std::unique_ptr<Bitmap24> HalveBitmap(const Bitmap24* source) {
    if (!source) return nullptr;
    const int w = source->Width() / 2, h = source->Height() / 2;
    if (w == 0 || h == 0) return nullptr;
    auto out = Bitmap24::Create(w, h);
    if (!out) return nullptr;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* a = source->Row(2 * y);
        const std::uint8_t* b = source->Row(2 * y + 1);
        std::uint8_t* dst = out->Row(y);
        for (int x = 0; x < w; ++x, a += 6, b += 6, dst += 3) {
            for (int ch = 0; ch < 3; ++ch)
                dst[ch] = static_cast<std::uint8_t>((a[ch] + a[ch + 3] + b[ch] + b[ch + 3]) >> 2);
        }
    }
    return out;
}

void FadeBitmap(Bitmap24* image, int percent) {
    if (!image) return;
    const int k = std::clamp(percent, 0, 100) * 128 / 100;
    std::array<std::uint8_t, 256> lut;
    for (int v = 0; v < 256; ++v)
        lut[static_cast<std::size_t>(v)] =
            static_cast<std::uint8_t>((v * k + (128 - k) * 255) / 128);
    const std::size_t rowBytes = 3 * static_cast<std::size_t>(image->Width());
    for (int y = 0; y < image->Height(); ++y) {
        std::uint8_t* p = image->Row(y);
        for (std::size_t i = 0; i < rowBytes; ++i) p[i] = lut[p[i]];
    }
}

void HatchBitmap(Bitmap24* image, Colour colour) {
    if (!image) return;
    const std::uint8_t mask[3] = {BlueOf(colour), GreenOf(colour), RedOf(colour)};
    for (int y = 0; y < image->Height(); ++y) {
        std::uint8_t* row = image->Row(y);
        for (int x = y & 1; x < image->Width(); x += 2) {
            std::uint8_t* p = row + 3 * static_cast<std::size_t>(x);
            p[0] &= mask[0];
            p[1] &= mask[1];
            p[2] &= mask[2];
        }
    }
}

std::array<Colour, 256> MakeRampPalette(bool red, bool green, bool blue) {
    std::array<Colour, 256> palette{};
    for (unsigned i = 0; i < 256; ++i)
        palette[i] = MakeColour(red ? i : 0, green ? i : 0, blue ? i : 0);
    return palette;
}

std::unique_ptr<Bitmap8> ToGray8(const Bitmap24* source) {
    if (!source) return nullptr;
    auto out = Bitmap8::Create(source->Width(), source->Height());
    if (!out) return nullptr;
    out->Palette() = MakeRampPalette(true, true, true);
    for (int y = 0; y < source->Height(); ++y) {
        const std::uint8_t* s = source->Row(y);
        std::uint8_t* d = out->Row(y);
        for (int x = 0; x < source->Width(); ++x, s += 3)
            d[x] = static_cast<std::uint8_t>((38 * s[2] + 76 * s[1] + 14 * s[0]) >> 7);
    }
    return out;
}

IntRect ScaleRect(float left, float top, float right, float bottom, float scale) {
    auto scaled = [scale](float v) {
        return RoundToInt(static_cast<long double>(v) * static_cast<long double>(scale));
    };
    return {scaled(left), scaled(top), scaled(right), scaled(bottom)};
}

IntRect OffsetRectBy(const IntRect& rect, int dx, int dy) {
    return {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}

}  // namespace corvan
