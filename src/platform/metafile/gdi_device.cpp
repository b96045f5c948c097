#include "platform/metafile/gdi_device.h"

#include <cmath>

namespace corvan::emf {
namespace {

// Dash lengths of one-pixel pens, in pixels, and of wide pens, in pen widths
// (dash, dot, dash-dot, dash-dot-dot), as GDI draws them.
const std::vector<double> kThinDashes[4] = {{18, 6}, {3, 3}, {9, 6, 3, 6}, {9, 3, 3, 3, 3, 3}};
const std::vector<double> kWideDashes[4] = {{3, 1}, {1, 1}, {3, 1, 1, 1}, {3, 1, 1, 1, 1, 1}};

Qt::PenCapStyle CapOf(std::uint32_t style) {
    switch (style & kPsEndcapMask) {
        case kPsEndcapSquare:
            return Qt::SquareCap;
        case kPsEndcapFlat:
            return Qt::FlatCap;
        default:
            return Qt::RoundCap;
    }
}

Qt::PenJoinStyle JoinOf(std::uint32_t style) {
    switch (style & kPsJoinMask) {
        case kPsJoinBevel:
            return Qt::BevelJoin;
        case kPsJoinMiter:
            return Qt::MiterJoin;
        default:
            return Qt::RoundJoin;
    }
}

}  // namespace

GdiDevice::GdiDevice(Bitmap24& target) : canvas_(target) {
    // A memory context on a 96 dpi screen, until a playback names its device.
    SetReferenceDevice(QSize(1000, 1000), QSizeF(1000 * 25.4 / 96, 1000 * 25.4 / 96));
}

GdiDevice::~GdiDevice() {
    canvas_.Flush();
}

int GdiDevice::SaveDC() {
    saved_.push_back(state_);
    return static_cast<int>(saved_.size());
}

bool GdiDevice::RestoreDC(int level) {
    const int depth = static_cast<int>(saved_.size());
    const int target = level < 0 ? depth + level : level - 1;  // index of the state to restore
    if (target < floor_ || target >= depth) return false;
    state_ = std::move(saved_[target]);
    saved_.resize(target);
    return true;
}

void GdiDevice::ResetState() {
    DcState fresh;
    fresh.clip = std::move(state_.clip);
    fresh.meta = std::move(state_.meta);
    state_ = std::move(fresh);
}

LogPen GdiDevice::SelectPen(LogPen pen) {
    std::swap(pen, state_.pen);
    return pen;
}

LogBrush GdiDevice::SelectBrush(LogBrush brush) {
    std::swap(brush, state_.brush);
    return brush;
}

LogFont GdiDevice::SelectFont(LogFont font) {
    std::swap(font, state_.font);
    return font;
}

Colour GdiDevice::PenColour() const {
    return ResolveColour(state_.pen.dcPen ? state_.dcPenColour : state_.pen.colour, state_.palette);
}

Colour GdiDevice::BrushColour() const {
    return ResolveColour(state_.brush.colour, state_.palette);
}

FillStyle GdiDevice::MakeFill(const LogBrush& brush) const {
    FillStyle f;
    f.colour = ResolveColour(brush.colour, state_.palette);
    f.origin = state_.brushOrg;
    f.background = ResolveColour(state_.bkColour, state_.palette);
    f.opaque = state_.bkMode != kTransparent;
    switch (brush.style) {
        case kBsSolid:
            f.kind = FillStyle::kSolid;
            break;
        case kBsHatched:
            f.kind = FillStyle::kHatch;
            f.hatch = brush.hatch;
            break;
        case kBsNull:
            f.kind = FillStyle::kNone;
            break;
        case kBsPattern:
        case kBsDibPatternPt:
            // A pattern brush without a usable picture leaves the area alone.
            f.kind = brush.pattern ? FillStyle::kPattern : FillStyle::kNone;
            f.pattern = brush.pattern;
            f.mono = brush.style == kBsPattern;
            if (f.mono) f.colour = ResolveColour(state_.textColour, state_.palette);
            break;
        default:
            f.kind = FillStyle::kNone;
            break;
    }
    return f;
}

StrokeStyle GdiDevice::MakeStroke() const {
    const LogPen& pen = state_.pen;
    StrokeStyle s;
    const std::uint32_t style = pen.Style();
    if (style == kPsNull) return s;  // ink stays kNone
    LogBrush ink;
    // Pattern pens draw in their colour until pattern pictures are decoded.
    ink.style = pen.extended && pen.brushStyle == kBsHatched ? kBsHatched : kBsSolid;
    ink.colour = PenColour();
    ink.hatch = pen.hatch;
    s.ink = MakeFill(ink);
    if (s.ink.kind == FillStyle::kNone) return s;
    // Width in device pixels: the logical width measured along x through the mapping.
    const QTransform t = DeviceTransform();
    const double scale = std::hypot(t.m11(), t.m12());
    const bool cosmetic =
        pen.extended ? !pen.Geometric() : pen.width <= 1 && pen.width * scale < 1.5;
    s.width = cosmetic ? 1 : std::max(1.0, pen.width * scale);
    s.thin = s.width < 1.5;
    s.cap = CapOf(pen.style);
    s.join = JoinOf(pen.style);
    s.miterLimit = state_.miterLimit;
    s.fillGaps = state_.bkMode != kTransparent;
    s.gapColour = ResolveColour(state_.bkColour, state_.palette);
    // Old-style pens wider than one pixel only draw solid lines.
    const bool dashesAllowed = pen.extended || pen.width <= 1;
    if (style >= kPsDash && style <= kPsDashDotDot && dashesAllowed) {
        if (!(pen.extended && pen.Geometric())) {
            s.dashes = kThinDashes[style - kPsDash];
        } else {
            for (double d : kWideDashes[style - kPsDash]) s.dashes.push_back(d * s.width);
        }
    } else if (style == kPsAlternate) {
        s.dashes = {1, 1};
    } else if (style == kPsUserStyle && !pen.userStyle.empty()) {
        const double unit = cosmetic ? 1 : scale;
        for (std::uint32_t d : pen.userStyle) s.dashes.push_back(std::max(0.0, d * unit));
        if (s.dashes.size() % 2) s.dashes.push_back(s.dashes.back());
    }
    return s;
}

void GdiDevice::SyncCanvas() {
    canvas_.SetClip(EffectiveClip());
    canvas_.SetRop2(state_.rop2);
}

void GdiDevice::Paint(const GdiPath& shape, bool fill, bool stroke) {
    SyncCanvas();
    const QPainterPath device = ToPainterPath(shape);
    if (fill) {
        const Qt::FillRule rule =
            state_.polyFillMode == kWinding ? Qt::WindingFill : Qt::OddEvenFill;
        canvas_.Fill(device, rule, MakeFill(state_.brush));
    }
    if (stroke) canvas_.Stroke(device, MakeStroke());
}

void GdiDevice::Emit(const GdiPath& device, bool fill, bool continues) {
    if (device.Empty()) return;
    if (state_.pathState == PathState::kOpen) {
        AppendToPath(device, continues);
        return;
    }
    Paint(device, fill, true);
}

void GdiDevice::FillRect(const QRect& rect, Colour colour) {
    canvas_.SetClip(EffectiveClip());
    canvas_.FillRect(rect, colour);
}

}  // namespace corvan::emf
