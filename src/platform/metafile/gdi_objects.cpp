#include "platform/metafile/gdi_objects.h"

namespace corvan::emf {

namespace {

const Colour kStandardColours[20] = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000,
    0xC0C0C0, 0xC0DCC0, 0xF0CAA6, 0xF0FBFF, 0xA4A0A0, 0x808080, 0x0000FF,
    0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
};

}  // namespace

Colour ResolveColour(std::uint32_t colorref, const LogPalette& palette) {
    if ((colorref >> 16) == 0x10FF) return 0;  // DIB colour-table index: no table here
    if (colorref & 0x01000000) {               // palette index, out-of-range -> entry 0
        const std::uint32_t i = colorref & 0xFFFF;
        if (palette.entries.empty()) return kStandardColours[i < 20 ? i : 0];
        return palette.entries[i < palette.entries.size() ? i : 0];
    }
    return colorref & 0xFFFFFF;
}

LogPen StockPen(std::uint32_t index) {
    LogPen pen;
    switch (index) {
        case kWhitePen:
            pen.colour = 0xFFFFFF;
            break;
        case kNullPen:
            pen.style = kPsNull;
            break;
        case kDcPen:
            pen.dcPen = true;
            break;
        default:
            break;  // black pen
    }
    return pen;
}

LogBrush StockBrush(std::uint32_t index) {
    LogBrush brush;
    switch (index) {
        case kWhiteBrush:
            brush.colour = 0xFFFFFF;
            break;
        case kLtGrayBrush:
            brush.colour = 0xC0C0C0;
            break;
        case kGrayBrush:
            brush.colour = 0x808080;
            break;
        case kDkGrayBrush:
            brush.colour = 0x404040;
            break;
        case kBlackBrush:
            brush.colour = 0;
            break;
        case kNullBrush:
            brush.style = kBsNull;
            break;
        case kDcBrush:
            brush.colour = 0xFFFFFF;
            break;
        default:
            break;
    }
    return brush;
}

bool IsStockPen(std::uint32_t index) {
    return index == kWhitePen || index == kBlackPen || index == kNullPen || index == kDcPen;
}
bool IsStockBrush(std::uint32_t index) {
    return index <= kNullBrush || index == kDcBrush;
}
bool IsStockFont(std::uint32_t index) {
    return (index >= kOemFixedFont && index <= kDeviceDefaultFont) || index == kSystemFixedFont ||
           index == kDefaultGuiFont;
}

}  // namespace corvan::emf
