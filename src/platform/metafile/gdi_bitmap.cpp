#include "platform/metafile/gdi_bitmap.h"

#include <algorithm>
#include <cmath>

namespace corvan::emf {
namespace {

constexpr std::uint32_t kHalftone = 4;
constexpr std::uint32_t kBlackOnWhite = 1;
constexpr std::uint32_t kWhiteOnBlack = 2;
constexpr std::uint32_t kColorOnColor = 3;

QRgb ToRgb(Colour c) {
    return qRgb(RedOf(c), GreenOf(c), BlueOf(c));
}

// The brush as the pattern operand: solid colour, hatch or picture, anchored
// at the brush origin.
class PatternSampler {
public:
    explicit PatternSampler(const GdiDevice& dc)
        : brush_(dc.State().brush),
          origin_(dc.State().brushOrg),
          colour_(ToRgb(dc.BrushColour())),
          text_(ToRgb(ResolveColour(dc.State().textColour, dc.State().palette))),
          back_(ToRgb(ResolveColour(dc.State().bkColour, dc.State().palette))) {}
    QRgb At(int x, int y) const {
        const int px = x - origin_.x(), py = y - origin_.y();
        if (brush_.pattern && brush_.pattern->Width() > 0 && brush_.pattern->Height() > 0) {
            const int w = brush_.pattern->Width(), h = brush_.pattern->Height();
            const Colour c = brush_.pattern->Pixel(((px % w) + w) % w, ((py % h) + h) % h);
            // Monochrome brushes paint clear bits in the text colour, set bits in the background.
            if (brush_.style == kBsPattern) return c == 0 ? text_ : back_;
            return ToRgb(c);
        }
        if (brush_.style == kBsHatched) {
            const std::uint8_t row = HatchRows(brush_.hatch)[py & 7];
            return (row & (0x80 >> (px & 7))) ? colour_ : back_;
        }
        return brush_.style == kBsNull ? 0 : colour_;
    }

private:
    const LogBrush& brush_;
    QPoint origin_;
    QRgb colour_, text_, back_;
};

// Source sampling: nearest pixel, or several sub-samples of the footprint
// when the picture shrinks and the stretch mode asks to keep detail. The
// halftone mode averages the source pixels each device pixel covers, and
// interpolates between them when the picture grows.
class SourceSampler {
public:
    // `dx`, `dy`: one device pixel across and down, in source pixels.
    SourceSampler(const BlitSource& s, std::uint32_t stretchMode, QPointF dx, QPointF dy)
        : src_(s),
          mode_(stretchMode),
          footprint_(std::abs(dx.x()) + std::abs(dy.x()), std::abs(dx.y()) + std::abs(dy.y())) {
        const double shrink = std::max(std::hypot(dx.x(), dx.y()), std::hypot(dy.x(), dy.y()));
        const double grow = std::min(std::hypot(dx.x(), dx.y()), std::hypot(dy.x(), dy.y()));
        average_ = mode_ == kHalftone && shrink > 1.001;
        smooth_ = mode_ == kHalftone && grow < 0.99 && !average_;
        taps_ = shrink > 1.5 && mode_ != kColorOnColor ? 2 : 1;
    }

    bool Inside(QPointF p) const {
        return p.x() >= 0 && p.y() >= 0 && p.x() < src_.pixels->Width() &&
               p.y() < src_.pixels->Height();
    }
    // `p` in source pixels; `dx`, `dy` one device pixel in source pixels.
    QRgb At(QPointF p, QPointF dx, QPointF dy, int* alpha) const {
        if (average_) return Averaged(p, alpha);
        // Enlarging halftone interpolates at the device pixel's corner, not
        // its centre: the first device pixel is exactly the first source pixel.
        if (smooth_) return Interpolated(p - 0.5 * (dx + dy), alpha);
        if (taps_ == 1) return Fetch(p, alpha);
        unsigned sum[3] = {}, andv = 0xFFFFFF, orv = 0, asum = 0;
        for (int j = 0; j < 2; ++j)
            for (int i = 0; i < 2; ++i) {
                int a = 255;
                const QRgb c = Fetch(p + dx * (i * 0.5 - 0.25) + dy * (j * 0.5 - 0.25), &a);
                sum[0] += qRed(c), sum[1] += qGreen(c), sum[2] += qBlue(c), asum += unsigned(a);
                andv &= c, orv |= c;
            }
        if (alpha) *alpha = int(asum / 4);
        if (mode_ == kBlackOnWhite) return 0xFF000000u | andv;
        if (mode_ == kWhiteOnBlack) return 0xFF000000u | orv;
        return qRgb(int(sum[0] / 4), int(sum[1] / 4), int(sum[2] / 4));
    }
    bool MaskSet(QPointF p) const {
        if (!src_.mask) return true;
        const int x = int(std::floor(p.x() + src_.maskOrigin.x()));
        const int y = int(std::floor(p.y() + src_.maskOrigin.y()));
        if (x < 0 || y < 0 || x >= src_.mask->Width() || y >= src_.mask->Height()) return true;
        return (src_.mask->Pixel(x, y) & 0xFFFFFF) != 0;
    }

private:
    int AlphaAt(int x, int y) const {
        return src_.alpha.empty() ? 255 : src_.alpha[std::size_t(y) * src_.pixels->Width() + x];
    }
    QRgb Fetch(QPointF q, int* a) const {
        const Bitmap24& b = *src_.pixels;
        const int x = std::clamp(int(std::floor(q.x())), 0, b.Width() - 1);
        const int y = std::clamp(int(std::floor(q.y())), 0, b.Height() - 1);
        if (a) *a = AlphaAt(x, y);
        return ToRgb(b.Pixel(x, y));
    }

    // The mean of the source pixels under the device pixel's footprint, each
    // weighted by the share it covers. Very large footprints are sampled on
    // a grid instead, so that a huge picture drawn tiny stays quick.
    QRgb Averaged(QPointF p, int* alpha) const {
        const Bitmap24& b = *src_.pixels;
        const double x0 = p.x() - footprint_.x() / 2, x1 = p.x() + footprint_.x() / 2;
        const double y0 = p.y() - footprint_.y() / 2, y1 = p.y() + footprint_.y() / 2;
        const double stepX = std::max(1.0, footprint_.x() / 8),
                     stepY = std::max(1.0, footprint_.y() / 8);
        double sum[4] = {}, total = 0;
        for (double y = std::floor(y0); y < y1; y += stepY) {
            const double wy = std::min(y + stepY, y1) - std::max(y, y0);
            const int sy = std::clamp(int(y), 0, b.Height() - 1);
            for (double x = std::floor(x0); x < x1; x += stepX) {
                const double w = wy * (std::min(x + stepX, x1) - std::max(x, x0));
                const int sx = std::clamp(int(x), 0, b.Width() - 1);
                const Colour c = b.Pixel(sx, sy);
                sum[0] += w * RedOf(c), sum[1] += w * GreenOf(c), sum[2] += w * BlueOf(c);
                sum[3] += w * AlphaAt(sx, sy);
                total += w;
            }
        }
        if (total <= 0) return Fetch(p, alpha);
        if (alpha) *alpha = int(std::lround(sum[3] / total));
        return qRgb(int(std::lround(sum[0] / total)), int(std::lround(sum[1] / total)),
                    int(std::lround(sum[2] / total)));
    }

    // Bilinear from the source pixel `p` lies in towards its neighbours
    // right and down, edges repeated.
    QRgb Interpolated(QPointF p, int* alpha) const {
        const Bitmap24& b = *src_.pixels;
        const double fx = p.x(), fy = p.y();
        const int x0 = int(std::floor(fx)), y0 = int(std::floor(fy));
        const double wx = fx - x0, wy = fy - y0;
        double sum[4] = {};
        for (int j = 0; j < 2; ++j)
            for (int i = 0; i < 2; ++i) {
                const double wgt = (i ? wx : 1 - wx) * (j ? wy : 1 - wy);
                const int x = std::clamp(x0 + i, 0, b.Width() - 1);
                const int y = std::clamp(y0 + j, 0, b.Height() - 1);
                const Colour c = b.Pixel(x, y);
                sum[0] += wgt * RedOf(c), sum[1] += wgt * GreenOf(c), sum[2] += wgt * BlueOf(c);
                sum[3] += wgt * AlphaAt(x, y);
            }
        if (alpha) *alpha = int(std::lround(sum[3]));
        return qRgb(int(std::lround(sum[0])), int(std::lround(sum[1])), int(std::lround(sum[2])));
    }

    const BlitSource& src_;
    std::uint32_t mode_;
    QPointF footprint_;  // source pixels a device pixel spans, across and down
    bool average_ = false, smooth_ = false;
    int taps_ = 1;
};

// An upright destination is first turned into whole device pixels, each edge
// rounded, and the source is stretched onto exactly those pixels; the mapping
// from source pixels to the device is adjusted to match.
QTransform SnapToPixels(const QTransform& toDevice, const QRectF& src) {
    if (toDevice.m12() != 0 || toDevice.m21() != 0) return toDevice;
    const QPointF a = toDevice.map(src.topLeft()), b = toDevice.map(src.bottomRight());
    const double left = std::round(a.x()), right = std::round(b.x());
    const double top = std::round(a.y()), bottom = std::round(b.y());
    if (left == right || top == bottom) return toDevice;
    const double sx = (right - left) / src.width(), sy = (bottom - top) / src.height();
    return QTransform(sx, 0, 0, sy, left - src.left() * sx, top - src.top() * sy);
}

QRgb Blend(QRgb s, QRgb d, int sourceAlpha, const BlitMode& m) {
    const int k = m.constantAlpha;
    const int a = m.sourceAlpha ? sourceAlpha * k / 255 : k;
    auto ch = [&](int sc, int dc) {
        const int src = m.sourceAlpha ? sc * k / 255 : sc * a / 255;
        return std::clamp(src + dc * (255 - a) / 255, 0, 255);
    };
    return qRgb(ch(qRed(s), qRed(d)), ch(qGreen(s), qGreen(d)), ch(qBlue(s), qBlue(d)));
}

}  // namespace

std::uint32_t ApplyRop3(std::uint8_t rop, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
    switch (rop) {
        case kRop3SrcCopy:
            return s;
        case kRop3PatCopy:
            return p;
        case kRop3SrcAnd:
            return s & d;
        case kRop3SrcPaint:
            return s | d;
        case kRop3SrcInvert:
            return s ^ d;
        default:
            break;
    }
    std::uint32_t out = 0;
    for (unsigned i = 0; i < 8; ++i) {
        if (!((rop >> i) & 1)) continue;
        out |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return out;
}

bool Rop3UsesSource(std::uint8_t rop) {
    return ((rop & 0xCC) >> 2) != (rop & 0x33);
}

void Blit(GdiDevice& dc, const QRectF& src, QPointF topLeft, QPointF topRight, QPointF bottomLeft,
          const BlitSource& source, const BlitMode& mode) {
    if (src.width() == 0 || src.height() == 0) return;
    // Source pixels -> logical parallelogram -> device pixels.
    const QPointF ex = (topRight - topLeft) / src.width(),
                  ey = (bottomLeft - topLeft) / src.height();
    const QTransform toLogical(ex.x(), ex.y(), ey.x(), ey.y(),
                               topLeft.x() - src.left() * ex.x() - src.top() * ey.x(),
                               topLeft.y() - src.left() * ex.y() - src.top() * ey.y());
    const QTransform toDevice = SnapToPixels(toLogical * dc.DeviceTransform(), src);
    bool invertible = false;
    const QTransform back = toDevice.inverted(&invertible);
    if (!invertible) return;

    const QPolygonF area = toDevice.map(QPolygonF(src));
    QRegion cover(
        area.boundingRect().toAlignedRect().intersected(QRect(0, 0, dc.Width(), dc.Height())));
    if (const auto clip = dc.EffectiveClip()) cover &= *clip;
    if (cover.isEmpty()) return;

    QImage& image = dc.GetCanvas().Image();
    const PatternSampler pattern(dc);
    const bool useSource = source.pixels && source.pixels->Width() > 0;
    const QPointF dx(back.m11(), back.m12()), dy(back.m21(), back.m22());
    const SourceSampler sampler(source, dc.State().stretchMode, dx, dy);
    const QRectF norm = src.normalized();
    for (const QRect& r : cover) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = r.left(); x <= r.right(); ++x) {
                const QPointF sp = back.map(QPointF(x + 0.5, y + 0.5));
                if (sp.x() < norm.left() || sp.x() >= norm.right() || sp.y() < norm.top() ||
                    sp.y() >= norm.bottom())
                    continue;
                int alpha = 255;
                QRgb s = 0;
                if (useSource) {
                    if (!sampler.Inside(sp))
                        continue;  // GDI leaves pixels outside the bitmap alone
                    s = sampler.At(sp, dx, dy, &alpha);
                }
                const QRgb d = row[x];
                QRgb out = d;
                switch (mode.kind) {
                    case BlitMode::kAlphaBlend:
                        out = Blend(s, d, alpha, mode);
                        break;
                    case BlitMode::kTransparent:
                        if ((s & 0xFFFFFF) != (mode.transparent & 0xFFFFFF)) out = s;
                        break;
                    case BlitMode::kRop: {
                        const std::uint8_t rop = sampler.MaskSet(sp) ? mode.rop : mode.backRop;
                        out = ApplyRop3(rop, pattern.At(x, y), s, d);
                        break;
                    }
                }
                row[x] = 0xFF000000u | out;
            }
        }
    }
}

void BlitRect(GdiDevice& dc, const QRectF& src, const QRectF& dest, const BlitSource& source,
              const BlitMode& mode) {
    Blit(dc, src, dest.topLeft(), dest.topRight(), dest.bottomLeft(), source, mode);
}

bool BlitVisible(const GdiDevice& dc, QPointF topLeft, QPointF topRight, QPointF bottomLeft) {
    const QPointF bottomRight = topRight + bottomLeft - topLeft;
    const QPolygonF area =
        dc.DeviceTransform().map(QPolygonF({topLeft, topRight, bottomRight, bottomLeft}));
    // A pixel of margin: culling may only ever skip work, never pixels.
    QRegion cover(area.boundingRect()
                      .toAlignedRect()
                      .adjusted(-1, -1, 1, 1)
                      .intersected(QRect(0, 0, dc.Width(), dc.Height())));
    if (const auto clip = dc.EffectiveClip()) cover &= *clip;
    return !cover.isEmpty();
}

bool BlitRectVisible(const GdiDevice& dc, const QRectF& dest) {
    return BlitVisible(dc, dest.topLeft(), dest.topRight(), dest.bottomLeft());
}

}  // namespace corvan::emf
