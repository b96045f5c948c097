#include "display/jobviews.h"

#include "display/printerpicture.h"
#include "imagelib/resample.h"
#include "platform/numbers.h"
#include "raster/jobtext.h"
#include "raster/transforms.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace corvan {

namespace {

// Colours as the views use them.
const QColor kShadow(0x90, 0x90, 0x90);
const QColor kLightGrey(0xC0, 0xC0, 0xC0);
const QColor kNavy(0, 0, 0x80);
const QColor kRed(0xFF, 0, 0);
const QColor kViewBackground(0xDC, 0xDC, 0xDC);
constexpr long kMaxCopyPixels = 1000000;

// A rectangle given by its edges, right and bottom outside it.
QRect Edges(int l, int t, int r, int b) {
    return {l, t, r - l, b - t};
}

void Outline(QPainter& p, const QRect& r, const QColor& colour,
             Qt::PenStyle style = Qt::SolidLine) {
    p.setPen(QPen(colour, 0, style));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

void OutlineWithDiagonal(QPainter& p, const QRect& r, const QColor& colour) {
    Outline(p, r, colour);
    p.drawLine(r.topLeft(), r.bottomRight());
}

void ShadowAndFill(QPainter& p, const QRect& r, const QColor& fill) {
    p.fillRect(r.translated(3, 3), kShadow);
    p.fillRect(r, fill);
}

// Inverts every other pixel along the edges of `r`, as a focus rectangle.
void InvertDotted(Bitmap24& canvas, const QRect& r) {
    const auto flip = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= canvas.Width() || y >= canvas.Height()) return;
        canvas.SetPixel(x, y, canvas.Pixel(x, y) ^ 0xFFFFFF);
    };
    const int l = r.left(), t = r.top(), rr = r.left() + r.width() - 1,
              b = r.top() + r.height() - 1;
    if (rr < l || b < t) return;
    for (int x = l; x <= rr; x += 2) {
        flip(x, t);
        if (b != t) flip(x, b);
    }
    for (int y = t + 2; y < b; y += 2) {
        flip(l, y);
        if (rr != l) flip(rr, y);
    }
}

// The picture ANDed into the canvas: dark parts show through a faded copy.
void AndInto(Bitmap24& canvas, const Bitmap24& picture, int left, int top) {
    const int x0 = std::max(0, left), y0 = std::max(0, top);
    const int x1 = std::min(canvas.Width(), left + picture.Width());
    const int y1 = std::min(canvas.Height(), top + picture.Height());
    for (int y = y0; y < y1; ++y) {
        std::uint8_t* dst = canvas.Row(y) + 3 * x0;
        const std::uint8_t* src = picture.Row(y - top) + 3 * (x0 - left);
        for (int i = 0; i < 3 * (x1 - x0); ++i) dst[i] &= src[i];
    }
}

struct CopyLook {
    QColor outline;
    bool andCopies = false;
    std::shared_ptr<const Bitmap24> picture;
    QSize drawnSize;  // the picture is stretched to this when it was limited
};

// The entry's picture when it was made for `key`, else a new one from `make`.
template <typename Make>
std::shared_ptr<const Bitmap24> Cached(ViewPictures::Entry* entry,
                                       const std::array<double, 12>& key, Make make) {
    if (entry && entry->picture && entry->key == key) return entry->picture;
    std::shared_ptr<const Bitmap24> picture = make();
    if (entry) *entry = {key, picture};
    return picture;
}

// The picture every copy shows, at most a million pixels; a larger copy
// takes a smaller picture stretched over it.
CopyLook LookOfCopies(const ViewScene& v, const SceneFit& f, bool hatch) {
    const TemfFile& job = *v.job;
    CopyLook look;
    look.outline = job.FitsMedia ? kNavy : kRed;
    look.andCopies = !job.FitsMedia;
    if (v.flags.DraftView) return look;
    const int w = RoundScaled(f.s, job.CropRight - job.CropLeft) - 1;
    const int h = RoundScaled(f.s, job.CropBottom - job.CropTop) - 1;
    const bool rotated = job.Rotate;
    look.drawnSize = rotated ? QSize(h + 1, w + 1) : QSize(w + 1, h + 1);
    const double area = (w + 1.0) * (h + 1.0);
    const double k = area > kMaxCopyPixels ? std::sqrt(kMaxCopyPixels / area) : 1.0;
    const int cw = static_cast<int>((w + 1) * k) - 1, ch = static_cast<int>((h + 1) * k) - 1;
    const std::array<double, 12> key{double(reinterpret_cast<std::uintptr_t>(v.preview)),
                                     double(cw),
                                     double(ch),
                                     job.CropLeft,
                                     job.CropTop,
                                     job.CropRight,
                                     job.CropBottom,
                                     double(job.Rotate + 2 * job.MirrorX + 4 * job.MirrorY),
                                     double(job.FitsMedia),
                                     double(hatch)};
    look.picture =
        Cached(v.cache ? &v.cache->copies : nullptr, key, [&]() -> std::shared_ptr<const Bitmap24> {
            std::unique_ptr<Bitmap24> pic = CroppedPreview(v.preview, job, cw, ch);
            if (!pic) return nullptr;
            if (!job.FitsMedia) {
                if (hatch)
                    HatchBitmap(pic.get(), 0);
                else
                    FadeBitmap(pic.get(), 25);
            }
            // Seen from the front the copy is turned half a turn.
            if (hatch) pic = TransformBitmap(pic.get(), false, true, true);
            return pic;
        });
    return look;
}

void DrawCopyPicture(Bitmap24& canvas, QPainter& p, const CopyLook& look, const QRect& r) {
    const Bitmap24& pic = *look.picture;
    const bool stretched = QSize(pic.Width(), pic.Height()) != look.drawnSize;
    if (look.andCopies && !stretched) return AndInto(canvas, pic, r.left(), r.top());
    if (stretched)
        p.drawImage(QRect(r.topLeft(), look.drawnSize), pic.View());
    else
        p.drawImage(r.topLeft(), pic.View());
}

// Crop marks, their frame and the border around one copy rectangle given
// in pixels; the frame is grown by the crop offset in millimetres first.
void DrawCopyFrame(Bitmap24& canvas, QPainter& p, const ViewScene& v, const SceneFit& f,
                   const QRectF& mm) {
    const TemfFile& job = *v.job;
    const float o = job.CropOffset;
    const QRect k =
        Edges(f.X(mm.left() - o), f.Y(mm.top() - o), f.X(mm.right() + o), f.Y(mm.bottom() + o));
    if (job.CropMarks && v.corners) {
        const int c = f.Len(job.CropmarkSize) + 1;
        // Top-left picture at the top-left corner, and so on, in every view.
        DrawCropMarks(canvas, {k.left(), k.top(), k.left() + k.width(), k.top() + k.height()},
                      *v.corners, c);
    }
    Outline(p, k, kLightGrey);
    if (job.Border) Outline(p, k, Qt::black);
    if (job.PrintJobText && !job.JobText.empty()) {
        const int indent = job.CropMarks ? f.Len(job.CropmarkSize) + 1 : 0;
        DrawJobText(canvas, job.JobText, k.left() + indent, k.top() + k.height(), f.Len(5));
    }
}

void PaintArtworkView(Bitmap24& canvas, QPainter& p, const ViewScene& v, const SceneFit& f) {
    const TemfFile& job = *v.job;
    const QRect q = Edges(f.x0, f.y0, f.x0 + f.Len(job.PageWidth), f.y0 + f.Len(job.PageHeight));
    p.fillRect(q.translated(3, 3), kShadow);
    if (v.flags.DraftView || !v.preview) {
        p.fillRect(q, Qt::white);
        OutlineWithDiagonal(p, q, kNavy);
    } else {
        const long area = static_cast<long>(q.width() + 1) * (q.height() + 1);
        if (area <= 4 * kMaxCopyPixels) {
            const std::array<double, 12> key{double(reinterpret_cast<std::uintptr_t>(v.preview)),
                                             double(q.width()), double(q.height())};
            const auto shown =
                Cached(v.cache ? &v.cache->artwork : nullptr, key,
                       [&]() -> std::shared_ptr<const Bitmap24> {
                           return ResampleBitmap(v.preview, q.width() + 1, q.height() + 1);
                       });
            if (shown) p.drawImage(q.topLeft(), shown->View());
        } else {
            // Zoomed far in: the cache holds no more detail than this.
            p.drawImage(QRect(q.topLeft(), q.size() + QSize(1, 1)), v.preview->View());
        }
    }
    if (!job.CropSection) return;
    const QRect crop =
        Edges(f.X(job.CropLeft), f.Y(job.CropTop), f.X(job.CropRight), f.Y(job.CropBottom))
            .intersected(q);
    // The painter draws straight into the canvas, so both may write in turn.
    for (int grow = 0; grow < 3; ++grow)
        InvertDotted(canvas, crop.adjusted(-grow, -grow, grow, grow));
}

using CopyPlace = QRectF (*)(const TemfFile& job, const PrinterFrame& frame, float x1, float y1,
                             float x2, float y2);

// Every copy where `place` puts it (millimetres of the scene): its picture,
// or an outline with a diagonal, then its marks.
void DrawCopies(Bitmap24& canvas, QPainter& p, const ViewScene& v, const SceneFit& f,
                const CopyLook& look, const PrinterFrame& frame, CopyPlace place) {
    TemfFile& job = *v.job;
    const QRect visible(0, 0, canvas.Width(), canvas.Height());
    for (int n = 1; n <= job.Copies; ++n) {
        float x1, y1, x2, y2;
        job.GetCopyRect(n, x1, y1, x2, y2);
        const QRectF mm = place(job, frame, x1, y1, x2, y2);
        const QRect r = Edges(f.X(mm.left()), f.Y(mm.top()), f.X(mm.right()), f.Y(mm.bottom()));
        // Room for the marks and frame around a copy just off the canvas.
        if (!r.adjusted(-200, -200, 200, 200).intersects(visible)) continue;
        if (look.picture)
            DrawCopyPicture(canvas, p, look, r);
        else
            OutlineWithDiagonal(p, r, look.outline);
        DrawCopyFrame(canvas, p, v, f, mm);
    }
}

QRectF OnMedia(const TemfFile& job, const PrinterFrame&, float x1, float y1, float x2, float y2) {
    return QRectF(QPointF(job.XOffset + x1, job.YOffset + y1),
                  QPointF(job.XOffset + x2, job.YOffset + y2));
}

// Seen from the front the job is turned by half a turn about its origin.
QRectF FromFront(const TemfFile& job, const PrinterFrame& fr, float x1, float y1, float x2,
                 float y2) {
    const float ox = fr.mediaRight - job.XOffset, oy = fr.sceneHeight - job.YOffset;
    return QRectF(QPointF(ox - x2, oy - y2), QPointF(ox - x1, oy - y1));
}

void DottedUsedArea(QPainter& p, const SceneFit& f, const QRectF& mm) {
    Outline(p, Edges(f.X(mm.left()), f.Y(mm.top()), f.X(mm.right()), f.Y(mm.bottom())), kLightGrey,
            Qt::DotLine);
}

void PaintLayoutView(Bitmap24& canvas, QPainter& p, const ViewScene& v, const SceneFit& f,
                     const QSizeF& media) {
    const TemfFile& job = *v.job;
    const QRect m = Edges(f.x0 - 1, f.y0 - 1, f.X(static_cast<float>(media.width())) + 2,
                          f.Y(static_cast<float>(media.height())) + 2);
    ShadowAndFill(p, m, Qt::white);
    Outline(p, m, Qt::black);
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawText(QRect(m.left(), m.top() - 16, 300, 16), Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("Printer Origin"));
    DottedUsedArea(p, f, QRectF(job.XOffset, job.YOffset, job.MediaUsedWidth, job.MediaUsedHeight));
    const CopyLook look = LookOfCopies(v, f, false);
    DrawCopies(canvas, p, v, f, look, PrinterFrame{}, &OnMedia);
}

void PaintPrinterView(Bitmap24& canvas, QPainter& p, const ViewScene& v, const SceneFit& f) {
    const TemfFile& job = *v.job;
    const PrinterFrame fr = PrinterFrameFor(job, *v.device);
    const QRect printer = Edges(f.x0, f.y0, f.X(fr.width), f.Y(fr.height));
    DrawPrinterBack(p, printer);
    const QRect sheet = Edges(f.X(fr.mediaRight - v.device->MediaWidth) - 1, f.Y(fr.sheetTop) - 1,
                              f.X(fr.mediaRight) + 2, f.Y(fr.sheetBottom) + 2);
    ShadowAndFill(p, sheet, Qt::white);
    Outline(p, sheet, Qt::black);
    DrawPrinterFront(p, printer);
    const float ox = fr.mediaRight - job.XOffset, oy = fr.sceneHeight - job.YOffset;
    DottedUsedArea(
        p, f, QRectF(QPointF(ox - job.MediaUsedWidth, oy - job.MediaUsedHeight), QPointF(ox, oy)));
    const CopyLook look = LookOfCopies(v, f, true);
    DrawCopies(canvas, p, v, f, look, fr, &FromFront);
    DrawPrinterFront(p, printer);
}

}  // namespace

int SceneFit::X(float mm) const {
    return RoundScaled(s, mm) + x0;
}
int SceneFit::Y(float mm) const {
    return RoundScaled(s, mm) + y0;
}
int SceneFit::Len(float mm) const {
    return RoundScaled(s, mm);
}
int SceneFit::RulerScale() const {
    return RoundToInt(static_cast<long double>(s) * 25.4L / 0.96L);
}

SceneFit FitScene(float sw, float sh, int a, int b) {
    SceneFit f;
    if (sw <= 0 || sh <= 0 || a <= 40 || b <= 40) return f;
    f.s = std::min(static_cast<float>(a - 40) / sw, static_cast<float>(b - 40) / sh);
    f.x0 = (a - 20 - RoundScaled(f.s, sw)) / 2 + 10;
    f.y0 = (b - 40 - RoundScaled(f.s, sh)) / 2 + 20;
    f.valid = true;
    return f;
}

SceneFit ZoomScene(const SceneFit& fit, double zoom, int ax, int ay) {
    SceneFit z = fit;
    if (!fit.valid || zoom <= 0) return z;
    z.s = static_cast<float>(fit.s * zoom);
    z.x0 = ax - static_cast<int>(std::lround((ax - fit.x0) * zoom));
    z.y0 = ay - static_cast<int>(std::lround((ay - fit.y0) * zoom));
    return z;
}

}  // namespace corvan

namespace corvan {

// The media a layout shows: the device's width and, on a roll, as long as
// the job on it now.
static QSizeF MediaOfLayout(const TemfFile& job, const TemfPlotter& device) {
    float length = device.PrintableLength > 0 ? device.MediaHeight : 0;
    if (length <= 0) length = job.YOffset + job.MediaUsedHeight;
    return {device.MediaWidth, length};
}

PrinterFrame PrinterFrameFor(const TemfFile& job, const TemfPlotter& device) {
    PrinterFrame fr;
    fr.width = 1.45f * device.PrintableWidth;
    fr.height = fr.width * 76 / 291;
    fr.mediaRight = 0.818f * fr.width;
    if (device.PrintableLength > 0) {
        fr.sheetTop = 0.83f * fr.height;
        fr.sheetBottom = fr.sheetTop + device.MediaHeight;
    } else {
        fr.sheetTop = 0;
        fr.sheetBottom =
            std::max({job.CropWidth, job.CropHeight, job.YOffset + job.MediaUsedHeight}) +
            0.99f * fr.height;
    }
    fr.sceneHeight = fr.sheetBottom;
    return fr;
}

QSizeF SceneSize(const TemfFile& job, const TemfPlotter& device, int viewMode) {
    switch (viewMode) {
        case ViewFlags::Artwork:
            return {job.PageWidth, job.PageHeight};
        case ViewFlags::Layout:
            return MediaOfLayout(job, device);
        default: {
            if (device.PrintableWidth <= 0) return {};
            const PrinterFrame fr = PrinterFrameFor(job, device);
            return {fr.width, fr.sceneHeight};
        }
    }
}

void PaintJobView(Bitmap24& canvas, const ViewScene& v, const SceneFit& f) {
    canvas.Fill(MakeColour(kViewBackground.red(), kViewBackground.green(), kViewBackground.blue()));
    if (!v.job || !v.device || !f.valid) return;
    const QSizeF scene = SceneSize(*v.job, *v.device, v.flags.ViewMode);
    if (scene.isEmpty()) return;
    QImage view = canvas.View();
    QPainter p(&view);
    switch (v.flags.ViewMode) {
        case ViewFlags::Artwork:
            return PaintArtworkView(canvas, p, v, f);
        case ViewFlags::Layout:
            return PaintLayoutView(canvas, p, v, f, scene);
        default:
            return PaintPrinterView(canvas, p, v, f);
    }
}

std::unique_ptr<Bitmap24> CroppedPreview(const Bitmap24* preview, const TemfFile& job, int w,
                                         int h) {
    if (!preview || job.PageWidth == 0 || job.PageHeight == 0 || w <= 0 || h <= 0) return nullptr;
    if (static_cast<long>(w + 1) * (h + 1) > kMaxCopyPixels) return nullptr;
    if (preview->Width() <= 1 || preview->Height() <= 1) return nullptr;
    const int pw = preview->Width() - 1, ph = preview->Height() - 1;
    const auto at = [](int size, float mm, float page) {
        return RoundToInt(static_cast<long double>(size) * mm / page);
    };
    const QRect src =
        QRect(QPoint(at(pw, job.CropLeft, job.PageWidth), at(ph, job.CropTop, job.PageHeight)),
              QPoint(at(pw, job.CropRight, job.PageWidth) - 1,
                     at(ph, job.CropBottom, job.PageHeight) - 1))
            .intersected(QRect(0, 0, pw, ph));
    if (src.isEmpty()) return nullptr;
    // One pixel wider and higher than the source, the extra row and column white.
    auto work = Bitmap24::Create(src.width() + 1, src.height() + 1);
    if (!work) return nullptr;
    work->Fill(0xFFFFFF);
    for (int y = 0; y < src.height(); ++y)
        std::copy_n(preview->Row(src.top() + y) + 3 * src.left(), 3 * src.width(), work->Row(y));
    auto sized = ResampleBitmap(work.get(), w + 1, h + 1);
    if (!sized || !(job.Rotate || job.MirrorX || job.MirrorY)) return sized;
    return TransformBitmap(sized.get(), job.Rotate, job.MirrorX, job.MirrorY);
}

}  // namespace corvan
