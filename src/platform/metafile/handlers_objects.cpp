// Records that create, select and delete drawing objects.
#include "platform/metafile/record_handlers.h"

namespace corvan::emf {
namespace {

void Store(PlayContext& c, std::uint32_t index, GdiObject object) {
    if (index > 0 && c.handles.Valid(index)) c.handles.slots[index] = std::move(object);
}

void CreatePen(PlayContext& c, ByteReader& r) {
    const std::uint32_t ih = r.U32();
    LogPen pen;
    pen.style = r.U32();
    pen.width = r.I32();
    r.I32();               // the y part of the width is unused
    pen.colour = r.U32();  // resolved when drawn: it may name a palette entry
    // Old-style pens know only the basic styles; anything else draws solid.
    if (pen.Style() > kPsInsideFrame) pen.style = kPsSolid;
    if (r.Ok()) Store(c, ih, std::move(pen));
}

void ExtCreatePen(PlayContext& c, ByteReader& r) {
    const std::uint32_t ih = r.U32();
    r.Skip(16);  // the pattern bitmap of pattern pens: drawn with its brush colour for now
    LogPen pen;
    pen.extended = true;
    pen.style = r.U32();
    pen.width = static_cast<std::int32_t>(std::min<std::uint32_t>(r.U32(), 0x7FFFFFFF));
    pen.brushStyle = r.U32();
    pen.colour = r.U32();  // resolved when drawn: it may name a palette entry
    pen.hatch = r.U32();
    const std::uint32_t entries = r.U32();
    if (!r.Ok()) return;
    if (pen.Style() == kPsUserStyle)
        for (std::uint32_t i = 0; i < entries && i < 16; ++i) pen.userStyle.push_back(r.U32());
    if (pen.brushStyle == kBsNull) pen.style = (pen.style & ~kPsStyleMask) | kPsNull;
    if (r.Ok()) Store(c, ih, std::move(pen));
}

void CreateBrush(PlayContext& c, ByteReader& r) {
    const std::uint32_t ih = r.U32();
    LogBrush brush;
    brush.style = r.U32();
    brush.colour = r.U32();
    brush.hatch = r.U32();
    if (brush.style == kBsHatched && brush.hatch > kHsDiagCross) brush.style = kBsSolid;
    if (r.Ok()) Store(c, ih, std::move(brush));
}

void CreateFont(PlayContext& c, ByteReader& r) {
    const std::uint32_t ih = r.U32();
    LogFont f;
    f.height = r.I32();
    f.width = r.I32();
    f.escapement = r.I32();
    f.orientation = r.I32();
    f.weight = r.I32();
    f.italic = r.U8();
    f.underline = r.U8();
    f.strikeOut = r.U8();
    f.charSet = r.U8();
    f.outPrecision = r.U8();
    f.clipPrecision = r.U8();
    f.quality = r.U8();
    f.pitchAndFamily = r.U8();
    for (int i = 0; i < 32; ++i) {
        const char16_t ch = r.U16();
        if (ch == 0) break;
        f.faceName.push_back(ch);
    }
    if (r.Ok()) Store(c, ih, std::move(f));
}

void CreatePalette(PlayContext& c, ByteReader& r) {
    const std::uint32_t ih = r.U32();
    r.U16();  // version
    const std::uint16_t n = r.U16();
    LogPalette pal;
    for (std::uint16_t i = 0; i < n && r.Ok(); ++i) pal.entries.push_back(r.U32() & 0xFFFFFF);
    if (r.Ok()) Store(c, ih, std::move(pal));
}

// Colour spaces only take their slot: colours are drawn as recorded.
void CreateColourSpace(PlayContext& c, ByteReader& r) {
    const std::uint32_t ih = r.U32();
    if (r.Ok()) Store(c, ih, ColourSpace{});
}

void SelectStock(GdiDevice& dc, std::uint32_t index) {
    if (IsStockPen(index)) {
        dc.SelectPen(StockPen(index));
    } else if (IsStockBrush(index)) {
        dc.SelectBrush(StockBrush(index));
    } else if (IsStockFont(index)) {
        dc.SelectFont(LogFont{});
    }
}

void SelectObject(PlayContext& c, ByteReader& r) {
    const std::uint32_t ih = r.U32();
    if (!r.Ok()) return;
    if (ih & kStockBit) {
        SelectStock(c.dc, ih & ~kStockBit);
        return;
    }
    if (!c.handles.Valid(ih)) return;
    const GdiObject& o = c.handles.slots[ih];
    if (auto* pen = std::get_if<LogPen>(&o)) c.dc.SelectPen(*pen);
    if (auto* brush = std::get_if<LogBrush>(&o)) c.dc.SelectBrush(*brush);
    if (auto* font = std::get_if<LogFont>(&o)) c.dc.SelectFont(*font);
}

void DeleteObject(PlayContext& c, ByteReader& r) {
    const std::uint32_t ih = r.U32();
    if (r.Ok() && !(ih & kStockBit) && ih > 0 && c.handles.Valid(ih))
        c.handles.slots[ih] = std::monostate{};
}

// Frees the slot only when it holds a colour space: the index may name
// another object when a writer reused it by mistake.
void DeleteColourSpace(PlayContext& c, ByteReader& r) {
    const std::uint32_t ih = r.U32();
    if (r.Ok() && !(ih & kStockBit) && c.handles.Valid(ih) &&
        std::holds_alternative<ColourSpace>(c.handles.slots[ih]))
        c.handles.slots[ih] = std::monostate{};
}

void SelectPalette(PlayContext& c, ByteReader& r) {
    const std::uint32_t ih = r.U32();
    if (!r.Ok()) return;
    if (ih & kStockBit) {
        c.dc.State().palette = {};
    } else if (c.handles.Valid(ih)) {
        if (auto* pal = std::get_if<LogPalette>(&c.handles.slots[ih])) c.dc.State().palette = *pal;
    }
}

void SetPaletteEntries(PlayContext& c, ByteReader& r) {
    const std::uint32_t ih = r.U32();
    const std::uint32_t start = r.U32();
    const std::uint32_t n = r.U32();
    if (!r.Ok() || !c.handles.Valid(ih)) return;
    auto* pal = std::get_if<LogPalette>(&c.handles.slots[ih]);
    if (!pal) return;
    for (std::uint32_t i = 0; i < n && r.Ok(); ++i) {
        const std::uint32_t v = r.U32() & 0xFFFFFF;
        if (start < pal->entries.size() && i < pal->entries.size() - start)
            pal->entries[start + i] = v;
    }
}

void ResizePalette(PlayContext& c, ByteReader& r) {
    const std::uint32_t ih = r.U32();
    const std::uint32_t n = r.U32();
    if (!r.Ok() || !c.handles.Valid(ih) || n > 1024) return;
    if (auto* pal = std::get_if<LogPalette>(&c.handles.slots[ih])) pal->entries.resize(n, 0);
}

}  // namespace

void RegisterObjectHandlers(HandlerTable& t) {
    t[kCreatePen] = &CreatePen;
    t[kExtCreatePen] = &ExtCreatePen;
    t[kCreateBrushIndirect] = &CreateBrush;
    t[kExtCreateFontIndirectW] = &CreateFont;
    t[kCreatePalette] = &CreatePalette;
    t[kSelectObject] = &SelectObject;
    t[kDeleteObject] = &DeleteObject;
    t[kCreateColorSpace] = t[kCreateColorSpaceW] = &CreateColourSpace;
    t[kDeleteColorSpace] = &DeleteColourSpace;
    t[kSelectPalette] = &SelectPalette;
    t[kSetPaletteEntries] = &SetPaletteEntries;
    t[kResizePalette] = &ResizePalette;
}

}  // namespace corvan::emf
