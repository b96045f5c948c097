#pragma once
// The area a flood fill covers on a picture: the pixels connected to a seed
// (4-neighbourhood) that either differ from a border colour or match a
// surface colour. A scanline walk with its own stack, so a picture-sized
// area needs no deep recursion, and memory stays one bit per pixel.
#include <QImage>
#include <QRegion>

namespace corvan::emf {

enum class FloodKind { kBorder, kSurface };

// The covered pixels of `image` (32-bit) as a region; empty when the seed is
// outside the picture or does not qualify itself. `colour` is a QRgb; alpha
// is ignored.
QRegion FloodArea(const QImage& image, QPoint seed, QRgb colour, FloodKind kind);

}  // namespace corvan::emf
