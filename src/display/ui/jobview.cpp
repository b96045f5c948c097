#include "display/ui/jobview.h"

#include "shell/ripwiring.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace corvan {

namespace {

constexpr double kMinZoom = 0.25, kMaxZoom = 64;
constexpr double kActualPixelsPerMm = 96 / 25.4;

}  // namespace

JobView::JobView(AppCore& app, QWidget* parent)
    : QWidget(parent), app_(app), builder_(this, [this] { PreviewArrived(); }) {
    setObjectName(QStringLiteral("p"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setMinimumSize(200, 200);
}

SceneFit JobView::BaseFit() const {
    if (!app_.CurrentJob) return {};
    const QSizeF scene = SceneSize(*app_.CurrentJob, app_.CurrentPlotter, app_.Views.ViewMode);
    return FitScene(static_cast<float>(scene.width()), static_cast<float>(scene.height()), width(),
                    height());
}

SceneFit JobView::Mapping() const {
    SceneFit f = ZoomScene(BaseFit(), zoom_, width() / 2, height() / 2);
    f.x0 += pan_.x();
    f.y0 += pan_.y();
    return f;
}

void JobView::SetZoom(double zoom, QPoint pan) {
    zoom_ = std::clamp(zoom, kMinZoom, kMaxZoom);
    pan_ = zoom_ == 1 ? QPoint() : pan;
    setCursor(zoom_ == 1 ? Qt::ArrowCursor : Qt::OpenHandCursor);
    update();
    Q_EMIT mappingChanged();
}

void JobView::ZoomFit() {
    SetZoom(1, {});
}

void JobView::ZoomActual() {
    const SceneFit fit = BaseFit();
    if (fit.valid) SetZoom(kActualPixelsPerMm / fit.s, {});
}

void JobView::ZoomBy(double factor, QPoint anchor) {
    const SceneFit now = Mapping();
    if (!now.valid) return;
    const double zoom = std::clamp(zoom_ * factor, kMinZoom, kMaxZoom);
    // Keep the scene point under the anchor where it is.
    const SceneFit base = ZoomScene(BaseFit(), zoom, width() / 2, height() / 2);
    const double k = zoom / zoom_;
    const int x0 = anchor.x() - static_cast<int>(std::lround((anchor.x() - now.x0) * k));
    const int y0 = anchor.y() - static_cast<int>(std::lround((anchor.y() - now.y0) * k));
    SetZoom(zoom, {x0 - base.x0, y0 - base.y0});
}

PreviewInput JobView::Snapshot() {
    const TemfFile& job = *app_.CurrentJob;
    const FittedSize size = PreviewSize(job.PageWidth, job.PageHeight, app_.MaxPreview);
    std::shared_ptr<const Bitmap24> background;
    if (job.DrawImage && !app_.Views.DraftView)
        background = builder_.PreviewBackground(job.BackgroundImage.get(), size.width, size.height);
    return SnapshotPreview(job, app_.Views, app_.MaxPreview, std::move(background));
}

void JobView::StartPreview() {
    app_.CurrentJob->PreviewDirty = false;
    Q_EMIT previewStarted();
    built_ = Snapshot();
    builder_.Start(built_);
}

bool JobView::PreviewStale() const {
    const TemfFile* job = app_.CurrentJob.get();
    if (!job) return false;
    if (job->PreviewDirty) return true;
    // View flags or the size set while a job was loading count too.
    const ViewFlags& v = app_.Views;
    return built_.DraftView != v.DraftView || built_.MaxPreview != app_.MaxPreview ||
           (job->ContourCut && (built_.CutView != v.CutView || built_.RasterView != v.RasterView));
}

void JobView::PreviewArrived() {
    if (!app_.CurrentJob) return;
    app_.PreviewImage = builder_.Take();
    pictures_.Clear();
    update();
    Q_EMIT previewReady();
}

void JobView::SettlePreview() {
    if (!app_.CurrentJob) return;
    if (PreviewStale()) StartPreview();
    if (!builder_.Pending()) return;
    app_.PreviewImage = builder_.Wait();
    pictures_.Clear();
    update();
    Q_EMIT previewReady();
}

void JobView::paintEvent(QPaintEvent*) {
    TemfFile* job = app_.CurrentJob.get();
    // A new job or another view starts fitted again.
    if (job != lastJob_ || app_.Views.ViewMode != lastMode_) {
        lastJob_ = job;
        lastMode_ = app_.Views.ViewMode;
        zoom_ = 1;
        pan_ = {};
        setCursor(Qt::ArrowCursor);
        Q_EMIT mappingChanged();
    }
    if (PreviewStale()) StartPreview();
    if (!canvas_ || canvas_->Width() != width() || canvas_->Height() != height())
        canvas_ = Bitmap24::Create(std::max(1, width()), std::max(1, height()));
    QPainter p(this);
    if (!canvas_) return p.fillRect(rect(), QColor(0xDC, 0xDC, 0xDC));
    ViewScene scene;
    scene.job = job;
    scene.device = &app_.CurrentPlotter;
    scene.preview = app_.PreviewImage.get();
    scene.flags = app_.Views;
    scene.corners = &CurrentCropMarkCorners(app_);
    scene.cache = &pictures_;
    PaintJobView(*canvas_, scene, Mapping());
    p.drawImage(0, 0, canvas_->View());
    p.setPen(QColor(0x60, 0x60, 0x60));
    if (!job)
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("No Job Loaded."));
    else if (builder_.Busy())
        p.drawText(rect().adjusted(8, 4, -8, -4), Qt::AlignLeft | Qt::AlignBottom,
                   QStringLiteral("Building preview..."));
}

void JobView::resizeEvent(QResizeEvent*) {
    Q_EMIT mappingChanged();
}

void JobView::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0) return;
    ZoomBy(std::pow(1.25, notches), event->position().toPoint());
    event->accept();
}

void JobView::mousePressEvent(QMouseEvent* event) {
    if (zoom_ == 1 || event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    dragging_ = true;
    dragFrom_ = event->position().toPoint();
    setCursor(Qt::ClosedHandCursor);
}

void JobView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    Q_EMIT pointerMoved(at);
    if (!dragging_) return;
    pan_ += at - dragFrom_;
    dragFrom_ = at;
    update();
    Q_EMIT mappingChanged();
}

void JobView::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging_) return QWidget::mouseReleaseEvent(event);
    dragging_ = false;
    setCursor(zoom_ == 1 ? Qt::ArrowCursor : Qt::OpenHandCursor);
}

void JobView::mouseDoubleClickEvent(QMouseEvent*) {
    ZoomFit();
}

void JobView::leaveEvent(QEvent*) {
    Q_EMIT pointerMoved({-1, -1});
}

}  // namespace corvan
