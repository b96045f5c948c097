#include "cutting/ui/autocut.h"

#include "cutting/ui/autocutviews.h"
#include "platform/companions.h"
#include "platform/paths.h"
#include "platform/ui/widgetnames.h"
#include "platform/userinterface.h"
#include "shell/imagelibrary.h"
#include "shell/ui/editbitmap.h"
#include "shell/ui/helppopup.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QEventLoop>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace corvan {

namespace {

void PaintSwatch(QWidget* w, Colour c) {
    w->setStyleSheet(
        QStringLiteral("background-color: %1; border: 1px solid gray").arg(ToQColor(c).name()));
}

QSpinBox* Spin(QWidget* parent, const char* name, int max, int value) {
    auto* s = Named(new QSpinBox(parent), name);
    s->setRange(0, max);
    s->setValue(value);
    return s;
}

QString Thousands(long n) {
    QLocale locale;
    locale.setNumberOptions({});  // group separators even in the C locale
    return locale.toString(qlonglong(n));
}

}  // namespace

Tfautocut::Tfautocut(std::unique_ptr<Bitmap24> source, UserInterface& ui, QWidget* parent)
    : QDialog(parent), ui_(ui), source_(std::move(source)), worker_(this) {
    setObjectName(QStringLiteral("fautocut"));
    setWindowTitle(QStringLiteral("Auto-Trace"));
    auto* root = new QVBoxLayout(this);
    BuildToolBar(root);
    auto* body = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    nameLabel_ = Named(new QLabel(this), "labelname");
    nameLabel_->hide();
    left->addWidget(nameLabel_);
    scroll_ = new QScrollArea(this);
    scroll_->setMinimumSize(520, 400);
    scroll_->setAlignment(Qt::AlignCenter);
    box_ = Named(new TracePicture(this), "Image1");
    scroll_->setWidget(box_);
    left->addWidget(scroll_, 1);
    body->addLayout(left, 1);
    body->addWidget(BuildSettings());
    root->addLayout(body, 1);

    auto* status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    statusText_ = new QLabel(status);
    statusSwatch_ = new QLabel(status);
    statusSwatch_->setFixedSize(30, 14);
    statusRgb_ = Named(new QLabel(status), "StatusRgb");
    statusRgb_->setMinimumWidth(130);
    status->addWidget(statusText_, 1);
    status->addPermanentWidget(statusSwatch_);
    status->addPermanentWidget(statusRgb_);
    root->addWidget(status);

    progressTimer_ = new QTimer(this);
    progressTimer_->setInterval(100);
    connect(progressTimer_, &QTimer::timeout, this, &Tfautocut::ShowProgress);
    if (source_)
        statusText_->setText(
            QStringLiteral("%1 x %2 pixels").arg(source_->Width()).arg(source_->Height()));
    resize(1040, 700);
}

Tfautocut::~Tfautocut() = default;

void Tfautocut::BuildToolBar(QVBoxLayout* root) {
    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const auto tool = [&](const char* name, const char* text, void (Tfautocut::*slot)()) {
        auto* b = Named(new QToolButton(bar), name);
        b->setText(QString::fromUtf8(text));
        b->setAutoRaise(false);
        bar->addWidget(b);
        connect(b, &QToolButton::clicked, this, [this, slot] { (this->*slot)(); });
    };
    tool("dzoomall", "View All", &Tfautocut::ViewAll);
    tool("dzoomin", "View Actual size", &Tfautocut::ViewActualSize);
    bar->addSeparator();
    tool("dpickcolor", "Paste Bitmap from Clipboard", &Tfautocut::PasteBitmap);
    tool("dcopyimage", "Copy Image to Clipboard", &Tfautocut::CopyImage);
    tool("deditimage", "Edit in Paint Program", &Tfautocut::EditInPaintProgram);
    bar->addSeparator();
    tool("dsave", "Save Traced Vector", &Tfautocut::SaveTracedVector);
    tool("SpeedButton122", "Create Contour", &Tfautocut::CreateContour);
    root->addWidget(bar);
}

QWidget* Tfautocut::BuildSettings() {
    auto* panel = new QWidget(this);
    panel->setFixedWidth(250);
    auto* g = new QGridLayout(panel);
    g->setContentsMargins(0, 0, 0, 0);
    int row = 0;
    const auto add = [&](const char* label, QWidget* w) {
        g->addWidget(new QLabel(QString::fromUtf8(label), panel), row, 0);
        g->addWidget(w, row++, 1);
    };
    tracePicker_ = Named(new QPushButton(panel), "ColorPickerButton1");
    tracePicker_->setFixedSize(60, 22);
    add("Trace Color", tracePicker_);
    tolerance_ = Named(new QSlider(Qt::Horizontal, panel), "RxSlider1");
    tolerance_->setRange(0, 255);
    tolerance_->setPageStep(16);
    add("Tolerance:", tolerance_);
    toleranceText_ = new QLabel(QStringLiteral("0"), panel);
    g->addWidget(toleranceText_, row++, 1);
    reversed_ = Named(new QCheckBox(QStringLiteral("Reversed"), panel), "cNoWhite");
    reversed_->setChecked(true);
    g->addWidget(reversed_, row++, 0, 1, 2);
    offset_ = Spin(panel, "SpinEdit2", 50, 0);
    add("Offset (pixels):", offset_);
    contourPicker_ = Named(new QPushButton(panel), "ColorPickerButton2");
    contourPicker_->setFixedSize(60, 22);
    add("Contour Color", contourPicker_);
    smoothing_ = Spin(panel, "SpinEdit1", 50, 10);
    add("Smoothing Level:", smoothing_);
    minAngle_ = Spin(panel, "SpinEdit3", 90, 3);
    add("Min Angle (deg):", minAngle_);
    minSize_ = Spin(panel, "SpinEdit4", 1000, 5);
    add("Min Size Contour:", minSize_);
    preview_ = Named(new QCheckBox(QStringLiteral("Preview Selected"), panel), "CheckBox1");
    preview_->setChecked(true);
    g->addWidget(preview_, row++, 0, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("Trace Results:"), panel), row++, 0, 1, 2);
    small_ = Named(new TraceResults(this), "PaintBox1");
    small_->setFixedSize(240, 170);
    g->addWidget(small_, row++, 0, 1, 2);
    totalPoints_ = Named(new QLabel(QStringLiteral("0"), panel), "labelpoints");
    contours_ = Named(new QLabel(QStringLiteral("0"), panel), "labelcontours");
    maxPoints_ = Named(new QLabel(QStringLiteral("0"), panel), "labelmaxpoints");
    add("Total Points:", totalPoints_);
    add("Contours:", contours_);
    add("Max Points:", maxPoints_);
    progress_ = Named(new QProgressBar(panel), "TraceProgress");
    progress_->setRange(0, 100);
    cancelTrace_ = Named(new QPushButton(QStringLiteral("Stop"), panel), "dstoptrace");
    cancelTrace_->setToolTip(QStringLiteral("Stop tracing; the last outlines stay"));
    g->addWidget(progress_, row, 0);
    g->addWidget(cancelTrace_, row++, 1);
    progress_->setVisible(false);
    cancelTrace_->setVisible(false);
    g->setRowStretch(row++, 1);

    auto* ok = Named(new QPushButton(QStringLiteral("OK"), panel), "dOK");
    ok->setDefault(true);
    auto* cancel = Named(new QPushButton(QStringLiteral("Cancel"), panel), "dcancel");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    g->addLayout(buttons, row++, 0, 1, 2);
    g->addWidget(MoreInfoButton(panel, ui_, "dinfo", "Autotrace"), row++, 1);

    PaintSwatch(tracePicker_, traceColour_);
    PaintSwatch(contourPicker_, contourColour_);
    connect(ok, &QPushButton::clicked, this, &Tfautocut::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cancelTrace_, &QPushButton::clicked, this, [this] {
        worker_.Cancel();
        closeWhenSaved_ = false;
        ShowProgress();
        statusText_->setText(QStringLiteral("Tracing stopped"));
    });
    connect(tracePicker_, &QPushButton::clicked, this, [this] {
        const QColor c = QColorDialog::getColor(ToQColor(traceColour_), this);
        if (c.isValid()) SetTraceColour(MakeColour(c.red(), c.green(), c.blue()));
    });
    connect(contourPicker_, &QPushButton::clicked, this, [this] {
        const QColor c = QColorDialog::getColor(ToQColor(contourColour_), this);
        if (c.isValid()) SetContourColour(MakeColour(c.red(), c.green(), c.blue()));
    });
    connect(tolerance_, &QSlider::valueChanged, this, [this](int v) {
        toleranceText_->setText(QString::number(v));
        if (!tolerance_->isSliderDown()) Vectorize();
    });
    connect(tolerance_, &QSlider::sliderReleased, this, &Tfautocut::Vectorize);
    connect(reversed_, &QCheckBox::toggled, this, &Tfautocut::Vectorize);
    connect(offset_, &QSpinBox::valueChanged, this, &Tfautocut::Vectorize);
    connect(preview_, &QCheckBox::toggled, this, &Tfautocut::Repaint);
    return panel;
}

AutotraceSettings Tfautocut::Settings() const {
    AutotraceSettings s;
    s.traceColour = traceColour_;
    s.tolerance = tolerance_->value();
    s.reversed = reversed_->isChecked();
    s.offset = offset_->value();
    s.contourColour = contourColour_;
    s.smoothing = smoothing_->value();
    s.minAngle = minAngle_->value();
    s.minSize = minSize_->value();
    return s;
}

void Tfautocut::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    ViewAll();
    static_cast<TraceResults*>(small_)->SourceChanged();
    Vectorize();
}

void Tfautocut::SetTraceColour(Colour c) {
    traceColour_ = c;
    PaintSwatch(tracePicker_, c);
    Vectorize();
}

void Tfautocut::SetContourColour(Colour c) {
    contourColour_ = c;
    PaintSwatch(contourPicker_, c);
    Vectorize();
}

void Tfautocut::Vectorize() {
    resultFile_.clear();
    Start({});
}

void Tfautocut::Start(std::string saveAs) {
    if (!source_) return;
    worker_.Request({source_, Settings(), std::move(saveAs)},
                    [this](TraceRun run) { Finished(std::move(run)); });
    statusText_->setText(QStringLiteral("Tracing..."));
    clock_.start();
    ShowProgress();
    progressTimer_->start();
}

void Tfautocut::ShowProgress() {
    const bool busy = worker_.Busy();
    progress_->setVisible(busy);
    cancelTrace_->setVisible(busy);
    progress_->setValue(worker_.Percent());
    if (!busy) progressTimer_->stop();
}

void Tfautocut::Finished(TraceRun run) {
    ShowProgress();
    if (!run.ok) {
        closeWhenSaved_ = false;
        statusText_->clear();
        if (!run.error.empty()) ui_.ShowError(run.error);
        return;
    }
    shown_ = std::move(run);
    const QString took = QStringLiteral(" (%1 s)").arg(double(clock_.elapsed()) / 1000, 0, 'f', 2);
    statusText_->setText(
        (shown_.file.empty()
             ? QStringLiteral("Traced")
             : QStringLiteral("Saved %1").arg(QString::fromStdString(shown_.file))) +
        took);
    ShowCounters();
    Repaint();
    if (shown_.file.empty()) return;
    resultFile_ = shown_.file;
    if (closeWhenSaved_) QDialog::accept();
}

void Tfautocut::ShowCounters() {
    totalPoints_->setText(Thousands(shown_.totalPoints));
    contours_->setText(Thousands(shown_.contours));
    maxPoints_->setText(Thousands(shown_.maxPoints));
}

void Tfautocut::Repaint() {
    box_->update();
    small_->update();
}

void Tfautocut::Settle() {
    worker_.WaitIdle();
    QApplication::processEvents();
}

void Tfautocut::SaveTracedVector() {
    if (!source_) return;
    FileDialogRequest req;
    req.mode = FileDialogRequest::Mode::Save;
    req.title = "Save Vector Layer (*.LYR)";
    req.filter = "Vector Layer (*.LYR)|*.LYR";
    req.defaultExt = "LYR";
    // Without an image library folder the layers folder is the natural place.
    req.initialDir = ImageFilesFolder();
    if (req.initialDir.empty()) req.initialDir = ReadPath("EMFDir");
    // The file dialog opens where the proposed name lies.
    req.fileName = req.initialDir + (sourceName_.isEmpty() ? std::string("Untitled.LYR")
                                                           : sourceName_.toStdString() + ".LYR");
    const auto chosen = ui_.ChooseFile(req);
    if (!chosen || chosen->empty()) {
        closeWhenSaved_ = false;
        return;
    }
    resultFile_.clear();
    Start(*chosen);
}

void Tfautocut::accept() {
    if (!resultFile_.empty()) return QDialog::accept();
    closeWhenSaved_ = true;
    SaveTracedVector();
}

void Tfautocut::ViewAll() {
    if (!source_) return;
    const QSize room = scroll_->viewport()->size() - QSize(40, 40);
    zoom_ = std::max(0.01, std::min(double(room.width()) / source_->Width(),
                                    double(room.height()) / source_->Height()));
    box_->resize(std::max(1, int(source_->Width() * zoom_)),
                 std::max(1, int(source_->Height() * zoom_)));
    Repaint();
}

void Tfautocut::ViewActualSize() {
    if (!source_) return;
    zoom_ = 1;
    box_->resize(source_->Width(), source_->Height());
    Repaint();
}

void Tfautocut::PointerAt(QPoint p, bool click) {
    if (!source_) return;
    const int x = int(p.x() / zoom_), y = int(p.y() / zoom_);
    if (x < 0 || y < 0 || x >= source_->Width() || y >= source_->Height()) return;
    const Colour c = source_->Pixel(x, y);
    PaintSwatch(statusSwatch_, c);
    statusRgb_->setText(
        QString::asprintf("RGB: %d,%d,%d", int(c & 0xFF), int((c >> 8) & 0xFF), int(c >> 16)));
    if (click) SetTraceColour(c);
}

void Tfautocut::NewSource(std::unique_ptr<Bitmap24> picture, const QString& name) {
    worker_.Cancel();
    source_ = std::move(picture);
    sourceName_ = name;
    nameLabel_->setText(name);
    nameLabel_->setVisible(!name.isEmpty());
    shown_ = {};
    ShowCounters();
    statusText_->setText(
        QStringLiteral("%1 x %2 pixels").arg(source_->Width()).arg(source_->Height()));
    ViewAll();
    static_cast<TraceResults*>(small_)->SourceChanged();
    // A layer saved from the old picture must not be taken for this one.
    Vectorize();
}

void Tfautocut::PasteBitmap() {
    const QImage image = QGuiApplication::clipboard()->image();
    if (auto picture = image.isNull() ? nullptr : Bitmap24::FromQImage(image))
        return NewSource(std::move(picture), QStringLiteral("Clipboard Image"));
    ViewAll();
}

void Tfautocut::CopyImage() {
    if (source_) QGuiApplication::clipboard()->setImage(source_->View().copy());
}

void Tfautocut::EditInPaintProgram() {
    if (!source_) return;
    if (auto edited = EditBitmapExternally(ui_, *source_, this))
        NewSource(std::move(edited), sourceName_);
}

void Tfautocut::CreateContour() {
    const std::string module = FindCurveEditModule();
    if (module.empty()) {
        ui_.ShowError("Unable to Locate the curve edit module (curvist.exe)");
        return;
    }
    CopyImage();
    QApplication::processEvents();
    // The module works on the clipboard; we only repaint meanwhile.
    QProcess process;
    QEventLoop wait;
    connect(&process, &QProcess::finished, &wait, &QEventLoop::quit);
    connect(&process, &QProcess::errorOccurred, &wait, &QEventLoop::quit);
    setEnabled(false);
    process.start(QString::fromStdString(module), {QStringLiteral("SCAN_PASTE_AUTO")});
    if (process.waitForStarted(5000) && process.state() != QProcess::NotRunning)
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    setEnabled(true);
    const QString text = QGuiApplication::clipboard()->text().trimmed();
    resultFile_ = !text.isEmpty() && QFileInfo(text).isFile() ? text.toStdString() : std::string();
    if (!resultFile_.empty()) QDialog::accept();
}

}  // namespace corvan
