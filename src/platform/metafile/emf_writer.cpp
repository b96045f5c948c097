#include "platform/metafile/emf_writer.h"

#include <QSaveFile>

#include <cstring>

namespace corvan::emf {
namespace {

class Bytes {
public:
    void U32(std::uint32_t v) { Put(&v, 4); }
    void I32(std::int32_t v) { Put(&v, 4); }
    void U16(std::uint16_t v) { Put(&v, 2); }
    void F32(float v) { Put(&v, 4); }
    void Put(const void* p, std::size_t n) {
        const auto* b = static_cast<const std::uint8_t*>(p);
        data.insert(data.end(), b, b + n);
    }
    void Pad() {
        while (data.size() % 4) data.push_back(0);
    }
    std::vector<std::uint8_t> data;
};

void Rect(Bytes& b, const RectL& r) {
    b.I32(r.left);
    b.I32(r.top);
    b.I32(r.right);
    b.I32(r.bottom);
}

void XForm(Bytes& b, const QTransform& t) {
    for (double v : {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()}) b.F32(float(v));
}

bool Small(std::uint32_t type) {
    return type >= kPolyBezier16 && type <= kPolyDraw16;
}

}  // namespace

EmfWriter::EmfWriter(RectL frame, SizeL devicePixels, SizeL deviceMillimetres)
    : frame_(frame), pixels_(devicePixels), millimetres_(deviceMillimetres) {}

void EmfWriter::Append(std::uint32_t type, std::span<const std::uint8_t> body) {
    Bytes b;
    b.U32(type);
    b.U32(static_cast<std::uint32_t>(8 + (body.size() + 3) / 4 * 4));
    b.Put(body.data(), body.size());
    b.Pad();
    records_.insert(records_.end(), b.data.begin(), b.data.end());
    ++count_;
}

void EmfWriter::Record(std::uint32_t type, std::span<const std::int32_t> fields) {
    Append(type,
           std::span(reinterpret_cast<const std::uint8_t*>(fields.data()), fields.size() * 4));
}

void EmfWriter::RawRecord(std::uint32_t type, std::span<const std::uint8_t> body) {
    Append(type, body);
}

void EmfWriter::Extend(QPoint p) {
    if (explicitBounds_) return;
    if (bounds_.right < bounds_.left) {
        bounds_ = {p.x(), p.y(), p.x(), p.y()};
        return;
    }
    bounds_.left = std::min(bounds_.left, p.x());
    bounds_.top = std::min(bounds_.top, p.y());
    bounds_.right = std::max(bounds_.right, p.x());
    bounds_.bottom = std::max(bounds_.bottom, p.y());
}

std::uint32_t EmfWriter::NewHandle() {
    for (std::uint32_t i = 1; i < used_.size(); ++i)
        if (!used_[i]) {
            used_[i] = true;
            return i;
        }
    used_.push_back(true);
    return static_cast<std::uint32_t>(used_.size() - 1);
}

void EmfWriter::DeleteObject(std::uint32_t handle) {
    Record(kDeleteObject, {std::int32_t(handle)});
    if (handle < used_.size()) used_[handle] = false;
}

std::uint32_t EmfWriter::CreatePen(std::uint32_t style, std::int32_t width, std::uint32_t colour) {
    const std::uint32_t h = NewHandle();
    Record(kCreatePen, {std::int32_t(h), std::int32_t(style), width, 0, std::int32_t(colour)});
    return h;
}

std::uint32_t EmfWriter::ExtCreatePen(std::uint32_t style, std::uint32_t width,
                                      std::uint32_t colour, std::uint32_t brushStyle,
                                      std::uint32_t hatch,
                                      std::span<const std::uint32_t> userStyle) {
    const std::uint32_t h = NewHandle();
    Bytes b;
    for (std::uint32_t v : {h, 0u, 0u, 0u, 0u, style, width, brushStyle, colour, hatch,
                            std::uint32_t(userStyle.size())})
        b.U32(v);
    for (std::uint32_t v : userStyle) b.U32(v);
    Append(kExtCreatePen, b.data);
    return h;
}

std::uint32_t EmfWriter::CreateBrush(std::uint32_t style, std::uint32_t colour,
                                     std::uint32_t hatch) {
    const std::uint32_t h = NewHandle();
    Record(kCreateBrushIndirect,
           {std::int32_t(h), std::int32_t(style), std::int32_t(colour), std::int32_t(hatch)});
    return h;
}

std::uint32_t EmfWriter::CreateFont(const std::u16string& face, std::int32_t height,
                                    std::int32_t weight) {
    const std::uint32_t h = NewHandle();
    Bytes b;
    b.U32(h);
    for (std::int32_t v : {height, 0, 0, 0, weight}) b.I32(v);
    for (int i = 0; i < 8; ++i) b.data.push_back(0);
    for (int i = 0; i < 32; ++i) b.U16(i < int(face.size()) ? face[i] : 0);
    // The extended part (full name, style, script) and the design vector.
    for (int i = 0; i < 64 + 32 + 32; ++i) b.U16(0);
    for (int i = 0; i < 6; ++i) b.U32(0);
    Append(kExtCreateFontIndirectW, b.data);
    return h;
}

void EmfWriter::SetWorldTransform(const QTransform& t) {
    Bytes b;
    XForm(b, t);
    Append(kSetWorldTransform, b.data);
}

void EmfWriter::ModifyWorldTransform(const QTransform& t, std::uint32_t mode) {
    Bytes b;
    XForm(b, t);
    b.U32(mode);
    Append(kModifyWorldTransform, b.data);
}

void EmfWriter::LineTo(QPoint p) {
    Extend(p);
    SetPoint(kLineTo, p);
}

void EmfWriter::PutPoints(std::vector<std::uint8_t>& out, std::span<const QPoint> pts, bool small) {
    Bytes b;
    for (QPoint p : pts) {
        Extend(p);
        if (small) {
            b.U16(static_cast<std::uint16_t>(p.x()));
            b.U16(static_cast<std::uint16_t>(p.y()));
        } else {
            b.I32(p.x());
            b.I32(p.y());
        }
    }
    out.insert(out.end(), b.data.begin(), b.data.end());
}

void EmfWriter::Poly(std::uint32_t type, std::span<const QPoint> pts) {
    Bytes b;
    Rect(b, {});
    b.U32(static_cast<std::uint32_t>(pts.size()));
    PutPoints(b.data, pts, Small(type));
    Append(type, b.data);
}

void EmfWriter::PolyPoly(std::uint32_t type, const std::vector<std::vector<QPoint>>& polys) {
    std::vector<QPoint> all;
    for (const auto& p : polys) all.insert(all.end(), p.begin(), p.end());
    Bytes b;
    Rect(b, {});
    b.U32(static_cast<std::uint32_t>(polys.size()));
    b.U32(static_cast<std::uint32_t>(all.size()));
    for (const auto& p : polys) b.U32(static_cast<std::uint32_t>(p.size()));
    PutPoints(b.data, all, Small(type));
    Append(type, b.data);
}

void EmfWriter::PolyDraw(std::span<const QPoint> pts, std::span<const std::uint8_t> types,
                         bool small) {
    Bytes b;
    Rect(b, {});
    b.U32(static_cast<std::uint32_t>(pts.size()));
    PutPoints(b.data, pts, small);
    b.Put(types.data(), types.size());
    Append(small ? kPolyDraw16 : kPolyDraw, b.data);
}

void EmfWriter::Box(std::uint32_t type, const QRect& box) {
    Extend(box.topLeft());
    Extend(QPoint(box.left() + box.width(), box.top() + box.height()));
    Record(type, {box.left(), box.top(), box.left() + box.width(), box.top() + box.height()});
}

void EmfWriter::RoundRect(const QRect& box, QSize corner) {
    Extend(box.topLeft());
    Record(kRoundRect, {box.left(), box.top(), box.left() + box.width(), box.top() + box.height(),
                        corner.width(), corner.height()});
}

void EmfWriter::ArcRecord(std::uint32_t type, const QRect& box, QPoint start, QPoint end) {
    Extend(box.topLeft());
    Extend(QPoint(box.left() + box.width(), box.top() + box.height()));
    Record(type, {box.left(), box.top(), box.left() + box.width(), box.top() + box.height(),
                  start.x(), start.y(), end.x(), end.y()});
}

void EmfWriter::AngleArc(QPoint centre, std::uint32_t radius, float start, float sweep) {
    Bytes b;
    b.I32(centre.x());
    b.I32(centre.y());
    b.U32(radius);
    b.F32(start);
    b.F32(sweep);
    Append(kAngleArc, b.data);
}

void EmfWriter::Plain(std::uint32_t type) {
    if (type == kFillPath || type == kStrokePath || type == kStrokeAndFillPath) {
        Record(type, {0, 0, -1, -1});
    } else {
        Record(type, std::span<const std::int32_t>());
    }
}

void EmfWriter::SelectClipRegion(const std::vector<QRect>& rects, std::uint32_t mode, bool none) {
    Bytes b;
    const std::uint32_t rgnBytes = none ? 0 : 32 + 16 * static_cast<std::uint32_t>(rects.size());
    b.U32(rgnBytes);
    b.U32(mode);
    if (!none) {
        QRect all;
        for (const QRect& r : rects) all |= r;
        for (std::uint32_t v :
             {32u, 1u, std::uint32_t(rects.size()), 16u * std::uint32_t(rects.size())})
            b.U32(v);
        Rect(b, {all.left(), all.top(), all.left() + all.width(), all.top() + all.height()});
        for (const QRect& r : rects)
            Rect(b, {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()});
    }
    Append(kExtSelectClipRgn, b.data);
}

std::vector<std::uint8_t> EmfWriter::Finish() {
    const std::vector<std::uint8_t> body = records_;
    const std::uint32_t bodyCount = count_;
    Record(kEof, {0, 16, 20});
    const std::uint32_t descChars = static_cast<std::uint32_t>(description_.size());
    const std::uint32_t headerSize = 108 + (descChars * 2 + 3) / 4 * 4;
    Bytes h;
    h.U32(kHeader);
    h.U32(headerSize);
    Rect(h, bounds_.right < bounds_.left ? RectL{0, 0, -1, -1} : bounds_);
    Rect(h, frame_);
    h.U32(kSignature);
    h.U32(0x10000);
    h.U32(static_cast<std::uint32_t>(headerSize + records_.size()));
    h.U32(count_ + 1);
    h.U16(static_cast<std::uint16_t>(used_.size()));
    h.U16(0);
    h.U32(descChars);
    h.U32(descChars ? 108 : 0);
    h.U32(0);  // no palette
    h.I32(pixels_.cx);
    h.I32(pixels_.cy);
    h.I32(millimetres_.cx);
    h.I32(millimetres_.cy);
    for (std::uint32_t v : {0u, 0u, 0u}) h.U32(v);  // no pixel format, no OpenGL
    h.I32(millimetres_.cx * 1000);
    h.I32(millimetres_.cy * 1000);
    for (char16_t c : description_) h.U16(c);
    h.Pad();
    h.Put(records_.data(), records_.size());
    records_ = body;  // the writer can go on recording after a Finish
    count_ = bodyCount;
    return h.data;
}

bool EmfWriter::Save(const std::string& path, std::string* error) {
    const std::vector<std::uint8_t> bytes = Finish();
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) !=
            qint64(bytes.size()) ||
        !file.commit()) {
        if (error) *error = file.errorString().toStdString();
        return false;
    }
    return true;
}

}  // namespace corvan::emf
