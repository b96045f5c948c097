#include "platform/metafile/gdi_bitmap.h"

#include <algorithm>
#include <cmath>
#include <vector>

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

bool MaskSetAt(const BlitSource& src, int sx, int sy) {
    if (!src.mask) return true;
    const int x = int(std::floor(sx + 0.5 + src.maskOrigin.x()));
    const int y = int(std::floor(sy + 0.5 + src.maskOrigin.y()));
    if (x < 0 || y < 0 || x >= src.mask->Width() || y >= src.mask->Height()) return true;
    return (src.mask->Pixel(x, y) & 0xFFFFFF) != 0;
}

int AlphaOf(const BlitSource& src, int x, int y) {
    return src.alpha.empty() ? 255 : src.alpha[std::size_t(y) * src.pixels->Width() + x];
}

// Source sampling for blits the whole-pixel stretch cannot take (turned or
// sheared): nearest pixel, or several sub-samples of the footprint when the
// picture shrinks and the stretch mode asks to keep detail. Halftone filters
// bilinearly, from the device pixel's corner, as the upright stretch does.
class SourceSampler {
public:
    // `dx`, `dy`: one device pixel across and down, in source pixels.
    SourceSampler(const BlitSource& s, std::uint32_t stretchMode, QPointF dx, QPointF dy)
        : src_(s), mode_(stretchMode) {
        const double shrink = std::max(std::hypot(dx.x(), dx.y()), std::hypot(dy.x(), dy.y()));
        taps_ = shrink > 1.5 && mode_ != kColorOnColor ? 2 : 1;
    }

    bool Inside(QPointF p) const {
        return p.x() >= 0 && p.y() >= 0 && p.x() < src_.pixels->Width() &&
               p.y() < src_.pixels->Height();
    }
    // `p` in source pixels; `dx`, `dy` one device pixel in source pixels.
    QRgb At(QPointF p, QPointF dx, QPointF dy, int* alpha) const {
        if (mode_ == kHalftone) return Interpolated(p - 0.5 * (dx + dy), alpha);
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
        return MaskSetAt(src_, int(std::floor(p.x())), int(std::floor(p.y())));
    }

private:
    QRgb Fetch(QPointF q, int* a) const {
        const Bitmap24& b = *src_.pixels;
        const int x = std::clamp(int(std::floor(q.x())), 0, b.Width() - 1);
        const int y = std::clamp(int(std::floor(q.y())), 0, b.Height() - 1);
        if (a) *a = AlphaOf(src_, x, y);
        return ToRgb(b.Pixel(x, y));
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
                sum[3] += wgt * AlphaOf(src_, x, y);
            }
        if (alpha) *alpha = int(std::lround(sum[3]));
        return qRgb(int(std::lround(sum[0])), int(std::lround(sum[1])), int(std::lround(sum[2])));
    }

    const BlitSource& src_;
    std::uint32_t mode_;
    int taps_ = 1;
};

QRgb Blend(QRgb s, QRgb d, int sourceAlpha, const BlitMode& m) {
    const int k = m.constantAlpha;
    const int a = m.sourceAlpha ? sourceAlpha * k / 255 : k;
    auto ch = [&](int sc, int dc) {
        const int src = m.sourceAlpha ? sc * k / 255 : sc * a / 255;
        return std::clamp(src + dc * (255 - a) / 255, 0, 255);
    };
    return qRgb(ch(qRed(s), qRed(d)), ch(qGreen(s), qGreen(d)), ch(qBlue(s), qBlue(d)));
}

// One axis of a stretch between whole pixels, as GDI does it: the
// destination's corners are rounded to device pixels first, and a length
// below zero runs backwards from its start (start, start - 1, ...).
struct Axis {
    int dstStart = 0, dstLen = 0, srcStart = 0, srcLen = 0;

    int DstLo() const { return dstLen < 0 ? dstStart + dstLen + 1 : dstStart; }
    int DstHi() const { return dstLen < 0 ? dstStart + 1 : dstStart + dstLen; }
    int SrcLo() const { return srcLen < 0 ? srcStart + srcLen + 1 : srcStart; }
    int SrcHi() const { return srcLen < 0 ? srcStart + 1 : srcStart + srcLen; }

    // The source pixels that land on device pixel `p`, first and last in the
    // order the stretch visits them; false when `p` is outside. Integer
    // stepping: each pixel's centre maps across, exact ties going to the lower
    // pixel.
    bool Taps(int p, int* first, int* last) const {
        const std::int64_t k = dstLen < 0 ? dstStart - p : p - dstStart;
        const std::int64_t d = std::abs(dstLen), s = std::abs(srcLen);
        if (k < 0 || k >= d || s == 0) return false;
        std::int64_t a = 0, b = 0;
        if (s <= d) {
            a = b = (s * (2 * k + 1) - 1) / (2 * d);
        } else {
            // Source pixel j lands on (d (2j + 1) - 1) / 2s: the run that lands on k.
            a = std::max<std::int64_t>(0, CeilDiv(2 * s * k + 1 - d, 2 * d));
            b = std::min<std::int64_t>(s - 1, CeilDiv(2 * s * (k + 1) + 1 - d, 2 * d) - 1);
        }
        const int inc = srcLen < 0 ? -1 : 1;
        *first = srcStart + inc * int(a);
        *last = srcStart + inc * int(b);
        return true;
    }

private:
    static std::int64_t CeilDiv(std::int64_t n, std::int64_t m) {
        return n >= 0 ? (n + m - 1) / m : -((-n) / m);
    }
};

// Halftone mode filters bilinearly, stepping from the first source pixel of
// the visible part by source-width / destination-width in single precision.
// The visible part is the destination cut to the picture being played and
// the clip's bounding box, mapped back to the source in whole pixels with a
// pixel of slack, so where the picture is clipped shifts its sampling a little.
struct HalftoneTap {
    int i0 = 0, i1 = 0;
    float frac = 0;
};

struct HalftoneAxis {
    int lo = 0, hi = 0;  // device pixels drawn
    std::vector<HalftoneTap> taps;
};

HalftoneAxis MakeHalftoneAxis(const Axis& a, int srcSize, int visLo, int visHi) {
    HalftoneAxis out;
    const int dOff = a.dstLen < 0 ? 1 : 0, sOff = a.srcLen < 0 ? 1 : 0;
    // The source's extent in destination pixels, widened by one each way;
    // 64 bits, as the products of far-out coordinates leave 32.
    const auto scale = [](std::int64_t v, int num, int den) {
        return int(std::clamp<std::int64_t>(v * num / den, -(1 << 30), 1 << 30));
    };
    int lo = scale(std::int64_t{0} - a.srcStart - sOff, a.dstLen, a.srcLen);
    int hi = scale(std::int64_t{srcSize} - a.srcStart - sOff, a.dstLen, a.srcLen);
    if (lo > hi) std::swap(lo, hi);
    visLo = std::max(visLo, a.dstStart + lo - 1), visHi = std::min(visHi, a.dstStart + hi + 1);
    if (visLo >= visHi) return out;
    // Back to the source, widened again.
    int sLo = a.srcStart + scale(std::int64_t{visLo} - a.dstStart - dOff, a.srcLen, a.dstLen);
    int sHi = a.srcStart + scale(std::int64_t{visHi} - a.dstStart - dOff, a.srcLen, a.dstLen);
    if (sLo > sHi) std::swap(sLo, sHi);
    sLo = std::max({sLo - 1, 0, a.SrcLo()}), sHi = std::min({sHi + 1, srcSize, a.SrcHi()});
    out.lo = std::max(visLo, a.DstLo()), out.hi = std::min(visHi, a.DstHi());
    if (sLo >= sHi || out.lo >= out.hi) return {};
    const bool mirrored = (a.dstLen < 0) != (a.srcLen < 0);
    const float inc = float(sHi - sLo) / float(out.hi - out.lo) * (mirrored ? -1.0f : 1.0f);
    float pos = float(mirrored ? sHi - 1 : sLo);
    out.taps.reserve(std::size_t(out.hi - out.lo));
    for (int p = out.lo; p < out.hi; ++p) {
        pos = std::clamp(pos, float(sLo), float(sHi - 1));
        HalftoneTap t;
        t.i0 = int(pos);
        t.i1 = std::min(t.i0 + 1, sHi - 1);
        t.frac = pos - float(t.i0);
        out.taps.push_back(t);
        pos += inc;
    }
    return out;
}

std::uint8_t Lerp(int from, int to, float t) {
    return static_cast<std::uint8_t>(float(from) + float(to - from) * t + 0.5f);
}

std::uint8_t Bilerp(int c00, int c01, int c10, int c11, float fx, float fy) {
    return Lerp(Lerp(c00, c01, fx), Lerp(c10, c11, fx), fy);
}

// Writes one device pixel: the source (when there is one) combined with the
// pattern and the destination as the mode says.
class PixelCombiner {
public:
    PixelCombiner(const GdiDevice& dc, const BlitMode& mode) : pattern_(dc), mode_(mode) {}
    void Put(QRgb* px, int x, int y, QRgb s, int alpha, bool maskSet) const {
        const QRgb d = *px;
        QRgb out = d;
        switch (mode_.kind) {
            case BlitMode::kAlphaBlend:
                out = Blend(s, d, alpha, mode_);
                break;
            case BlitMode::kTransparent:
                if ((s & 0xFFFFFF) != (mode_.transparent & 0xFFFFFF)) out = s;
                break;
            case BlitMode::kRop:
                out = ApplyRop3(maskSet ? mode_.rop : mode_.backRop, pattern_.At(x, y), s, d);
                break;
        }
        *px = 0xFF000000u | out;
    }

private:
    PatternSampler pattern_;
    const BlitMode& mode_;
};

// The source pixel a device pixel takes when the stretch picks pixels:
// colour-on-colour keeps one (the last of a run across, the first of a run
// down), black-on-white and white-on-black AND or OR the whole run.
bool PickSource(const BlitSource& src, std::uint32_t mode, int x0, int x1, int y0, int y1,
                QRgb* colour, int* alpha) {
    const Bitmap24& b = *src.pixels;
    const auto inside = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < b.Width() && y < b.Height();
    };
    if (!inside(x0, y0) || !inside(x1, y1)) return false;
    if ((mode != kBlackOnWhite && mode != kWhiteOnBlack) || (x0 == x1 && y0 == y1)) {
        *colour = ToRgb(b.Pixel(x1, y0));
        *alpha = AlphaOf(src, x1, y0);
        return true;
    }
    std::uint32_t acc = mode == kBlackOnWhite ? 0xFFFFFFu : 0u;
    for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y)
        for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x) {
            const QRgb c = ToRgb(b.Pixel(x, y));
            acc = mode == kBlackOnWhite ? (acc & c) : (acc | c);
        }
    *colour = 0xFF000000u | acc;
    *alpha = AlphaOf(src, x1, y0);
    return true;
}

// Far-out coordinates are held where the pixel arithmetic cannot overflow.
int RoundHalfUp(double v) {
    return int(std::floor(std::clamp(std::isfinite(v) ? v : 0.0, -2e8, 2e8) + 0.5));
}

// Whether the logical rectangle meets the device with its sides along the
// pixel grid; then GDI's whole-pixel stretch applies.
bool GridAligned(const QTransform& t, QPointF topLeft, QPointF topRight, QPointF bottomLeft) {
    return t.isAffine() && t.m12() == 0 && t.m21() == 0 && topRight.y() == topLeft.y() &&
           bottomLeft.x() == topLeft.x();
}

void FillHalftone(GdiDevice& dc, const Axis& ax, const Axis& ay, const BlitSource& source,
                  const BlitMode& mode) {
    const Bitmap24& b = *source.pixels;
    // The whole picture, not the canvas: a strip samples as the page does.
    QRect vis = dc.PictureArea();
    const auto clip = dc.EffectiveClip();
    if (clip) vis &= clip->boundingRect();
    const HalftoneAxis hx = MakeHalftoneAxis(ax, b.Width(), vis.left(), vis.right() + 1);
    const HalftoneAxis hy = MakeHalftoneAxis(ay, b.Height(), vis.top(), vis.bottom() + 1);
    if (hx.taps.empty() || hy.taps.empty()) return;
    QRegion cover(QRect(hx.lo, hy.lo, hx.hi - hx.lo, hy.hi - hy.lo)
                      .intersected(QRect(0, 0, dc.Width(), dc.Height())));
    if (clip) cover &= *clip;
    QImage& image = dc.GetCanvas().Image();
    const PixelCombiner combine(dc, mode);
    for (const QRect& r : cover) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            const HalftoneTap& ty = hy.taps[std::size_t(y - hy.lo)];
            for (int x = r.left(); x <= r.right(); ++x) {
                const HalftoneTap& tx = hx.taps[std::size_t(x - hx.lo)];
                const Colour c00 = b.Pixel(tx.i0, ty.i0), c01 = b.Pixel(tx.i1, ty.i0);
                const Colour c10 = b.Pixel(tx.i0, ty.i1), c11 = b.Pixel(tx.i1, ty.i1);
                const auto ch = [&](auto of) {
                    return Bilerp(of(c00), of(c01), of(c10), of(c11), tx.frac, ty.frac);
                };
                const QRgb s = qRgb(ch(RedOf), ch(GreenOf), ch(BlueOf));
                const int alpha = Bilerp(
                    AlphaOf(source, tx.i0, ty.i0), AlphaOf(source, tx.i1, ty.i0),
                    AlphaOf(source, tx.i0, ty.i1), AlphaOf(source, tx.i1, ty.i1), tx.frac, ty.frac);
                combine.Put(&row[x], x, y, s, alpha, MaskSetAt(source, tx.i0, ty.i0));
            }
        }
    }
}

void FillPicked(GdiDevice& dc, const Axis& ax, const Axis& ay, const BlitSource& source,
                const BlitMode& mode, std::uint32_t stretchMode) {
    QRegion cover(QRect(ax.DstLo(), ay.DstLo(), ax.DstHi() - ax.DstLo(), ay.DstHi() - ay.DstLo())
                      .intersected(QRect(0, 0, dc.Width(), dc.Height())));
    if (const auto clip = dc.EffectiveClip()) cover &= *clip;
    if (cover.isEmpty()) return;
    QImage& image = dc.GetCanvas().Image();
    const PixelCombiner combine(dc, mode);
    const bool useSource = source.pixels && source.pixels->Width() > 0;
    // The columns' taps, worked out once for all rows.
    const QRect box = cover.boundingRect();
    struct Column {
        bool on = false;
        int x0 = 0, x1 = 0;
    };
    std::vector<Column> columns(std::size_t(box.width()));
    for (int x = box.left(); x <= box.right(); ++x) {
        Column& c = columns[std::size_t(x - box.left())];
        c.on = ax.Taps(x, &c.x0, &c.x1);
    }
    for (const QRect& r : cover) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            int y0 = 0, y1 = 0;
            if (!ay.Taps(y, &y0, &y1)) continue;
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = r.left(); x <= r.right(); ++x) {
                const Column& c = columns[std::size_t(x - box.left())];
                if (!c.on) continue;
                const int x0 = c.x0, x1 = c.x1;
                QRgb s = 0;
                int alpha = 255;
                // GDI leaves pixels whose source lies outside the bitmap alone.
                if (useSource && !PickSource(source, stretchMode, x0, x1, y0, y1, &s, &alpha))
                    continue;
                combine.Put(&row[x], x, y, s, alpha, MaskSetAt(source, x1, y0));
            }
        }
    }
}

// The whole-pixel stretch of an upright blit. False when the blit is rotated
// or sheared and must be mapped pixel by pixel instead.
bool GridBlit(GdiDevice& dc, const QRectF& src, QPointF topLeft, QPointF topRight,
              QPointF bottomLeft, const BlitSource& source, const BlitMode& mode) {
    const QTransform t = dc.DeviceTransform();
    if (!GridAligned(t, topLeft, topRight, bottomLeft)) return false;
    const QPointF a = t.map(topLeft), b = t.map(topRight + bottomLeft - topLeft);
    Axis ax{RoundHalfUp(a.x()), RoundHalfUp(b.x()) - RoundHalfUp(a.x()), RoundHalfUp(src.left()),
            RoundHalfUp(src.right()) - RoundHalfUp(src.left())};
    Axis ay{RoundHalfUp(a.y()), RoundHalfUp(b.y()) - RoundHalfUp(a.y()), RoundHalfUp(src.top()),
            RoundHalfUp(src.bottom()) - RoundHalfUp(src.top())};
    if (ax.dstLen == 0 || ay.dstLen == 0 || ax.srcLen == 0 || ay.srcLen == 0) return true;
    const bool useSource = source.pixels && source.pixels->Width() > 0;
    const bool stretched = ax.dstLen != ax.srcLen || ay.dstLen != ay.srcLen;
    // Alpha blending always stretches colour-on-colour.
    const std::uint32_t stretchMode =
        mode.kind == BlitMode::kAlphaBlend ? kColorOnColor : dc.State().stretchMode;
    if (useSource && stretched && stretchMode == kHalftone)
        FillHalftone(dc, ax, ay, source, mode);
    else
        FillPicked(dc, ax, ay, source, mode, stretchMode);
    return true;
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
    if (GridBlit(dc, src, topLeft, topRight, bottomLeft, source, mode)) return;
    // Source pixels -> logical parallelogram -> device pixels.
    const QPointF ex = (topRight - topLeft) / src.width(),
                  ey = (bottomLeft - topLeft) / src.height();
    const QTransform toLogical(ex.x(), ex.y(), ey.x(), ey.y(),
                               topLeft.x() - src.left() * ex.x() - src.top() * ey.x(),
                               topLeft.y() - src.left() * ex.y() - src.top() * ey.y());
    const QTransform toDevice = toLogical * dc.DeviceTransform();
    bool invertible = false;
    const QTransform back = toDevice.inverted(&invertible);
    if (!invertible) return;

    const QPolygonF area = toDevice.map(QPolygonF(src));
    QRegion cover(PixelArea(area.boundingRect(), QRect(0, 0, dc.Width(), dc.Height())));
    if (const auto clip = dc.EffectiveClip()) cover &= *clip;
    if (cover.isEmpty()) return;

    QImage& image = dc.GetCanvas().Image();
    const PixelCombiner combine(dc, mode);
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
                combine.Put(&row[x], x, y, s, alpha, sampler.MaskSet(sp));
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
    // A pixel of margin (which PixelArea adds): culling may only ever skip
    // work, never pixels. Far-out corners are cut in floating point first.
    QRegion cover(PixelArea(area.boundingRect(), QRect(0, 0, dc.Width(), dc.Height())));
    if (const auto clip = dc.EffectiveClip()) cover &= *clip;
    return !cover.isEmpty();
}

bool BlitRectVisible(const GdiDevice& dc, const QRectF& dest) {
    return BlitVisible(dc, dest.topLeft(), dest.topRight(), dest.bottomLeft());
}

}  // namespace corvan::emf
