#include "display/ui/ruler.h"

#include <QPainter>

#include <cmath>

namespace corvan {
namespace {

double MmPerUnit(RulerUnit u) {
    return u == RulerUnit::Millimetres ? 1 : u == RulerUnit::Centimetres ? 10 : 25.4;
}

}  // namespace

Ruler::Ruler(Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent), orientation_(orientation) {
    setSizePolicy(orientation == Qt::Horizontal ? QSizePolicy::Expanding : QSizePolicy::Fixed,
                  orientation == Qt::Horizontal ? QSizePolicy::Fixed : QSizePolicy::Expanding);
}

QSize Ruler::sizeHint() const {
    return orientation_ == Qt::Horizontal ? QSize(100, 22) : QSize(34, 100);
}

void Ruler::SetMapping(double origin, double pixelsPerMm) {
    origin_ = origin;
    pixelsPerMm_ = pixelsPerMm > 0 ? pixelsPerMm : 1;
    update();
}

void Ruler::SetUnit(RulerUnit unit) {
    unit_ = unit;
    update();
}

void Ruler::SetHairLine(int pixel) {
    hair_ = pixel;
    update();
}

double Ruler::NumberStep(double pixelsPerUnit, int minPixels) {
    double step = std::pow(10.0, std::floor(std::log10(minPixels / pixelsPerUnit)));
    for (int i = 0; i < 4 && step * pixelsPerUnit < minPixels; ++i)
        step *= (i % 3 == 1) ? 2.5 : 2;  // 1, 2, 5, 10
    return step;
}

void Ruler::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(245, 245, 240));
    p.setPen(QColor(120, 120, 120));
    const bool across = orientation_ == Qt::Horizontal;
    const int length = across ? width() : height(), depth = across ? height() : width();
    across ? p.drawLine(0, depth - 1, length, depth - 1)
           : p.drawLine(depth - 1, 0, depth - 1, length);
    const double perUnit = pixelsPerMm_ * MmPerUnit(unit_);
    const double step = NumberStep(perUnit, across ? 60 : 44);
    const double minor = step / 5;
    const double first = std::floor((0 - origin_) / perUnit / minor) * minor;
    QFont f = font();
    f.setPointSizeF(7.5);
    p.setFont(f);
    p.setPen(QColor(60, 60, 60));
    for (double v = first; origin_ + v * perUnit <= length; v += minor) {
        const int at = static_cast<int>(std::lround(origin_ + v * perUnit));
        const bool major = std::fabs(std::remainder(v, step)) < minor / 2;
        const int tick = major ? depth / 2 : depth / 5;
        if (across) {
            p.drawLine(at, depth - tick, at, depth - 1);
            if (major)
                p.drawText(at + 2, depth / 2 - 1, QString::number(std::round(v / minor) * minor));
        } else {
            p.drawLine(depth - tick, at, depth - 1, at);
            if (major) {
                p.save();
                p.translate(depth / 2 - 1, at + 2);
                p.rotate(90);
                p.drawText(0, 0, QString::number(std::round(v / minor) * minor));
                p.restore();
            }
        }
    }
    if (hair_ >= 0) {
        p.setPen(Qt::red);
        across ? p.drawLine(hair_, 0, hair_, depth) : p.drawLine(0, hair_, depth, hair_);
    }
}

}  // namespace corvan
