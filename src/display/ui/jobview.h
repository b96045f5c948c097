#pragma once
// The view area: the media with every placed copy of the job, drawn from the
// layout. The job's artwork comes from the strip composer through
// `RenderArtwork` once that exists; until then each copy shows the page
// outline, its background colour and its number.
#include "shell/appcore.h"

#include <QImage>
#include <QWidget>

#include <functional>

namespace corvan {

class JobView : public QWidget {
    Q_OBJECT
public:
    explicit JobView(AppCore& app, QWidget* parent = nullptr);

    // Renders the job page (crop section) into an image of about the given
    // size; a null image when it cannot.
    std::function<QImage(const QSize&)> RenderArtwork;

    // The media the view shows, in millimetres: the device's width, and for
    // a roll the length the job uses now (else the sheet's length).
    QSizeF MediaShown() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRectF MediaRect(float mediaW, float mediaH) const;
    void PaintCopy(QPainter& p, const QRectF& r, int number, const QImage& art) const;
    // What the output adds around a copy: crop marks, border and job text,
    // `k` pixels to the millimetre.
    void PaintMarks(QPainter& p, const QRectF& copy, double k) const;

    AppCore& app_;
};

}  // namespace corvan
