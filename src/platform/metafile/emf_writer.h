#pragma once
// Records enhanced metafiles: traced contours, crop marks, test fixtures.
// Records are appended in call order; Finish() adds the end record and puts
// the header (bounds, frame, counts, handle table size) in front.
#include "platform/metafile/emf_reader.h"
#include "platform/metafile/emf_records.h"

#include <QPoint>
#include <QRect>
#include <QTransform>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace corvan::emf {

class EmfWriter {
public:
    // `frame` in .01 mm; the reference device's size in pixels and mm.
    explicit EmfWriter(RectL frame, SizeL devicePixels = {1000, 1000},
                       SizeL deviceMillimetres = {250, 250});

    // Any record from its 32-bit fields (after type and size).
    void Record(std::uint32_t type, std::span<const std::int32_t> fields);
    void Record(std::uint32_t type, std::initializer_list<std::int32_t> fields) {
        Record(type, std::span<const std::int32_t>(fields.begin(), fields.size()));
    }
    // Any record from its raw bytes (after type and size), padded to 4 bytes.
    void RawRecord(std::uint32_t type, std::span<const std::uint8_t> body);
    // Header bounds; by default the union of the points drawn, taken as pixels.
    void SetBounds(RectL bounds) {
        bounds_ = bounds;
        explicitBounds_ = true;
    }
    // The header's description: application name, NUL, picture name, NUL.
    void SetDescription(std::u16string text) { description_ = std::move(text); }

    // Objects: each returns its handle index.
    std::uint32_t CreatePen(std::uint32_t style, std::int32_t width, std::uint32_t colour);
    std::uint32_t ExtCreatePen(std::uint32_t style, std::uint32_t width, std::uint32_t colour,
                               std::uint32_t brushStyle = kBsSolid, std::uint32_t hatch = 0,
                               std::span<const std::uint32_t> userStyle = {});
    std::uint32_t CreateBrush(std::uint32_t style, std::uint32_t colour, std::uint32_t hatch = 0);
    std::uint32_t CreateFont(const std::u16string& face, std::int32_t height,
                             std::int32_t weight = 400);
    void SelectObject(std::uint32_t handle) { Record(kSelectObject, {std::int32_t(handle)}); }
    void SelectStock(std::uint32_t stock) { SelectObject(kStockBit | stock); }
    void DeleteObject(std::uint32_t handle);

    // State.
    void SetWorldTransform(const QTransform& t);
    void ModifyWorldTransform(const QTransform& t, std::uint32_t mode);
    void Set(std::uint32_t type, std::int32_t value) { Record(type, {value}); }
    void SetPoint(std::uint32_t type, QPoint p) { Record(type, {p.x(), p.y()}); }

    // Drawing, logical units.
    void MoveTo(QPoint p) { SetPoint(kMoveToEx, p); }
    void LineTo(QPoint p);
    // POLYGON, POLYLINE, POLYBEZIER(TO), POLYLINETO and their 16-bit forms.
    void Poly(std::uint32_t type, std::span<const QPoint> pts);
    // POLYPOLYGON, POLYPOLYLINE and their 16-bit forms.
    void PolyPoly(std::uint32_t type, const std::vector<std::vector<QPoint>>& polys);
    void PolyDraw(std::span<const QPoint> pts, std::span<const std::uint8_t> types,
                  bool small = false);
    // RECTANGLE, ELLIPSE, INTERSECTCLIPRECT, EXCLUDECLIPRECT.
    void Box(std::uint32_t type, const QRect& box);
    void RoundRect(const QRect& box, QSize corner);
    // ARC, ARCTO, CHORD, PIE: box corners (left, top) to (right, bottom).
    void ArcRecord(std::uint32_t type, const QRect& box, QPoint start, QPoint end);
    void AngleArc(QPoint centre, std::uint32_t radius, float start, float sweep);
    // Records without fields (BEGINPATH, SAVEDC...) and the path uses with bounds.
    void Plain(std::uint32_t type);
    // EXTSELECTCLIPRGN with rectangles in pixels of the reference device; none = no region.
    void SelectClipRegion(const std::vector<QRect>& rects, std::uint32_t mode, bool none = false);

    std::vector<std::uint8_t> Finish();
    // Writes Finish() to `path` through a temporary file.
    bool Save(const std::string& path, std::string* error = nullptr);

private:
    std::uint32_t NewHandle();
    void Extend(QPoint p);
    void PutPoints(std::vector<std::uint8_t>& out, std::span<const QPoint> pts, bool small);
    void Append(std::uint32_t type, std::span<const std::uint8_t> body);

    RectL frame_;
    SizeL pixels_, millimetres_;
    RectL bounds_{0, 0, -1, -1};
    bool explicitBounds_ = false;
    std::vector<std::uint8_t> records_;
    std::uint32_t count_ = 0;
    std::vector<bool> used_{true};
    std::u16string description_;  // slot 0 is the metafile itself
};

}  // namespace corvan::emf
