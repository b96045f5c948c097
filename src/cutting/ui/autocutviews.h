#pragma once
// The two pictures of the autotrace dialog: the source at the chosen zoom
// with the outlines over it, and the small faded "Trace Results:" view.
#include <QImage>
#include <QPointF>
#include <QWidget>

#include <vector>

class QPainter;

namespace corvan {

class Tfautocut;

// Draws `lines` (source pixels) scaled by `scale` from `origin` with a
// hairline pen.
void DrawTracedLines(QPainter& p, const std::vector<std::vector<QPointF>>& lines, QPointF origin,
                     double scale, const QColor& colour);

class TracePicture : public QWidget {
public:
    explicit TracePicture(Tfautocut* owner);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    Tfautocut* owner_;
};

class TraceResults : public QWidget {
public:
    explicit TraceResults(Tfautocut* owner);
    // The source changed: the faded picture is made again.
    void SourceChanged();

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    Tfautocut* owner_;
    QImage faded_;
    double scale_ = 1;
};

}  // namespace corvan
