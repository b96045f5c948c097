#pragma once
// The three pictures of the view area, drawn from the cached job preview:
// the upright page (Show Artwork), the media with every placed copy (Job
// Layout) and the printer seen from the front with the copies coming out
// upside down (Virtual Preview). Nothing here renders the layers again.
#include "display/previewbuild.h"
#include "job/emffile.h"
#include "platform/bitmap.h"
#include "raster/cropmarkdraw.h"

#include <QSizeF>

#include <array>
#include <memory>

namespace corvan {

// A scene of millimetres fitted into an area of pixels: `s` pixels to the
// millimetre, the scene's origin at (x0, y0).
struct SceneFit {
    bool valid = false;
    float s = 0;
    int x0 = 0, y0 = 0;
    int X(float mm) const;
    int Y(float mm) const;
    int Len(float mm) const;  // a length, rounded on its own
    // The rulers' zoom: 100 means 96 pixels to the inch.
    int RulerScale() const;
};

// The fit with a 20-pixel margin (a little more at the top for the scene's
// captions); invalid for an empty scene.
SceneFit FitScene(float sceneWidth, float sceneHeight, int areaWidth, int areaHeight);

// The same scene `zoom` times larger about the area's pixel (ax, ay), which
// keeps showing the same scene point.
SceneFit ZoomScene(const SceneFit& fit, double zoom, int ax, int ay);

// The scene a view shows, in millimetres: the page, the media, or the
// printer with the media under it. Empty when the view shows nothing.
QSizeF SceneSize(const TemfFile& job, const TemfPlotter& device, int viewMode);

// The printer picture's width and height for a printable width, and where
// the media's right edge lies (all millimetres).
struct PrinterFrame {
    float width = 0, height = 0, mediaRight = 0;
    float sheetTop = 0, sheetBottom = 0;  // the media as the front shows it
    float sceneHeight = 0;
};
PrinterFrame PrinterFrameFor(const TemfFile& job, const TemfPlotter& device);

// Pictures scaled from the preview, kept between paints (panning and
// repainting at one size scale nothing again). Clear it when the preview
// picture is replaced.
struct ViewPictures {
    struct Entry {
        std::array<double, 12> key{};
        std::shared_ptr<const Bitmap24> picture;
    };
    Entry artwork, copies;
    void Clear() { *this = ViewPictures{}; }
};

// What one paint needs; `job` is read only (placing copies settles its crop).
struct ViewScene {
    TemfFile* job = nullptr;
    const TemfPlotter* device = nullptr;
    const Bitmap24* preview = nullptr;
    ViewFlags flags;
    const CropMarkCorners* corners = nullptr;
    ViewPictures* cache = nullptr;  // none: everything is scaled anew
};

// Fills `canvas` with the view background and draws the chosen view.
void PaintJobView(Bitmap24& canvas, const ViewScene& scene, const SceneFit& fit);

// The crop section of the preview as a (w + 1) x (h + 1) picture turned and
// mirrored like the output; null for an empty size, one above a million
// pixels, or no usable preview.
std::unique_ptr<Bitmap24> CroppedPreview(const Bitmap24* preview, const TemfFile& job, int w,
                                         int h);

}  // namespace corvan
