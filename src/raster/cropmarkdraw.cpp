#include "raster/cropmarkdraw.h"

#include "platform/metafile/emf_player.h"
#include "platform/metafile/emf_writer.h"
#include "raster/transforms.h"

namespace corvan {

namespace {

constexpr Colour kCrossGrey = 0x808080;

void DrawCross(Bitmap24& canvas, int x, int y, int c) {
    // Lines leave out their end point, as the platform draws them.
    for (int i = -c; i < c; ++i) {
        if (x >= 0 && x < canvas.Width() && y + i >= 0 && y + i < canvas.Height())
            canvas.SetPixel(x, y + i, kCrossGrey);
        if (y >= 0 && y < canvas.Height() && x + i >= 0 && x + i < canvas.Width())
            canvas.SetPixel(x + i, y, kCrossGrey);
    }
}

// The picture played into a white square of `side` pixels.
std::unique_ptr<Bitmap24> PlayPicture(const emf::EmfReader& picture, int side) {
    auto image = Bitmap24::Create(side, side);
    if (!image) return nullptr;
    image->Fill(0xFFFFFF);
    emf::GdiDevice dc(*image);
    emf::PlayMetafile(dc, picture, QRect(0, 0, side - 1, side - 1));
    dc.Flush();
    return image;
}

void AndOnto(Bitmap24& canvas, const Bitmap24& mark, int left, int top) {
    for (int y = std::max(0, -top); y < mark.Height() && top + y < canvas.Height(); ++y) {
        const int x0 = std::max(0, -left), x1 = std::min(mark.Width(), canvas.Width() - left);
        if (x0 >= x1) continue;
        std::uint8_t* dst = canvas.Row(top + y) + 3 * (left + x0);
        const std::uint8_t* src = mark.Row(y) + 3 * x0;
        for (int i = 0; i < 3 * (x1 - x0); ++i) dst[i] &= src[i];
    }
}

}  // namespace

void DrawCropMark(Bitmap24& canvas, int x, int y, std::span<const std::uint8_t> picture, int c) {
    auto reader = picture.empty() ? nullptr : emf::EmfReader::OpenMemory(picture);
    if (!reader || c < 5) {
        DrawCross(canvas, x, y, c);
        return;
    }
    std::unique_ptr<Bitmap24> mark;
    if (2 * c + 1 > 80) {
        mark = PlayPicture(*reader, 2 * c + 1);
    } else if (auto large = PlayPicture(*reader, 4 * c + 2)) {
        mark = HalveBitmap(large.get());
    }
    if (mark) AndOnto(canvas, *mark, x - c, y - c);
}

const CropMarkCorners& DefaultCropMarkCorners() {
    static const CropMarkCorners corners = [] {
        // Each picture is a 2000 x 2000 unit square with the corner point in
        // its middle; the job lies in one quarter and the marks in the other
        // three, beside the job's two edges.
        CropMarkCorners out;
        for (int i = 0; i < 4; ++i) {
            const int sx = (i % 2 == 0) ? -1 : 1;  // left corners: marks to the left
            const int sy = (i < 2) ? -1 : 1;       // top corners: marks above
            emf::EmfWriter w(emf::RectL{0, 0, 2000, 2000}, {200, 200}, {2, 2});
            w.SelectStock(emf::kBlackPen);
            const auto line = [&](QPoint a, QPoint b) {
                w.MoveTo(QPoint(1000 + a.x(), 1000 + a.y()));
                w.LineTo(QPoint(1000 + b.x(), 1000 + b.y()));
            };
            for (int offset : {0, 120}) {
                // Along the vertical edge, beyond the corner vertically.
                line(QPoint(offset * -sx, sy * 250), QPoint(offset * -sx, sy * 950));
                // Along the horizontal edge, beyond the corner horizontally.
                line(QPoint(sx * 250, offset * -sy), QPoint(sx * 950, offset * -sy));
            }
            out[static_cast<std::size_t>(i)] = w.Finish();
        }
        return out;
    }();
    return corners;
}

void DrawCropMarks(Bitmap24& canvas, const IntRect& k, const CropMarkCorners& corners, int c) {
    DrawCropMark(canvas, k.left, k.top, corners[0], c);
    DrawCropMark(canvas, k.right, k.top, corners[1], c);
    DrawCropMark(canvas, k.left, k.bottom, corners[2], c);
    DrawCropMark(canvas, k.right, k.bottom, corners[3], c);
}

}  // namespace corvan
