#pragma once
// "High Resolution Preview": the used media in small and a zoom window that
// renders any spot of the output at a chosen resolution exactly as the RIP
// would, with the contours or a spot colour marked. Pictures are rendered on
// a worker thread; the last one stays on screen until the next arrives.
#include "display/outputpreview.h"

#include <QDialog>
#include <QImage>
#include <QTimer>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;

namespace corvan {

class Ruler;
class UserInterface;

// One picture at a time on a thread of its own; a newer request replaces a
// waiting one, and results come back on the thread of `owner`.
class PreviewWorker {
public:
    using Task = std::function<std::unique_ptr<Bitmap24>()>;
    using Done = std::function<void(std::unique_ptr<Bitmap24>)>;
    explicit PreviewWorker(QObject* owner);
    ~PreviewWorker();
    void Request(int slot, Task task, Done done);  // slot 0 overview, 1 zoom
    bool Busy();
    void WaitIdle();

private:
    void Loop();
    QObject* owner_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<std::pair<Task, Done>> waiting_[2];
    bool running_ = false, stop_ = false;
    std::thread thread_;
};

class Tfprintzoom : public QDialog {
    Q_OBJECT
public:
    Tfprintzoom(TemfFile& job, const TemfPlotter& device, const CropMarkCorners& corners,
                bool metric, UserInterface& ui, QWidget* parent = nullptr);
    ~Tfprintzoom() override;

    int PreviewDpi() const { return previewDpi_; }
    int Smoothing() const;  // the spin's 0..100
    // Centres the zoom view on a point of the overview image (what a click does).
    void ZoomAt(QPoint overviewPixel);
    // The output raster window of the zoom view and its picture as drawn.
    IntRect ZoomRect() const { return zoomRect_; }
    const QImage& ZoomImage() const { return zoomImage_; }
    const QImage& OverviewImage() const { return overview_; }
    // Waits for the pictures asked for so far and shows them.
    void Settle();

private:
    friend class OverviewBox;
    friend class ZoomBox;
    void BuildControls(bool metric);
    void ChooseDpi(int index, bool fromList);
    void ApplyUnits();
    void BuildOverview();
    void RenderZoomView();
    void SmoothingTick();
    void SaveGeometry();
    void PointerOverZoom(QPoint p);
    QString Size(double w, double h) const;

    TemfFile& job_;
    const TemfPlotter& device_;
    UserInterface& ui_;
    OutputPreview preview_;
    PreviewWorker worker_;
    int previewDpi_ = 100;
    float overviewScale_ = 1;
    QPoint overviewOffset_;
    QImage overview_, zoomImage_;
    QPoint zoomCentre_{-100000, 0};
    IntRect zoomRect_;
    QSize overviewBuiltFor_;
    int pendingSmoothing_ = -1;
    qint64 smoothingChanged_ = 0;
    QTimer timer_;

    QComboBox* dpi_ = nullptr;
    QComboBox* units_ = nullptr;
    QCheckBox* contours_ = nullptr;
    QCheckBox* spots_ = nullptr;
    QComboBox* spotList_ = nullptr;
    QCheckBox* zoom400_ = nullptr;
    QSpinBox* smoothing_ = nullptr;
    QWidget* p1_ = nullptr;
    QWidget* p2_ = nullptr;
    Ruler* top_ = nullptr;
    Ruler* left_ = nullptr;
    QLabel* corner_ = nullptr;
    QLabel* status_[3] = {};
};

// "Preview" (toolbar, View menu F5, the preflight dialog): the dialog for
// the current job; "Apply" takes its resolution into the job, and its
// smoothing stays only then. True when applied.
bool ShowOutputPreview(TemfFile* job, const TemfPlotter& device, const CropMarkCorners& corners,
                       bool metric, UserInterface& ui, QWidget* parent);
// The same for the session's job; an applied resolution marks the job
// modified and refreshes the window's controls.
class JobSession;
void OpenOutputPreview(JobSession& app, const CropMarkCorners& corners, QWidget* parent);

}  // namespace corvan
