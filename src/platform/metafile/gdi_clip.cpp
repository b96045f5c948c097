// Clipping in device pixels: the clip region, the meta region above it, and
// the region operations the clipping records combine them with.
#include "platform/metafile/gdi_device.h"

#include <QPainter>

#include <cmath>

namespace corvan::emf {
namespace {

// Stands for "the whole device" where a region operation needs one.
const QRect kEverything(-(1 << 28), -(1 << 28), 1 << 29, 1 << 29);

QRegion Combine(const QRegion& a, const QRegion& b, std::uint32_t mode) {
    switch (mode) {
        case kRgnAnd:
            return a.intersected(b);
        case kRgnOr:
            return a.united(b);
        case kRgnXor:
            return a.xored(b);
        case kRgnDiff:
            return a.subtracted(b);
        default:
            return b;
    }
}

}  // namespace

// The pixels a fill of `path` would paint, found by painting it: regions
// then follow exactly the fill conventions of the drawing operations.
QRegion GdiDevice::RegionOfPath(const QPainterPath& path, Qt::FillRule rule) const {
    const QRect limit = QRect(0, 0, Width(), Height()).adjusted(-64, -64, 64, 64);
    const QRect area = PixelArea(path.controlPointRect(), limit);
    if (area.isEmpty()) return {};
    QImage mask(area.size(), QImage::Format_ARGB32_Premultiplied);
    mask.fill(0);
    {
        QPainter p(&mask);
        p.translate(-area.topLeft());
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        QPainterPath filled = path;
        filled.setFillRule(rule);
        p.drawPath(filled);
    }
    std::vector<QRect> runs;
    for (int y = 0; y < mask.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        for (int x = 0; x < mask.width();) {
            if (!row[x]) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < mask.width() && row[x]) ++x;
            runs.emplace_back(area.left() + start, area.top() + y, x - start, 1);
        }
    }
    QRegion region;
    region.setRects(runs.data(), static_cast<int>(runs.size()));
    return region;
}

// A logical rectangle as the device pixels it covers, right and bottom edges
// left out; under rotation or shear, the pixels inside its outline.
static QRegion RectRegion(const GdiDevice& dc, const QRectF& logical) {
    const QTransform t = dc.DeviceTransform();
    const QRectF r = logical.normalized();
    if (t.type() <= QTransform::TxScale) {
        const QRectF d = t.mapRect(r);
        auto px = [](double v) { return static_cast<int>(std::lround(std::clamp(v, -2e8, 2e8))); };
        const QPoint tl(px(d.left()), px(d.top())), br(px(d.right()), px(d.bottom()));
        if (br.x() <= tl.x() || br.y() <= tl.y()) return {};
        return QRegion(QRect(tl, br - QPoint(1, 1)));
    }
    QPainterPath shape;
    shape.addPolygon(t.map(QPolygonF(r)));
    return dc.RegionOfPath(shape, Qt::WindingFill);
}

void GdiDevice::IntersectClipRect(const QRectF& logical) {
    SelectClipRegion(RectRegion(*this, logical), kRgnAnd);
}

void GdiDevice::ExcludeClipRect(const QRectF& logical) {
    SelectClipRegion(RectRegion(*this, logical), kRgnDiff);
}

void GdiDevice::OffsetClipRgn(QPointF logical) {
    if (!state_.clip) return;
    const QTransform t = DeviceTransform();
    const QPointF d = t.map(logical) - t.map(QPointF(0, 0));
    if (!std::isfinite(d.x()) || !std::isfinite(d.y())) return;
    const int dx = static_cast<int>(std::lround(std::clamp(d.x(), -1e8, 1e8)));
    const int dy = static_cast<int>(std::lround(std::clamp(d.y(), -1e8, 1e8)));
    const QRect b = state_.clip->boundingRect();
    // A clip moved this far lies wholly off any canvas: it lets nothing through.
    const long long far = 1LL << 29;
    if (std::llabs((long long)b.left() + dx) > far || std::llabs((long long)b.right() + dx) > far ||
        std::llabs((long long)b.top() + dy) > far || std::llabs((long long)b.bottom() + dy) > far) {
        state_.clip = QRegion();
        return;
    }
    state_.clip->translate(dx, dy);
}

void GdiDevice::SelectClipRegion(const std::optional<QRegion>& region, std::uint32_t mode) {
    if (mode == kRgnCopy) {
        state_.clip = region;
        return;
    }
    if (!region || mode < kRgnAnd || mode > kRgnCopy) return;
    state_.clip = Combine(state_.clip ? *state_.clip : QRegion(kEverything), *region, mode);
}

void GdiDevice::SetMetaRgn() {
    if (state_.clip)
        state_.meta = state_.meta ? state_.meta->intersected(*state_.clip) : *state_.clip;
    state_.clip.reset();
}

std::optional<QRegion> GdiDevice::EffectiveClip() const {
    if (state_.clip && state_.meta) return state_.clip->intersected(*state_.meta);
    return state_.clip ? state_.clip : state_.meta;
}

}  // namespace corvan::emf
