#include "platform/metafile/gdi_objects.h"

namespace corvan::emf {

LogPen StockPen(std::uint32_t index) {
    LogPen pen;
    switch (index) {
        case kWhitePen: pen.colour = 0xFFFFFF; break;
        case kNullPen: pen.style = kPsNull; break;
        case kDcPen: pen.dcPen = true; break;
        default: break;  // black pen
    }
    return pen;
}

LogBrush StockBrush(std::uint32_t index) {
    LogBrush brush;
    switch (index) {
        case kWhiteBrush: brush.colour = 0xFFFFFF; break;
        case kLtGrayBrush: brush.colour = 0xC0C0C0; break;
        case kGrayBrush: brush.colour = 0x808080; break;
        case kDkGrayBrush: brush.colour = 0x404040; break;
        case kBlackBrush: brush.colour = 0; break;
        case kNullBrush: brush.style = kBsNull; break;
        case kDcBrush: brush.colour = 0xFFFFFF; break;
        default: break;
    }
    return brush;
}

bool IsStockPen(std::uint32_t index) {
    return index == kWhitePen || index == kBlackPen || index == kNullPen || index == kDcPen;
}
bool IsStockBrush(std::uint32_t index) { return index <= kNullBrush || index == kDcBrush; }
bool IsStockFont(std::uint32_t index) {
    return (index >= kOemFixedFont && index <= kDeviceDefaultFont) || index == kSystemFixedFont ||
           index == kDefaultGuiFont;
}

}  // namespace corvan::emf
