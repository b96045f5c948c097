// Records that transfer bitmaps: the block transfers with a source device
// context (BITBLT and relatives) and the DIB records.
#include "platform/dib.h"
#include "platform/metafile/bitmap_cache.h"
#include "platform/metafile/gdi_bitmap.h"
#include "platform/metafile/record_handlers.h"

#include <optional>

namespace corvan::emf {
namespace {

constexpr std::uint32_t kDibPalColours = 1;

// Where a record keeps one bitmap: offsets and sizes of its info block and bits.
struct DibRef {
    std::uint32_t offInfo = 0, infoSize = 0, offBits = 0, bitsSize = 0, usage = 0;
};

DibRef ReadDibRef(ByteReader& r, bool usageFirst) {
    DibRef d;
    if (usageFirst) d.usage = r.U32();
    d.offInfo = r.U32();
    d.infoSize = r.U32();
    d.offBits = r.U32();
    d.bitsSize = r.U32();
    return d;
}

using Decoded = std::shared_ptr<const DecodedDib>;

std::optional<DecodedDib> DecodeNow(const PlayContext& c, const DibRef& ref, bool alpha,
                                    std::optional<std::int32_t> band) {
    const auto bytes = c.record.bytes;
    const auto info = bytes.subspan(ref.offInfo, ref.infoSize);
    auto header = ParseDibHeader(info);
    if (!header) return std::nullopt;
    DibDecodeOptions o;
    o.tolerateShortColourTable = true;
    o.wantAlpha = alpha;
    o.alphaInSpareByte = alpha;
    o.bandRows = band;
    if (ref.usage == kDibPalColours) {
        const LogPalette& pal = c.dc.State().palette;
        o.colours = DibColours::PaletteIndices;
        o.paletteLookup = [&pal](std::uint16_t i) { return ResolveColour(0x01000000u | i, pal); };
    }
    auto image = DecodeDib(info, bytes.subspan(ref.offBits, ref.bitsSize), o);
    if (!image || !image->pixels) return std::nullopt;
    return DecodedDib{std::move(*image), *header};
}

// The bitmap a record carries, or none when it has none or it cannot be
// used. Decoded once per metafile, unless its colours come from the palette
// selected at the time.
Decoded Decode(const PlayContext& c, const DibRef& ref, bool alpha,
               std::optional<std::int32_t> band = std::nullopt) {
    const auto bytes = c.record.bytes;
    if (ref.infoSize == 0 || !RangeInside(ref.offInfo, ref.infoSize, bytes.size()) ||
        !RangeInside(ref.offBits, ref.bitsSize, bytes.size()))
        return nullptr;
    const auto decode = [&] { return DecodeNow(c, ref, alpha, band); };
    if (ref.usage == kDibPalColours || !c.handles.bitmaps) {
        auto d = decode();
        return d ? std::make_shared<const DecodedDib>(std::move(*d)) : nullptr;
    }
    const BitmapKey key{bytes.data() + ref.offInfo, bytes.data() + ref.offBits, ref.bitsSize, alpha,
                        band.value_or(-1)};
    return c.handles.bitmaps->Get(key, decode);
}

BlitSource SourceOf(const Decoded& d) {
    BlitSource s;
    if (d) {
        s.pixels = d->image.pixels.get();
        s.alpha = d->image.alpha;
    }
    return s;
}

// The fields shared by BITBLT, STRETCHBLT, ALPHABLEND, TRANSPARENTBLT and MASKBLT.
struct BltFields {
    QRectF dest;
    std::uint32_t rop = 0;
    QPointF srcOrigin;
    QTransform srcXForm;
    DibRef dib;
};

BltFields ReadBlt(ByteReader& r) {
    BltFields f;
    r.Skip(16);  // bounds
    f.dest = QRectF(ReadPointL(r), QSizeF(0, 0));
    const double cx = r.I32();
    f.dest.setSize(QSizeF(cx, r.I32()));
    f.rop = r.U32();
    f.srcOrigin = ReadPointL(r);
    f.srcXForm = ReadXForm(r);
    r.U32();  // background colour of the source: only mono sources use it
    f.dib = ReadDibRef(r, true);
    return f;
}

QRectF SourceRect(const BltFields& f, QSizeF size) {
    return f.srcXForm.mapRect(QRectF(f.srcOrigin, size));
}

BlitMode RopMode(std::uint32_t rop) {
    BlitMode m;
    m.rop = m.backRop = static_cast<std::uint8_t>(rop >> 16);
    return m;
}

void BitBlt(PlayContext& c, ByteReader& r) {
    const BltFields f = ReadBlt(r);
    if (!r.Ok() || !BlitRectVisible(c.dc, f.dest)) return;
    const auto dib = Decode(c, f.dib, false);
    BlitRect(c.dc, SourceRect(f, f.dest.size()), f.dest, SourceOf(dib), RopMode(f.rop));
}

void StretchBlt(PlayContext& c, ByteReader& r) {
    const BltFields f = ReadBlt(r);
    const double cx = r.I32();
    const QSizeF srcSize(cx, r.I32());
    if (!r.Ok() || !BlitRectVisible(c.dc, f.dest)) return;
    BlitMode mode = RopMode(f.rop);
    if (c.record.type == kAlphaBlend) {
        mode.kind = BlitMode::kAlphaBlend;
        mode.constantAlpha = static_cast<std::uint8_t>(f.rop >> 16);
        mode.sourceAlpha = (f.rop >> 24) & 1;
    } else if (c.record.type == kTransparentBlt) {
        mode.kind = BlitMode::kTransparent;
        const Colour key = ResolveColour(f.rop, c.dc.State().palette);
        mode.transparent = qRgb(RedOf(key), GreenOf(key), BlueOf(key));
    }
    const auto dib = Decode(c, f.dib, mode.kind == BlitMode::kAlphaBlend);
    if (mode.kind != BlitMode::kRop && !dib) return;
    BlitSource source = SourceOf(dib);
    if (mode.sourceAlpha && source.alpha.empty()) mode.sourceAlpha = false;
    // Without a source only the pattern and destination count; the source
    // extent is then often left 0.
    const QRectF src = dib ? SourceRect(f, srcSize) : QRectF(QPointF(), f.dest.size());
    BlitRect(c.dc, src, f.dest, source, mode);
}

// The mask of MASKBLT and PLGBLT: a monochrome DIB at its own offsets.
struct MaskFields {
    QPointF origin;
    DibRef dib;
};

MaskFields ReadMask(ByteReader& r) {
    MaskFields m;
    m.origin = ReadPointL(r);
    m.dib = ReadDibRef(r, true);
    return m;
}

void MaskBlt(PlayContext& c, ByteReader& r) {
    const BltFields f = ReadBlt(r);
    const MaskFields mf = ReadMask(r);
    if (!r.Ok() || !BlitRectVisible(c.dc, f.dest)) return;
    const auto dib = Decode(c, f.dib, false);
    const auto mask = Decode(c, mf.dib, false);
    BlitSource source = SourceOf(dib);
    const QRectF src = SourceRect(f, f.dest.size());
    if (mask) {
        source.mask = mask->image.pixels.get();
        source.maskOrigin = mf.origin - src.topLeft();
    }
    BlitMode mode = RopMode(f.rop);
    mode.backRop = static_cast<std::uint8_t>(f.rop >> 24);
    BlitRect(c.dc, src, f.dest, source, mode);
}

void PlgBlt(PlayContext& c, ByteReader& r) {
    r.Skip(16);  // bounds
    const QPointF tl = ReadPointL(r), tr = ReadPointL(r), bl = ReadPointL(r);
    const QPointF origin = ReadPointL(r);
    const double cx = r.I32();
    const QSizeF size(cx, r.I32());
    const QTransform xform = ReadXForm(r);
    r.U32();  // background colour of the source
    const DibRef ref = ReadDibRef(r, true);
    const MaskFields mf = ReadMask(r);
    if (!r.Ok() || !BlitVisible(c.dc, tl, tr, bl)) return;
    const auto dib = Decode(c, ref, false);
    if (!dib) return;
    BlitSource source = SourceOf(dib);
    const QRectF src = xform.mapRect(QRectF(origin, size));
    const auto mask = Decode(c, mf.dib, false);
    if (mask) {
        source.mask = mask->image.pixels.get();
        source.maskOrigin = mf.origin - src.topLeft();
    }
    BlitMode mode;
    mode.backRop = 0xAA;  // where the mask is clear the destination stays
    Blit(c.dc, src, tl, tr, bl, source, mode);
}

// DIB rows count from the bottom for bottom-up bitmaps: a source rectangle's
// y is measured from the last row.
QRectF DibSourceRect(const DibHeader& h, int imageRows, QPointF origin, QSizeF size) {
    if (h.topDown) return QRectF(origin, size);
    return QRectF(origin.x(), imageRows - origin.y() - size.height(), size.width(), size.height());
}

void StretchDiBits(PlayContext& c, ByteReader& r) {
    r.Skip(16);  // bounds
    const QPointF dest = ReadPointL(r);
    const QPointF origin = ReadPointL(r);
    const double cx = r.I32();
    const QSizeF srcSize(cx, r.I32());
    DibRef ref = ReadDibRef(r, false);
    ref.usage = r.U32();
    const std::uint32_t rop = r.U32();
    const double dx = r.I32();
    const QSizeF destSize(dx, r.I32());
    const QRectF destRect(dest, destSize);
    if (!r.Ok() || !BlitRectVisible(c.dc, destRect)) return;
    const auto dib = Decode(c, ref, false);
    if (!dib) {
        // A pattern-only operation still paints (PATCOPY, BLACKNESS, ...).
        if (!Rop3UsesSource(static_cast<std::uint8_t>(rop >> 16)))
            BlitRect(c.dc, QRectF(QPointF(), destSize), destRect, {}, RopMode(rop));
        return;
    }
    const QRectF src = DibSourceRect(dib->header, dib->image.pixels->Height(), origin, srcSize);
    BlitRect(c.dc, src, destRect, SourceOf(dib), RopMode(rop));
}

void SetDiBitsToDevice(PlayContext& c, ByteReader& r) {
    r.Skip(16);  // bounds
    const QPointF dest = ReadPointL(r);
    const QPointF origin = ReadPointL(r);
    const double cx = r.I32();
    const QSizeF size(cx, r.I32());
    DibRef ref = ReadDibRef(r, false);
    ref.usage = r.U32();
    const std::uint32_t startScan = r.U32();
    const std::uint32_t scans = r.U32();
    if (!r.Ok() || scans == 0 || scans > 0x7FFFFFFF || startScan > 0x7FFFFFFF) return;
    if (!BlitRectVisible(c.dc, QRectF(dest, size))) return;
    const auto dib = Decode(c, ref, false, static_cast<std::int32_t>(scans));
    if (!dib) return;
    // The band holds rows startScan .. startScan + scans of the whole bitmap,
    // counted like the source rectangle.
    const int rows = dib->image.pixels->Height();
    QRectF src = DibSourceRect(dib->header, static_cast<int>(startScan) + rows, origin, size);
    if (dib->header.topDown) src.translate(0, -double(startScan));
    BlitRect(c.dc, src, QRectF(dest, size), SourceOf(dib),
             RopMode(std::uint32_t{kRop3SrcCopy} << 16));
}

// CREATEDIBPATTERNBRUSHPT and CREATEMONOBRUSH: the brush keeps the decoded picture.
void PatternBrush(PlayContext& c, ByteReader& r) {
    const std::uint32_t ih = r.U32();
    DibRef ref;
    ref.usage = r.U32();
    const DibRef at = ReadDibRef(r, false);
    ref.offInfo = at.offInfo, ref.infoSize = at.infoSize, ref.offBits = at.offBits;
    ref.bitsSize = at.bitsSize;
    if (!r.Ok() || ih == 0 || !c.handles.Valid(ih)) return;
    LogBrush brush;
    brush.style = c.record.type == kCreateMonoBrush ? kBsPattern : kBsDibPatternPt;
    // The brush shares the decoded picture.
    if (auto dib = Decode(c, ref, false)) brush.pattern = {dib, dib->image.pixels.get()};
    c.handles.slots[ih] = std::move(brush);
}

}  // namespace

void RegisterBitmapHandlers(HandlerTable& t) {
    t[kBitBlt] = &BitBlt;
    t[kStretchBlt] = t[kAlphaBlend] = t[kTransparentBlt] = &StretchBlt;
    t[kMaskBlt] = &MaskBlt;
    t[kPlgBlt] = &PlgBlt;
    t[kStretchDiBits] = &StretchDiBits;
    t[kSetDiBitsToDevice] = &SetDiBitsToDevice;
    t[kCreateMonoBrush] = t[kCreateDibPatternBrushPt] = &PatternBrush;
}

}  // namespace corvan::emf
