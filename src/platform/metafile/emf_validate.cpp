// The per-type checks that make a record safe to play: a fixed part that must
// be there, and for variable records the counts and offsets that must stay
// inside the record. Sizes follow the published record layouts.
#include "platform/metafile/byte_reader.h"
#include "platform/metafile/emf_reader.h"
#include "platform/metafile/emf_records.h"

#include <array>

namespace corvan::emf {
namespace {

using Check = std::string (*)(ByteReader& r, std::uint32_t handles);

struct Rule {
    std::uint32_t minSize = 8;
    Check check = nullptr;
};

std::string Field(std::size_t at, ByteReader& r, std::uint32_t& v) {
    r.Seek(at);
    v = r.U32();
    return r.Ok() ? std::string() : "field at " + std::to_string(at) + " missing";
}

// `count` items of `each` bytes starting at `at` must fit the record.
std::string Items(ByteReader& r, std::uint64_t at, std::uint64_t count, std::uint64_t each,
                  const char* what) {
    if (!RangeInside(at, count * each, r.Size()))
        return std::string(what) + " count " + std::to_string(count) + " overruns the record";
    return {};
}

// An (offset, size) pair naming a block inside the record; zero size means none.
std::string Block(ByteReader& r, std::size_t at, const char* what) {
    r.Seek(at);
    const std::uint32_t off = r.U32();
    const std::uint32_t size = r.U32();
    if (!r.Ok()) return std::string(what) + " fields missing";
    if (size != 0 && !RangeInside(off, size, r.Size()))
        return std::string(what) + " lies outside the record";
    return {};
}

std::string HandleAt(ByteReader& r, std::size_t at, std::uint32_t handles, bool stockAllowed) {
    std::uint32_t ih = 0;
    if (auto e = Field(at, r, ih); !e.empty()) return e;
    if (stockAllowed && (ih & kStockBit)) return {};
    if (ih >= handles || (!stockAllowed && ih == 0))
        return "object index " + std::to_string(ih) + " outside the handle table of " +
               std::to_string(handles);
    return {};
}

template <std::size_t kEach>
std::string Points(ByteReader& r, std::uint32_t) {
    std::uint32_t n = 0;
    if (auto e = Field(24, r, n); !e.empty()) return e;
    return Items(r, 28, n, kEach, "point");
}

template <std::size_t kEach>
std::string PolyPoly(ByteReader& r, std::uint32_t) {
    std::uint32_t polys = 0, total = 0;
    if (auto e = Field(24, r, polys); !e.empty()) return e;
    if (auto e = Field(28, r, total); !e.empty()) return e;
    if (auto e = Items(r, 32, polys, 4, "polygon"); !e.empty()) return e;
    std::uint64_t sum = 0;
    for (std::uint32_t i = 0; i < polys; ++i) sum += r.U32();
    if (sum > total) return "polygon point counts exceed the point total";
    return Items(r, 32 + std::uint64_t{polys} * 4, total, kEach, "point");
}

template <std::size_t kEach>
std::string PolyDraw(ByteReader& r, std::uint32_t) {
    std::uint32_t n = 0;
    if (auto e = Field(24, r, n); !e.empty()) return e;
    return Items(r, 28, n, kEach + 1, "point");
}

std::string EndOfFile(ByteReader& r, std::uint32_t) {
    std::uint32_t n = 0, off = 0;
    Field(8, r, n);
    Field(12, r, off);
    if (n != 0 && !RangeInside(off, std::uint64_t{n} * 4, r.Size()))
        return "palette lies outside the record";
    return {};
}

std::string CreateObject(ByteReader& r, std::uint32_t handles) {
    return HandleAt(r, 8, handles, false);
}
std::string UseObject(ByteReader& r, std::uint32_t handles) {
    return HandleAt(r, 8, handles, true);
}

std::string CreatePalette(ByteReader& r, std::uint32_t handles) {
    if (auto e = CreateObject(r, handles); !e.empty()) return e;
    r.Seek(14);
    return Items(r, 16, r.U16(), 4, "palette entry");
}

std::string SetPaletteEntries(ByteReader& r, std::uint32_t handles) {
    if (auto e = UseObject(r, handles); !e.empty()) return e;
    std::uint32_t n = 0;
    Field(16, r, n);
    return Items(r, 20, n, 4, "palette entry");
}

std::string Comment(ByteReader& r, std::uint32_t) {
    std::uint32_t n = 0;
    Field(8, r, n);
    return Items(r, 12, n, 1, "comment byte");
}

// Region data: a 32-byte header, then rectangles of 16 bytes.
std::string RegionAt(ByteReader& r, std::size_t sizeAt, std::size_t dataAt) {
    std::uint32_t cb = 0;
    if (auto e = Field(sizeAt, r, cb); !e.empty()) return e;
    if (auto e = Items(r, dataAt, cb, 1, "region byte"); !e.empty()) return e;
    if (cb == 0) return {};
    if (cb < 32) return "region data shorter than its header";
    std::uint32_t rects = 0;
    Field(dataAt + 8, r, rects);
    if (!RangeInside(32, std::uint64_t{rects} * 16, cb)) return "region rectangle count overruns";
    return {};
}

std::string FillRegion(ByteReader& r, std::uint32_t handles) {
    if (auto e = HandleAt(r, 28, handles, true); !e.empty()) return e;
    return RegionAt(r, 24, 32);
}
std::string FrameRegion(ByteReader& r, std::uint32_t handles) {
    if (auto e = HandleAt(r, 28, handles, true); !e.empty()) return e;
    return RegionAt(r, 24, 40);
}
std::string PaintRegion(ByteReader& r, std::uint32_t) {
    return RegionAt(r, 24, 28);
}
std::string SelectClipRegion(ByteReader& r, std::uint32_t) {
    return RegionAt(r, 8, 16);
}

template <std::size_t... kAt>
std::string Bitmaps(ByteReader& r, std::uint32_t) {
    std::string e;
    ((e.empty() ? (e = Block(r, kAt, "bitmap"), 0) : 0), ...);
    return e;
}

std::string PatternBrush(ByteReader& r, std::uint32_t handles) {
    if (auto e = CreateObject(r, handles); !e.empty()) return e;
    return Bitmaps<16, 24>(r, handles);
}

std::string ExtCreatePen(ByteReader& r, std::uint32_t handles) {
    if (auto e = CreateObject(r, handles); !e.empty()) return e;
    if (auto e = Bitmaps<12, 20>(r, handles); !e.empty()) return e;
    std::uint32_t n = 0;
    Field(48, r, n);
    return Items(r, 52, n, 4, "style entry");
}

// One text block of a text record at `at`: its string and spacing array.
std::string TextAt(ByteReader& r, std::size_t at, std::uint64_t charSize) {
    r.Seek(at + 8);
    const std::uint32_t chars = r.U32();
    const std::uint32_t offString = r.U32();
    const std::uint32_t options = r.U32();
    r.Skip(16);
    const std::uint32_t offDx = r.U32();
    if (!r.Ok()) return "text fields missing";
    if (chars == 0) return {};
    if (!RangeInside(offString, chars * charSize, r.Size())) return "text lies outside the record";
    const std::uint64_t dxEach = (options & 0x2000) ? 8 : 4;  // ETO_PDY: x and y advances
    if (offDx != 0 && !RangeInside(offDx, chars * dxEach, r.Size()))
        return "character spacing lies outside the record";
    return {};
}

std::string TextOutA(ByteReader& r, std::uint32_t) {
    return TextAt(r, 36, 1);
}
std::string TextOutW(ByteReader& r, std::uint32_t) {
    return TextAt(r, 36, 2);
}

template <std::uint64_t kCharSize>
std::string PolyText(ByteReader& r, std::uint32_t) {
    std::uint32_t n = 0;
    if (auto e = Field(36, r, n); !e.empty()) return e;
    if (auto e = Items(r, 40, n, 40, "text"); !e.empty()) return e;
    for (std::uint32_t i = 0; i < n; ++i)
        if (auto e = TextAt(r, 40 + std::size_t{i} * 40, kCharSize); !e.empty()) return e;
    return {};
}

std::string SmallText(ByteReader& r, std::uint32_t) {
    r.Seek(16);
    const std::uint32_t chars = r.U32();
    const std::uint32_t options = r.U32();
    const std::uint64_t at = (options & 0x100) ? 36 : 52;  // ETO_NO_RECT drops the bounds
    const std::uint64_t each = (options & 0x200) ? 1 : 2;  // ETO_SMALL_CHARS: 8-bit text
    return Items(r, at, chars, each, "character");
}

std::string Gradient(ByteReader& r, std::uint32_t) {
    r.Seek(24);
    const std::uint32_t vertices = r.U32();
    const std::uint32_t shapes = r.U32();
    const std::uint32_t mode = r.U32();
    const std::uint64_t each = mode == 2 ? 12 : 8;  // triangles or rectangles
    if (auto e = Items(r, 36, vertices, 16, "vertex"); !e.empty()) return e;
    return Items(r, 36 + std::uint64_t{vertices} * 16, shapes, each, "gradient shape");
}

// A profile's name and data sizes at `at`, the bytes right after them.
template <std::size_t kAt>
std::string IcmProfile(ByteReader& r, std::uint32_t) {
    r.Seek(kAt);
    const std::uint64_t name = r.U32();
    const std::uint64_t data = r.U32();
    return Items(r, kAt + 8, name + data, 1, "profile byte");
}

// A logical colour space (328 bytes, or 588 with its wide file name); the
// wide form may carry profile data after it.
std::string ColourSpaceW(ByteReader& r, std::uint32_t handles) {
    if (auto e = CreateObject(r, handles); !e.empty()) return e;
    std::uint32_t n = 0;
    if (auto e = Field(604, r, n); !e.empty()) return e;
    return Items(r, 608, n, 1, "profile byte");
}

std::array<Rule, kMaxRecordType + 1> BuildRules() {
    std::array<Rule, kMaxRecordType + 1> t{};
    for (auto type : {kPolyBezier, kPolygon, kPolyline, kPolyBezierTo, kPolylineTo})
        t[type] = {28, &Points<8>};
    for (auto type : {kPolyBezier16, kPolygon16, kPolyline16, kPolyBezierTo16, kPolylineTo16})
        t[type] = {28, &Points<4>};
    t[kPolyPolyline] = t[kPolyPolygon] = {32, &PolyPoly<8>};
    t[kPolyPolyline16] = t[kPolyPolygon16] = {32, &PolyPoly<4>};
    t[kPolyDraw] = {28, &PolyDraw<8>};
    t[kPolyDraw16] = {28, &PolyDraw<4>};
    for (auto type : {kSetWindowExtEx, kSetWindowOrgEx, kSetViewportExtEx, kSetViewportOrgEx,
                      kSetBrushOrgEx, kOffsetClipRgn, kMoveToEx, kLineTo, kResizePalette,
                      kSetTextJustification, kForceUfiMapping})
        t[type] = {16, nullptr};
    t[kResizePalette].check = &UseObject;
    t[kEof] = {20, &EndOfFile};
    t[kSetPixelV] = {20, nullptr};
    for (auto type : {kSetMapperFlags, kSetMapMode, kSetBkMode, kSetPolyFillMode, kSetRop2,
                      kSetStretchBltMode, kSetTextAlign, kSetTextColor, kSetBkColor, kRestoreDc,
                      kSetArcDirection, kSetMiterLimit, kSetIcmMode, kSetLayout, kSelectClipPath})
        t[type] = {12, nullptr};
    t[kSelectObject] = t[kDeleteObject] = t[kSelectPalette] = {12, &UseObject};
    t[kSetColorAdjustment] = {32, nullptr};
    t[kExcludeClipRect] = t[kIntersectClipRect] = {24, nullptr};
    t[kScaleViewportExtEx] = t[kScaleWindowExtEx] = {24, nullptr};
    t[kSetWorldTransform] = {32, nullptr};
    t[kModifyWorldTransform] = {36, nullptr};
    t[kCreatePen] = {28, &CreateObject};
    t[kCreateBrushIndirect] = {24, &CreateObject};
    t[kAngleArc] = {28, nullptr};
    t[kEllipse] = t[kRectangle] = {24, nullptr};
    t[kRoundRect] = {32, nullptr};
    t[kArc] = t[kChord] = t[kPie] = t[kArcTo] = {40, nullptr};
    t[kCreatePalette] = {16, &CreatePalette};
    t[kSetPaletteEntries] = {20, &SetPaletteEntries};
    t[kExtFloodFill] = {24, nullptr};
    t[kFillPath] = t[kStrokeAndFillPath] = t[kStrokePath] = {24, nullptr};
    t[kGdiComment] = {12, &Comment};
    t[kFillRgn] = {32, &FillRegion};
    t[kFrameRgn] = {40, &FrameRegion};
    t[kInvertRgn] = t[kPaintRgn] = {28, &PaintRegion};
    t[kExtSelectClipRgn] = {16, &SelectClipRegion};
    t[kBitBlt] = {100, &Bitmaps<84, 92>};
    t[kStretchBlt] = t[kAlphaBlend] = t[kTransparentBlt] = {108, &Bitmaps<84, 92>};
    t[kMaskBlt] = {128, &Bitmaps<84, 92, 112, 120>};
    t[kPlgBlt] = {140, &Bitmaps<96, 104, 124, 132>};
    t[kSetDiBitsToDevice] = {76, &Bitmaps<48, 56>};
    t[kStretchDiBits] = {80, &Bitmaps<48, 56>};
    t[kExtCreateFontIndirectW] = {104, &CreateObject};
    t[kExtTextOutA] = {76, &TextOutA};
    t[kExtTextOutW] = {76, &TextOutW};
    t[kPolyTextOutA] = {40, &PolyText<1>};
    t[kPolyTextOutW] = {40, &PolyText<2>};
    t[kSmallTextOut] = {36, &SmallText};
    t[kCreateMonoBrush] = t[kCreateDibPatternBrushPt] = {32, &PatternBrush};
    t[kExtCreatePen] = {52, &ExtCreatePen};
    t[kGradientFill] = {36, &Gradient};
    t[kSetIcmProfileA] = t[kSetIcmProfileW] = {20, &IcmProfile<12>};
    t[kColorMatchToTargetW] = {24, &IcmProfile<16>};
    t[kCreateColorSpace] = {340, &CreateObject};
    t[kCreateColorSpaceW] = {608, &ColourSpaceW};
    t[kSetColorSpace] = t[kDeleteColorSpace] = {12, nullptr};
    t[kColorCorrectPalette] = {24, nullptr};
    t[kPixelFormat] = {48, nullptr};
    return t;
}

}  // namespace

std::string ValidateRecord(const EmfRecord& record, std::uint32_t handles) {
    static const auto rules = BuildRules();
    if (record.type == kHeader || record.type > kMaxRecordType) return {};
    const Rule& rule = rules[record.type];
    if (record.Size() < rule.minSize)
        return "record of " + std::to_string(record.Size()) + " bytes is shorter than " +
               std::to_string(rule.minSize);
    if (!rule.check) return {};
    ByteReader r(record.bytes);
    return rule.check(r, handles);
}

}  // namespace corvan::emf
