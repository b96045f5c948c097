#pragma once
// Resizing kernels and the fit-to-box size rule shared by every preview.
#include "platform/bitmap.h"

#include <memory>

namespace corvan {

struct FittedSize {
    int width = 0;
    int height = 0;
    bool changed = false;
};

// The largest size with the same proportions that fits the box; a size that
// already fits is returned unchanged. Sizes are only ever shrunk.
FittedSize FitSize(int width, int height, int boxWidth, int boxHeight);

// Box-filter reduction (new size smaller in both directions), integer
// arithmetic with 256 sub-units per pixel.
std::unique_ptr<Bitmap24> AreaResample(const Bitmap24* source, int width, int height);
// Nearest pixel with the corners mapped onto the corners.
std::unique_ptr<Bitmap24> NearestResample(const Bitmap24* source, int width, int height);
// AreaResample when shrinking in both directions, else NearestResample.
std::unique_ptr<Bitmap24> ResampleBitmap(const Bitmap24* source, int width, int height);

}  // namespace corvan
