#pragma once
// The drawing objects a metafile creates and selects, kept as plain values:
// selecting copies the object into the drawing state, so deleting it from the
// handle table later never leaves the state pointing at nothing (GDI refuses
// to delete a selected object; playback simply keeps using it).
#include "platform/bitmap.h"
#include "platform/metafile/emf_records.h"

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace corvan::emf {

struct LogPen {
    std::uint32_t style = kPsSolid;  // style, end cap, join and type bits
    std::int32_t width = 0;          // logical units; 0 means one pixel
    Colour colour = 0;
    bool extended = false;                // made by an extended pen record
    std::uint32_t brushStyle = kBsSolid;  // extended pens fill with a brush
    std::uint32_t hatch = 0;
    std::vector<std::uint32_t> userStyle;  // dash and gap lengths
    bool dcPen = false;                    // the stock pen whose colour follows SetDCPenColor

    std::uint32_t Style() const { return style & kPsStyleMask; }
    bool Geometric() const { return extended ? (style & kPsTypeMask) == kPsGeometric : width > 1; }
};

struct LogBrush {
    std::uint32_t style = kBsSolid;
    Colour colour = 0xFFFFFF;
    std::uint32_t hatch = 0;
    // Pattern brushes carry their picture; filled in with the bitmap records.
    std::shared_ptr<const Bitmap24> pattern;
};

struct LogFont {
    std::int32_t height = 0, width = 0, escapement = 0, orientation = 0, weight = 0;
    std::uint8_t italic = 0, underline = 0, strikeOut = 0, charSet = 0;
    std::uint8_t outPrecision = 0, clipPrecision = 0, quality = 0, pitchAndFamily = 0;
    std::u16string faceName;
};

struct LogPalette {
    std::vector<Colour> entries;
};

// A logical colour space: it only takes its slot, since output is drawn in
// the colours as recorded (matching happens later, in the print path).
struct ColourSpace {};

using GdiObject = std::variant<std::monostate, LogPen, LogBrush, LogFont, LogPalette, ColourSpace>;

// The colour a COLORREF stands for: plain RGB, an RGB matched in the palette,
// or an entry of `palette` (the 20-colour default palette when it is empty).
Colour ResolveColour(std::uint32_t colorref, const LogPalette& palette);

// The metafile's object table: slot 0 stands for the metafile itself.
class BitmapCache;

struct HandleTable {
    std::vector<GdiObject> slots;
    // Where the playing metafile keeps its decoded bitmaps; none for
    // records played on their own.
    BitmapCache* bitmaps = nullptr;
    bool Valid(std::uint32_t index) const { return index < slots.size(); }
};

// The stock objects a metafile may select by index with the stock bit.
LogPen StockPen(std::uint32_t index);
LogBrush StockBrush(std::uint32_t index);
bool IsStockPen(std::uint32_t index);
bool IsStockBrush(std::uint32_t index);
bool IsStockFont(std::uint32_t index);

}  // namespace corvan::emf
