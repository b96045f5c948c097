#pragma once
// The wide-format printer of the Virtual Preview, seen from the front, in
// two parts: the back (roll holder and stand, behind the media) and the
// front (the body the media comes out of). Both are drawn as vectors into
// the printer rectangle, whose sides keep the proportion 291 : 76; the
// media's right edge lies at 0.818 of its width.
#include <QPainter>
#include <QRect>

namespace corvan {

void DrawPrinterBack(QPainter& p, const QRect& printer);
void DrawPrinterFront(QPainter& p, const QRect& printer);

}  // namespace corvan
