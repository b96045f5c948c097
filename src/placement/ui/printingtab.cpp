#include "placement/ui/printingtab.h"

#include "platform/ui/widgetnames.h"
#include "shell/ui/helppopup.h"

#include <QPushButton>
#include "placement/cropmarks.h"
#include "placement/placementops.h"
#include "placement/ui/cropmarkpreview.h"
#include "placement/ui/mmnumedit.h"
#include "shell/appcore.h"
#include "shell/ripwiring.h"

#include <QBitmap>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

#include <cmath>

namespace corvan {

namespace {

constexpr int kDpiItems[] = {75, 96, 100, 120, 150, 180, 200, 250, 300, 360};
constexpr int kMaxSmoothing = 40;

QSlider* Slider(QWidget* parent, const char* name, int low, int high, int step) {
    auto* s = Named(new QSlider(Qt::Horizontal, parent), name);
    s->setRange(low, high);
    s->setSingleStep(step);
    s->setPageStep(step);
    s->setMinimumWidth(160);
    return s;
}

QString DpiText(int dpi) {
    return QStringLiteral("%1 DPI").arg(dpi);
}

// A mark file's preview with white made transparent.
QPixmap MarkPicture(const QImage& preview) {
    QPixmap pix = QPixmap::fromImage(preview);
    pix.setMask(QBitmap::fromImage(preview.createMaskFromColor(qRgb(255, 255, 255))));
    return pix;
}

}  // namespace

PrintingTab::PrintingTab(AppCore& app, QWidget* parent) : QWidget(parent), app_(app) {
    setObjectName(QStringLiteral("tab_printingoptions"));
    auto* v = new QVBoxLayout(this);
    v->addWidget(BuildQuality());
    v->addWidget(BuildCropMarks());
    v->addWidget(BuildText());
    v->addStretch(1);
    Clear();
}

// Destruction moves the focus out of an edit, which would report an entry
// to a tab that is half gone.
PrintingTab::~PrintingTab() {
    for (TmmNumEdit* e : findChildren<TmmNumEdit*>()) e->blockSignals(true);
}

QWidget* PrintingTab::BuildQuality() {
    auto* box = new QGroupBox(QStringLiteral("Output Quality"), this);
    auto* form = new QFormLayout(box);
    comboDPI_ = Named(new QComboBox(this), "comboDPI");
    for (int dpi : kDpiItems) comboDPI_->addItem(DpiText(dpi));
    rxRenderDPI_ = Slider(this, "rxRenderDPI", 1, 360, 25);
    labelDPI_ = Named(new QLabel(this), "labelDPI");
    auto* dpiRow = new QHBoxLayout;
    dpiRow->addWidget(rxRenderDPI_, 1);
    dpiRow->addWidget(labelDPI_);
    form->addRow(QStringLiteral("Render &DPI:"), comboDPI_);
    form->addRow(QStringLiteral("Resolution:"), dpiRow);

    cImageSmoothing_ =
        Named(new QCheckBox(QStringLiteral("&Image Interpolation"), this), "cImageSmoothing");
    rxSmoothing_ = Slider(this, "rxSmoothing", 0, kMaxSmoothing, 5);
    label_smoothlevel_ = Named(new QLabel(this), "label_smoothlevel");
    smoothingCaption_ = new QLabel(QStringLiteral("Smoothing:"), this);
    auto* smoothRow = new QHBoxLayout;
    smoothRow->addWidget(rxSmoothing_, 1);
    smoothRow->addWidget(label_smoothlevel_);
    form->addRow(QString(), cImageSmoothing_);
    form->addRow(smoothingCaption_, smoothRow);
    form->addRow(QString(),
                 MoreInfoButton(this, app_.Ui(), "SpeedButton118", "Image Interpolation"));

    connect(comboDPI_, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        if (index >= 0 && index < static_cast<int>(std::size(kDpiItems)))
            rxRenderDPI_->setValue(kDpiItems[index]);
    });
    connect(rxRenderDPI_, &QSlider::valueChanged, this, [this](int dpi) {
        ShowRenderDpi(dpi);
        ChangeJobOption(app_, [dpi](TemfFile& job) { job.RenderDPI = dpi; });
    });
    connect(rxSmoothing_, &QSlider::valueChanged, this, [this](int value) {
        ShowSmoothing(value);
        ChangeJobOption(app_, [value](TemfFile& job) {
            job.Interpolation = kMaxSmoothing - value;
            job.PreviewDirty = true;
        });
    });
    connect(cImageSmoothing_, &QCheckBox::toggled, this, [this](bool on) {
        ShowSmoothingControls(on);
        ChangeJobOption(app_, [on](TemfFile& job) {
            job.Interpolate = on;
            job.PreviewDirty = true;
        });
    });
    AddMoreInfo(box, app_.Ui(), "SpeedButton51", "Output Quality");
    return box;
}

QWidget* PrintingTab::BuildCropMarks() {
    auto* box = new QGroupBox(QStringLiteral("Crop Marks"), this);
    auto* row = new QHBoxLayout(box);
    auto* form = new QFormLayout;
    row->addLayout(form, 1);
    shapeBorder_ = Named(new CropMarkPreview(this), "shapeBorder");
    row->addWidget(shapeBorder_, 0, Qt::AlignTop);
    cCropMarks_ = Named(new QCheckBox(QStringLiteral("&Crop Marks"), this), "cCropMarks");
    cBorder_ = Named(new QCheckBox(QStringLiteral("Hairline &Border"), this), "cBorder");
    combocropmark_ = Named(new QComboBox(this), "combocropmark");
    combocropmark_->setIconSize(QSize(40, 40));
    combocropmark_->setMinimumHeight(46);
    ccropsizeauto_ =
        Named(new QCheckBox(QStringLiteral("Include in Si&ze"), this), "ccropsizeauto");
    mmcropSize_ = Named(new TmmNumEdit(this), "mmcropSize");
    mmCropOffset_ = Named(new TmmNumEdit(this), "mmCropOffset");
    form->addRow(QString(), cCropMarks_);
    form->addRow(QString(), cBorder_);
    form->addRow(QStringLiteral("Mark File:"), combocropmark_);
    form->addRow(QStringLiteral("Si&ze:"), mmcropSize_);
    form->addRow(QStringLiteral("O&ffset:"), mmCropOffset_);
    form->addRow(QString(), ccropsizeauto_);

    connect(cCropMarks_, &QCheckBox::toggled, this, [this](bool on) {
        ShowCornerPreview();
        ChangeJobOption(app_, [on](TemfFile& job) { job.CropMarks = on; });
    });
    connect(cBorder_, &QCheckBox::toggled, this, [this](bool on) {
        ShowCornerPreview();
        ChangeJobOption(app_, [on](TemfFile& job) { job.Border = on; });
    });
    connect(ccropsizeauto_, &QCheckBox::toggled, this,
            [this](bool on) { ChangeJobOption(app_, [on](TemfFile& job) { job.AutoSize = on; }); });
    connect(mmcropSize_, &TmmNumEdit::validEntry, this, &PrintingTab::CropEditsEntered);
    connect(mmCropOffset_, &TmmNumEdit::validEntry, this, &PrintingTab::CropEditsEntered);
    connect(combocropmark_, qOverload<int>(&QComboBox::activated), this,
            &PrintingTab::CropMarkChosen);
    form->addRow(QString(), MoreInfoButton(this, app_.Ui(), "SpeedButton50", "Crop Marks"));
    return box;
}

QWidget* PrintingTab::BuildText() {
    auto* box = new QGroupBox(QStringLiteral("Text"), this);
    auto* form = new QFormLayout(box);
    cPrintJobText_ =
        Named(new QCheckBox(QStringLiteral("Print &Job Information"), this), "cJobText");
    cTileText_ = Named(new QCheckBox(QStringLiteral("Print &Tile # (Numbers)"), this), "cTileText");
    form->addRow(QString(), cPrintJobText_);
    form->addRow(QString(), cTileText_);
    connect(cPrintJobText_, &QCheckBox::toggled, this, [this](bool on) {
        ChangeJobOption(app_, [on](TemfFile& job) { job.PrintJobText = on; });
    });
    connect(cTileText_, &QCheckBox::toggled, this,
            [this](bool on) { ChangeJobOption(app_, [on](TemfFile& job) { job.TileText = on; }); });
    return box;
}

void PrintingTab::CropEditsEntered() {
    // A mark has no negative size; the offset may pull the marks inside.
    if (mmcropSize_->value() < 0) {
        mmcropSize_->setValue(app_.CurrentJob ? app_.CurrentJob->CropmarkSize : 0);
        return;
    }
    const float size = mmcropSize_->value();
    const float offset = mmCropOffset_->value();
    const bool autoSize = ccropsizeauto_->isChecked();
    ChangeJobOption(app_, [=](TemfFile& job) {
        job.CropmarkSize = size;
        job.CropOffset = offset;
        job.AutoSize = autoSize;
    });
}

void PrintingTab::CropMarkChosen(int index) {
    if (!library_ || app_.Updating || !app_.CurrentJob) return;
    ChooseCropMark(app_, *library_, index);
    const bool was = app_.Updating;
    app_.Updating = true;
    mmcropSize_->setValue(app_.CurrentJob->CropmarkSize);
    app_.Updating = was;
    ShowCornerPreview();
}

void PrintingTab::ShowCornerPreview() {
    shapeBorder_->Show(CurrentCropMarkCorners(app_), cCropMarks_->isChecked(),
                       cBorder_->isChecked());
}

void PrintingTab::SetCropMarkLibrary(CropMarkLibrary* library) {
    library_ = library;
    combocropmark_->clear();
    if (!library_) return;
    const auto& items = library_->Items();
    const auto& previews = library_->Previews();
    for (std::size_t i = 0; i < items.size(); ++i) {
        const QString path = QString::fromStdString(items[i]);
        if (i < previews.size() && previews[i])
            combocropmark_->addItem(QIcon(MarkPicture(previews[i]->View())), QString(), path);
        else
            combocropmark_->addItem(QString(), path);
        combocropmark_->setItemData(static_cast<int>(i), path, Qt::ToolTipRole);
    }
    combocropmark_->setCurrentIndex(library_->SelectedIndex());
}

void PrintingTab::ShowRenderDpi(int dpi) {
    labelDPI_->setText(DpiText(dpi));
    comboDPI_->setCurrentIndex(comboDPI_->findText(DpiText(dpi)));
}

void PrintingTab::ShowSmoothing(int sliderValue) {
    label_smoothlevel_->setText(
        QStringLiteral("%1 %").arg(std::lround(sliderValue * 100.0 / kMaxSmoothing)));
}

void PrintingTab::ShowSmoothingControls(bool on) {
    for (QWidget* w :
         {static_cast<QWidget*>(rxSmoothing_), static_cast<QWidget*>(label_smoothlevel_),
          static_cast<QWidget*>(smoothingCaption_)})
        w->setVisible(on);
}

void PrintingTab::ShowJob() {
    if (!app_.CurrentJob) return Clear();
    ShowValues(*app_.CurrentJob);
    if (library_) combocropmark_->setCurrentIndex(library_->SelectedIndex());
}

void PrintingTab::Clear() {
    ShowValues(TemfFile());
}

void PrintingTab::ShowValues(const TemfFile& job) {
    const bool was = app_.Updating;
    app_.Updating = true;
    rxRenderDPI_->setValue(job.RenderDPI);
    ShowRenderDpi(job.RenderDPI);
    rxSmoothing_->setValue(kMaxSmoothing - job.Interpolation);
    ShowSmoothing(rxSmoothing_->value());
    cImageSmoothing_->setChecked(job.Interpolate);
    ShowSmoothingControls(job.Interpolate);
    cCropMarks_->setChecked(job.CropMarks);
    cBorder_->setChecked(job.Border);
    ccropsizeauto_->setChecked(job.AutoSize);
    mmcropSize_->setValue(job.CropmarkSize);
    mmCropOffset_->setValue(job.CropOffset);
    cPrintJobText_->setChecked(job.PrintJobText);
    cTileText_->setChecked(job.TileText);
    app_.Updating = was;
    ShowCornerPreview();
}

void PrintingTab::ApplyUnits() {
    mmcropSize_->applyUnits(app_.UseMetric);
    mmCropOffset_->applyUnits(app_.UseMetric);
}

void PrintingTab::ToggleCropMarks() {
    cCropMarks_->setChecked(!cCropMarks_->isChecked());
}

void PrintingTab::ToggleBorder() {
    cBorder_->setChecked(!cBorder_->isChecked());
}

}  // namespace corvan
