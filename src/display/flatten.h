#pragma once
// The job's crop section flattened into one picture, turned and mirrored as
// it prints: the sizes the export dialog shows, the picture itself, and an
// export that renders in strips and writes each to the file as it comes, so
// a picture of any size needs only a few strips of memory.
#include "job/emffile.h"
#include "platform/bitmap.h"
#include "raster/placement.h"
#include "raster/stripsink.h"

#include <functional>
#include <memory>
#include <string>

namespace corvan {

struct RunResources;

struct FlattenSize {
    int width = 0, height = 0;  // before turning
    double bytes = 0;           // uncompressed, at the chosen colour depth
};
// The crop section at `dpi` (below 0.01 counts as 0.01).
FlattenSize FlattenSizeFor(const TemfFile& job, double dpi, SinkPixels pixels);
// The resolution that fits the crop section into a preset picture size.
double PresetDpi(const TemfFile& job, int boxWidth, int boxHeight);
// Every character of the file's name (not its folder) but "-", ".", digits
// and ASCII letters becomes "_".
std::string WebSafeFileName(const std::string& path);

// Renders output rows of the flattened picture on demand. With `antialias`
// a picture of at most one million pixels is rendered at twice the
// resolution and halved; larger ones are rendered as they are.
class FlattenRenderer {
public:
    FlattenRenderer(const TemfFile& job, double dpi, bool antialias);
    ~FlattenRenderer();
    int Width() const { return outWidth_; }  // after turning
    int Height() const { return outHeight_; }
    // Output rows top..bottom (ends included), or null without memory.
    std::unique_ptr<Bitmap24> Rows(int top, int bottom) const;
    // The whole picture.
    std::unique_ptr<Bitmap24> Render() const { return Rows(0, outHeight_ - 1); }

private:
    const TemfFile& job_;
    std::unique_ptr<RunResources> run_;
    float scale_ = 1;
    bool halve_ = false;
    IntRect play_;                      // the page in source pixels, crop corner at 0, 0
    int srcWidth_ = 0, srcHeight_ = 0;  // upright, at the render scale
    int outWidth_ = 0, outHeight_ = 0;
};

// Writes the flattened picture to `path` (format by extension: PNG, TIFF,
// BMP or JPEG) with its resolution, in strips of about a million pixels.
// `progress` gets 0..100 and may return false to stop. False with a message.
bool ExportFlattened(const TemfFile& job, const std::string& path, double dpi, SinkPixels pixels,
                     bool antialias, std::string& error,
                     const std::function<bool(int)>& progress = {});

// Writes a picture already made (by FlattenRenderer::Render) the same way.
bool SaveFlattened(const Bitmap24& image, const std::string& path, double dpi, SinkPixels pixels,
                   std::string& error);

}  // namespace corvan
