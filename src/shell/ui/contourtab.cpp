#include "shell/ui/contourtab.h"

#include "colour/spotlist.h"
#include "cutting/colourpick.h"
#include "cutting/ui/getline.h"
#include "job/units.h"
#include "platform/ui/widgetnames.h"
#include "shell/appcore.h"
#include "shell/ui/helppopup.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace corvan {

namespace {
QCheckBox* Check(QWidget* parent, const char* name, const char* caption) {
    return Named(new QCheckBox(QString::fromUtf8(caption), parent), name);
}
}  // namespace

ContourTab::ContourTab(AppCore& app, QWidget* parent) : QWidget(parent), app_(app) {
    setObjectName(QStringLiteral("Tab_contourcut"));
    auto* v = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* settings = new QGroupBox(QStringLiteral("Contour Cutting"), this);
    auto* form = new QFormLayout(settings);
    canCut_ = Check(settings, "cCanCut", "Contour Cutting");
    form->addRow(canCut_);
    auto* pick = new QHBoxLayout;
    picker_ = Named(new QPushButton(settings), "CutColorPicker");
    picker_->setFixedSize(60, 22);
    colourName_ = Named(new QLabel(settings), "labelcutcolor");
    pick->addWidget(picker_);
    pick->addWidget(colourName_, 1);
    form->addRow(QStringLiteral("Contour Color:"), pick);
    auto* only = new QHBoxLayout;
    lines_ = Check(settings, "cLines", "Lines");
    fills_ = Check(settings, "cFill", "Solids");
    only->addWidget(lines_);
    only->addWidget(fills_);
    only->addStretch();
    form->addRow(QStringLiteral("Select only:"), only);
    printContours_ = Check(settings, "cPrintContours", "Print Contours");
    tileBox_ = Check(settings, "cBoxaroundTile", "Box Around Tile");
    deviceMarks_ = Check(settings, "cDeviceCropmarks", "Device Crop Marks");
    for (QCheckBox* c : {printContours_, tileBox_, deviceMarks_}) form->addRow(c);
    auto* buttons = new QHBoxLayout;
    auto* trace = Named(new QPushButton(QStringLiteral("Auto Trace"), settings), "dautotrace");
    auto* cutFile = Named(new QPushButton(QStringLiteral("Create Cutfile"), settings), "dcutfile");
    buttons->addWidget(trace);
    buttons->addWidget(cutFile);
    buttons->addStretch();
    form->addRow(buttons);
    AddMoreInfo(settings, app_.Ui(), "dinfocontour", "Contour Cutting");
    top->addWidget(settings, 1);

    auto* frame = Named(new QGroupBox(QStringLiteral("Cut Preview"), this), "ShapeCutPreview");
    auto* fv = new QVBoxLayout(frame);
    preview_ = Named(new QLabel(frame), "ImageCutPreview");
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setFixedSize(240, 200);
    fv->addWidget(preview_);
    top->addWidget(frame);
    v->addLayout(top);

    auto* listBox = new QGroupBox(QStringLiteral("Available Contours"), this);
    auto* lv = new QVBoxLayout(listBox);
    colours_ = Named(new QListWidget(listBox), "ColorCheckList");
    UseColourLineDelegate(colours_);
    lv->addWidget(colours_);
    v->addWidget(listBox, 1);

    connect(canCut_, &QCheckBox::clicked, this, [this] { CutSwitchClicked(true); });
    connect(lines_, &QCheckBox::clicked, this, [this] { CutSwitchClicked(false); });
    connect(fills_, &QCheckBox::clicked, this, [this] { CutSwitchClicked(false); });
    connect(picker_, &QPushButton::clicked, this, [this] {
        const QColor c = QColorDialog::getColor(ToQColor(colour_), this);
        if (c.isValid()) SetCutColour(MakeColour(c.red(), c.green(), c.blue()));
    });
    connect(colours_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        Colour c = 0;
        if (ParseColourLine(item->text(), c)) SetCutColour(c);
    });
    connect(printContours_, &QCheckBox::clicked, this, [this] { OptionClicked(true); });
    connect(tileBox_, &QCheckBox::clicked, this, [this] { OptionClicked(false); });
    connect(trace, &QPushButton::clicked, this, &ContourTab::autoTraceRequested);
    connect(cutFile, &QPushButton::clicked, this, &ContourTab::cutFileRequested);
    ShowColour();
}

void ContourTab::ShowColour() {
    picker_->setStyleSheet(QStringLiteral("background-color: %1").arg(ToQColor(colour_).name()));
    picker_->setToolTip(QString::fromStdString("RGB Value: " + FormatRGB(colour_)));
    colourName_->setText(QString::fromStdString(ColorDisplayName(colour_)));
}

void ContourTab::SetCutColour(unsigned colour) {
    colour_ = colour;
    ShowColour();
    CutSwitchClicked(false);
}

void ContourTab::CutSwitchClicked(bool fromMainSwitch) {
    if (app_.Updating || !app_.CurrentJob) return;
    QApplication::beep();
    TemfFile& job = *app_.CurrentJob;
    job.ContourCut = canCut_->isChecked();
    job.CutColor = colour_;
    job.CutLines = lines_->isChecked();
    job.CutSolid = fills_->isChecked();
    // The cut controls are usable only with contour cutting on.
    if (fromMainSwitch) app_.Events().StateChanged();
    job.PreviewDirty = true;
    app_.Ui().SetBusy(true);
    UpdateCutDisplay(true);
    app_.Ui().SetBusy(false);
}

void ContourTab::OptionClicked(bool refresh) {
    if (app_.Updating || !app_.CurrentJob) return;
    TemfFile& job = *app_.CurrentJob;
    job.PrintContours = printContours_->isChecked();
    job.TileBox = tileBox_->isChecked();
    job.DeviceCM = deviceMarks_->isChecked();
    if (!refresh) {
        QApplication::beep();
        app_.MarkModified();
        app_.Events().Repaint();
        return;
    }
    job.PreviewDirty = true;
    UpdateCutDisplay(true);
}

void ContourTab::UpdateCutDisplay(bool repaint) {
    if (!app_.CurrentJob) return;
    ShowCutSettings();  // the cut picture with it
    QApplication::processEvents();
    app_.MarkModified();
    // Repainting also brings the title's change mark and Save up to date.
    if (repaint) app_.Events().Repaint();
}

void ContourTab::BuildCutPreview() {
    const auto image =
        CutPreviewPicture(app_.CurrentJob.get(), preview_->width(), preview_->height());
    preview_->setPixmap(image ? QPixmap::fromImage(image->View().copy()) : QPixmap());
}

void ContourTab::ShowCutSettings() {
    const bool was = app_.Updating;
    app_.Updating = true;
    const TemfFile* job = app_.CurrentJob.get();
    canCut_->setChecked(job && job->ContourCut);
    lines_->setChecked(job && job->CutLines);
    fills_->setChecked(job && job->CutSolid);
    printContours_->setChecked(job && job->PrintContours);
    tileBox_->setChecked(job && job->TileBox);
    deviceMarks_->setChecked(job && job->DeviceCM);
    colour_ = job ? job->CutColor : 0xC0C0C0;
    ShowColour();
    if (!job) colourName_->clear();
    colours_->clear();
    if (job) {
        for (const std::string& line : LayerColorList(job, job->CutLines, job->CutSolid))
            colours_->addItem(QString::fromStdString(line));
        const auto found = colours_->findItems(
            QString::fromStdString(Tcolorlist::ColourText(job->CutColor)), Qt::MatchExactly);
        colours_->setCurrentItem(found.isEmpty() ? nullptr : found.front());
    }
    BuildCutPreview();
    app_.Updating = was;
}

}  // namespace corvan
