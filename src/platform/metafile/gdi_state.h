#pragma once
// Everything a drawing context remembers between records and what SaveDC
// stacks: mapping, world transform, selected objects, modes and colours, the
// current position, the clip and meta regions and the path bracket.
#include "platform/metafile/gdi_objects.h"

#include <QPointF>
#include <QRegion>
#include <QTransform>

#include <optional>
#include <vector>

namespace corvan::emf {

// A path as GDI keeps it: device-space points, each with a point type
// (move-to, line-to, Bezier-to, plus the close-figure bit).
struct GdiPath {
    std::vector<QPointF> points;
    std::vector<std::uint8_t> types;
    bool Empty() const { return points.empty(); }
    void Add(QPointF p, std::uint8_t type) {
        points.push_back(p);
        types.push_back(type);
    }
    void CloseFigure() {
        if (!types.empty()) types.back() |= kPtCloseFigure;
    }
};

enum class PathState { kNone, kOpen, kClosed };

struct DcState {
    // Mapping: logical -> page (window/viewport) -> device.
    std::int32_t mapMode = kMmText;
    QPoint windowOrg, viewportOrg;
    QSize windowExt{1, 1}, viewportExt{1, 1};
    QTransform world;
    std::uint32_t graphicsMode = kCompatible;

    LogPen pen = StockPen(kBlackPen);
    LogBrush brush = StockBrush(kWhiteBrush);
    LogFont font;
    LogPalette palette;

    std::uint32_t textAlign = 0;
    Colour textColour = 0;
    Colour bkColour = 0xFFFFFF;
    std::uint32_t bkMode = kOpaque;
    std::uint32_t rop2 = kR2CopyPen;
    std::uint32_t polyFillMode = kAlternate;
    std::uint32_t stretchMode = 1;  // black-on-white
    std::uint32_t arcDirection = kCounterClockwise;
    double miterLimit = 10;
    QPoint brushOrg;
    std::uint32_t layout = 0;
    std::uint32_t mapperFlags = 0;
    Colour dcPenColour = 0, dcBrushColour = 0xFFFFFF;

    QPointF position;  // current position, logical units

    std::optional<QRegion> clip;  // device pixels; none = unclipped
    std::optional<QRegion> meta;

    PathState pathState = PathState::kNone;
    GdiPath path;
    bool pathNewFigure = true;  // the next line starts a figure at the position
};

}  // namespace corvan::emf
