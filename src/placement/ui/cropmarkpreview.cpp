#include "placement/ui/cropmarkpreview.h"

#include <QPainter>

namespace corvan {

namespace {

constexpr int kWidth = 180;
constexpr int kHeight = 120;
constexpr int kMargin = 36;  // room for the marks outside the copy
constexpr int kHalfMark = 22;

}  // namespace

CropMarkPreview::CropMarkPreview(QWidget* parent) : QWidget(parent) {
    setFixedSize(kWidth, kHeight);
}

QSize CropMarkPreview::sizeHint() const {
    return {kWidth, kHeight};
}

void CropMarkPreview::Show(const CropMarkCorners& corners, bool marks, bool border) {
    auto canvas = Bitmap24::Create(kWidth, kHeight);
    canvas->Fill(MakeColour(255, 255, 255));
    const QRect copy(kMargin, kMargin, kWidth - 2 * kMargin, kHeight - 2 * kMargin);
    {
        QImage view = canvas->View();
        QPainter p(&view);
        p.fillRect(copy, QColor(225, 235, 245));
        p.setPen(border ? Qt::black : QColor(170, 170, 170));
        p.drawRect(copy.adjusted(-4, -4, 4, 4));
    }
    if (marks) {
        const int xs[] = {copy.left() - 4, copy.right() + 4};
        const int ys[] = {copy.top() - 4, copy.bottom() + 4};
        for (int i = 0; i < 4; ++i)
            DrawCropMark(*canvas, xs[i % 2], ys[i / 2], corners[static_cast<std::size_t>(i)],
                         kHalfMark);
    }
    picture_ = canvas->View().copy();
    update();
}

void CropMarkPreview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, picture_);
}

}  // namespace corvan
