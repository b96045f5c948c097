#include "raster/stripcomposer.h"

#include "platform/numbers.h"
#include "platform/preferences.h"
#include "raster/emfdoc.h"
#include "raster/jobtext.h"
#include "raster/transforms.h"

#include <algorithm>
#include <cstring>

namespace corvan {

namespace {

std::int32_t Rnd(float scale, float mm) {
    return RoundToInt(static_cast<long double>(scale) * static_cast<long double>(mm));
}

void CopyInto(Bitmap24& strip, const Bitmap24& part, int left, int top) {
    const int w = std::min(part.Width(), strip.Width() - left);
    for (int y = 0; y < part.Height() && top + y < strip.Height(); ++y)
        std::memcpy(strip.Row(top + y) + 3 * left, part.Row(y), 3 * static_cast<std::size_t>(w));
}

// The artwork of one copy, where it shows in the strip.
void DrawCopyArtwork(Bitmap24& strip, const TemfFile& job, const RunResources& run,
                     const IntRect& crop, int targetX, int targetY, int pw, int ph) {
    const PlacementMatrix m =
        MakePlacement(job.MirrorX, job.MirrorY, job.Rotate, crop, targetX, targetY);
    const IntRect visible = Intersect(PlacedBounds(m, crop), {0, 0, strip.Width(), strip.Height()});
    if (visible.Empty()) return;
    const IntRect w = UnplacedBounds(m, visible);
    auto part = RenderJobWindow(job, w.Width(), w.Height(),
                                {-w.left, -w.top, pw - w.left, ph - w.top}, &run);
    if (part && (job.Rotate || job.MirrorX || job.MirrorY))
        part = TransformBitmap(part.get(), job.Rotate, job.MirrorX, job.MirrorY);
    if (part) CopyInto(strip, *part, visible.left, visible.top);
}

// Outline of `r` (right and bottom edges excluded, as the platform draws a
// rectangle); a width of 2 adds a ring just outside it.
void DrawBorder(Bitmap24& strip, const IntRect& r, int width, Colour colour) {
    const auto put = [&](int x, int y) {
        if (x >= 0 && y >= 0 && x < strip.Width() && y < strip.Height())
            strip.SetPixel(x, y, colour);
    };
    for (int ring = 0; ring < width; ++ring) {
        const int l = r.left - ring, t = r.top - ring, rr = r.right - 1 + ring,
                  b = r.bottom - 1 + ring;
        for (int x = std::max(l, -1); x <= std::min(rr, strip.Width()); ++x) {
            put(x, t);
            put(x, b);
        }
        for (int y = std::max(t, -1); y <= std::min(b, strip.Height()); ++y) {
            put(l, y);
            put(rr, y);
        }
    }
}

void DrawCopyFrame(Bitmap24& strip, const TemfFile& job, const CropMarkCorners& corners,
                   const IntRect& k, float s) {
    const int c = Rnd(s, job.CropmarkSize) + 1;
    if (job.CropMarks) {
        DrawCropMarks(strip, k, corners, c);
    }
    if (job.TileText) DrawTileNumber(strip, job, k, Rnd(s, job.TextSize));
    if (job.Border) DrawBorder(strip, k, job.TileText && job.ThickText ? 2 : 1, 0xFF0000);
    if (job.PrintJobText)
        DrawJobText(strip, job.JobText, k.left + (job.CropMarks ? c : 0), k.bottom, Rnd(s, 5));
}

}  // namespace

RunResources::RunResources(const TemfFile& job)
    : layers(job.Layers), smoothBitmaps(ReadPrefBool("interpolate_DIB", true)) {}

std::unique_ptr<Bitmap24> RenderJobWindow(const TemfFile& job, int width, int height,
                                          const IntRect& play, const RunResources* run) {
    TemfDoc doc;
    doc.BackColor = job.BackgroundColor;
    doc.ImageWidth = width;
    doc.ImageHeight = height;
    doc.PlayRect = play;
    doc.Background = job.DrawImage ? job.BackgroundImage.get() : nullptr;
    doc.LayerFiles = job.Layers;
    if (run) doc.Layers = &run->layers;
    TemfPreview& p = doc.Preview;
    p.MatchMask = (job.CutSolid ? 2u : 0u) + (job.CutLines ? 1u : 0u);
    p.MatchColor = job.CutColor;
    p.ContourActive = job.ContourCut;
    p.DrawMatched = job.PrintContours;
    p.DrawUnmatched = true;
    p.OutlineMatched = false;
    p.SmoothBitmaps = run ? run->smoothBitmaps : ReadPrefBool("interpolate_DIB", true);
    p.SmoothBackground = job.Interpolate;
    p.BlendParam = static_cast<float>(job.Interpolation);
    return doc.Render();
}

StripComposer::StripComposer(TemfFile& job, const CropMarkCorners& corners)
    : job_(job), corners_(corners), run_(job) {
    // Placing a copy settles the crop rectangle too, so strips only read the job.
    copies_.reserve(static_cast<std::size_t>(std::max(job.Copies, 0)));
    for (int n = 1; n <= job.Copies; ++n) {
        CopyRect c{};
        job.GetCopyRect(n, c.x1, c.y1, c.x2, c.y2);
        copies_.push_back(c);
    }
}

std::unique_ptr<Bitmap24> RenderStrip(TemfFile& job, const CropMarkCorners& corners,
                                      const IntRect& rect, float s) {
    return StripComposer(job, corners).Render(rect, s);
}

std::unique_ptr<Bitmap24> StripComposer::Render(const IntRect& rect, float s) const {
    const TemfFile& job = job_;
    const CropMarkCorners& corners = corners_;
    auto strip = Bitmap24::Create(rect.right - rect.left + 1, rect.bottom - rect.top + 1);
    if (!strip) return nullptr;
    strip->Fill(0xFFFFFF);
    const int ox = Rnd(s, job.XOffset) - rect.left, oy = Rnd(s, job.YOffset) - rect.top;
    const int pw = Rnd(s, job.PageWidth), ph = Rnd(s, job.PageHeight);
    const IntRect crop{Rnd(s, job.CropLeft), Rnd(s, job.CropTop), Rnd(s, job.CropRight),
                       Rnd(s, job.CropBottom)};
    for (const auto& [x1, y1, x2, y2] : copies_) {
        DrawCopyArtwork(*strip, job, run_, crop, ox + Rnd(s, x1), oy + Rnd(s, y1), pw, ph);
        const float off = job.CropOffset;
        const IntRect k{ox + Rnd(s, x1 - off), oy + Rnd(s, y1 - off), ox + Rnd(s, x2 + off),
                        oy + Rnd(s, y2 + off)};
        DrawCopyFrame(*strip, job, corners, k, s);
    }
    return strip;
}

}  // namespace corvan
