#include "platform/metafile/gdi_canvas.h"

#include "platform/metafile/thin_lines.h"

#include "platform/metafile/emf_records.h"

#include <QPainter>
#include <QPainterPathStroker>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace corvan::emf {
namespace {

// Geometry beyond this many pixels is cut to the canvas before painting, so
// the rasterizer never sees coordinates it cannot represent.
constexpr double kCoordLimit = 1 << 22;
// A dashed wide line with more dashes than this is drawn solid: it would
// cost more than any picture is worth and only a broken file asks for it.
constexpr double kMaxDashes = 200000;

const std::uint8_t kHatches[6][8] = {
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF},  // horizontal
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // vertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // forward diagonal
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // backward diagonal
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0xFF},  // cross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // diagonal cross
};

QRgb ToRgb(Colour c) {
    return qRgb(RedOf(c), GreenOf(c), BlueOf(c));
}

QBrush PatternBrush(const FillStyle& style) {
    QImage tile = style.pattern->View().convertToFormat(QImage::Format_RGB32);
    if (style.mono) {
        const QRgb fg = ToRgb(style.colour), bg = ToRgb(style.background);
        for (int y = 0; y < tile.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(tile.scanLine(y));
            for (int x = 0; x < tile.width(); ++x) row[x] = (row[x] & 0xFFFFFF) == 0 ? fg : bg;
        }
    }
    return QBrush(tile);
}

QBrush MakeBrush(const FillStyle& style) {
    if (style.kind == FillStyle::kSolid) return QBrush(QColor::fromRgb(ToRgb(style.colour)));
    if (style.kind == FillStyle::kPattern) return PatternBrush(style);
    QImage tile(8, 8, QImage::Format_ARGB32);
    const std::uint8_t* rows = HatchRows(style.hatch);
    const QRgb fg = ToRgb(style.colour);
    const QRgb bg = style.opaque ? ToRgb(style.background) : 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) tile.setPixel(x, y, (rows[y] & (0x80 >> x)) ? fg : bg);
    return QBrush(tile);
}

// GDI leaves a line's last pixel out, as QPainter does for flat caps.
constexpr Qt::PenCapStyle kThinCap = Qt::FlatCap;

QPainterPath Clamped(const QPainterPath& path, const QRect& canvas) {
    const QRectF b = path.controlPointRect();
    if (std::max({std::fabs(b.left()), std::fabs(b.right()), std::fabs(b.top()),
                  std::fabs(b.bottom())}) < kCoordLimit)
        return path;
    QPainterPath box;
    box.addRect(QRectF(canvas).adjusted(-4, -4, 4, 4));
    return path.intersected(box);
}

// Cuts segment a-b to `box` (Liang-Barsky); false when nothing is left.
bool ClipSegment(QPointF& a, QPointF& b, const QRectF& box) {
    double t0 = 0, t1 = 1;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - box.left(), box.right() - a.x(), a.y() - box.top(),
                         box.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) return false;
    }
    const QPointF start = a;
    a = start + QPointF(dx, dy) * t0;
    b = start + QPointF(dx, dy) * t1;
    return true;
}

// A line path with far-out coordinates as the pieces of its segments that
// fall within `margin` of the canvas (the rasterizers work in fixed point).
QPainterPath ClampedLines(const QPainterPath& path, const QRect& canvas, double margin) {
    const QRectF b = path.controlPointRect();
    if (std::max({std::fabs(b.left()), std::fabs(b.right()), std::fabs(b.top()),
                  std::fabs(b.bottom())}) < kCoordLimit)
        return path;
    const QRectF box = QRectF(canvas).adjusted(-margin, -margin, margin, margin);
    QPainterPath out;
    for (const QPolygonF& poly : path.toSubpathPolygons()) {
        for (qsizetype i = 0; i + 1 < poly.size(); ++i) {
            QPointF a = poly[i], c = poly[i + 1];
            if (!ClipSegment(a, c, box)) continue;
            // Unclipped neighbours stay one figure, so their joins are kept.
            if (out.elementCount() == 0 || out.currentPosition() != a) out.moveTo(a);
            out.lineTo(c);
        }
    }
    return out;
}

}  // namespace

const std::uint8_t* HatchRows(std::uint32_t hatch) {
    return kHatches[hatch < 6 ? hatch : 0];
}

QPainterPath StrokeOutline(const QPainterPath& path, const StrokeStyle& style) {
    const double width = style.thin ? 1.0 : style.width;
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(style.cap);
    stroker.setJoinStyle(style.join);
    // QPainter measures the miter from the join point in line widths; GDI
    // takes the whole miter length against the width.
    stroker.setMiterLimit(std::max(1.0, style.miterLimit) / 2);
    if (!style.dashes.empty()) {
        double period = 0;
        for (double d : style.dashes) period += d;
        if (period > 0 && path.length() / period < kMaxDashes) {
            QList<qreal> units;
            for (double d : style.dashes) units.push_back(std::max(d, 0.01) / width);
            stroker.setDashPattern(units);
        }
    }
    return stroker.createStroke(path);
}

QRect PixelArea(const QRectF& bounds, const QRect& limit) {
    const double v[4] = {bounds.left(), bounds.top(), bounds.right(), bounds.bottom()};
    for (double x : v)
        if (!std::isfinite(x)) return limit;
    const QRectF cut = bounds.adjusted(-1, -1, 1, 1).intersected(QRectF(limit));
    return cut.isEmpty() ? QRect() : cut.toAlignedRect().intersected(limit);
}

std::uint32_t ApplyRop2(std::uint32_t rop, std::uint32_t p, std::uint32_t d) {
    // Bit k of (rop - 1) is the result for pen bit (k >> 1) and destination bit (k & 1).
    const std::uint32_t t = (rop - 1) & 0xF;
    std::uint32_t r = 0;
    if (t & 1) r |= ~p & ~d;
    if (t & 2) r |= ~p & d;
    if (t & 4) r |= p & ~d;
    if (t & 8) r |= p & d;
    return r & 0xFFFFFF;
}

Canvas::Canvas(Bitmap24& target)
    : target_(target), image_(target.View().convertToFormat(QImage::Format_RGB32)) {}

bool Canvas::Misses(const QRectF& bounds, double margin) {
    if (!culling_) return false;
    QRectF area = QRectF(image_.rect());
    if (clip_) area = area.intersected(QRectF(clip_->boundingRect()));
    const bool miss =
        !bounds.adjusted(-margin - 1, -margin - 1, margin + 1, margin + 1).intersects(area) ||
        area.isEmpty();
    if (miss) ++skipped_;
    return miss;
}

template <typename PaintFn>
void Canvas::WithRop(const QRectF& bounds, PaintFn paint) {
    if (rop_ == kR2Nop) return;
    if (rop_ == kR2CopyPen) {
        QPainter p(&image_);
        if (clip_) p.setClipRegion(*clip_);
        paint(p);
        return;
    }
    QRect area = PixelArea(bounds, image_.rect());
    if (clip_) area = area.intersected(clip_->boundingRect());
    if (area.isEmpty()) return;
    QImage scratch(area.size(), QImage::Format_ARGB32_Premultiplied);
    scratch.fill(0);
    {
        QPainter p(&scratch);
        p.translate(-area.topLeft());
        if (clip_) p.setClipRegion(*clip_);
        paint(p);
    }
    for (int y = 0; y < area.height(); ++y) {
        const auto* s = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
        auto* d = reinterpret_cast<QRgb*>(image_.scanLine(y + area.top())) + area.left();
        for (int x = 0; x < area.width(); ++x)
            if (qAlpha(s[x]) == 255) d[x] = 0xFF000000u | ApplyRop2(rop_, s[x], d[x]);
    }
}

void Canvas::Fill(const QPainterPath& outline, Qt::FillRule rule, const FillStyle& style) {
    if (style.kind == FillStyle::kNone || outline.isEmpty()) return;
    const QRectF bounds = outline.controlPointRect();
    if (Misses(bounds, 0)) return;
    QPainterPath path = Clamped(outline, image_.rect());
    path.setFillRule(rule);
    const QBrush brush = MakeBrush(style);
    WithRop(path.controlPointRect(), [&](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(brush);
        p.setBrushOrigin(style.origin);
        p.drawPath(path);
    });
}

void Canvas::DrawThin(const QPainterPath& path, const StrokeStyle& style, bool gaps) {
    QPen pen(QColor::fromRgb(ToRgb(gaps ? style.gapColour : style.ink.colour)), 0);
    pen.setCapStyle(kThinCap);
    pen.setJoinStyle(Qt::MiterJoin);
    if (!gaps && !style.dashes.empty())
        pen.setDashPattern(QList<qreal>(style.dashes.begin(), style.dashes.end()));
    WithRop(path.controlPointRect(), [&](QPainter& p) {
        if (!gaps && style.dashes.empty()) {  // solid: the same pixels in every window of a page
            DrawThinLines(p, path, ToRgb(style.ink.colour));
            return;
        }
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    });
}

void Canvas::Stroke(const QPainterPath& path, const StrokeStyle& style) {
    if (style.ink.kind == FillStyle::kNone || path.isEmpty()) return;
    const double margin = style.thin ? 1 : style.width * std::max(1.0, style.miterLimit);
    if (Misses(path.controlPointRect(), margin)) return;
    if (style.thin) {
        const QPainterPath lines = ClampedLines(path, image_.rect(), 4);
        if (style.fillGaps && !style.dashes.empty()) DrawThin(lines, style, true);
        DrawThin(lines, style, false);
        return;
    }
    Fill(StrokeOutline(ClampedLines(path, image_.rect(), margin + 4), style), Qt::WindingFill,
         style.ink);
}

void Canvas::FillRect(const QRect& rect, Colour colour) {
    QPainter p(&image_);
    if (clip_) p.setClipRegion(*clip_);
    p.fillRect(rect, QColor::fromRgb(ToRgb(colour)));
}

void Canvas::Flush() {
    const QImage out = image_.convertToFormat(QImage::Format_BGR888);
    const std::size_t bytes = static_cast<std::size_t>(out.width()) * 3;
    for (int y = 0; y < out.height() && y < target_.Height(); ++y)
        std::memcpy(target_.Row(y), out.constScanLine(y), bytes);
}

}  // namespace corvan::emf
