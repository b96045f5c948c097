#include "shell/ui/gamuttab.h"

#include "platform/ui/widgetnames.h"
#include "plugins/currentplugin.h"
#include "plugins/gamutpreview.h"
#include "shell/appcore.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace corvan {

GamutTab::GamutTab(AppCore& app, QWidget* parent) : QWidget(parent), app_(app) {
    setObjectName(QStringLiteral("tab_gamutmapping"));
    auto* v = new QVBoxLayout(this);
    auto* box = new QGroupBox(QStringLiteral("Gamut Mapping"), this);
    auto* form = new QFormLayout(box);
    method_ = Named(new QComboBox(box), "comboGMA");
    for (const char* m : kGmaMethods) method_->addItem(QString::fromUtf8(m));
    method_->setCurrentIndex(-1);
    form->addRow(QStringLiteral("Preset GMA:"), method_);
    picture_ = Named(new QLabel(box), "imageGMA");
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setFixedSize(340, 340);
    picture_->setFrameShape(QFrame::StyledPanel);
    form->addRow(QStringLiteral("Screen Preview:"), picture_);
    auto* buttons = new QHBoxLayout;
    auto* redraw = Named(new QPushButton(QStringLiteral("Redraw"), box), "dRefreshGMA");
    auto* advanced = Named(new QPushButton(QStringLiteral("Advanced"), box), "dsetgma");
    advanced->setToolTip(QStringLiteral("The driver's own colour settings"));
    buttons->addWidget(redraw);
    buttons->addWidget(advanced);
    buttons->addStretch();
    form->addRow(QString(), buttons);
    v->addWidget(box);
    v->addStretch();

    connect(method_, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        if (!app_.CurrentJob) return;
        app_.CurrentJob->GmaMethod = index;
        app_.MarkModified();
        app_.Events().Repaint();  // the title and Save follow
        RedrawGamut();
    });
    connect(redraw, &QPushButton::clicked, this, &GamutTab::RedrawGamut);
    connect(advanced, &QPushButton::clicked, this, &GamutTab::Advanced);
}

void GamutTab::ShowJob() {
    const QSignalBlocker block(method_);
    method_->setCurrentIndex(
        app_.CurrentJob ? std::max(-1, std::min(app_.CurrentJob->GmaMethod, method_->count() - 1))
                        : -1);
}

void GamutTab::Clear() {
    ShowJob();
    ClearPreview();
}

void GamutTab::ClearPreview() {
    picture_->clear();
}

void GamutTab::RedrawGamut() {
    TPluginObject& plugin = CurrentPlugin();
    if (!app_.CurrentJob || !plugin.Valid) return;
    if (!DriverHasProfile(plugin, app_.Ui(), false)) return;
    Q_EMIT layoutViewWanted();
    if (!app_.PreviewImage) return;
    const auto shown = RenderGamutPreview(plugin, *app_.CurrentJob, *app_.PreviewImage, app_.Ui());
    // A driver that draws nothing leaves an empty picture.
    picture_->setPixmap(shown ? QPixmap::fromImage(shown->View().copy()) : QPixmap());
    QApplication::beep();
}

void GamutTab::Advanced() {
    if (!app_.CurrentJob || !app_.PreviewImage) return;
    if (!ChooseDriverGamut(CurrentPlugin(), *app_.CurrentJob, *app_.PreviewImage, app_.Ui()))
        return;
    app_.MarkModified();
    app_.Events().Repaint();
    ShowJob();
    RedrawGamut();
}

}  // namespace corvan
