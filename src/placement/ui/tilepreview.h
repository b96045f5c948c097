#pragma once
// The page of the crop-and-tile dialog: a thumbnail of the job with the area
// outside the crop faded, the tile grid with numbers and printed marks, and
// the crop rectangle, which the pointer drags in single-tile mode and whose
// tiles it picks in multiple-tile mode.
#include "placement/tiling.h"
#include "platform/bitmap.h"

#include <QImage>
#include <QWidget>

namespace corvan {

class TilePreview : public QWidget {
    Q_OBJECT
public:
    TilePreview(TileEditor& editor, const Bitmap24* preview, QWidget* parent = nullptr);

    // Pixels per millimetre and the page's top-left corner in the widget.
    float Scale() const { return scale_; }
    QPoint Offset() const { return offset_; }
    // The page drawn into an image of the given size (the printed sheet).
    static QImage PaintSheet(const TileEditor& editor, const Bitmap24* preview, QSize box);

Q_SIGNALS:
    void pointerAt(float x, float y, int tile);  // millimetres; tile 0 outside
    void cropDragged();                          // during a drag
    void dragEnded();
    void tileClicked(int tile);
    void accepted();  // double click

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;

private:
    void Fit();
    QPointF ToMm(QPoint p) const;
    QRect CropPixels() const;

    TileEditor& editor_;
    const Bitmap24* preview_;
    float scale_ = 1;
    QPoint offset_;
    QImage thumb_, faded_;
    int dragCode_ = 0;
};

}  // namespace corvan
