#include "shell/ui/projecttab.h"

#include "job/units.h"
#include "placement/jobsize.h"
#include "placement/placementops.h"
#include "placement/positioncommands.h"
#include "placement/ui/mmnumedit.h"
#include "placement/ui/scaledialog.h"
#include "platform/folders.h"
#include "platform/ui/widgetnames.h"
#include "plugins/customforms.h"
#include "shell/appcore.h"
#include "shell/jobcommands.h"
#include "shell/ui/editbitmap.h"
#include "shell/ui/helppopup.h"
#include "shell/ui/layerlists.h"

#include <QApplication>
#include <QSignalBlocker>

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStringList>
#include <QVBoxLayout>
#include <cmath>

namespace corvan {

namespace {

unsigned FromQColor(const QColor& c) {
    return static_cast<unsigned>(c.red()) | static_cast<unsigned>(c.green()) << 8 |
           static_cast<unsigned>(c.blue()) << 16;
}

}  // namespace

ProjectTab::ProjectTab(AppCore& app, QWidget* parent) : QWidget(parent), app_(app) {
    setObjectName(QStringLiteral("tab_documentinfo"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(BuildSize(), 0, 0);
    grid->addWidget(BuildMedia(), 1, 0);
    grid->addWidget(BuildBackground(), 0, 1, 2, 1);
    grid->addWidget(BuildLayers(), 2, 0, 1, 2);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
}

QWidget* ProjectTab::BuildSize() {
    auto* box = new QGroupBox(QStringLiteral("Job Size"), this);
    auto* form = new QFormLayout(box);
    mmDocWidth_ = Named(new TmmNumEdit(this), "mmDocWidth");
    mmDocHeight_ = Named(new TmmNumEdit(this), "mmDocHeight");
    cProportional_ = Named(new QCheckBox(QStringLiteral("Proportion&al"), this), "cProportional");
    label_docsize_ = Named(new QLabel(this), "label_docsize");
    auto* dchangedocsize =
        Named(new QPushButton(QStringLiteral("Set Job Si&ze..."), this), "dchangedocsize");
    auto* scale = Named(new QPushButton(QStringLiteral("Scale %"), this), "SpeedButton116");
    scale->setToolTip(QStringLiteral("Scale Job Size"));
    connect(scale, &QPushButton::clicked, this,
            [this] { ScaleJobCommand(app_, cProportional_->isChecked(), window()); });
    form->addRow(QStringLiteral("Job &Width:"), mmDocWidth_);
    form->addRow(QStringLiteral("Job Hei&ght:"), mmDocHeight_);
    form->addRow(QString(), cProportional_);
    form->addRow(QStringLiteral("Document Size:"), label_docsize_);
    auto* row = new QHBoxLayout;
    row->addWidget(dchangedocsize);
    row->addWidget(scale);
    row->addStretch(1);
    form->addRow(row);
    connect(mmDocWidth_, &TmmNumEdit::validEntry, this, [this] { PageSizeEntered(true); });
    connect(mmDocHeight_, &TmmNumEdit::validEntry, this, [this] { PageSizeEntered(false); });
    connect(dchangedocsize, &QPushButton::clicked, this, [this] { ChangeJobSize(app_); });
    AddMoreInfo(box, app_.Ui(), "SpeedButton49", "Job Size");
    return box;
}

QWidget* ProjectTab::BuildMedia() {
    auto* box = new QGroupBox(QStringLiteral("Media Size"), this);
    auto* form = new QFormLayout(box);
    mmMediaWidth_ = Named(new TmmNumEdit(this), "mmMediaWidth");
    mmMediaHeight_ = Named(new TmmNumEdit(this), "mmMediaHeight");
    ComboBox1_ = Named(new QComboBox(this), "ComboBox1");
    FillMediaPresets();
    ComboBox1_->setPlaceholderText(QStringLiteral("Roll widths"));
    form->addRow(QStringLiteral("Media W&idth:"), mmMediaWidth_);
    form->addRow(QStringLiteral("Media Le&ngth:"), mmMediaHeight_);
    form->addRow(QStringLiteral("&Roll Width:"), ComboBox1_);
    // The driver's (or the system printer's) page sizes; the window connects it.
    auto* sheets = Named(new QPushButton(QStringLiteral("Shee&t Sizes..."), this), "dsheetsizes");
    sheets->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    form->addRow(QString(), sheets);
    connect(mmMediaWidth_, &TmmNumEdit::validEntry, this, &ProjectTab::MediaWidthEntered);
    connect(mmMediaHeight_, &TmmNumEdit::validEntry, this, [this] {
        QApplication::beep();
        if (app_.Updating) return;
        SetMediaHeight(app_, mmMediaHeight_->value());
        ShowMediaEdits();
    });
    connect(ComboBox1_, qOverload<int>(&QComboBox::activated), this,
            &ProjectTab::MediaPresetChosen);
    AddMoreInfo(box, app_.Ui(), "SpeedButton113", "Media Size");
    return box;
}

QWidget* ProjectTab::BuildBackground() {
    auto* box = new QGroupBox(QStringLiteral("Background"), this);
    auto* grid = new QGridLayout(box);
    label_bgfilename_ = Named(new QLabel(this), "label_bgfilename");
    label_bgfilename_->setMinimumWidth(120);
    dlabel_bgfilename_ = Named(new QPushButton(this), "dlabel_bgfilename");
    dlabel_bgfilename_->setFlat(true);
    dlabel_bgfilename_->setStyleSheet(QStringLiteral("text-align: left"));
    PopupImageHist_ = new QMenu(this);
    PopupImageHist_->setObjectName(QStringLiteral("PopupImageHist"));
    connect(PopupImageHist_, &QMenu::aboutToShow, this, &ProjectTab::FillImageHistory);
    dlabel_bgfilename_->setMenu(PopupImageHist_);
    auto* dloadImage = Named(new QPushButton(QStringLiteral("&Load Image..."), this), "dloadImage");
    auto* dKillBG = Named(new QPushButton(QStringLiteral("&Clear Image"), this), "dKillBG");
    auto* deditimage = Named(new QPushButton(QStringLiteral("Edit Image"), this), "deditimage");
    // Their captions stay whole however narrow the panel gets.
    for (QPushButton* b : {dloadImage, dKillBG, deditimage})
        b->setMinimumWidth(b->sizeHint().width());
    cBackgroundImage_ =
        Named(new QCheckBox(QStringLiteral("&Draw Image"), this), "cBackgroundImage");
    cSolid_ = Named(new QCheckBox(QStringLiteral("So&lid"), this), "cSolid");
    cSolid_->setChecked(true);
    BG_color_picker_ = Named(new QPushButton(this), "BG_color_picker");
    BG_color_picker_->setFixedSize(48, 24);
    label_bgcolor_ = Named(new QLabel(this), "label_bgcolor");
    thumb_ = Named(new QLabel(this), "ImageBackground");
    thumb_->setFixedSize(120, 90);
    thumb_->setFrameShape(QFrame::StyledPanel);
    thumb_->setAlignment(Qt::AlignCenter);

    grid->addWidget(new QLabel(QStringLiteral("Image:"), this), 0, 0);
    grid->addWidget(dlabel_bgfilename_, 0, 1, 1, 3);
    grid->addWidget(thumb_, 1, 0, 3, 2);
    grid->addWidget(dloadImage, 1, 2);
    grid->addWidget(dKillBG, 2, 2);
    grid->addWidget(deditimage, 3, 2);
    grid->addWidget(cBackgroundImage_, 4, 0, 1, 2);
    grid->addWidget(cSolid_, 5, 0);
    grid->addWidget(BG_color_picker_, 5, 1);
    grid->addWidget(label_bgcolor_, 5, 2);
    grid->setColumnStretch(3, 1);
    label_bgfilename_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(label_bgfilename_, 6, 0, 1, 4);

    connect(dloadImage, &QPushButton::clicked, this, [this] { LoadBackgroundImage(app_); });
    connect(dKillBG, &QPushButton::clicked, this, [this] { ClearBackgroundImage(app_); });
    connect(deditimage, &QPushButton::clicked, this, [this] { EditBackgroundImage(app_, this); });
    connect(cBackgroundImage_, &QCheckBox::clicked, this,
            [this](bool on) { SetDrawImage(app_, on, pickerColour_); });
    connect(BG_color_picker_, &QPushButton::clicked, this, [this] {
        const QColor c = QColorDialog::getColor(ToQColor(pickerColour_), this);
        if (c.isValid()) ColourChosen(FromQColor(c));
    });
    connect(cSolid_, &QCheckBox::toggled, this, [this](bool on) {
        BG_color_picker_->setVisible(on);
        label_bgcolor_->setVisible(on);
        // White is no background: the job must lose the colour too, or the
        // output prints what the screen no longer shows.
        if (!on) ColourChosen(0xFFFFFF);
    });
    grid->addWidget(MoreInfoButton(this, app_.Ui(), "SpeedButton114", "Background Image"), 3, 3,
                    Qt::AlignRight);
    grid->addWidget(MoreInfoButton(this, app_.Ui(), "SpeedButton115", "Background Color"), 5, 3,
                    Qt::AlignRight);
    return box;
}

QWidget* ProjectTab::BuildLayers() {
    layers_ = new LayerLists(app_, this);
    return layers_;
}

void ProjectTab::LoadLayer() {
    layers_->LoadLayer();
}

void ProjectTab::PageSizeEntered(bool width) {
    if (app_.Updating || !app_.CurrentJob) return;
    QApplication::beep();
    SetPageSize(app_, width ? PageSide::Width : PageSide::Height,
                (width ? mmDocWidth_ : mmDocHeight_)->value(), cProportional_->isChecked());
}

void ProjectTab::MediaWidthEntered() {
    QApplication::beep();
    if (app_.Updating) return;
    SetMediaWidth(app_, mmMediaWidth_->value());
    ShowMediaEdits();
}

void ProjectTab::FillMediaPresets() {
    const QSignalBlocker block(ComboBox1_);
    ComboBox1_->clear();
    for (const char* item : MediaWidthPresets()) ComboBox1_->addItem(QString::fromUtf8(item));
    // The custom paper sizes, by their width; the item carries it in mm.
    for (const CustomForm& f : CustomForms())
        ComboBox1_->addItem(QStringLiteral("%1 (%2 x %3 mm)")
                                .arg(QString::fromStdString(f.Name))
                                .arg(f.Width / 1000.0, 0, 'f', 0)
                                .arg(f.Height / 1000.0, 0, 'f', 0),
                            f.Width / 1000.0);
    ComboBox1_->setCurrentIndex(-1);
}

void ProjectTab::MediaPresetChosen(int index) {
    if (index < 0) return;
    bool kept = false;
    if (const QVariant width = ComboBox1_->itemData(index); width.isValid()) {
        SetMediaWidth(app_, width.toFloat());
        kept = std::fabs(app_.CurrentPlotter.MediaWidth - width.toFloat()) <= 2;
    } else {
        kept = ChooseMediaPreset(app_, ComboBox1_->itemText(index).toStdString(), app_.UseMetric);
    }
    ShowMediaEdits();
    if (!kept) ComboBox1_->setCurrentIndex(-1);
}

void ProjectTab::SetPickerColour(unsigned colour) {
    pickerColour_ = colour;
    BG_color_picker_->setStyleSheet(
        QStringLiteral("background-color: %1").arg(ToQColor(colour).name()));
    BG_color_picker_->setToolTip(QStringLiteral("RGB Value: ") +
                                 QString::fromStdString(FormatRGB(colour)));
    label_bgcolor_->setText(ToQColor(colour).name().toUpper());
}

void ProjectTab::ColourChosen(unsigned colour) {
    SetPickerColour(colour);
    SetDrawImage(app_, cBackgroundImage_->isChecked(), colour);
}

void ProjectTab::FillImageHistory() {
    PopupImageHist_->clear();
    PopupImageHist_->addAction(QStringLiteral("Load Image"), this,
                               [this] { LoadBackgroundImage(app_); });
    PopupImageHist_->addSeparator();
    for (const std::string& path : app_.ImageHist) {
        QAction* a = PopupImageHist_->addAction(QString::fromStdString(path), this,
                                                [this, path] { LoadBackgroundImage(app_, path); });
        a->setEnabled(FileExists(path));
    }
}

void ProjectTab::ShowMediaEdits() {
    const bool was = app_.Updating;
    app_.Updating = true;
    mmMediaWidth_->setValue(app_.CurrentPlotter.MediaWidth);
    mmMediaHeight_->setValue(app_.CurrentPlotter.MediaHeight);
    const bool roll = app_.CurrentPlotter.PrintableLength == 0;
    mmMediaHeight_->setReadOnly(roll);
    QPalette pal = mmMediaHeight_->palette();
    pal.setColor(QPalette::Base, palette().color(roll ? QPalette::Button : QPalette::Base));
    mmMediaHeight_->setPalette(pal);
    app_.Updating = was;
}

void ProjectTab::ShowLayout() {
    if (!app_.CurrentJob) return;
    const TemfFile& job = *app_.CurrentJob;
    mmDocWidth_->setValue(job.PageWidth);
    mmDocHeight_->setValue(job.PageHeight);
    label_docsize_->setText(
        QString::fromStdString(FormatSize(job.PageWidth, job.PageHeight, app_.UseMetric)));
    ShowMediaEdits();
}

void ProjectTab::ShowJob() {
    const TemfFile& job = *app_.CurrentJob;
    SetPickerColour(job.BackgroundColor);
    if (job.BackgroundColor != 0xFFFFFF) cSolid_->setChecked(true);
    cBackgroundImage_->setChecked(job.DrawImage);
    const QString name = job.BackgroundFile.empty() ? QStringLiteral("No Image Loaded...")
                                                    : QString::fromStdString(job.BackgroundFile);
    // The label keeps the whole path in its hint; long paths are shortened
    // in the middle so the group keeps its width.
    label_bgfilename_->setText(fontMetrics().elidedText(name, Qt::ElideMiddle, 340));
    label_bgfilename_->setToolTip(name);
    dlabel_bgfilename_->setToolTip(name);
    const int room = std::max(60, dlabel_bgfilename_->width() - 30);
    dlabel_bgfilename_->setText(fontMetrics().horizontalAdvance(name) > room
                                    ? QString::fromStdString(FileNamePart(job.BackgroundFile))
                                    : name);
    layers_->ShowJob();
    ShowLayout();
}

void ProjectTab::Clear() {
    SetPickerColour(0xFFFFFF);
    label_bgfilename_->clear();
    label_bgfilename_->setAlignment(Qt::AlignLeft);
    dlabel_bgfilename_->setText(QString());
    layers_->Clear();
    mmDocWidth_->setValue(0);
    mmDocHeight_->setValue(0);
    label_docsize_->clear();
    mmMediaWidth_->setValue(app_.CurrentPlotter.MediaWidth);
    mmMediaHeight_->setValue(0);
    thumb_->clear();
}

void ProjectTab::ShowBackgroundThumb() {
    const TemfFile* job = app_.CurrentJob.get();
    if (!job || !job->BackgroundImage) {
        thumb_->clear();
        return;
    }
    const QImage img = job->BackgroundImage->View().scaled(
        thumb_->size() - QSize(4, 4), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    thumb_->setPixmap(QPixmap::fromImage(img));
}

// Destruction moves the focus out of an edit, which would report an entry
// to a tab that is half gone.
ProjectTab::~ProjectTab() {
    for (TmmNumEdit* e : findChildren<TmmNumEdit*>()) e->blockSignals(true);
}

void ProjectTab::ApplyUnits() {
    for (TmmNumEdit* e : {mmDocWidth_, mmDocHeight_, mmMediaWidth_, mmMediaHeight_})
        e->applyUnits(app_.UseMetric);
    if (app_.CurrentJob)
        label_docsize_->setText(QString::fromStdString(
            FormatSize(app_.CurrentJob->PageWidth, app_.CurrentJob->PageHeight, app_.UseMetric)));
}

QStringList ProjectTab::PendingNames() {
    return {};
}

bool ProjectTab::Proportional() const {
    return cProportional_->isChecked();
}
void ProjectTab::SetProportional(bool on) {
    cProportional_->setChecked(on);
}

}  // namespace corvan
