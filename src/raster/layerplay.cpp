#include "raster/layerplay.h"

#include "job/emffile.h"
#include "platform/metafile/emf_records.h"
#include "platform/metafile/gdi_objects.h"

#include <cmath>

namespace corvan {

using namespace emf;

namespace {

constexpr std::array<std::uint8_t, 131> MakeClassTable() {
    std::array<std::uint8_t, 131> t{};
    for (int r : {2, 4, 5, 6, 7, 41, 45, 54, 55, 56, 64, 85, 87, 88, 89, 90, 92}) t[r] = 1;
    t[62] = 2;
    for (int r : {3, 8, 42, 43, 44, 46, 47, 63, 86, 91}) t[r] = 3;
    for (int r :
         {15, 53, 71, 72, 74, 76, 77, 78, 79, 81, 83, 84, 96, 97, 108, 114, 115, 116, 117, 118})
        t[r] = 4;
    return t;
}

// The record type as the tables see it, with the path bracket tracked.
std::uint32_t TrackType(const EmfRecord& record, bool& inPath) {
    const std::uint32_t t = record.type > 130 ? 0 : record.type;
    if (t == kEndPath) inPath = false;
    if (t == kBeginPath) inPath = true;
    return t;
}

IntPoint ToPixel(const GdiDevice& dc, QPoint logical) {
    const QPointF p = dc.LPtoDP(QPointF(logical));
    return {static_cast<std::int32_t>(std::lround(p.x())),
            static_cast<std::int32_t>(std::lround(p.y()))};
}

// A path bracket of our own around one record: the metafile's path (open or
// waiting for its fill) and the current position are put back afterwards.
class ScratchPath {
public:
    explicit ScratchPath(GdiDevice& dc)
        : dc_(dc),
          state_(dc.State().pathState),
          path_(std::move(dc.State().path)),
          newFigure_(dc.State().pathNewFigure),
          position_(dc.State().position) {
        dc.BeginPath();
    }
    ~ScratchPath() {
        DcState& s = dc_.State();
        s.pathState = state_;
        s.path = std::move(path_);
        s.pathNewFigure = newFigure_;
        if (restorePosition_) s.position = position_;
    }
    ScratchPath(const ScratchPath&) = delete;
    ScratchPath& operator=(const ScratchPath&) = delete;
    // Lets the record's move of the current position stand.
    void KeepPosition() { restorePosition_ = false; }

private:
    GdiDevice& dc_;
    PathState state_;
    GdiPath path_;
    bool newFigure_;
    QPointF position_;
    bool restorePosition_ = true;
};

// Drawing records that leave the current position at their last point.
bool MovesPosition(std::uint32_t t) {
    switch (t) {
        case kPolyBezierTo:
        case kPolylineTo:
        case kAngleArc:
        case kLineTo:
        case kArcTo:
        case kPolyDraw:
        case kPolyBezierTo16:
        case kPolylineTo16:
        case kPolyDraw16:
            return true;
        default:
            return false;
    }
}

// A record that is not drawn still moves the current position, as playback
// does: otherwise the next line would start from a stale point (and the
// knife would cut a stray line through the artwork).
void FollowPosition(GdiDevice& dc, HandleTable& handles, const EmfRecord& record, std::uint32_t t) {
    if (!MovesPosition(t)) return;
    ScratchPath scratch(dc);
    PlayRecord(dc, handles, record);
    scratch.KeepPosition();
}

void AppendFlattened(GdiDevice& dc, TemfPreview& preview) {
    dc.FlattenPath();
    for (const PathPoint& p : dc.GetPath()) {
        preview.PathPoints.push_back(ToPixel(dc, p.point));
        preview.PathTypes.push_back(p.type);
    }
}

// The matched record's flattened outline, appended in image pixels. Records
// that use the metafile's own path keep it; the others are turned into one
// without touching the metafile's path or the current position.
void CollectOutline(GdiDevice& dc, HandleTable& handles, const EmfRecord& record, std::uint32_t t,
                    TemfPreview& preview) {
    if (t == kFillPath || t == kStrokeAndFillPath || t == kStrokePath) {
        AppendFlattened(dc, preview);
        return;
    }
    ScratchPath scratch(dc);
    PlayRecord(dc, handles, record);
    dc.EndPath();
    AppendFlattened(dc, preview);
}

void PlayInBlack(GdiDevice& dc, HandleTable& handles, const EmfRecord& record, bool byBrush) {
    const LogPen pen = dc.SelectPen(StockPen(kBlackPen));
    const LogBrush brush = dc.SelectBrush(StockBrush(byBrush ? kBlackBrush : kNullBrush));
    PlayRecord(dc, handles, record);
    dc.SelectPen(pen);
    dc.SelectBrush(brush);
}

// Whether a drawing record of class `c` is to be drawn under the contour rules.
bool ContourRules(GdiDevice& dc, HandleTable& handles, const EmfRecord& record, std::uint32_t t,
                  std::uint8_t c, TemfPreview& p) {
    bool matched = false, byBrush = false;
    const Colour cut = MatchableColour(p.MatchColor);
    if ((c & 1) && (p.MatchMask & 1) && PenColorOf(dc) == cut) matched = true;
    if ((c & 2) && (p.MatchMask & 2) && BrushColorOf(dc) == cut) matched = byBrush = true;
    if (!matched) return p.DrawUnmatched;
    if (p.CollectContours) CollectOutline(dc, handles, record, t, p);
    if (p.OutlineMatched) {
        PlayInBlack(dc, handles, record, byBrush);
        return false;
    }
    return p.DrawMatched;
}

}  // namespace

const std::array<std::uint8_t, 131> RecordClassTable = MakeClassTable();

std::uint8_t RecordClass(std::uint32_t type) {
    return RecordClassTable[type > 130 ? 0 : type];
}

namespace {
bool IsPatternStyle(std::uint32_t style) {
    return style == kBsPattern || style == kBsDibPattern || style == kBsDibPatternPt;
}
}  // namespace

Colour PenColorOf(const GdiDevice& dc) {
    if ((dc.PenStyle() & kPsStyleMask) == kPsNull) return NoColor;
    const LogPen& pen = dc.State().pen;
    if (pen.extended && IsPatternStyle(pen.brushStyle)) return kPatternColor;
    return dc.PenColour();
}

Colour BrushColorOf(const GdiDevice& dc) {
    if (dc.BrushStyle() == kBsNull) return NoColor;
    if (IsPatternStyle(dc.BrushStyle())) return kPatternColor;
    return dc.BrushColour();
}

namespace {
constexpr std::uint32_t kHalftoneStretch = 4;  // STRETCH_HALFTONE: interpolating
bool AxisAligned(const QTransform& m) {
    return m.m12() == 0 && m.m21() == 0 && m.m13() == 0 && m.m23() == 0;
}
}  // namespace

Colour MatchableColour(Colour c) {
    return (c >> 24) == 0x02 ? (c & 0xFFFFFF) : c;
}

RecordAction PlayLayerRecord(GdiDevice& dc, HandleTable& handles, const EmfRecord& record,
                             void* data) {
    auto& p = *static_cast<TemfPreview*>(data);
    if (p.Cancel && p.Cancel->load(std::memory_order_relaxed)) return RecordAction::kStop;
    const std::uint32_t t = TrackType(record, p.InPath);
    const std::uint8_t c = RecordClassTable[t];
    bool draw = true;
    if (c != 0 && p.ContourActive && !p.InPath) draw = ContourRules(dc, handles, record, t, c, p);
    if (!draw) {
        FollowPosition(dc, handles, record, t);
        return RecordAction::kContinue;
    }
    if (t == kStretchDiBits) {
        dc.SetStretchBltMode(3);  // colour on colour
        const auto f = ReadStretchDibFields(record);
        if (p.SmoothBitmaps && p.Target && f && f->srcWidth >= 2 && f->srcHeight >= 2) {
            if (AxisAligned(dc.DeviceTransform())) {
                PlaySmoothBitmap(dc, record, *p.Target, false, handles.bitmaps);
                return RecordAction::kContinue;
            }
            // Turned or sheared: that resampler works along the axes only and
            // would shear the picture differently in every strip; the
            // player's interpolating blit maps each pixel on its own.
            dc.SetStretchBltMode(kHalftoneStretch);
            PlayRecord(dc, handles, record);
            dc.SetStretchBltMode(3);
            return RecordAction::kContinue;
        }
    }
    if (!PlayRecord(dc, handles, record) && t == kStretchDiBits && p.Target)
        PlaySmoothBitmap(dc, record, *p.Target, true, handles.bitmaps);
    return RecordAction::kContinue;
}

RecordAction CollectColorsRecord(GdiDevice& dc, HandleTable& handles, const EmfRecord& record,
                                 void* data) {
    auto& list = *static_cast<Tcolorlist*>(data);
    const std::uint32_t t = TrackType(record, list.InPath);
    const std::uint8_t c = RecordClassTable[t];
    if ((c & 1) && (list.CollectMask & Tcolorlist::kCollectPens)) {
        if (const Colour pen = PenColorOf(dc); pen != NoColor) list.AddColour(pen);
    }
    if ((c & 2) && (list.CollectMask & Tcolorlist::kCollectBrushes)) {
        if (const Colour brush = BrushColorOf(dc); brush != NoColor) list.AddColour(brush);
    }
    if (c == 0) PlayRecord(dc, handles, record);
    return RecordAction::kContinue;
}

void Tcolorlist::CollectLayerColors(const std::vector<std::string>& files) {
    InPath = false;
    auto scratch = Bitmap24::Create(1, 1);
    if (!scratch) return;
    GdiDevice dc(*scratch);
    for (const std::string& name : files) {
        auto metafile = EmfReader::OpenFile(name);
        if (!metafile) continue;
        Enumerate(dc, *metafile, QRect(0, 0, 300, 300), &CollectColorsRecord, this);
    }
}

}  // namespace corvan
