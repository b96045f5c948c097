#pragma once
// A drawing context with Windows GDI semantics over a Bitmap24: the state of
// gdi_state.h, the mapping from logical units to pixels, the path bracket and
// clipping, and the drawing operations that turn logical geometry into device
// pixels on the canvas. Metafile playback (emf_player.h) drives it one record
// at a time; callers may also use it directly.
#include "platform/metafile/gdi_canvas.h"
#include "platform/metafile/gdi_state.h"

#include <QPainterPath>

#include <optional>
#include <span>
#include <vector>

namespace corvan::emf {

// Conversions between GDI's typed point lists and Qt's paths. Subpaths of a
// Qt path become closed figures when `closed` is set.
GdiPath ToGdiPath(const QPainterPath& path, bool closed);
QPainterPath ToPainterPath(const GdiPath& path);
// Curves replaced by straight lines within a quarter pixel.
GdiPath Flattened(const GdiPath& path);

// A logical point through `t`, on the nearest whole device pixel.
QPointF SnapToPixel(const QTransform& t, QPointF logical);

struct PathPoint {
    QPoint point;       // logical units
    std::uint8_t type;  // kPtMoveTo, kPtLineTo, kPtBezierTo, plus kPtCloseFigure
};

class GdiDevice {
public:
    // Draws on `target`, starting from its pixels as they are now; the
    // drawing reaches it on Flush() and on destruction.
    explicit GdiDevice(Bitmap24& target);
    ~GdiDevice();
    GdiDevice(const GdiDevice&) = delete;
    GdiDevice& operator=(const GdiDevice&) = delete;

    int Width() const { return canvas_.Width(); }
    int Height() const { return canvas_.Height(); }
    Canvas& GetCanvas() { return canvas_; }
    void Flush() { canvas_.Flush(); }

    // --- state -------------------------------------------------------------
    DcState& State() { return state_; }
    const DcState& State() const { return state_; }
    // Pushes the state; returns the new depth of the stack.
    int SaveDC();
    // A negative level counts back from the top; false when out of range.
    bool RestoreDC(int level);
    int SavedLevels() const { return static_cast<int>(saved_.size()); }
    // Levels at or below this many cannot be restored (playback guards its own).
    void SetRestoreFloor(int levels) { floor_ = levels; }
    int RestoreFloor() const { return floor_; }
    // Back to the defaults of a new context, keeping the clip and meta region.
    void ResetState();

    // --- mapping -----------------------------------------------------------
    // The size of the device that the mapping modes measure (pixels and mm).
    void SetReferenceDevice(QSize pixels, QSizeF millimetres);
    void SetMapMode(std::int32_t mode);
    void SetWindowOrg(QPoint p);
    void SetWindowExt(QSize s);
    void SetViewportOrg(QPoint p);
    void SetViewportExt(QSize s);
    void ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom);
    void ScaleViewportExt(int xNum, int xDenom, int yNum, int yDenom);
    void SetWorldTransform(const QTransform& t) { state_.world = t; }
    void ModifyWorldTransform(const QTransform& t, std::uint32_t mode);
    // The transform of an enclosing playback (frame onto rectangle), applied last.
    void SetBaseTransform(const QTransform& t) { base_ = t; }
    const QTransform& BaseTransform() const { return base_; }
    // The device pixels of the whole picture being played, even when the
    // canvas holds only a strip of it; outside a playback, the canvas.
    void SetPictureArea(std::optional<QRect> area) { pictureArea_ = area; }
    std::optional<QRect> PictureAreaSet() const { return pictureArea_; }
    QRect PictureArea() const { return pictureArea_.value_or(QRect(0, 0, Width(), Height())); }
    QTransform PageTransform() const;
    // Logical units to device pixels: world, then page, then base.
    QTransform DeviceTransform() const;
    QPointF LPtoDP(QPointF p) const;
    QPointF DPtoLP(QPointF p) const;
    void SetStretchBltMode(std::uint32_t mode) { state_.stretchMode = mode; }
    // The object table of the metafile being played, if any.
    HandleTable* Handles() const { return handles_; }
    void SetHandles(HandleTable* handles) { handles_ = handles; }
    QSize ReferencePixels() const { return refPixels_; }
    QSizeF ReferenceMillimetres() const { return refMillimetres_; }

    // --- objects and probes ------------------------------------------------
    // Each returns the object that was selected before.
    LogPen SelectPen(LogPen pen);
    LogBrush SelectBrush(LogBrush brush);
    LogFont SelectFont(LogFont font);
    std::uint32_t PenStyle() const { return state_.pen.Style(); }
    Colour PenColour() const;
    std::uint32_t BrushStyle() const { return state_.brush.style; }
    Colour BrushColour() const;

    // --- drawing, logical units ----------------------------------------------
    void MoveTo(QPointF p);
    void LineTo(QPointF p);
    void Polyline(std::span<const QPointF> pts);
    void PolylineTo(std::span<const QPointF> pts);
    void PolyBezier(std::span<const QPointF> pts);
    void PolyBezierTo(std::span<const QPointF> pts);
    void Polygon(std::span<const QPointF> pts);
    void PolyPolygon(std::span<const QPointF> pts, std::span<const std::uint32_t> counts);
    void PolyPolyline(std::span<const QPointF> pts, std::span<const std::uint32_t> counts);
    void PolyDraw(std::span<const QPointF> pts, std::span<const std::uint8_t> types);
    void Rectangle(const QRectF& box);
    void RoundRect(const QRectF& box, QSizeF corner);
    void Ellipse(const QRectF& box);
    void Arc(const QRectF& box, QPointF start, QPointF end);
    void ArcTo(const QRectF& box, QPointF start, QPointF end);
    void Chord(const QRectF& box, QPointF start, QPointF end);
    void Pie(const QRectF& box, QPointF start, QPointF end);
    void AngleArc(QPointF centre, double radius, double startDegrees, double sweepDegrees);
    // Device pixels, one colour, through the clip; no pen, no ROP.
    void FillRect(const QRect& rect, Colour colour);

    // --- path bracket --------------------------------------------------------
    void BeginPath();
    void EndPath();
    void AbortPath();
    void CloseFigure();
    bool FlattenPath();
    bool WidenPath();
    bool FillPath();
    bool StrokePath();
    bool StrokeAndFillPath();
    bool SelectClipPath(std::uint32_t mode);
    // The closed path's points in logical units; empty when there is none.
    std::vector<PathPoint> GetPath() const;
    bool InPath() const { return state_.pathState == PathState::kOpen; }

    // --- clipping, device pixels ---------------------------------------------
    void IntersectClipRect(const QRectF& logical);
    void ExcludeClipRect(const QRectF& logical);
    void OffsetClipRgn(QPointF logical);
    // Combines `region` (device pixels) with the clip; none with kRgnCopy resets it.
    void SelectClipRegion(const std::optional<QRegion>& region, std::uint32_t mode);
    void SetMetaRgn();
    // The pixels inside `path` (device pixels), cut to the neighbourhood of the canvas.
    QRegion RegionOfPath(const QPainterPath& path, Qt::FillRule rule) const;
    // The clip in force: the clip region within the meta region.
    std::optional<QRegion> EffectiveClip() const;

    // Geometry in device pixels: the shape is filled (when `fill`) and
    // outlined with the current brush and pen, or added to the open path;
    // `continues` marks lines drawn on from the current position.
    void Emit(const GdiPath& device, bool fill, bool continues = false);

private:
    enum class ArcKind { kArc, kArcTo, kChord, kPie };
    QPointF ToDevice(QPointF logical) const;
    GdiPath DevicePoly(std::span<const QPointF> pts, bool closed) const;
    GdiPath DeviceBeziers(QPointF first, std::span<const QPointF> controls) const;
    QRectF DeviceBox(const QRectF& box) const;
    QRectF InsideFrame(const QRectF& box) const;
    enum class BoxKind { kRectangle, kRoundRect, kEllipse };
    GdiPath BoxShape(const QRectF& box, BoxKind kind, QSizeF corner) const;
    GdiPath ArcShape(const QRectF& box, QPointF start, QPointF end, ArcKind kind,
                     QPointF* endPoint) const;
    void AppendToPath(const GdiPath& device, bool continues);
    // Paints the closed path and ends it.
    bool UsePath(bool fill, bool stroke);
    void Paint(const GdiPath& device, bool fill, bool stroke);
    StrokeStyle MakeStroke() const;
    FillStyle MakeFill(const LogBrush& brush) const;
    void SyncCanvas();
    void FixIsotropic();

    Canvas canvas_;
    DcState state_;
    std::vector<DcState> saved_;
    int floor_ = 0;
    QTransform base_;
    std::optional<QRect> pictureArea_;
    HandleTable* handles_ = nullptr;
    QSize refPixels_;
    QSizeF refMillimetres_;
};

}  // namespace corvan::emf
