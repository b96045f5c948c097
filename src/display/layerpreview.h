#pragma once
// The picture of one layer file in the layer preview window.
#include "platform/bitmap.h"

#include <memory>
#include <string>

namespace corvan {

struct LayerPreviewSize {
    int width = 0, height = 0;
};

// The layer's frame (hundredths of a millimetre, taken ten times finer)
// fitted into the frame of the window less 10 pixels on every side; zero
// when the file is no metafile or nothing fits.
LayerPreviewSize LayerPreviewSizeFor(const std::string& file, int frameWidth, int frameHeight);

// The layer at that size on `background`: played at twice the size and
// halved, so that thin lines and text come out smooth, and outlined with a
// dotted light grey so that a layer on a background of its own colour still
// shows where it ends. Null when there is nothing to show.
std::unique_ptr<Bitmap24> RenderLayerPreview(const std::string& file, int frameWidth,
                                             int frameHeight, Colour background);

}  // namespace corvan
