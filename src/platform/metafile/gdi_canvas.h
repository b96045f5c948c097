#pragma once
// The canvas under a drawing context: a 32-bit work image that QPainter fills
// quickly (antialiasing off), converted to the 24-bit layout when the drawing
// is done. Shapes arrive in device pixels. Raster operations other than
// plain copy are applied on the pixels: the shape is painted into a scratch
// image first and every covered pixel is then combined with the canvas.
#include "platform/bitmap.h"

#include <QImage>
#include <QPainterPath>
#include <QRegion>

#include <memory>
#include <optional>
#include <vector>

namespace corvan::emf {

// How an area is filled: nothing, one colour, or an 8 x 8 hatch whose
// background is painted only when opaque.
struct FillStyle {
    enum Kind { kNone, kSolid, kHatch, kPattern };
    Kind kind = kNone;
    Colour colour = 0;
    std::uint32_t hatch = 0;
    bool opaque = false;
    Colour background = 0xFFFFFF;
    QPoint origin;  // where the hatch pattern is anchored, device pixels
    // The picture of pattern brushes; a monochrome one paints its black
    // pixels in `colour` and its white ones in `background`.
    std::shared_ptr<const Bitmap24> pattern;
    bool mono = false;
};

// How a line is drawn: one pixel wide (thin) or as the outline of a wide
// pen filled with `ink`.
struct StrokeStyle {
    bool thin = true;
    FillStyle ink;
    double width = 1;            // device pixels, wide pens only
    std::vector<double> dashes;  // on, off, ... in device pixels; empty = solid
    Qt::PenCapStyle cap = Qt::RoundCap;
    Qt::PenJoinStyle join = Qt::RoundJoin;
    double miterLimit = 10;  // ratio of miter length to line width
    bool fillGaps = false;   // thin dashed lines in opaque mode
    Colour gapColour = 0xFFFFFF;
};

class Canvas {
public:
    // The canvas starts as a copy of `target`; Flush() writes it back.
    explicit Canvas(Bitmap24& target);
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    QImage& Image() { return image_; }

    // None means "no clipping"; an empty region clips everything away.
    void SetClip(const std::optional<QRegion>& clip) { clip_ = clip; }
    const std::optional<QRegion>& Clip() const { return clip_; }
    void SetRop2(std::uint32_t rop) { rop_ = rop; }
    // Shapes whose device bounds miss the canvas (or the clip) are skipped
    // before QPainter sees them; switchable to measure what that saves.
    void SetCulling(bool on) { culling_ = on; }

    void Fill(const QPainterPath& path, Qt::FillRule rule, const FillStyle& style);
    void Stroke(const QPainterPath& path, const StrokeStyle& style);
    // Paints the rectangle with one colour, through the clip, ignoring the ROP.
    void FillRect(const QRect& rect, Colour colour);

    void Flush();
    std::size_t ShapesSkipped() const { return skipped_; }

private:
    void DrawThin(const QPainterPath& path, const StrokeStyle& style, bool gaps);
    bool Misses(const QRectF& bounds, double margin);
    template <typename PaintFn>
    void WithRop(const QRectF& bounds, PaintFn paint);

    Bitmap24& target_;
    QImage image_;
    std::optional<QRegion> clip_;
    std::uint32_t rop_ = 13;  // copy pen
    bool culling_ = true;
    std::size_t skipped_ = 0;
};

// The whole pixels touched by `bounds` (grown by one pixel), within `limit`;
// safe for bounds far beyond the integer range.
QRect PixelArea(const QRectF& bounds, const QRect& limit);
// The outline of a wide line (width, caps, joins, dashes of `style`) as an
// area to fill with the winding rule.
QPainterPath StrokeOutline(const QPainterPath& path, const StrokeStyle& style);
// The 8 x 8 hatch pattern of a hatch style as bit rows (bit 7 = left pixel).
const std::uint8_t* HatchRows(std::uint32_t hatch);
// Combines pen colour `p` with destination `d` by ROP2 code `rop` (1 to 16).
std::uint32_t ApplyRop2(std::uint32_t rop, std::uint32_t p, std::uint32_t d);

}  // namespace corvan::emf
