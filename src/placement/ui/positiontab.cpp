#include "placement/ui/positiontab.h"

#include "job/units.h"
#include "placement/placementops.h"
#include "placement/positioncommands.h"
#include "placement/ui/cropdialog.h"
#include "placement/ui/mmnumedit.h"
#include "platform/ui/icons.h"
#include "shell/appcore.h"
#include "shell/ui/helppopup.h"

#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStringList>
#include <QVBoxLayout>

namespace corvan {

namespace {

QPushButton* PushButton(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromUtf8(name));
    return b;
}

QCheckBox* Check(QWidget* parent, const char* name, const QString& caption) {
    auto* c = new QCheckBox(caption, parent);
    c->setObjectName(QString::fromUtf8(name));
    return c;
}

QLabel* Value(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromUtf8(name));
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

// Numbers for the percentage label: one decimal, locale separator.
QString OneDecimal(double v) {
    return DisplayNumber(v, 1);
}

}  // namespace

PositionTab::PositionTab(AppCore& app, QWidget* parent) : QWidget(parent), app_(app) {
    setObjectName(QStringLiteral("tab_sizeposition"));
    auto* top = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(BuildPlacement());
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(BuildCrop());
    right->addWidget(BuildFigures());
    right->addStretch(1);
    top->addLayout(left, 1);
    top->addLayout(right, 1);
}

TmmNumEdit* PositionTab::LengthEdit(const char* name) {
    auto* e = new TmmNumEdit(this);
    e->setObjectName(QString::fromUtf8(name));
    return e;
}

QWidget* PositionTab::BuildPlacement() {
    auto* box = new QGroupBox(QStringLiteral("Position on Media"), this);
    auto* form = new QFormLayout;
    mmxos_ = LengthEdit("mmxos");
    mmyos_ = LengthEdit("mmyos");
    mmxgap_ = LengthEdit("mmxgap");
    mmygap_ = LengthEdit("mmygap");
    spincopies_ = new QSpinBox(this);
    spincopies_->setObjectName(QStringLiteral("spincopies"));
    spincopies_->setRange(0, 10000);
    spincopies_->setMaximumWidth(110);
    form->addRow(QStringLiteral("&X Offset:"), mmxos_);
    form->addRow(QStringLiteral("&Y Offset:"), mmyos_);
    form->addRow(QStringLiteral("X &Gap:"), mmxgap_);
    form->addRow(QStringLiteral("Y G&ap:"), mmygap_);
    form->addRow(QStringLiteral("Cop&ies:"), spincopies_);
    cRotate_ = Check(this, "cRotate", QStringLiteral("&Rotate 90 Deg."));
    cMirrorX_ = Check(this, "cMirrorX", QStringLiteral("&Mirror Image X"));
    cmirrorY_ = Check(this, "cmirrorY", QStringLiteral("Mirror &Image Y"));
    form->addRow(QString(), cRotate_);
    form->addRow(QString(), cMirrorX_);
    form->addRow(QString(), cmirrorY_);

    auto* buttons = new QGridLayout;
    auto* dcenter = PushButton(this, "dcenter", QStringLiteral("&Center on Page"));
    auto* dstretch = PushButton(this, "dstretch", QStringLiteral("S&tretch to Fit"));
    auto* dresetpos = PushButton(this, "dresetpos", QStringLiteral("Reset Positio&n"));
    auto* ddocsize = PushButton(this, "ddocsize", QStringLiteral("&Job Size..."));
    buttons->addWidget(dcenter, 0, 0);
    buttons->addWidget(dstretch, 0, 1);
    buttons->addWidget(dresetpos, 1, 0);
    buttons->addWidget(ddocsize, 1, 1);
    auto* v = new QVBoxLayout(box);
    v->addLayout(form);
    v->addLayout(buttons);

    const std::pair<TmmNumEdit*, PlacementValue> values[] = {{mmxos_, PlacementValue::XOffset},
                                                             {mmyos_, PlacementValue::YOffset},
                                                             {mmxgap_, PlacementValue::XGap},
                                                             {mmygap_, PlacementValue::YGap}};
    for (auto [edit, which] : values)
        connect(edit, &TmmNumEdit::validEntry, this, [this, edit = edit, which = which] {
            if (app_.Updating || !app_.CurrentJob) return;
            QApplication::beep();
            SetPlacementValue(app_, which, edit->value());
        });
    connect(spincopies_, qOverload<int>(&QSpinBox::valueChanged), this, [this](int v) {
        if (app_.Updating || !app_.CurrentJob) return;
        QApplication::beep();
        SetCopies(app_, v);
    });
    for (QCheckBox* c : {cRotate_, cMirrorX_, cmirrorY_})
        connect(c, &QCheckBox::clicked, this, [this] {
            if (app_.Updating || !app_.CurrentJob) return;
            QApplication::beep();
            SetPlacementFlags(app_, cRotate_->isChecked(), cMirrorX_->isChecked(),
                              cmirrorY_->isChecked());
        });
    connect(dcenter, &QPushButton::clicked, this, [this] { CenterJob(app_); });
    connect(dstretch, &QPushButton::clicked, this, [this] { StretchToFit(app_); });
    connect(dresetpos, &QPushButton::clicked, this, [this] { ResetPosition(app_); });
    connect(ddocsize, &QPushButton::clicked, this, [this] { ChangeJobSize(app_); });
    return box;
}

QWidget* PositionTab::BuildCrop() {
    auto* box = new QGroupBox(QStringLiteral("Crop"), this);
    auto* grid = new QGridLayout(box);
    check_cropselection_ = Check(this, "check_cropselection", QStringLiteral("Crop &Section:"));
    grid->addWidget(check_cropselection_, 0, 0, 1, 4);
    mmtopx_ = LengthEdit("mmtopx");
    mmtopy_ = LengthEdit("mmtopy");
    mmbotx_ = LengthEdit("mmbotx");
    mmboty_ = LengthEdit("mmboty");
    grid->addWidget(new QLabel(QStringLiteral("Left:"), this), 1, 0);
    grid->addWidget(mmtopx_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Top:"), this), 1, 2);
    grid->addWidget(mmtopy_, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Right:"), this), 2, 0);
    grid->addWidget(mmbotx_, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Bottom:"), this), 2, 2);
    grid->addWidget(mmboty_, 2, 3);
    auto* dfullcrop = PushButton(this, "dfullcrop", QStringLiteral("F&ull Page"));
    auto* dcroparea = PushButton(this, "dcroparea", QStringLiteral("Crop &Area..."));
    auto* dbillboard = PushButton(this, "dbillboard", QStringLiteral("&Billboard Tiles..."));
    grid->addWidget(dfullcrop, 3, 1);
    grid->addWidget(dcroparea, 3, 3);
    grid->addWidget(dbillboard, 4, 3);
    connect(dcroparea, &QPushButton::clicked, this,
            [this] { OpenBillboardTiles(app_, CropDialogMode::Single, window()); });
    connect(dbillboard, &QPushButton::clicked, this,
            [this] { OpenBillboardTiles(app_, CropDialogMode::Multiple, window()); });

    connect(check_cropselection_, &QCheckBox::clicked, this, [this](bool on) {
        ColourCropEdits(on);
        if (app_.Updating || !app_.CurrentJob) return;
        QApplication::beep();
        SetCropSection(app_, on);
    });
    const std::pair<TmmNumEdit*, CropEdge> edges[] = {{mmtopx_, CropEdge::Left},
                                                      {mmtopy_, CropEdge::Top},
                                                      {mmbotx_, CropEdge::Right},
                                                      {mmboty_, CropEdge::Bottom}};
    for (auto [edit, edge] : edges)
        connect(edit, &TmmNumEdit::validEntry, this, [this, edit = edit, edge = edge] {
            if (app_.Updating || !app_.CurrentJob) return;
            QApplication::beep();
            SetCropEdge(app_, edge, edit->value());
        });
    connect(dfullcrop, &QPushButton::clicked, this, [this] { FullCrop(app_); });
    AddMoreInfo(box, app_.Ui(), "SpeedButton17", "Crop Location");
    return box;
}

QWidget* PositionTab::BuildFigures() {
    auto* box = new QGroupBox(QStringLiteral("Layout"), this);
    auto* form = new QFormLayout(box);
    label_docsize1_ = Value(this, "label_docsize1");
    label_croppedsize_ = Value(this, "label_croppedsize");
    label_croppercent_ = Value(this, "label_croppercent");
    label_tileno_ = Value(this, "label_tileno");
    label_jobsize_ = Value(this, "label_jobsize");
    form->addRow(QStringLiteral("Document Size:"), label_docsize1_);
    form->addRow(QStringLiteral("Cropped Tile Size:"), label_croppedsize_);
    form->addRow(QStringLiteral("Percentage of Job:"), label_croppercent_);
    form->addRow(QString(), label_tileno_);
    auto* row = new QHBoxLayout;
    labelProjectSize_ = new QLabel(QStringLiteral("Total Job Size:"), this);
    imagefit_ = new QLabel(this);
    imagefit_->setObjectName(QStringLiteral("imagefit"));
    imagefit_->setPixmap(
        ThemedIcon(QStringLiteral("dialog-warning")).pixmap(kMenuIconSize, kMenuIconSize));
    imagefit_->setToolTip(QStringLiteral("Crop area is larger than print meadia."));
    imagefit_->hide();
    row->addWidget(label_jobsize_);
    row->addWidget(imagefit_);
    row->addStretch(1);
    form->addRow(labelProjectSize_, row);
    cToobig_ = Check(this, "cToobig", QString());
    cToobig_->hide();
    connect(cToobig_, &QCheckBox::toggled, this, &PositionTab::SetTooBig);
    return box;
}

void PositionTab::SetTooBig(bool tooBig) {
    QPalette pal = labelProjectSize_->palette();
    pal.setColor(QPalette::WindowText,
                 tooBig ? QColor(Qt::red) : palette().color(QPalette::WindowText));
    labelProjectSize_->setPalette(pal);
    imagefit_->setVisible(tooBig);
}

void PositionTab::ColourCropEdits(bool on) {
    for (TmmNumEdit* e : {mmtopx_, mmtopy_, mmbotx_, mmboty_}) {
        QPalette pal = e->palette();
        pal.setColor(QPalette::Base,
                     on ? palette().color(QPalette::Base) : palette().color(QPalette::Button));
        e->setPalette(pal);
    }
}

void PositionTab::ShowLayout() {
    if (!app_.CurrentJob) return;
    const bool was = app_.Updating;
    app_.Updating = true;
    const TemfFile& job = *app_.CurrentJob;
    mmtopx_->setValue(job.CropLeft);
    mmtopy_->setValue(job.CropTop);
    mmbotx_->setValue(job.CropRight);
    mmboty_->setValue(job.CropBottom);
    mmxos_->setValue(job.XOffset);
    mmyos_->setValue(job.YOffset);
    mmxgap_->setValue(job.XGap);
    mmygap_->setValue(job.YGap);
    {
        const QSignalBlocker b(spincopies_);
        spincopies_->setValue(job.Copies);
    }
    cRotate_->setChecked(job.Rotate);
    cMirrorX_->setChecked(job.MirrorX);
    cmirrorY_->setChecked(job.MirrorY);
    label_croppedsize_->setText(
        QString::fromStdString(FormatSize(job.CropWidth, job.CropHeight, app_.UseMetric)));
    check_cropselection_->setChecked(job.CropSection);
    ColourCropEdits(job.CropSection);
    if (!job.CropSection)
        label_croppercent_->setText(QStringLiteral("100 %"));
    else if (job.PageWidth == 0 || job.PageHeight == 0)
        label_croppercent_->clear();
    else
        label_croppercent_->setText(
            OneDecimal(job.CropWidth * 100.0 / job.PageWidth) + QStringLiteral(" % x ") +
            OneDecimal(job.CropHeight * 100.0 / job.PageHeight) + QStringLiteral(" %"));
    label_tileno_->clear();
    if (job.CropSection && job.MultiTiles && job.TileNo > 0)
        label_tileno_->setText(QStringLiteral("Tile: %1.").arg(job.TileNo));
    label_docsize1_->setText(
        QString::fromStdString(FormatSize(job.PageWidth, job.PageHeight, app_.UseMetric)));
    label_jobsize_->setText(QString::fromStdString(
        FormatSize(job.MediaUsedWidth, job.MediaUsedHeight, app_.UseMetric)));
    QPalette pal = label_jobsize_->palette();
    pal.setColor(QPalette::WindowText, job.FitsMedia ? QColor(Qt::black) : QColor(Qt::red));
    label_jobsize_->setPalette(pal);
    cToobig_->setChecked(!job.FitsMedia);
    app_.Updating = was;
}

void PositionTab::Clear() {
    const bool was = app_.Updating;
    app_.Updating = true;
    for (TmmNumEdit* e : {mmxos_, mmyos_, mmxgap_, mmygap_, mmtopx_, mmtopy_, mmbotx_, mmboty_})
        e->setValue(0);
    {
        const QSignalBlocker b(spincopies_);
        spincopies_->setValue(1);
    }
    for (QCheckBox* c : {cRotate_, cMirrorX_, cmirrorY_, check_cropselection_})
        c->setChecked(false);
    for (QLabel* l :
         {label_docsize1_, label_croppedsize_, label_croppercent_, label_tileno_, label_jobsize_})
        l->clear();
    QPalette pal = label_jobsize_->palette();
    pal.setColor(QPalette::WindowText, Qt::black);
    label_jobsize_->setPalette(pal);
    app_.Updating = was;
}

QStringList PositionTab::PendingNames() {
    return {};
}

// Destruction moves the focus out of an edit, which would report an entry
// to a tab that is half gone.
PositionTab::~PositionTab() {
    for (TmmNumEdit* e : findChildren<TmmNumEdit*>()) e->blockSignals(true);
}

void PositionTab::ApplyUnits() {
    for (TmmNumEdit* e : {mmxos_, mmyos_, mmxgap_, mmygap_, mmtopx_, mmtopy_, mmbotx_, mmboty_})
        e->applyUnits(app_.UseMetric);
}

}  // namespace corvan
