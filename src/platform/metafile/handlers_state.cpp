// Records that change the drawing state: mapping, transforms, modes,
// colours, the saved-state stack and the current position.
#include "platform/metafile/record_handlers.h"

#include <cmath>
#include <cstring>

namespace corvan::emf {
namespace {

QSize ReadSizeL(ByteReader& r) {
    const int cx = r.I32();
    return QSize(cx, r.I32());
}

QPoint ReadPoint(ByteReader& r) {
    const int x = r.I32();
    return QPoint(x, r.I32());
}

void WindowExt(PlayContext& c, ByteReader& r) {
    const QSize s = ReadSizeL(r);
    if (r.Ok()) c.dc.SetWindowExt(s);
}
void WindowOrg(PlayContext& c, ByteReader& r) {
    const QPoint p = ReadPoint(r);
    if (r.Ok()) c.dc.SetWindowOrg(p);
}
void ViewportExt(PlayContext& c, ByteReader& r) {
    const QSize s = ReadSizeL(r);
    if (r.Ok()) c.dc.SetViewportExt(s);
}
void ViewportOrg(PlayContext& c, ByteReader& r) {
    const QPoint p = ReadPoint(r);
    if (r.Ok()) c.dc.SetViewportOrg(p);
}

template <bool kViewport>
void ScaleExt(PlayContext& c, ByteReader& r) {
    const int xNum = r.I32(), xDenom = r.I32(), yNum = r.I32(), yDenom = r.I32();
    if (!r.Ok() || xDenom == 0 || yDenom == 0) return;
    if (kViewport) {
        c.dc.ScaleViewportExt(xNum, xDenom, yNum, yDenom);
    } else {
        c.dc.ScaleWindowExt(xNum, xDenom, yNum, yDenom);
    }
}

void BrushOrg(PlayContext& c, ByteReader& r) {
    const QPoint p = ReadPoint(r);
    // The origin is in pixels of the reference device.
    if (!r.Ok()) return;
    const QPointF d = c.dc.BaseTransform().map(QPointF(p));
    auto px = [](double v) {
        return static_cast<int>(std::lround(std::isfinite(v) ? std::clamp(v, -1e8, 1e8) : 0.0));
    };
    c.dc.State().brushOrg = QPoint(px(d.x()), px(d.y()));
}

void MapModeRecord(PlayContext& c, ByteReader& r) {
    const std::int32_t mode = r.I32();
    if (r.Ok()) c.dc.SetMapMode(mode);
}

// A record holding one 32-bit value stored into a state field.
template <auto kField, std::uint32_t kMin, std::uint32_t kMax>
void SetValue(PlayContext& c, ByteReader& r) {
    const std::uint32_t v = r.U32();
    if (r.Ok() && v >= kMin && v <= kMax) c.dc.State().*kField = v;
}

template <auto kField>
void SetColour(PlayContext& c, ByteReader& r) {
    const std::uint32_t v = r.U32();
    if (r.Ok()) c.dc.State().*kField = v;
}

void MiterLimit(PlayContext& c, ByteReader& r) {
    // The published layout holds an integer; many writers store a float.
    const std::uint32_t raw = r.U32();
    if (!r.Ok()) return;
    double v = raw;
    if (raw > 0xFFFF) {
        float f;
        std::memcpy(&f, &raw, sizeof f);
        v = f;
    }
    if (std::isfinite(v) && v >= 1) c.dc.State().miterLimit = v;
}

void MoveTo(PlayContext& c, ByteReader& r) {
    const QPointF p = ReadPointL(r);
    if (r.Ok()) c.dc.MoveTo(p);
}

void SaveDc(PlayContext& c, ByteReader&) {
    c.dc.SaveDC();
}

void RestoreDc(PlayContext& c, ByteReader& r) {
    const std::int32_t level = r.I32();
    if (r.Ok()) c.dc.RestoreDC(level);
}

bool Usable(const QTransform& t) {
    const double v[6] = {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()};
    for (double x : v)
        if (!std::isfinite(x)) return false;
    return t.determinant() != 0 && std::isfinite(t.determinant());
}

void WorldTransform(PlayContext& c, ByteReader& r) {
    const QTransform t = ReadXForm(r);
    if (r.Ok() && Usable(t)) c.dc.SetWorldTransform(t);
}

void ModifyWorld(PlayContext& c, ByteReader& r) {
    const QTransform t = ReadXForm(r);
    const std::uint32_t mode = r.U32();
    if (!r.Ok() || (mode != kMwtIdentity && !Usable(t))) return;
    c.dc.ModifyWorldTransform(t, mode);
    if (!Usable(c.dc.State().world)) c.dc.State().world.reset();
}

}  // namespace

QTransform ReadXForm(ByteReader& r) {
    const double m11 = r.F32(), m12 = r.F32(), m21 = r.F32(), m22 = r.F32();
    const double dx = r.F32(), dy = r.F32();
    return QTransform(m11, m12, m21, m22, dx, dy);
}

void RegisterStateHandlers(HandlerTable& t) {
    t[kSetWindowExtEx] = &WindowExt;
    t[kSetWindowOrgEx] = &WindowOrg;
    t[kSetViewportExtEx] = &ViewportExt;
    t[kSetViewportOrgEx] = &ViewportOrg;
    t[kScaleViewportExtEx] = &ScaleExt<true>;
    t[kScaleWindowExtEx] = &ScaleExt<false>;
    t[kSetBrushOrgEx] = &BrushOrg;
    t[kSetMapMode] = &MapModeRecord;
    t[kSetMapperFlags] = &SetValue<&DcState::mapperFlags, 0, 0xFFFFFFFF>;
    t[kSetBkMode] = &SetValue<&DcState::bkMode, kTransparent, kOpaque>;
    t[kSetPolyFillMode] = &SetValue<&DcState::polyFillMode, kAlternate, kWinding>;
    t[kSetRop2] = &SetValue<&DcState::rop2, kR2Black, kR2White>;
    t[kSetStretchBltMode] = &SetValue<&DcState::stretchMode, 1, 4>;
    t[kSetTextAlign] = &SetValue<&DcState::textAlign, 0, 0xFFFFFFFF>;
    t[kSetArcDirection] = &SetValue<&DcState::arcDirection, kCounterClockwise, kClockwise>;
    t[kSetLayout] = &SetValue<&DcState::layout, 0, 0xFFFFFFFF>;
    t[kSetTextColor] = &SetColour<&DcState::textColour>;
    t[kSetBkColor] = &SetColour<&DcState::bkColour>;
    t[kSetMiterLimit] = &MiterLimit;
    t[kMoveToEx] = &MoveTo;
    t[kSaveDc] = &SaveDc;
    t[kRestoreDc] = &RestoreDc;
    t[kSetWorldTransform] = &WorldTransform;
    t[kModifyWorldTransform] = &ModifyWorld;
}

}  // namespace corvan::emf
