#pragma once
// Glyphs made the way the system's font engine makes them: the font's own
// grid fitting at a whole number of pixels per em, then the fitted outline
// taken through the rest of the mapping and filled, either as plain pixels or
// as smoothed coverage in 17 levels blended through the system's contrast
// ramp.
#include <QFont>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRegion>
#include <QTransform>

#include <optional>

namespace corvan::emf {

struct FontGlyphRun {
    QFont font;             // the resolved face (family, weight, italic)
    QList<quint32> glyphs;  // glyph indexes of that face
    QList<QPoint> origins;  // each glyph's origin on the baseline, device pixels
    int ppem = 0;           // the size the glyphs are fitted at
    // From the fitted glyph's pixels (x right, y down) to device pixels;
    // only the linear part counts.
    QTransform shape;
    bool underline = false, strikeOut = false;
    bool smooth = false;  // grey coverage instead of plain pixels
};

// Paints `run` onto `target` in `colour`, inside `clip` when there is one.
// False when the face's file cannot be found or loaded; nothing is painted
// then and the caller draws the outlines instead.
bool PaintFontGlyphs(QImage& target, const std::optional<QRegion>& clip, const FontGlyphRun& run,
                     QRgb colour);

}  // namespace corvan::emf
