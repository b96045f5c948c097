#pragma once
// A ruler along the top or the left edge of a view: ticks and numbers in
// millimetres, centimetres or inches for a view whose pixel p shows the
// length (p - origin) / pixelsPerMm, with a hair line that follows the pointer.
#include <QWidget>

namespace corvan {

enum class RulerUnit { Millimetres, Centimetres, Inches };

class Ruler : public QWidget {
    Q_OBJECT
public:
    Ruler(Qt::Orientation orientation, QWidget* parent = nullptr);
    void SetMapping(double origin, double pixelsPerMm);
    void SetUnit(RulerUnit unit);
    void SetHairLine(int pixel);  // -1 hides it
    RulerUnit Unit() const { return unit_; }
    // The shortest step between numbered ticks, in the ruler's unit, that
    // keeps numbers at least `minPixels` apart (1, 2 or 5 times a power of 10).
    static double NumberStep(double pixelsPerUnit, int minPixels);

protected:
    void paintEvent(QPaintEvent*) override;
    QSize sizeHint() const override;

private:
    Qt::Orientation orientation_;
    double origin_ = 0, pixelsPerMm_ = 1;
    RulerUnit unit_ = RulerUnit::Millimetres;
    int hair_ = -1;
};

}  // namespace corvan
