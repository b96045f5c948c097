#include "display/ui/printzoom.h"

#include "colour/spotline.h"
#include "display/ui/ruler.h"
#include "imagelib/resample.h"
#include "job/jobsession.h"
#include "job/units.h"
#include "platform/preferences.h"
#include "platform/ui/widgetnames.h"
#include "shell/ui/helpmanual.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

namespace corvan {

namespace {

const char* const kDpiItems[] = {"? DPI ",        "96 DPI Actual Size",
                                 "50 DPI",        "75 DPI",
                                 "100 DPI LoRes", "120 DPI",
                                 "125 DPI",       "150 DPI",
                                 "175 DPI",       "180 DPI",
                                 "200 DPI Good",  "225 DPI",
                                 "250 DPI",       "275 DPI",
                                 "300 DPI HiRes", "360 DPI"};
constexpr int kNoCentre = -100000;
constexpr int kDebounceMs = 200;

QImage ToImage(const Bitmap24& b) {
    return b.View().copy();
}

}  // namespace

// ---- worker ----

PreviewWorker::PreviewWorker(QObject* owner) : owner_(owner), thread_([this] { Loop(); }) {}

PreviewWorker::~PreviewWorker() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        waiting_[0].reset();
        waiting_[1].reset();
    }
    changed_.notify_all();
    thread_.join();
}

void PreviewWorker::Request(int slot, Task task, Done done) {
    {
        std::lock_guard lock(mutex_);
        waiting_[slot] = std::make_pair(std::move(task), std::move(done));
    }
    changed_.notify_all();
}

bool PreviewWorker::Busy() {
    std::lock_guard lock(mutex_);
    return running_ || waiting_[0] || waiting_[1];
}

void PreviewWorker::WaitIdle() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !running_ && !waiting_[0] && !waiting_[1]; });
}

void PreviewWorker::Loop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stop_ || waiting_[0] || waiting_[1]; });
        if (stop_) return;
        const int slot = waiting_[0] ? 0 : 1;
        auto job = std::move(waiting_[slot]);
        waiting_[slot].reset();
        running_ = true;
        lock.unlock();
        std::shared_ptr<Bitmap24> image = job->first();
        // The result goes to the owner's thread; dropped if the owner is gone.
        QMetaObject::invokeMethod(
            owner_,
            [done = job->second, image]() mutable {
                done(image ? std::make_unique<Bitmap24>(std::move(*image)) : nullptr);
            },
            Qt::QueuedConnection);
        lock.lock();
        running_ = false;
        changed_.notify_all();
    }
}

// ---- the two views ----

class OverviewBox : public QWidget {
public:
    explicit OverviewBox(Tfprintzoom* owner) : QWidget(owner), owner_(owner) {
        setCursor(Qt::PointingHandCursor);
        setMouseTracking(true);
        setMinimumSize(220, 220);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(0x8D, 0x8D, 0x8D));
        if (owner_->overviewBuiltFor_ != size()) owner_->BuildOverview();
        p.drawImage(owner_->overviewOffset_, owner_->overview_);
        const QPoint c = owner_->zoomCentre_;
        if (c.x() == kNoCentre) return;
        const QPoint at = owner_->overviewOffset_ + c;
        p.setPen(QPen(Qt::red, 1));
        p.drawLine(at - QPoint(5, 0), at + QPoint(5, 0));
        p.drawLine(at - QPoint(0, 5), at + QPoint(0, 5));
        const QSize view = owner_->p2_->size();
        const double s = owner_->overviewScale_;
        const bool z = owner_->zoom400_->isChecked();
        const int fw = static_cast<int>(std::lround(
            z ? view.width() * 25.4 / 384 : view.width() * s * 25.4 / owner_->previewDpi_));
        const int fh = static_cast<int>(std::lround(
            z ? view.height() * 25.4 / 384 : view.height() * s * 25.4 / owner_->previewDpi_));
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.setPen(QPen(Qt::white, 2));
        p.drawRect(QRect(at.x() - fw / 2, at.y() - fh / 2, fw, fh));
    }
    void mousePressEvent(QMouseEvent* e) override {
        owner_->ZoomAt(e->pos() - owner_->overviewOffset_);
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        const double s = owner_->overviewScale_;
        const QPoint p = e->pos() - owner_->overviewOffset_;
        owner_->status_[1]->setText(owner_->Size(p.x() / s, p.y() / s));
    }

private:
    Tfprintzoom* owner_;
};

class ZoomBox : public QWidget {
public:
    explicit ZoomBox(Tfprintzoom* owner) : QWidget(owner), owner_(owner) {
        setCursor(Qt::CrossCursor);
        setMouseTracking(true);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        setMinimumSize(300, 200);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.drawImage(0, 0, owner_->zoomImage_);
    }
    void resizeEvent(QResizeEvent*) override { owner_->RenderZoomView(); }
    void mouseMoveEvent(QMouseEvent* e) override { owner_->PointerOverZoom(e->pos()); }

private:
    Tfprintzoom* owner_;
};

// ---- the dialog ----

Tfprintzoom::Tfprintzoom(TemfFile& job, const TemfPlotter& device, const CropMarkCorners& corners,
                         bool metric, UserInterface& ui, QWidget* parent)
    : QDialog(parent), job_(job), device_(device), ui_(ui), preview_(job, corners), worker_(this) {
    setObjectName(QStringLiteral("Tfprintzoom"));
    setWindowTitle(QStringLiteral("High Resolution Preview"));
    setMinimumSize(790, 400);
    BuildControls(metric);
    timer_.setInterval(100);
    connect(&timer_, &QTimer::timeout, this, &Tfprintzoom::SmoothingTick);
    const int w = static_cast<int>(ReadPrefNumber("printzoom_width", 1100));
    const int h = static_cast<int>(ReadPrefNumber("printzoom_height", 680));
    resize(std::max(790, w), std::max(400, h));
    const double x = ReadPrefNumber("printzoom_left", -1), y = ReadPrefNumber("printzoom_top", -1);
    if (x >= 0 && y >= 0) move(static_cast<int>(x), static_cast<int>(y));
}

Tfprintzoom::~Tfprintzoom() {
    SaveGeometry();
}

void Tfprintzoom::SaveGeometry() {
    WritePrefNumber("printzoom_width", width());
    WritePrefNumber("printzoom_height", height());
    WritePrefNumber("printzoom_left", x());
    WritePrefNumber("printzoom_top", y());
}

void Tfprintzoom::BuildControls(bool metric) {
    auto* root = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    dpi_ = Named(new QComboBox(this), "comboDPI");
    for (const char* item : kDpiItems) dpi_->addItem(QString::fromUtf8(item));
    dpi_->setItemText(0, QStringLiteral("%1 DPI*").arg(job_.RenderDPI));
    units_ = Named(new QComboBox(this), "ComboBox1");
    units_->addItems(
        {QStringLiteral("millimeters"), QStringLiteral("centimeters"), QStringLiteral("inches")});
    units_->setCurrentIndex(metric ? 0 : 2);
    contours_ = Named(new QCheckBox(QStringLiteral("Show Contours"), this), "CheckBox1");
    spots_ = Named(new QCheckBox(QStringLiteral("Spot Colors"), this), "CheckBox2");
    spotList_ = Named(new QComboBox(this), "ComboBox2");
    spotList_->setVisible(false);
    zoom400_ = Named(new QCheckBox(QStringLiteral("400 x Zoom"), this), "CheckBox3");
    zoom400_->setChecked(true);
    smoothing_ = Named(new QSpinBox(this), "BMSpinEdit1");
    smoothing_->setRange(0, 100);
    smoothing_->setSuffix(QStringLiteral(" %"));
    smoothing_->setValue(100 - job_.Interpolation * 100 / 40);
    contours_->setEnabled(job_.ContourCut);
    spots_->setEnabled(job_.SpotColors);
    bar->addWidget(new QLabel(QStringLiteral("Render DPI:"), this));
    bar->addWidget(dpi_);
    bar->addWidget(new QLabel(QStringLiteral("Ruler Units:"), this));
    bar->addWidget(units_);
    bar->addWidget(contours_);
    bar->addWidget(spots_);
    bar->addWidget(spotList_);
    bar->addWidget(zoom400_);
    bar->addWidget(new QLabel(QStringLiteral("Image Smoothing:"), this));
    bar->addWidget(smoothing_);
    bar->addStretch();
    root->addLayout(bar);

    auto* body = new QHBoxLayout;
    p1_ = Named(new OverviewBox(this), "p1");
    p1_->setFixedWidth(260);
    body->addWidget(p1_);
    auto* zoom = new QGridLayout;
    zoom->setSpacing(0);
    corner_ = new QLabel(this);
    corner_->setAlignment(Qt::AlignCenter);
    top_ = Named(new Ruler(Qt::Horizontal, this), "RsRuler1");
    left_ = Named(new Ruler(Qt::Vertical, this), "RsRuler2");
    p2_ = Named(new ZoomBox(this), "p2");
    zoom->addWidget(corner_, 0, 0);
    zoom->addWidget(top_, 0, 1);
    zoom->addWidget(left_, 1, 0);
    zoom->addWidget(p2_, 1, 1);
    body->addLayout(zoom, 1);
    root->addLayout(body, 1);

    auto* bottom = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        status_[i] = new QLabel(this);
        status_[i]->setFrameShape(QFrame::StyledPanel);
        bottom->addWidget(status_[i], i == 2 ? 2 : 1);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Help, this);
    auto* apply =
        Named(buttons->addButton(QStringLiteral("Apply"), QDialogButtonBox::AcceptRole), "Button1");
    Named(buttons->addButton(QDialogButtonBox::Cancel), "Button2");
    apply->setDefault(true);
    bottom->addWidget(buttons);
    root->addLayout(bottom);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [this] {
        status_[2]->setText(
            QStringLiteral("Click the overview to render that spot of the output."));
    });

    connect(dpi_, qOverload<int>(&QComboBox::activated), this,
            [this](int i) { ChooseDpi(i, true); });
    connect(units_, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &Tfprintzoom::ApplyUnits);
    connect(contours_, &QCheckBox::clicked, this, [this] {
        overviewBuiltFor_ = {};
        BuildOverview();
        RenderZoomView();
    });
    connect(spots_, &QCheckBox::clicked, this, [this](bool on) {
        spotList_->clear();
        for (std::size_t i = 0; i < job_.SpotColorList.size(); ++i) {
            const auto spot = ParseSpotLine(job_.SpotColorList[i]);
            spotList_->addItem(QStringLiteral("%1. %2").arg(i + 1).arg(
                QString::fromStdString(spot ? spot->name : std::string())));
        }
        spotList_->setCurrentIndex(spotList_->count() > 0 ? 0 : -1);
        spotList_->setVisible(on);
        RenderZoomView();
    });
    connect(spotList_, qOverload<int>(&QComboBox::activated), this, [this] { RenderZoomView(); });
    connect(zoom400_, &QCheckBox::clicked, this, [this] {
        ChooseDpi(dpi_->currentIndex(), false);
        p1_->update();
        RenderZoomView();
    });
    connect(smoothing_, qOverload<int>(&QSpinBox::valueChanged), this, [this](int v) {
        pendingSmoothing_ = v;
        smoothingChanged_ = QDateTime::currentMSecsSinceEpoch();
        timer_.start();
    });
    ApplyUnits();
    ChooseDpi(0, false);
}

QString Tfprintzoom::Size(double w, double h) const {
    return QString::fromStdString(
        FormatSize(static_cast<float>(w), static_cast<float>(h), units_->currentIndex() != 2));
}

int Tfprintzoom::Smoothing() const {
    return smoothing_->value();
}

void Tfprintzoom::ChooseDpi(int index, bool fromList) {
    previewDpi_ = std::max(1, dpi_->itemText(index).section(QLatin1Char(' '), 0, 0).toInt());
    status_[0]->setText(QStringLiteral("Resolution: %1 DPI").arg(previewDpi_));
    status_[1]->clear();
    const long pw = std::lround(previewDpi_ * job_.PageWidth / 25.4);
    const long ph = std::lround(previewDpi_ * job_.PageHeight / 25.4);
    status_[2]->setText(
        (pw > 32767 || ph > 32767
             ? QStringLiteral(
                   "WARNING: Rendered Size: %1 x %2 pixels may be too large for Win98 systems!")
             : QStringLiteral("Rendered Size: %1 x %2 pixels."))
            .arg(pw)
            .arg(ph));
    if (!fromList) return;
    QApplication::beep();
    p1_->update();
    RenderZoomView();
}

void Tfprintzoom::ApplyUnits() {
    const RulerUnit units[] = {RulerUnit::Millimetres, RulerUnit::Centimetres, RulerUnit::Inches};
    const char* names[] = {"mm", "cm", "in"};
    const int i = std::clamp(units_->currentIndex(), 0, 2);
    top_->SetUnit(units[i]);
    left_->SetUnit(units[i]);
    corner_->setText(QString::fromUtf8(names[i]));
}

void Tfprintzoom::BuildOverview() {
    const float mediaW =
        device_.MediaWidth > 0 ? device_.MediaWidth : job_.XOffset + job_.MediaUsedWidth;
    const float mediaH =
        device_.MediaHeight > 0 ? device_.MediaHeight : job_.YOffset + job_.MediaUsedHeight;
    if (mediaW <= 0 || mediaH <= 0) return;
    overviewBuiltFor_ = p1_->size();
    const float s = std::min((p1_->height() - 2) / mediaH, (p1_->width() - 2) / mediaW);
    overviewScale_ = s;
    const bool contours = contours_->isChecked();
    worker_.Request(
        0,
        [this, s, mediaW, mediaH, contours] {
            return preview_.Overview(s, mediaW, mediaH, contours);
        },
        [this](std::unique_ptr<Bitmap24> image) {
            if (!image) return;
            overview_ = ToImage(*image);
            overviewOffset_ = QPoint((p1_->width() - overview_.width()) / 2,
                                     (p1_->height() - overview_.height()) / 2);
            p1_->update();
        });
}

void Tfprintzoom::ZoomAt(QPoint overviewPixel) {
    zoomCentre_ = overviewPixel;
    p1_->update();
    RenderZoomView();
}

void Tfprintzoom::RenderZoomView() {
    if (zoomCentre_.x() == kNoCentre || !p2_) return;
    const bool z = zoom400_->isChecked();
    const QSize view = p2_->size();
    const IntRect window = ZoomWindow(zoomCentre_.x(), zoomCentre_.y(), overviewScale_, previewDpi_,
                                      z, view.width(), view.height());
    ZoomOptions options;
    options.contours = contours_->isChecked();
    options.spots = spots_->isChecked();
    options.spot = spotList_->currentIndex();
    const int dpi = previewDpi_;
    worker_.Request(
        1,
        [this, window, dpi, options, z, view]() -> std::unique_ptr<Bitmap24> {
            auto image = preview_.Zoom(window, dpi, options);
            if (image && z) return ResampleBitmap(image.get(), view.width(), view.height());
            return image;
        },
        [this, window, z, view](std::unique_ptr<Bitmap24> image) {
            if (!image) return;
            zoomImage_ = ToImage(*image);
            zoomRect_ = window;
            const double f =
                z ? static_cast<double>(view.width()) / (window.right - window.left + 1) : 1;
            const double d = previewDpi_ / 25.4;
            top_->SetMapping(-window.left * f, d * f);
            const double fy =
                z ? static_cast<double>(view.height()) / (window.bottom - window.top + 1) : 1;
            left_->SetMapping(-window.top * fy, d * fy);
            p2_->update();
        });
}

void Tfprintzoom::PointerOverZoom(QPoint p) {
    if (zoomImage_.isNull()) return;
    const double d = previewDpi_ / 25.4;
    const double fx =
        static_cast<double>(zoomImage_.width()) / (zoomRect_.right - zoomRect_.left + 1);
    const double fy =
        static_cast<double>(zoomImage_.height()) / (zoomRect_.bottom - zoomRect_.top + 1);
    status_[1]->setText(Size((zoomRect_.left + p.x() / fx) / d, (zoomRect_.top + p.y() / fy) / d));
    top_->SetHairLine(p.x());
    left_->SetHairLine(p.y());
}

void Tfprintzoom::SmoothingTick() {
    if (QDateTime::currentMSecsSinceEpoch() - smoothingChanged_ < kDebounceMs ||
        QApplication::mouseButtons() != Qt::NoButton)
        return;
    // The renderer reads the job: change it only while nothing renders.
    if (worker_.Busy()) return;
    timer_.stop();
    job_.Interpolation = 40 - pendingSmoothing_ * 40 / 100;
    RenderZoomView();
}

void Tfprintzoom::Settle() {
    for (int i = 0; i < 3; ++i) {
        worker_.WaitIdle();
        QApplication::processEvents();
    }
}

bool ShowOutputPreview(TemfFile* job, const TemfPlotter& device, const CropMarkCorners& corners,
                       bool metric, UserInterface& ui, QWidget* parent) {
    if (!job) return false;
    const std::int32_t interpolation = job->Interpolation;
    bool applied = false;
    int dpi = 0, smoothing = 0;
    {
        Tfprintzoom dialog(*job, device, corners, metric, ui, parent);
        applied = dialog.exec() == QDialog::Accepted;
        dpi = dialog.PreviewDpi();
        smoothing = dialog.Smoothing();
    }  // the renderer has stopped: the job may change now
    if (!applied) {
        job->Interpolation = interpolation;
        return false;
    }
    job->RenderDPI = dpi;
    job->Interpolation = 40 - smoothing * 40 / 100;
    return true;
}

void OpenOutputPreview(JobSession& app, const CropMarkCorners& corners, QWidget* parent) {
    if (!ShowOutputPreview(app.CurrentJob.get(), app.CurrentPlotter, corners, app.UseMetric,
                           app.Ui(), parent))
        return;
    app.MarkModified();
    app.Events().JobChanged();
}

}  // namespace corvan
