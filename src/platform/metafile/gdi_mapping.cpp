// Mapping modes, window and viewport, world transform: how logical units
// become device pixels.
#include "platform/metafile/gdi_device.h"

#include <cmath>

namespace corvan::emf {
namespace {

int Scaled(int value, int num, int denom) {
    if (denom == 0) return value;
    const long long r = static_cast<long long>(value) * num / denom;
    return static_cast<int>(std::clamp<long long>(r, INT32_MIN, INT32_MAX));
}

bool Scalable(std::int32_t mode) {
    return mode == kMmIsotropic || mode == kMmAnisotropic;
}

}  // namespace

void GdiDevice::SetReferenceDevice(QSize pixels, QSizeF millimetres) {
    refPixels_ = QSize(std::max(1, pixels.width()), std::max(1, pixels.height()));
    refMillimetres_ = QSizeF(millimetres.width() > 0 ? millimetres.width() : 1,
                             millimetres.height() > 0 ? millimetres.height() : 1);
}

void GdiDevice::SetMapMode(std::int32_t mode) {
    // Logical units per millimetre of each fixed mode.
    double perMm = 0;
    switch (mode) {
        case kMmText:
            state_.mapMode = mode;
            state_.windowExt = state_.viewportExt = QSize(1, 1);
            return;
        case kMmLoMetric:
        case kMmIsotropic:
            perMm = 10;
            break;
        case kMmHiMetric:
            perMm = 100;
            break;
        case kMmLoEnglish:
            perMm = 100 / 25.4;
            break;
        case kMmHiEnglish:
            perMm = 1000 / 25.4;
            break;
        case kMmTwips:
            perMm = 1440 / 25.4;
            break;
        case kMmAnisotropic:
            state_.mapMode = mode;
            return;
        default:
            return;  // unknown modes leave the mapping alone
    }
    state_.mapMode = mode;
    state_.windowExt = QSize(static_cast<int>(std::lround(refMillimetres_.width() * perMm)),
                             static_cast<int>(std::lround(refMillimetres_.height() * perMm)));
    state_.viewportExt = QSize(refPixels_.width(), -refPixels_.height());
}

void GdiDevice::SetWindowOrg(QPoint p) {
    state_.windowOrg = p;
}
void GdiDevice::SetViewportOrg(QPoint p) {
    state_.viewportOrg = p;
}

void GdiDevice::SetWindowExt(QSize s) {
    if (!Scalable(state_.mapMode) || s.width() == 0 || s.height() == 0) return;
    state_.windowExt = s;
    if (state_.mapMode == kMmIsotropic) FixIsotropic();
}

void GdiDevice::SetViewportExt(QSize s) {
    if (!Scalable(state_.mapMode) || s.width() == 0 || s.height() == 0) return;
    state_.viewportExt = s;
    if (state_.mapMode == kMmIsotropic) FixIsotropic();
}

void GdiDevice::ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom) {
    const QSize e = state_.windowExt;
    SetWindowExt(QSize(Scaled(e.width(), xNum, xDenom), Scaled(e.height(), yNum, yDenom)));
}

void GdiDevice::ScaleViewportExt(int xNum, int xDenom, int yNum, int yDenom) {
    const QSize e = state_.viewportExt;
    SetViewportExt(QSize(Scaled(e.width(), xNum, xDenom), Scaled(e.height(), yNum, yDenom)));
}

// Isotropic mapping keeps one logical unit equally long on both axes: the
// viewport extent of the axis that would stretch more is shrunk.
void GdiDevice::FixIsotropic() {
    QSize& v = state_.viewportExt;
    const QSize& w = state_.windowExt;
    const double xdim = std::fabs(double(v.width()) * refMillimetres_.width() /
                                  (double(w.width()) * refPixels_.width()));
    const double ydim = std::fabs(double(v.height()) * refMillimetres_.height() /
                                  (double(w.height()) * refPixels_.height()));
    if (xdim == ydim || xdim == 0 || ydim == 0) return;
    if (xdim > ydim) {
        const int sign = v.width() >= 0 ? 1 : -1;
        v.setWidth(static_cast<int>(std::floor(v.width() * ydim / xdim + 0.5)));
        if (v.width() == 0) v.setWidth(sign);
    } else {
        const int sign = v.height() >= 0 ? 1 : -1;
        v.setHeight(static_cast<int>(std::floor(v.height() * xdim / ydim + 0.5)));
        if (v.height() == 0) v.setHeight(sign);
    }
}

void GdiDevice::ModifyWorldTransform(const QTransform& t, std::uint32_t mode) {
    switch (mode) {
        case kMwtIdentity:
            state_.world.reset();
            break;
        case kMwtLeftMultiply:
            state_.world = t * state_.world;
            break;
        case kMwtRightMultiply:
            state_.world = state_.world * t;
            break;
        case kMwtSet:
            state_.world = t;
            break;
        default:
            break;
    }
}

QTransform GdiDevice::PageTransform() const {
    const QSize we = state_.windowExt, ve = state_.viewportExt;
    const double sx = we.width() ? double(ve.width()) / we.width() : 1;
    const double sy = we.height() ? double(ve.height()) / we.height() : 1;
    return QTransform(sx, 0, 0, sy, state_.viewportOrg.x() - state_.windowOrg.x() * sx,
                      state_.viewportOrg.y() - state_.windowOrg.y() * sy);
}

QTransform GdiDevice::DeviceTransform() const {
    return state_.world * PageTransform() * base_;
}

QPointF GdiDevice::LPtoDP(QPointF p) const {
    return DeviceTransform().map(p);
}

QPointF GdiDevice::DPtoLP(QPointF p) const {
    bool invertible = false;
    const QTransform inv = DeviceTransform().inverted(&invertible);
    return invertible ? inv.map(p) : p;
}

QPointF SnapToPixel(const QTransform& t, QPointF logical) {
    const QPointF d = t.map(logical);
    // GDI works on whole device pixels; keep far-out values finite.
    auto snap = [](double v) {
        return std::isfinite(v) ? std::round(std::clamp(v, -1e9, 1e9)) : 0.0;
    };
    return QPointF(snap(d.x()), snap(d.y()));
}

QPointF GdiDevice::ToDevice(QPointF logical) const {
    return SnapToPixel(DeviceTransform(), logical);
}

}  // namespace corvan::emf
