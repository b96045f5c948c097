#include "display/ui/jobview.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace corvan {

JobView::JobView(AppCore& app, QWidget* parent) : QWidget(parent), app_(app) {
    setObjectName(QStringLiteral("p"));
    setAutoFillBackground(false);
    setMinimumSize(200, 200);
}

QRectF JobView::MediaRect(float mediaW, float mediaH) const {
    const double margin = 24;
    const double k = std::min((width() - 2 * margin) / mediaW, (height() - 2 * margin) / mediaH);
    // Centred both ways: a wide roll shows as a band across the middle.
    return {(width() - k * mediaW) / 2, std::max(margin, (height() - k * mediaH) / 2), k * mediaW,
            k * mediaH};
}

void JobView::PaintCopy(QPainter& p, const QRectF& r, int number, const QImage& art) const {
    const TemfFile& job = *app_.CurrentJob;
    const QColor bg(static_cast<int>(job.BackgroundColor & 0xFF),
                    static_cast<int>((job.BackgroundColor >> 8) & 0xFF),
                    static_cast<int>((job.BackgroundColor >> 16) & 0xFF));
    p.fillRect(r, bg);
    if (!art.isNull()) p.drawImage(r, art);
    p.setPen(QPen(QColor(0, 90, 180), 1));
    p.drawRect(r);
    if (art.isNull() && r.width() > 24 && r.height() > 16) {
        p.setPen(QColor(0, 90, 180, 90));
        p.drawLine(r.topLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomLeft());
        p.setPen(QColor(0, 60, 130));
        p.drawText(r, Qt::AlignCenter, QString::number(number));
    }
}

void JobView::PaintMarks(QPainter& p, const QRectF& copy, double k) const {
    const TemfFile& job = *app_.CurrentJob;
    const double offset = job.CropOffset * k;
    const QRectF K = copy.adjusted(-offset, -offset, offset, offset);
    if (job.CropMarks) {
        // Each corner: the two edges carried on outward, stopping short of
        // the corner point, as the built-in marks are drawn.
        const double reach = std::max(3.0, job.CropmarkSize * k);
        const double gap = std::min(reach / 4, 2.0);
        p.setPen(QPen(Qt::black, 1));
        for (const QPointF c : {K.topLeft(), K.topRight(), K.bottomLeft(), K.bottomRight()}) {
            const double sx = c.x() < K.center().x() ? -1 : 1;
            const double sy = c.y() < K.center().y() ? -1 : 1;
            p.drawLine(QPointF(c.x() + sx * gap, c.y()), QPointF(c.x() + sx * reach, c.y()));
            p.drawLine(QPointF(c.x(), c.y() + sy * gap), QPointF(c.x(), c.y() + sy * reach));
        }
    }
    if (job.Border) {
        p.setPen(QPen(QColor(0, 0, 255), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(K);
    }
    if (job.PrintJobText && !job.JobText.empty()) {
        // Five millimetres of point size, as the output sets it.
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(5 * k * 4 / 3))));
        p.setFont(font);
        p.setPen(Qt::black);
        const double indent = job.CropMarks ? job.CropmarkSize * k : 0;
        p.drawText(QPointF(K.left() + indent, K.bottom() + QFontMetricsF(font).ascent()),
                   QString::fromStdString(job.JobText));
    }
}

QSizeF JobView::MediaShown() const {
    if (!app_.CurrentJob) return {};
    const TemfFile& job = *app_.CurrentJob;
    const TemfPlotter& dev = app_.CurrentPlotter;
    float mediaW = dev.MediaWidth;
    // A roll is as long as the job on it now, whatever length was last set.
    float mediaH = dev.PrintableLength > 0 ? dev.MediaHeight : 0;
    if (mediaW <= 0) mediaW = job.MediaUsedWidth + std::max(0.0f, job.XOffset);
    if (mediaH <= 0) mediaH = job.MediaUsedHeight + std::max(0.0f, job.YOffset);
    return {mediaW, mediaH};
}

void JobView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0x80, 0x80, 0x80));
    if (!app_.CurrentJob) {
        p.setPen(QColor(0xE0, 0xE0, 0xE0));
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("No Job Loaded."));
        return;
    }
    TemfFile& job = *app_.CurrentJob;
    // The media as wide as the device's and as long as the layout needs; with
    // no media width known, just the space the copies take.
    const QSizeF shown = MediaShown();
    const auto mediaW = static_cast<float>(shown.width());
    const auto mediaH = static_cast<float>(shown.height());
    if (mediaW <= 0 || mediaH <= 0) return;
    const QRectF media = MediaRect(mediaW, mediaH);
    const double k = media.width() / mediaW;
    p.fillRect(media.translated(3, 3), QColor(0x50, 0x50, 0x50));
    p.fillRect(media, Qt::white);

    const int copies = std::max(1, job.Copies);
    const bool rotated = job.Rotate;
    QImage art;
    if (RenderArtwork && app_.CurrentView != AppCore::View::Draft) {
        const float w = rotated ? job.CropHeight : job.CropWidth;
        const float h = rotated ? job.CropWidth : job.CropHeight;
        art = RenderArtwork(
            QSize(std::max(1, static_cast<int>(w * k)), std::max(1, static_cast<int>(h * k))));
    }
    p.save();
    p.setClipRect(media.adjusted(-1, -1, 1, 1));
    for (int n = 1; n <= copies; ++n) {
        float x1, y1, x2, y2;
        job.GetCopyRect(n, x1, y1, x2, y2);
        const QRectF r(media.left() + k * (x1 + job.XOffset), media.top() + k * (y1 + job.YOffset),
                       k * (x2 - x1), k * (y2 - y1));
        if (r.top() > height()) break;
        PaintCopy(p, r, n, art);
        PaintMarks(p, r, k);
    }
    p.restore();
    p.setPen(job.FitsMedia ? QColor(0x30, 0x30, 0x30) : QColor(200, 0, 0));
    p.drawRect(media);
}

}  // namespace corvan
