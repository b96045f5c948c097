#pragma once
// The four corner pictures of the crop marks in use around a sample copy,
// as the RIP draws them: the marks show while crop marks are on, and the
// copy's frame is black while the hairline border is on, grey otherwise.
#include "raster/cropmarkdraw.h"

#include <QWidget>

namespace corvan {

class CropMarkPreview : public QWidget {
    Q_OBJECT
public:
    explicit CropMarkPreview(QWidget* parent = nullptr);

    void Show(const CropMarkCorners& corners, bool marks, bool border);
    // What is painted, for tests and the screenshot tool.
    QImage Picture() const { return picture_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

}  // namespace corvan
