#pragma once
// Small images whose every pixel tells where it came from.
#include "platform/bitmap.h"

#include <memory>

namespace corvan::test {

// Pixel (x, y) = red x, green y, blue 7: a source position can be read back
// from any copied pixel.
inline Colour PositionColour(int x, int y) {
    return MakeColour(x, y, 7);
}

inline std::unique_ptr<Bitmap24> PositionImage(int width, int height) {
    auto image = Bitmap24::Create(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image->SetPixel(x, y, PositionColour(x, y));
    return image;
}

}  // namespace corvan::test
