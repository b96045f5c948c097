#include "platform/metafile/dib_blit.h"

#include "platform/dib.h"

#include <cstring>

namespace corvan::emf {
namespace {

std::int32_t Field(const EmfRecord& r, std::size_t offset) {
    std::int32_t v = 0;
    std::memcpy(&v, r.bytes.data() + offset, 4);
    return v;
}

constexpr std::size_t kFixedSize = 80;

// Ternary ROP on whole words: bit (p*4 + s*2 + d) of the code's index byte
// gives the result for that combination of pattern, source and destination.
std::uint32_t Rop3(std::uint8_t code, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
    std::uint32_t out = 0;
    for (int i = 0; i < 8; ++i) {
        if (!(code >> i & 1)) continue;
        out |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return out;
}

}  // namespace

std::optional<StretchDibFields> ReadStretchDibFields(const EmfRecord& r) {
    if (r.bytes.size() < kFixedSize) return std::nullopt;
    StretchDibFields f;
    f.destX = Field(r, 24);
    f.destY = Field(r, 28);
    f.srcX = Field(r, 32);
    f.srcY = Field(r, 36);
    f.srcWidth = Field(r, 40);
    f.srcHeight = Field(r, 44);
    f.usage = static_cast<std::uint32_t>(Field(r, 64));
    f.rop = static_cast<std::uint32_t>(Field(r, 68));
    f.destWidth = Field(r, 72);
    f.destHeight = Field(r, 76);
    return f;
}

std::unique_ptr<Bitmap24> DecodeStretchDibBitmap(const EmfRecord& r, std::string* error) {
    if (r.bytes.size() < kFixedSize) return nullptr;
    const auto offInfo = static_cast<std::uint32_t>(Field(r, 48));
    const auto cbInfo = static_cast<std::uint32_t>(Field(r, 52));
    const auto offBits = static_cast<std::uint32_t>(Field(r, 56));
    const auto cbBits = static_cast<std::uint32_t>(Field(r, 60));
    const std::uint64_t size = r.bytes.size();
    if (cbInfo == 0 || std::uint64_t(offInfo) + cbInfo > size || std::uint64_t(offBits) + cbBits > size) {
        if (error) *error = "bitmap outside its record";
        return nullptr;
    }
    DibDecodeOptions options;
    options.tolerateShortColourTable = true;
    if (static_cast<std::uint32_t>(Field(r, 64)) == 1) {
        options.colours = DibColours::PaletteIndices;
        // Without a realised palette, indices read as grey levels.
        options.paletteLookup = [](std::uint16_t i) {
            const unsigned v = i & 0xFF;
            return MakeColour(v, v, v);
        };
    }
    auto decoded = DecodeDib(r.bytes.subspan(offInfo, cbInfo), r.bytes.subspan(offBits, cbBits), options);
    if (!decoded) {
        if (error) *error = decoded.Error();
        return nullptr;
    }
    return std::move(decoded->pixels);
}

void BlitBlock(GdiDevice& dc, const Bitmap24& block, QPoint at, std::uint32_t rop) {
    QImage& image = dc.GetCanvas().Image();
    QRegion area(QRect(at, QSize(block.Width(), block.Height())).intersected(image.rect()));
    if (const auto clip = dc.EffectiveClip()) area &= *clip;
    const std::uint8_t code = static_cast<std::uint8_t>(rop >> 16);
    const Colour brush = dc.BrushColour();
    const std::uint32_t pattern = 0xFF000000u | (RedOf(brush) << 16) | (GreenOf(brush) << 8) | BlueOf(brush);
    for (const QRect& r : area) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            auto* dst = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
            const std::uint8_t* src = block.Row(y - at.y());
            for (int x = r.left(); x <= r.right(); ++x) {
                const std::uint8_t* s = src + 3 * (x - at.x());
                const std::uint32_t sv = 0xFF000000u | (std::uint32_t(s[2]) << 16) | (std::uint32_t(s[1]) << 8) | s[0];
                dst[x] = 0xFF000000u | (Rop3(code, pattern, sv, dst[x]) & 0xFFFFFF);
            }
        }
    }
}

}  // namespace corvan::emf
