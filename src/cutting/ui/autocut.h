#pragma once
// "Auto-Trace": outlines for a picture that has none. The picture (the
// rendered job page, or one pasted or edited here) is traced on a worker
// thread whenever a trace setting changes; the outlines are drawn over it
// and counted. "Save Traced Vector" smooths them and writes a vector layer,
// which the main window then adds to the job and cuts along.
#include "cutting/ui/traceworker.h"

#include <QDialog>
#include <QElapsedTimer>

#include <memory>
#include <string>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QSlider;
class QSpinBox;
class QTimer;
class QToolButton;
class QVBoxLayout;

namespace corvan {

class AppCore;
class UserInterface;

class Tfautocut : public QDialog {
    Q_OBJECT
public:
    Tfautocut(std::unique_ptr<Bitmap24> source, UserInterface& ui, QWidget* parent = nullptr);
    ~Tfautocut() override;

    AutotraceSettings Settings() const;
    Colour ContourColour() const { return contourColour_; }
    // The saved or returned layer file; empty until there is one.
    const std::string& ResultFile() const { return resultFile_; }
    const TraceRun& Shown() const { return shown_; }
    const Bitmap24* Source() const { return source_.get(); }
    double Zoom() const { return zoom_; }

    void SetTraceColour(Colour c);
    void SetContourColour(Colour c);
    void Vectorize();
    void SaveTracedVector();
    void ViewAll();
    void ViewActualSize();
    void PasteBitmap();
    void CopyImage();
    void EditInPaintProgram();
    void CreateContour();
    // Pointer over the picture box at p; a click takes the colour there.
    void PointerAt(QPoint p, bool click);
    // Waits for the trace asked for and shows it.
    void Settle();
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    friend class TracePicture;
    friend class TraceResults;
    void BuildToolBar(QVBoxLayout* root);
    QWidget* BuildSettings();
    void Start(std::string saveAs);
    void Finished(TraceRun run);
    void ShowProgress();
    void ShowCounters();
    void NewSource(std::unique_ptr<Bitmap24> picture, const QString& name);
    void Repaint();

    UserInterface& ui_;
    std::shared_ptr<Bitmap24> source_;
    QString sourceName_;
    Colour traceColour_ = 0xFFFFFF;
    Colour contourColour_ = 0xFF0000;
    std::string resultFile_;
    bool closeWhenSaved_ = false;
    bool shownOnce_ = false;
    double zoom_ = 1;
    TraceRun shown_;
    QElapsedTimer clock_;  // since the newest request
    TraceWorker worker_;
    QTimer* progressTimer_;

    QLabel* nameLabel_;
    QScrollArea* scroll_;
    QWidget* box_;
    QWidget* small_;
    QPushButton* tracePicker_;
    QPushButton* contourPicker_;
    QSlider* tolerance_;
    QLabel* toleranceText_;
    QCheckBox* reversed_;
    QSpinBox* offset_;
    QSpinBox* smoothing_;
    QSpinBox* minAngle_;
    QSpinBox* minSize_;
    QCheckBox* preview_;
    QLabel* totalPoints_;
    QLabel* contours_;
    QLabel* maxPoints_;
    QProgressBar* progress_;
    QPushButton* cancelTrace_;
    QLabel* statusText_;
    QLabel* statusSwatch_;
    QLabel* statusRgb_;
};

// The window's "Auto Trace": the job page traced in the dialog; on OK the
// layer joins the job and is cut along in its contour colour. Nothing
// without a job.
void OpenAutoTrace(AppCore& app, QWidget* parent);

}  // namespace corvan
