#pragma once
// One-pixel lines drawn with integer steps from the rounded end points, as
// GDI draws them (the last pixel of each line left out). Unlike a clipped
// cosmetic QPainter line, the pixels do not depend on which part of the
// line the image shows, so windows and strips of a page join without seams.
#include <QPainter>
#include <QPainterPath>

namespace corvan::emf {

// Draws every subpath of `path` (device pixels; curves flattened) in
// `colour` on the painter's image, through its clip and translation.
void DrawThinLines(QPainter& painter, const QPainterPath& path, QRgb colour);

}  // namespace corvan::emf
