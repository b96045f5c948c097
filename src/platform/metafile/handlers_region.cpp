// Records that paint regions, single pixels and gradients.
#include "platform/metafile/gdi_flood.h"
#include "platform/metafile/record_handlers.h"

#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <optional>

namespace corvan::emf {
namespace {

// Region data (header, then rectangles in logical units) as device pixels.
QRegion ReadLogicalRegion(const GdiDevice& dc, ByteReader& r, std::uint32_t bytes) {
    const std::size_t start = r.Pos();
    r.Skip(8);
    const std::uint32_t count = r.U32();
    r.Seek(start + 32);
    const QTransform t = dc.DeviceTransform();
    const QRect canvas(-4, -4, dc.Width() + 8, dc.Height() + 8);
    QRegion region;
    for (std::uint32_t i = 0; i < count && r.Ok() && r.Pos() + 16 <= start + bytes; ++i) {
        const QRectF box = ReadBox(r);
        const QRectF d = t.mapRect(box).intersected(canvas);
        if (d.width() < 0.5 || d.height() < 0.5) continue;
        region += QRect(QPoint(int(std::lround(d.left())), int(std::lround(d.top()))),
                        QPoint(int(std::lround(d.right())) - 1, int(std::lround(d.bottom())) - 1));
    }
    return region;
}

// Fills `region` (device pixels) with `brush` and ROP2 `rop`, no pen.
void FillDeviceRegion(GdiDevice& dc, const QRegion& region, const LogBrush& brush, std::uint32_t rop) {
    if (region.isEmpty() || dc.InPath()) return;
    QPainterPath path;
    path.addRegion(region);
    const LogBrush oldBrush = dc.SelectBrush(brush);
    const LogPen oldPen = dc.SelectPen(StockPen(kNullPen));
    const std::uint32_t oldRop = dc.State().rop2;
    dc.State().rop2 = rop;
    dc.Emit(ToGdiPath(path.simplified(), true), true);
    dc.State().rop2 = oldRop;
    dc.SelectPen(oldPen);
    dc.SelectBrush(oldBrush);
}

const LogBrush* BrushAt(PlayContext& c, std::uint32_t ih, LogBrush* stock) {
    if (ih & kStockBit) {
        *stock = StockBrush(ih & ~kStockBit);
        return stock;
    }
    return c.handles.Valid(ih) ? std::get_if<LogBrush>(&c.handles.slots[ih]) : nullptr;
}

void FillRgn(PlayContext& c, ByteReader& r) {
    r.Skip(16);
    const std::uint32_t bytes = r.U32();
    const std::uint32_t ih = r.U32();
    LogBrush stock;
    const LogBrush* brush = BrushAt(c, ih, &stock);
    const QRegion region = ReadLogicalRegion(c.dc, r, bytes);
    if (r.Ok() && brush) FillDeviceRegion(c.dc, region, *brush, c.dc.State().rop2);
}

void FrameRgn(PlayContext& c, ByteReader& r) {
    r.Skip(16);
    const std::uint32_t bytes = r.U32();
    const std::uint32_t ih = r.U32();
    const QPointF size = ReadPointL(r);
    LogBrush stock;
    const LogBrush* brush = BrushAt(c, ih, &stock);
    const QRegion region = ReadLogicalRegion(c.dc, r, bytes);
    if (!r.Ok() || !brush) return;
    // The frame is what the region loses when it shrinks by the frame size.
    const QSizeF d = c.dc.DeviceTransform().mapRect(QRectF(QPointF(), QSizeF(size.x(), size.y()))).size();
    const int w = std::clamp(int(std::lround(d.width())), 1, 1 << 14);
    const int h = std::clamp(int(std::lround(d.height())), 1, 1 << 14);
    const QRegion inner = region & region.translated(w, 0) & region.translated(-w, 0) &
                          region.translated(0, h) & region.translated(0, -h);
    FillDeviceRegion(c.dc, region - inner, *brush, c.dc.State().rop2);
}

void PaintRgn(PlayContext& c, ByteReader& r) {
    r.Skip(16);
    const std::uint32_t bytes = r.U32();
    const QRegion region = ReadLogicalRegion(c.dc, r, bytes);
    if (!r.Ok()) return;
    if (c.record.type == kInvertRgn)
        FillDeviceRegion(c.dc, region, StockBrush(kBlackBrush), kR2Not);
    else
        FillDeviceRegion(c.dc, region, c.dc.State().brush, c.dc.State().rop2);
}

// The device pixel a point falls in; none when the point lies beyond any
// picture (a transform can throw it past what a pixel index can hold).
std::optional<QPoint> DevicePixel(QPointF p) {
    constexpr double kFar = 1e9;
    if (!(std::fabs(p.x()) < kFar && std::fabs(p.y()) < kFar)) return std::nullopt;
    return QPoint(int(std::floor(p.x())), int(std::floor(p.y())));
}

void SetPixelV(PlayContext& c, ByteReader& r) {
    const auto px = DevicePixel(c.dc.LPtoDP(ReadPointL(r)));
    const std::uint32_t colour = r.U32();
    if (!r.Ok() || c.dc.InPath() || !px) return;
    c.dc.FillRect(QRect(*px, QSize(1, 1)), ResolveColour(colour, c.dc.State().palette));
}

// Fills the area around the start point that the border colour encloses
// (mode 0) or that has the surface colour (mode 1) with the current brush.
// The area is found on the device picture as drawn so far; a start point
// outside the clip fills nothing, as on the system.
void ExtFloodFill(PlayContext& c, ByteReader& r) {
    const auto px = DevicePixel(c.dc.LPtoDP(ReadPointL(r)));
    const Colour colour = ResolveColour(r.U32(), c.dc.State().palette);
    const std::uint32_t mode = r.U32();
    if (!r.Ok() || mode > 1 || c.dc.InPath() || !px) return;
    const QPoint seed = *px;
    const auto clip = c.dc.EffectiveClip();
    if (clip && !clip->contains(seed)) return;
    const QRegion area = FloodArea(c.dc.GetCanvas().Image(), seed,
                                   qRgb(RedOf(colour), GreenOf(colour), BlueOf(colour)),
                                   mode == 1 ? FloodKind::kSurface : FloodKind::kBorder);
    FillDeviceRegion(c.dc, area, c.dc.State().brush, c.dc.State().rop2);
}

struct Vertex {
    QPointF p;  // device pixels
    double rgb[3];
};

// Paints every device pixel of `area` inside the clip with `shade(x, y, rgb)`,
// which returns false for pixels it leaves alone.
template <typename Shade>
void ShadePixels(GdiDevice& dc, const QRect& area, Shade shade) {
    QRegion cover(area.intersected(QRect(0, 0, dc.Width(), dc.Height())));
    if (const auto clip = dc.EffectiveClip()) cover &= *clip;
    QImage& image = dc.GetCanvas().Image();
    double rgb[3];
    for (const QRect& rc : cover)
        for (int y = rc.top(); y <= rc.bottom(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = rc.left(); x <= rc.right(); ++x)
                if (shade(x + 0.5, y + 0.5, rgb))
                    row[x] = qRgb(int(rgb[0]), int(rgb[1]), int(rgb[2]));
        }
}

void GradientRect(GdiDevice& dc, const Vertex& a, const Vertex& b, bool vertical) {
    const QRectF box = QRectF(a.p, b.p).normalized();
    const double from = vertical ? a.p.y() : a.p.x(), span = vertical ? b.p.y() - from : b.p.x() - from;
    ShadePixels(dc, box.toAlignedRect(), [&](double x, double y, double* rgb) {
        if (!box.contains(x, y)) return false;
        const double t = span == 0 ? 0 : std::clamp(((vertical ? y : x) - from) / span, 0.0, 1.0);
        for (int i = 0; i < 3; ++i) rgb[i] = a.rgb[i] + (b.rgb[i] - a.rgb[i]) * t;
        return true;
    });
}

void GradientTriangle(GdiDevice& dc, const Vertex& a, const Vertex& b, const Vertex& c) {
    const double det = (b.p.y() - c.p.y()) * (a.p.x() - c.p.x()) + (c.p.x() - b.p.x()) * (a.p.y() - c.p.y());
    if (std::fabs(det) < 1e-9) return;
    const QRectF box = QPolygonF({a.p, b.p, c.p}).boundingRect();
    ShadePixels(dc, box.toAlignedRect(), [&](double x, double y, double* rgb) {
        const double l1 = ((b.p.y() - c.p.y()) * (x - c.p.x()) + (c.p.x() - b.p.x()) * (y - c.p.y())) / det;
        const double l2 = ((c.p.y() - a.p.y()) * (x - c.p.x()) + (a.p.x() - c.p.x()) * (y - c.p.y())) / det;
        const double l3 = 1 - l1 - l2;
        if (l1 < -1e-9 || l2 < -1e-9 || l3 < -1e-9) return false;
        for (int i = 0; i < 3; ++i)
            rgb[i] = std::clamp(l1 * a.rgb[i] + l2 * b.rgb[i] + l3 * c.rgb[i], 0.0, 255.0);
        return true;
    });
}

void GradientFill(PlayContext& c, ByteReader& r) {
    r.Skip(16);
    const std::uint32_t nv = r.U32(), ng = r.U32(), mode = r.U32();
    if (!r.Ok() || mode > 2 || std::uint64_t{nv} * 16 > r.Remaining() || c.dc.InPath()) return;
    std::vector<Vertex> v(nv);
    for (Vertex& x : v) {
        x.p = c.dc.LPtoDP(ReadPointL(r));
        for (double& ch : x.rgb) ch = r.U16() / 256.0;
        r.U16();  // alpha: GDI ignores it when filling
    }
    const std::uint32_t per = mode == 2 ? 3 : 2;
    for (std::uint32_t i = 0; i < ng && r.Ok(); ++i) {
        std::uint32_t idx[3] = {};
        for (std::uint32_t k = 0; k < per; ++k) idx[k] = r.U32();
        if (!r.Ok() || idx[0] >= nv || idx[1] >= nv || (per == 3 && idx[2] >= nv)) return;
        if (per == 3)
            GradientTriangle(c.dc, v[idx[0]], v[idx[1]], v[idx[2]]);
        else
            GradientRect(c.dc, v[idx[0]], v[idx[1]], mode == 1);
    }
}

}  // namespace

void RegisterRegionHandlers(HandlerTable& t) {
    t[kFillRgn] = &FillRgn;
    t[kFrameRgn] = &FrameRgn;
    t[kPaintRgn] = t[kInvertRgn] = &PaintRgn;
    t[kSetPixelV] = &SetPixelV;
    t[kExtFloodFill] = &ExtFloodFill;
    t[kGradientFill] = &GradientFill;
}

}  // namespace corvan::emf
