// Clipping in device pixels: the clip region, the meta region above it, and
// the region operations the clipping records combine them with.
#include "platform/metafile/gdi_device.h"

#include <cmath>

namespace corvan::emf {
namespace {

// Stands for "the whole device" where a region operation needs one.
const QRect kEverything(-(1 << 28), -(1 << 28), 1 << 29, 1 << 29);

QRegion Combine(const QRegion& a, const QRegion& b, std::uint32_t mode) {
    switch (mode) {
        case kRgnAnd: return a.intersected(b);
        case kRgnOr: return a.united(b);
        case kRgnXor: return a.xored(b);
        case kRgnDiff: return a.subtracted(b);
        default: return b;
    }
}

}  // namespace

QRegion GdiDevice::RegionOfPath(const QPainterPath& path, Qt::FillRule rule) const {
    const QRect limit = QRect(0, 0, Width(), Height()).adjusted(-64, -64, 64, 64);
    QPainterPath cut = path;
    if (!limit.contains(path.controlPointRect().toAlignedRect())) {
        QPainterPath box;
        box.addRect(limit);
        cut = path.intersected(box);
    }
    QRegion region;
    for (const QPolygonF& poly : cut.toSubpathPolygons()) {
        const QRegion one(poly.toPolygon(), rule);
        region = rule == Qt::OddEvenFill ? region.xored(one) : region.united(one);
    }
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
    state_.clip->translate(static_cast<int>(std::lround(std::clamp(d.x(), -1e8, 1e8))),
                           static_cast<int>(std::lround(std::clamp(d.y(), -1e8, 1e8))));
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
    if (state_.clip) state_.meta = state_.meta ? state_.meta->intersected(*state_.clip) : *state_.clip;
    state_.clip.reset();
}

std::optional<QRegion> GdiDevice::EffectiveClip() const {
    if (state_.clip && state_.meta) return state_.clip->intersected(*state_.meta);
    return state_.clip ? state_.clip : state_.meta;
}

}  // namespace corvan::emf
