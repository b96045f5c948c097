#include "placement/ui/scaledialog.h"

#include "job/jobsession.h"
#include "placement/placementops.h"
#include "placement/ui/mmnumedit.h"
#include "platform/ui/widgetnames.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace corvan {
namespace {

QDoubleSpinBox* PercentEdit(QWidget* parent, const char* name) {
    auto* e = Named(new QDoubleSpinBox(parent), name);
    e->setRange(0, 100000);
    e->setDecimals(2);
    e->setSuffix(QStringLiteral(" %"));
    e->setValue(100);
    e->setKeyboardTracking(false);
    return e;
}

}  // namespace

Tfscale::Tfscale(float width, float height, bool proportional, bool metric, QWidget* parent)
    : QDialog(parent), w0_(width), h0_(height), width_(width), height_(height) {
    setObjectName(QStringLiteral("Tfscale"));
    setWindowTitle(QStringLiteral("Scale Job Size"));
    auto* v = new QVBoxLayout(this);
    auto* g = new QGridLayout;
    mmwidth_ = Named(new TmmNumEdit(this), "mmwidth");
    mmheight_ = Named(new TmmNumEdit(this), "mmheight");
    mmwidth_->applyUnits(metric);
    mmheight_->applyUnits(metric);
    swidth_ = PercentEdit(this, "swidth");
    sheight_ = PercentEdit(this, "sheight");
    auto* wl = new QLabel(QStringLiteral("&Width:"), this);
    auto* hl = new QLabel(QStringLiteral("&Height:"), this);
    wl->setBuddy(mmwidth_);
    hl->setBuddy(mmheight_);
    g->addWidget(wl, 0, 0);
    g->addWidget(mmwidth_, 0, 1);
    g->addWidget(swidth_, 0, 2);
    g->addWidget(hl, 1, 0);
    g->addWidget(mmheight_, 1, 1);
    g->addWidget(sheight_, 1, 2);
    proportional_ = Named(new QCheckBox(QStringLiteral("&Proportional"), this), "cProportional");
    proportional_->setChecked(proportional);
    g->addWidget(proportional_, 2, 1, 1, 2);
    v->addLayout(g);
    auto* buttons = new QDialogButtonBox(this);
    auto* apply = buttons->addButton(QStringLiteral("Apply"), QDialogButtonBox::AcceptRole);
    apply->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    v->addWidget(buttons);

    connect(mmwidth_, &TmmNumEdit::validEntry, this, [this] { SideEntered(true); });
    connect(mmheight_, &TmmNumEdit::validEntry, this, [this] { SideEntered(false); });
    connect(swidth_, &QDoubleSpinBox::editingFinished, this, [this] {
        PercentEntered(true);
        sheight_->setFocus();  // Enter moves on to the other percentage
    });
    connect(sheight_, &QDoubleSpinBox::editingFinished, this, [this] { PercentEntered(false); });
    Show();
    mmwidth_->setFocus();
}

void Tfscale::Show() {
    const QSignalBlocker a(swidth_), b(sheight_);
    mmwidth_->setValue(width_);
    mmheight_->setValue(height_);
    swidth_->setValue(w0_ > 0 ? width_ * 100.0 / w0_ : 100);
    sheight_->setValue(h0_ > 0 ? height_ * 100.0 / h0_ : 100);
}

void Tfscale::SideEntered(bool width) {
    const bool keep = proportional_->isChecked();
    if (width) {
        width_ = mmwidth_->value() == 0 ? w0_ : mmwidth_->value();
        if (keep && w0_ > 0) height_ = width_ * h0_ / w0_;
    } else {
        height_ = mmheight_->value() == 0 ? h0_ : mmheight_->value();
        if (keep && h0_ > 0) width_ = height_ * w0_ / h0_;
    }
    Show();
}

void Tfscale::PercentEntered(bool width) {
    QDoubleSpinBox* edit = width ? swidth_ : sheight_;
    const double percent = edit->value() == 0 ? 100 : edit->value();
    if (width || proportional_->isChecked()) width_ = static_cast<float>(percent * w0_ * 0.01);
    if (!width || proportional_->isChecked()) height_ = static_cast<float>(percent * h0_ * 0.01);
    Show();
}

void ScaleJobCommand(JobSession& app, bool proportional, QWidget* parent) {
    if (!app.CurrentJob) return;
    TemfFile& job = *app.CurrentJob;
    Tfscale dialog(job.PageWidth, job.PageHeight, proportional, app.UseMetric, parent);
    if (dialog.exec() != QDialog::Accepted) return;
    const ScaledSize size = dialog.Result();
    if (size.width <= 0 || size.height <= 0) return;
    job.PageWidth = size.width;
    job.PageHeight = size.height;
    job.CheckCrop(false);
    job.PreviewDirty = true;
    UpdateLayout(app, true);
    app.Events().JobChanged();
}

}  // namespace corvan
