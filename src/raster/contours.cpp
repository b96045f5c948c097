#include "raster/contours.h"

#include "imagelib/resample.h"
#include "platform/numbers.h"
#include "platform/preferences.h"
#include "raster/emfdoc.h"
#include "raster/stripcomposer.h"
#include "raster/transforms.h"

#include <QPainter>

#include <cstring>

namespace corvan {

namespace {

std::int32_t Rnd(long double v) {
    return RoundToInt(v);
}
std::int32_t Rnd(float scale, float mm) {
    return Rnd(static_cast<long double>(scale) * mm);
}

QColor ToQColor(Colour c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

void DrawCopyContours(QPainter& painter, const ContourPath& path, const IntRect& copy,
                      const QRect& area) {
    const QRect box =
        QRect(QPoint(copy.left, copy.top), QPoint(copy.right, copy.bottom)).intersected(area);
    painter.setPen(QPen(ToQColor(0x808080), 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);
    painter.setPen(QPen(ToQColor(0xFF0000), 0));
    QPoint prev;
    for (std::size_t i = 0; i < path.points.size(); ++i) {
        const QPoint p(path.points[i].x + copy.left, path.points[i].y + copy.top);
        if (i > 0 && (path.types[i] & kPtMoveTo) != kPtMoveTo) painter.drawLine(prev, p);
        prev = p;
    }
}

}  // namespace

void CollectWindowPaths(const TemfFile& job, int width, int height, const IntRect& play,
                        ContourPath& path) {
    TemfDoc doc;
    doc.ImageWidth = width;
    doc.ImageHeight = height;
    doc.PlayRect = play;
    doc.BackColor = job.BackgroundColor;
    doc.LayerFiles = job.Layers;
    TemfPreview& p = doc.Preview;
    p.ContourActive = job.ContourCut;
    p.MatchMask = (job.CutSolid ? 2u : 0u) + (job.CutLines ? 1u : 0u);
    p.MatchColor = job.CutColor;
    p.DrawMatched = p.DrawUnmatched = p.OutlineMatched = false;
    p.SmoothBackground = false;
    p.BlendParam = static_cast<float>(job.Interpolation);
    p.SmoothBitmaps = ReadPrefBool("interpolate_DIB", true);
    p.CollectContours = true;
    doc.CollectPaths();
    path.points.insert(path.points.end(), p.PathPoints.begin(), p.PathPoints.end());
    path.types.insert(path.types.end(), p.PathTypes.begin(), p.PathTypes.end());
}

ContourPath CollectJobContours(const TemfFile& job, float s) {
    ContourPath path;
    const int pw = Rnd(s, job.PageWidth), ph = Rnd(s, job.PageHeight);
    CollectWindowPaths(job, pw, ph, {0, 0, pw, ph}, path);
    const IntRect crop{Rnd(s, job.CropLeft), Rnd(s, job.CropTop), Rnd(s, job.CropRight),
                       Rnd(s, job.CropBottom)};
    const int cw = crop.Width(), ch = crop.Height();
    const PlacementMatrix m = MakePlacement(job.MirrorX, job.MirrorY, job.Rotate, crop, 0, 0);
    for (IntPoint& p : path.points) {
        p.x -= crop.left;
        p.y -= crop.top;
    }
    if (job.TileBox) {
        path.Add({0, 0}, kPtMoveTo);
        for (IntPoint p : {IntPoint{cw, 0}, IntPoint{cw, ch}, IntPoint{0, ch}, IntPoint{0, 0}})
            path.Add(p, kPtLineTo);
    }
    ClipPolyline({-1, -1, cw + 1, ch + 1}, path);
    for (IntPoint& p : path.points) p = ApplyPlacement(m, p.x + crop.left, p.y + crop.top);
    return path;
}

void DrawContours(TemfFile& job, Bitmap24& image, int ox, int oy, float s) {
    const ContourPath path = CollectJobContours(job, s);
    if (path.Empty()) return;
    QImage view = image.View();
    QPainter painter(&view);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int n = 1; n <= job.Copies; ++n) {
        float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        job.GetCopyRect(n, x1, y1, x2, y2);
        const IntRect copy{Rnd(s, x1) + ox, Rnd(s, y1) + oy, Rnd(s, x2) + ox, Rnd(s, y2) + oy};
        if (Intersect(copy, {0, 0, image.Width(), image.Height()}).Empty()) continue;
        DrawCopyContours(painter, path, copy, view.rect());
    }
}

std::unique_ptr<Bitmap24> RenderCutThumbnail(TemfFile& job, const CropMarkCorners& corners,
                                             float mediaWidth) {
    if (mediaWidth <= 0) return nullptr;
    const float used = job.YOffset + job.MediaUsedHeight;
    const FittedSize fit = FitSize(Rnd(static_cast<long double>(mediaWidth) * 10),
                                   Rnd(static_cast<long double>(used) * 10), 77, 350);
    const float e = 2.0f * static_cast<float>(fit.width) / mediaWidth;
    auto image = RenderStrip(job, corners, {0, 0, Rnd(e, mediaWidth), Rnd(e, used)}, e);
    if (!image) return nullptr;
    const int w = std::min(image->Width(), 2 * fit.width),
              h = std::min(image->Height(), 2 * fit.height);
    if (w != image->Width() || h != image->Height()) {
        auto cut = Bitmap24::Create(w, h);
        if (!cut) return nullptr;
        for (int y = 0; y < h; ++y)
            std::memcpy(cut->Row(y), image->Row(y), 3 * static_cast<std::size_t>(w));
        image = std::move(cut);
    }
    FadeBitmap(image.get(), 25);
    DrawContours(job, *image, Rnd(e, job.XOffset), Rnd(e, job.YOffset), e);
    auto half = HalveBitmap(image.get());
    if (!half) return nullptr;
    return TransformBitmap(half.get(), true, false, false);
}

}  // namespace corvan
