#pragma once
// The view area's paint box `p`: the current job in one of the three views,
// drawn from the cached preview, which is rebuilt on a worker thread only
// when the job marks it dirty. Wheel zooms about the pointer, dragging pans,
// a double click fits the scene again.
#include "display/jobviews.h"
#include "display/previewbuild.h"
#include "shell/appcore.h"

#include <QWidget>

#include <memory>

namespace corvan {

class JobView : public QWidget {
    Q_OBJECT
public:
    explicit JobView(AppCore& app, QWidget* parent = nullptr);

    // The mapping of the scene the current view shows onto this widget.
    SceneFit Mapping() const;
    double Zoom() const { return zoom_; }
    void ZoomFit();
    // 96 pixels to the inch, as the rulers count 100 %.
    void ZoomActual();
    void ZoomBy(double factor, QPoint anchor);

    // Preview renders started so far, and whether one is running.
    int PreviewBuilds() const { return builder_.Builds(); }
    bool PreviewBusy() const { return builder_.Busy(); }
    // A build was started whose picture has not reached the job session yet.
    bool PreviewPending() const { return builder_.Pending(); }
    // The picture in the job session is the one the job and view ask for.
    bool PreviewCurrent() const { return !builder_.Pending() && !PreviewStale(); }
    // Brings the preview up to date now: waits for the running build, or
    // builds a dirty one here (a project's thumbnail is taken from it).
    void SettlePreview();
    // The job's background picture changed: the reduced copy is stale.
    void BackgroundChanged() { builder_.ForgetBackground(); }
    // Abandons the running build (the job is going away).
    void DropPreview() {
        builder_.Cancel();
        builder_.ForgetBackground();
        pictures_.Clear();
    }

Q_SIGNALS:
    // A new preview picture is in the job session.
    void previewReady();
    // A rebuild started: pictures made from the old preview are stale.
    void previewStarted();
    void mappingChanged();
    void pointerMoved(QPoint at);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    PreviewInput Snapshot();
    void StartPreview();
    bool PreviewStale() const;
    void PreviewArrived();
    SceneFit BaseFit() const;
    void SetZoom(double zoom, QPoint pan);

    AppCore& app_;
    PreviewBuilder builder_;
    std::unique_ptr<Bitmap24> canvas_;
    ViewPictures pictures_;
    double zoom_ = 1;
    QPoint pan_;
    QPoint dragFrom_;
    bool dragging_ = false;
    int lastMode_ = 0;
    // What the last build was started with, beyond the job's own flag.
    PreviewInput built_;
    const TemfFile* lastJob_ = nullptr;
};

}  // namespace corvan
