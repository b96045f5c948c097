#include "cutting/ui/autocutviews.h"

#include "cutting/ui/autocut.h"
#include "imagelib/resample.h"
#include "platform/ui/widgetnames.h"
#include "raster/transforms.h"

#include <QCheckBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>

namespace corvan {

void DrawTracedLines(QPainter& p, const std::vector<std::vector<QPointF>>& lines, QPointF origin,
                     double scale, const QColor& colour) {
    QPen pen(colour, 0);
    pen.setCosmetic(true);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    for (const auto& line : lines) {
        QPolygonF poly;
        poly.reserve(qsizetype(line.size()));
        for (const QPointF& q : line) poly << origin + q * scale;
        p.drawPolyline(poly);
    }
}

TracePicture::TracePicture(Tfautocut* owner) : QWidget(), owner_(owner) {
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
}

void TracePicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const Bitmap24* source = owner_->Source();
    if (!source) return;
    if (owner_->preview_->isChecked()) p.drawImage(rect(), source->View());
    DrawTracedLines(p, owner_->Shown().lines, {0, 0}, owner_->Zoom(),
                    ToQColor(owner_->ContourColour()));
}

void TracePicture::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) owner_->PointerAt(e->pos(), true);
}

void TracePicture::mouseMoveEvent(QMouseEvent* e) {
    owner_->PointerAt(e->pos(), false);
}

TraceResults::TraceResults(Tfautocut* owner) : QWidget(), owner_(owner) {}

void TraceResults::SourceChanged() {
    faded_ = QImage();
    const Bitmap24* source = owner_->Source();
    if (!source || width() <= 20 || height() <= 20) return;
    const FittedSize fit = FitSize(source->Width(), source->Height(), width() - 20, height() - 20);
    auto small = ResampleBitmap(source, fit.width, fit.height);
    if (!small) return;
    FadeBitmap(small.get(), 25);
    faded_ = small->View().copy();
    scale_ = double(fit.width) / source->Width();
    update();
}

void TraceResults::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    if (faded_.isNull()) return;
    const QPoint at((width() - faded_.width()) / 2, (height() - faded_.height()) / 2);
    p.drawImage(at, faded_);
    p.setPen(Qt::gray);
    p.drawRect(QRect(at, faded_.size()).adjusted(-1, -1, 0, 0));
    DrawTracedLines(p, owner_->Shown().lines, at, scale_, ToQColor(owner_->ContourColour()));
}

}  // namespace corvan
