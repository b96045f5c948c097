#include "platform/metafile/emf_writer_records.h"

namespace corvan::emf {
namespace {

class Body {
public:
    void I32(std::int32_t v) { Bytes(&v, 4); }
    void U32(std::uint32_t v) { Bytes(&v, 4); }
    void Box(const QRect& r) { I32(r.left()), I32(r.top()), I32(r.right()), I32(r.bottom()); }
    void Bytes(const void* p, std::size_t n) {
        const auto* b = static_cast<const std::uint8_t*>(p);
        data.insert(data.end(), b, b + n);
    }
    void Align() { data.resize((data.size() + 3) & ~std::size_t{3}, 0); }
    // Record offsets count from the record start, 8 bytes before the body.
    std::uint32_t Offset() const { return static_cast<std::uint32_t>(data.size() + 8); }
    std::vector<std::uint8_t> data;
};

void IdentityXForm(Body& b) {
    const float m[6] = {1, 0, 0, 1, 0, 0};
    b.Bytes(m, sizeof m);
}

// The usage, offset and size fields of a DIB stored at `offInfo`, bits after it.
void DibFields(Body& b, const DibParts& dib, std::uint32_t offInfo, bool usage) {
    if (usage) b.U32(0);
    const bool has = !dib.info.empty();
    const std::uint32_t offBits = offInfo + static_cast<std::uint32_t>((dib.info.size() + 3) & ~3u);
    b.U32(has ? offInfo : 0), b.U32(std::uint32_t(dib.info.size()));
    b.U32(has ? offBits : 0), b.U32(std::uint32_t(dib.bits.size()));
}

std::uint32_t DibBytes(const DibParts& dib) {
    return static_cast<std::uint32_t>(((dib.info.size() + 3) & ~std::size_t{3}) +
                                      ((dib.bits.size() + 3) & ~std::size_t{3}));
}

void DibData(Body& b, const DibParts& dib) {
    b.Bytes(dib.info.data(), dib.info.size());
    b.Align();
    b.Bytes(dib.bits.data(), dib.bits.size());
    b.Align();
}

// Characters as stored: UTF-16 units or Latin-1 bytes.
void Chars(Body& b, const QString& text, bool wide) {
    if (wide) {
        b.Bytes(text.utf16(), std::size_t(text.size()) * 2);
    } else {
        const QByteArray latin = text.toLatin1();
        b.Bytes(latin.constData(), std::size_t(latin.size()));
    }
    b.Align();
}

}  // namespace

void WriteStretchDiBits(EmfWriter& w, const QRect& dest, const QRect& src, const DibParts& dib,
                        std::uint32_t rop, std::uint32_t usage) {
    Body b;
    b.Box(dest);
    b.I32(dest.x()), b.I32(dest.y()), b.I32(src.x()), b.I32(src.y());
    b.I32(src.width()), b.I32(src.height());
    const std::uint32_t offInfo = 72 + 8;
    const std::uint32_t offBits = offInfo + static_cast<std::uint32_t>((dib.info.size() + 3) & ~3u);
    b.U32(offInfo), b.U32(std::uint32_t(dib.info.size()));
    b.U32(offBits), b.U32(std::uint32_t(dib.bits.size()));
    b.U32(usage), b.U32(rop), b.I32(dest.width()), b.I32(dest.height());
    b.Bytes(dib.info.data(), dib.info.size());
    b.Align();
    b.Bytes(dib.bits.data(), dib.bits.size());
    w.RawRecord(kStretchDiBits, b.data);
}

void WriteStretchBlt(EmfWriter& w, std::uint32_t type, const QRect& dest, const QRect& src,
                     const DibParts& dib, std::uint32_t rop) {
    Body b;
    b.Box(dest);
    b.I32(dest.x()), b.I32(dest.y()), b.I32(dest.width()), b.I32(dest.height());
    b.U32(rop), b.I32(src.x()), b.I32(src.y());
    IdentityXForm(b);
    b.U32(0xFFFFFF), b.U32(0);
    const bool has = !dib.info.empty();
    const std::uint32_t offInfo = 100 + 8;
    const std::uint32_t offBits = offInfo + static_cast<std::uint32_t>((dib.info.size() + 3) & ~3u);
    b.U32(has ? offInfo : 0), b.U32(std::uint32_t(dib.info.size()));
    b.U32(has ? offBits : 0), b.U32(std::uint32_t(dib.bits.size()));
    b.I32(src.width()), b.I32(src.height());
    b.Bytes(dib.info.data(), dib.info.size());
    b.Align();
    b.Bytes(dib.bits.data(), dib.bits.size());
    w.RawRecord(type, b.data);
}

void WriteExtTextOutW(EmfWriter& w, QPoint ref, const QString& text, std::uint32_t options,
                      const QRect& rect, std::span<const std::int32_t> dx,
                      std::uint32_t graphicsMode) {
    Body b;
    b.Box(QRect(ref, QSize(1, 1)));
    b.U32(graphicsMode), b.U32(0), b.U32(0);
    b.I32(ref.x()), b.I32(ref.y());
    b.U32(std::uint32_t(text.size()));
    const std::uint32_t offString = 76;
    const std::uint32_t strBytes = (std::uint32_t(text.size()) * 2 + 3) & ~3u;
    b.U32(offString), b.U32(options);
    b.Box(rect);
    b.U32(dx.empty() ? 0 : offString + strBytes);
    b.Bytes(text.utf16(), std::size_t(text.size()) * 2);
    b.Align();
    b.Bytes(dx.data(), dx.size_bytes());
    w.RawRecord(kExtTextOutW, b.data);
}

void WritePolyTextOut(EmfWriter& w, bool wide, std::span<const TextItem> items) {
    Body b;
    b.Box(QRect(0, 0, 1, 1));
    b.U32(kAdvanced), b.U32(0), b.U32(0);
    b.U32(std::uint32_t(items.size()));
    // The strings follow the fixed items, each padded to 4 bytes.
    std::uint32_t offString = 40 + 40 * std::uint32_t(items.size());
    for (const TextItem& t : items) {
        b.I32(t.ref.x()), b.I32(t.ref.y());
        b.U32(std::uint32_t(t.text.size())), b.U32(offString), b.U32(t.options);
        b.Box(t.rect);
        b.U32(0);
        offString += (std::uint32_t(t.text.size()) * (wide ? 2 : 1) + 3) & ~3u;
    }
    for (const TextItem& t : items) Chars(b, t.text, wide);
    w.RawRecord(wide ? kPolyTextOutW : kPolyTextOutA, b.data);
}

void WriteSmallTextOut(EmfWriter& w, const TextItem& t) {
    Body b;
    b.I32(t.ref.x()), b.I32(t.ref.y());
    b.U32(std::uint32_t(t.text.size())), b.U32(t.options);
    b.U32(kAdvanced), b.U32(0), b.U32(0);
    if (!(t.options & 0x100)) b.Box(t.rect);
    Chars(b, t.text, !(t.options & 0x200));
    w.RawRecord(kSmallTextOut, b.data);
}

namespace {

// The tail MASKBLT and PLGBLT share: source transform and background, the
// source bitmap's fields, the mask's origin and fields, then both bitmaps.
// `offInfo` is where the source's info block starts in the record.
void MaskedSource(Body& b, const QRect& src, const DibParts& dib, const DibParts& mask,
                  std::uint32_t offInfo) {
    IdentityXForm(b);
    b.U32(0xFFFFFF);
    DibFields(b, dib, offInfo, true);
    b.I32(src.x()), b.I32(src.y());
    DibFields(b, mask, offInfo + DibBytes(dib), true);
    DibData(b, dib);
    DibData(b, mask);
}

}  // namespace

void WriteMaskBlt(EmfWriter& w, const QRect& dest, const QRect& src, const DibParts& dib,
                  const DibParts& mask, std::uint32_t rop4) {
    Body b;
    b.Box(dest);
    b.I32(dest.x()), b.I32(dest.y()), b.I32(dest.width()), b.I32(dest.height());
    b.U32(rop4), b.I32(src.x()), b.I32(src.y());
    MaskedSource(b, src, dib, mask, 120 + 8);
    w.RawRecord(kMaskBlt, b.data);
}

void WritePlgBlt(EmfWriter& w, const QPoint (&corners)[3], const QRect& src, const DibParts& dib,
                 const DibParts& mask) {
    Body b;
    b.Box(QRect(corners[0], corners[1]).normalized());
    for (const QPoint& p : corners) b.I32(p.x()), b.I32(p.y());
    b.I32(src.x()), b.I32(src.y()), b.I32(src.width()), b.I32(src.height());
    MaskedSource(b, src, dib, mask, 132 + 8);
    w.RawRecord(kPlgBlt, b.data);
}

std::uint32_t WritePatternBrush(EmfWriter& w, std::uint32_t type, const DibParts& dib) {
    // A brush object slot from the writer, then the record that fills it.
    const std::uint32_t h = w.CreateBrush(kBsNull, 0);
    Body b;
    b.U32(h), b.U32(0);
    const std::uint32_t offInfo = 24 + 8;
    const std::uint32_t offBits = offInfo + static_cast<std::uint32_t>((dib.info.size() + 3) & ~3u);
    b.U32(offInfo), b.U32(std::uint32_t(dib.info.size()));
    b.U32(offBits), b.U32(std::uint32_t(dib.bits.size()));
    b.Bytes(dib.info.data(), dib.info.size());
    b.Align();
    b.Bytes(dib.bits.data(), dib.bits.size());
    w.RawRecord(type, b.data);
    return h;
}

void WriteRegionRecord(EmfWriter& w, std::uint32_t type, const std::vector<QRect>& rects,
                       std::uint32_t brush, QSize frame) {
    QRect bounds;
    for (const QRect& r : rects) bounds |= r;
    Body b;
    b.Box(bounds);
    b.U32(32 + 16 * std::uint32_t(rects.size()));
    if (type == kFillRgn || type == kFrameRgn) b.U32(brush);
    if (type == kFrameRgn) b.I32(frame.width()), b.I32(frame.height());
    b.U32(32), b.U32(1), b.U32(std::uint32_t(rects.size())),
        b.U32(16 * std::uint32_t(rects.size()));
    b.Box(bounds);
    for (const QRect& r : rects)
        b.I32(r.left()), b.I32(r.top()), b.I32(r.right() + 1), b.I32(r.bottom() + 1);
    w.RawRecord(type, b.data);
}

void WriteGradientFill(EmfWriter& w, std::uint32_t mode, std::span<const GradientVertex> vertices,
                       std::span<const std::uint32_t> indices) {
    QRect bounds;
    for (const GradientVertex& v : vertices) bounds |= QRect(v.p, QSize(1, 1));
    Body b;
    b.Box(bounds);
    b.U32(std::uint32_t(vertices.size()));
    b.U32(std::uint32_t(indices.size() / (mode == 2 ? 3 : 2)));
    b.U32(mode);
    for (const GradientVertex& v : vertices) {
        b.I32(v.p.x()), b.I32(v.p.y());
        const std::uint16_t ch[4] = {std::uint16_t((v.colour & 0xFF) << 8),
                                     std::uint16_t(v.colour & 0xFF00),
                                     std::uint16_t((v.colour >> 8) & 0xFF00), 0};
        b.Bytes(ch, sizeof ch);
    }
    for (std::uint32_t i : indices) b.U32(i);
    w.RawRecord(kGradientFill, b.data);
}

std::uint32_t WriteFont(EmfWriter& w, const LogFont& f) {
    const std::uint32_t h = w.CreateFont(f.faceName, f.height, f.weight);
    Body b;
    b.U32(h);
    b.I32(f.height), b.I32(f.width), b.I32(f.escapement), b.I32(f.orientation), b.I32(f.weight);
    const std::uint8_t bytes[8] = {f.italic,       f.underline,     f.strikeOut, f.charSet,
                                   f.outPrecision, f.clipPrecision, f.quality,   f.pitchAndFamily};
    b.Bytes(bytes, 8);
    char16_t face[32] = {};
    for (std::size_t i = 0; i < f.faceName.size() && i < 31; ++i) face[i] = f.faceName[i];
    b.Bytes(face, sizeof face);
    w.RawRecord(kExtCreateFontIndirectW, b.data);
    return h;
}

}  // namespace corvan::emf
