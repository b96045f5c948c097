#include "raster/background.h"
#include "raster/layerplay.h"

#include "platform/dib.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace corvan {

using namespace emf;

namespace {

// Told apart from the player's own decoding of the same bits.
constexpr int kStretchDibRules = 1;

QPoint Round(QPointF p) {
    return {static_cast<int>(std::lround(p.x())), static_cast<int>(std::lround(p.y()))};
}

struct Tap {
    int lower = 0, upper = 0, weight = 128;
};

Tap MakeTap(std::int32_t offset, std::int32_t extent, std::int32_t maxIndex,
            const WeightTable& table) {
    const SourceCoord m = MapSourceCoord(offset, extent, maxIndex);
    return {m.lower, m.upper, table[static_cast<std::size_t>(std::clamp(m.fraction, 0, 255))]};
}

// The first stored row of the source rectangle, counted from the top of the
// decoded (top-down) image: bottom-up bitmaps count their source y upwards.
int SourceTopRow(const EmfRecord& record, const StretchDibFields& f, int imageHeight) {
    std::uint32_t offInfo = 0;
    std::memcpy(&offInfo, record.bytes.data() + 48, 4);
    const auto header = ParseDibHeader(record.bytes.subspan(offInfo));
    const bool bottomUp = header && !header->topDown;
    return bottomUp ? imageHeight - f.srcY - f.srcHeight : f.srcY;
}

// The record's picture, from the cache when there is one.
std::shared_ptr<const Bitmap24> Picture(const EmfRecord& record, BitmapCache* cache) {
    if (!cache) return DecodeStretchDibBitmap(record);
    std::uint32_t at[4] = {};  // offBmi, cbBmi, offBits, cbBits
    std::memcpy(at, record.bytes.data() + 48, sizeof at);
    if (std::uint64_t(at[2]) + at[3] > record.bytes.size() || at[0] > record.bytes.size())
        return nullptr;
    const BitmapKey key{record.bytes.data() + at[0],
                        record.bytes.data() + at[2],
                        at[3],
                        false,
                        -1,
                        kStretchDibRules};
    auto entry = cache->Get(key, [&]() -> std::optional<DecodedDib> {
        auto pixels = DecodeStretchDibBitmap(record);
        if (!pixels) return std::nullopt;
        DecodedDib d;
        d.image.pixels = std::move(pixels);
        return d;
    });
    return entry ? std::shared_ptr<const Bitmap24>(entry, entry->image.pixels.get()) : nullptr;
}

}  // namespace

void PlaySmoothBitmap(GdiDevice& dc, const EmfRecord& record, const Bitmap24& target, bool nearest,
                      BitmapCache* cache) {
    const WeightTable& table = nearest ? NearestWeightTable() : DefaultWeightTable();
    const auto f = ReadStretchDibFields(record);
    if (!f || f->destWidth == 0 || f->destHeight == 0) return;
    const int W = target.Width(), H = target.Height();
    const QPoint tl(f->destX, f->destY);
    const QPoint br(f->destX + f->destWidth - 1, f->destY + f->destHeight - 1);
    // The destination in pixels, cut to the image; nothing when it misses.
    const QPoint d0 = Round(dc.LPtoDP(QPointF(tl))), d1 = Round(dc.LPtoDP(QPointF(br)));
    const int left = std::max(0, std::min(d0.x(), d1.x())),
              right = std::min(W - 1, std::max(d0.x(), d1.x()));
    const int top = std::max(0, std::min(d0.y(), d1.y())),
              bottom = std::min(H - 1, std::max(d0.y(), d1.y()));
    if (left > right || top > bottom) return;
    const auto source = Picture(record, cache);
    if (!source) return;
    const int ex = br.x() - tl.x(), ey = br.y() - tl.y();
    const int topRow = SourceTopRow(record, *f, source->Height());
    std::vector<Tap> columns;
    for (int X = left; X <= right; ++X)
        columns.push_back(
            MakeTap(Round(dc.DPtoLP(QPointF(X, 0))).x() - tl.x(), ex, f->srcWidth - 1, table));
    auto block = Bitmap24::Create(right - left + 1, bottom - top + 1);
    if (!block) return;
    const auto pixel = [&](int row, int col) {
        const int y = std::clamp(topRow + row, 0, source->Height() - 1);
        const int x = std::clamp(f->srcX + col, 0, source->Width() - 1);
        return source->Row(y) + 3 * x;
    };
    for (int Y = top; Y <= bottom; ++Y) {
        const Tap r =
            MakeTap(Round(dc.DPtoLP(QPointF(0, Y))).y() - tl.y(), ey, f->srcHeight - 1, table);
        std::uint8_t* out = block->Row(Y - top);
        for (std::size_t i = 0; i < columns.size(); ++i, out += 3) {
            const Tap& c = columns[i];
            const std::uint8_t *a0 = pixel(r.lower, c.lower), *a1 = pixel(r.lower, c.upper);
            const std::uint8_t *b0 = pixel(r.upper, c.lower), *b1 = pixel(r.upper, c.upper);
            for (int k = 0; k < 3; ++k) {
                const int a = (a0[k] * c.weight + a1[k] * (128 - c.weight)) >> 7;
                const int b = (b0[k] * c.weight + b1[k] * (128 - c.weight)) >> 7;
                out[k] = static_cast<std::uint8_t>((a * r.weight + b * (128 - r.weight)) >> 7);
            }
        }
    }
    BlitBlock(dc, *block, QPoint(left, top), f->rop);
}

}  // namespace corvan
