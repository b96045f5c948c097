// Records of the path bracket and of clipping.
#include "platform/metafile/record_handlers.h"

#include <cmath>

namespace corvan::emf {
namespace {

template <void (GdiDevice::*kOp)()>
void PathOp(PlayContext& c, ByteReader&) {
    (c.dc.*kOp)();
}

template <bool (GdiDevice::*kOp)()>
void PathUse(PlayContext& c, ByteReader&) {
    (c.dc.*kOp)();
}

void SelectClipPath(PlayContext& c, ByteReader& r) {
    const std::uint32_t mode = r.U32();
    if (r.Ok()) c.dc.SelectClipPath(mode);
}

template <void (GdiDevice::*kOp)(const QRectF&)>
void ClipRect(PlayContext& c, ByteReader& r) {
    const QRectF box = ReadBox(r);
    if (r.Ok()) (c.dc.*kOp)(box);
}

void OffsetClip(PlayContext& c, ByteReader& r) {
    const QPointF p = ReadPointL(r);
    if (r.Ok()) c.dc.OffsetClipRgn(p);
}

void MetaRegion(PlayContext& c, ByteReader&) {
    c.dc.SetMetaRgn();
}

// Region data: a header (size, type, count, byte size, bounds), then the
// rectangles, in pixels of the reference device.
QRegion ReadRegion(const GdiDevice& dc, ByteReader& r, std::uint32_t bytes) {
    const std::size_t start = r.Pos();
    r.Skip(8);
    const std::uint32_t count = r.U32();
    r.Seek(start + 32);
    QRegion region;
    const QTransform& base = dc.BaseTransform();
    std::vector<QRect> rects;
    for (std::uint32_t i = 0; i < count && r.Pos() + 16 <= start + bytes; ++i) {
        const QRectF box = ReadBox(r);
        if (box.width() <= 0 || box.height() <= 0) continue;
        const QRectF d = base.mapRect(box);
        auto px = [](double v) { return static_cast<int>(std::lround(std::clamp(v, -2e8, 2e8))); };
        const QPoint tl(px(d.left()), px(d.top())), br(px(d.right()), px(d.bottom()));
        if (br.x() > tl.x() && br.y() > tl.y()) rects.emplace_back(tl, br - QPoint(1, 1));
    }
    // Windows writes its rectangles banded (sorted by top, then left, not
    // overlapping), which QRegion takes as they are; anything else is united.
    bool banded = true;
    for (std::size_t i = 1; i < rects.size() && banded; ++i) {
        const QRect& a = rects[i - 1];
        const QRect& b = rects[i];
        banded = a.top() == b.top() ? a.bottom() == b.bottom() && b.left() > a.right()
                                    : b.top() > a.bottom();
    }
    if (banded) {
        region.setRects(rects.data(), static_cast<int>(rects.size()));
    } else {
        for (const QRect& rc : rects) region += rc;
    }
    return region;
}

void ExtSelectClipRgn(PlayContext& c, ByteReader& r) {
    const std::uint32_t bytes = r.U32();
    const std::uint32_t mode = r.U32();
    if (!r.Ok()) return;
    if (bytes < 32) {
        // No region: only a copy makes sense, and it removes the clip.
        if (mode == kRgnCopy) c.dc.SelectClipRegion(std::nullopt, kRgnCopy);
        return;
    }
    const QRegion region = ReadRegion(c.dc, r, bytes);
    if (r.Ok()) c.dc.SelectClipRegion(region, mode);
}

}  // namespace

void RegisterPathClipHandlers(HandlerTable& t) {
    t[kBeginPath] = &PathOp<&GdiDevice::BeginPath>;
    t[kEndPath] = &PathOp<&GdiDevice::EndPath>;
    t[kAbortPath] = &PathOp<&GdiDevice::AbortPath>;
    t[kCloseFigure] = &PathOp<&GdiDevice::CloseFigure>;
    t[kFlattenPath] = &PathUse<&GdiDevice::FlattenPath>;
    t[kWidenPath] = &PathUse<&GdiDevice::WidenPath>;
    t[kFillPath] = &PathUse<&GdiDevice::FillPath>;
    t[kStrokePath] = &PathUse<&GdiDevice::StrokePath>;
    t[kStrokeAndFillPath] = &PathUse<&GdiDevice::StrokeAndFillPath>;
    t[kSelectClipPath] = &SelectClipPath;
    t[kIntersectClipRect] = &ClipRect<&GdiDevice::IntersectClipRect>;
    t[kExcludeClipRect] = &ClipRect<&GdiDevice::ExcludeClipRect>;
    t[kOffsetClipRgn] = &OffsetClip;
    t[kSetMetaRgn] = &MetaRegion;
    t[kExtSelectClipRgn] = &ExtSelectClipRgn;
}

}  // namespace corvan::emf
