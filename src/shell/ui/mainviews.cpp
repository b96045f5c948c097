// The view area's controls: the six view buttons, the View menu that
// mirrors them, and what the window does when a new job preview arrives.
#include "display/ui/printzoom.h"
#include "display/ui/viewarea.h"
#include "platform/ui/icons.h"
#include "shell/ripwiring.h"
#include "shell/ui/gamuttab.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/spottab.h"
#include "shell/viewcommands.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

#include <string_view>

namespace corvan {

namespace {

// Menu item and the button it stands for.
struct ViewItem {
    const char* action;
    const char* caption;
    const char* button;
    Qt::Key key;
    const char* icon;  // the button's
};

constexpr ViewItem kViewItems[] = {
    {"DraftView1", "Draft View", "dviewNone", Qt::Key_unknown, "draw-freehand"},
    {"JobView1", "Job View", "dviewpic", Qt::Key_F2, "image-x-generic"},
    {"PageView1", "Page View", "dviewpage", Qt::Key_F3, "document-preview"},
    {"PrinterView1", "Printer View", "dviewprinter", Qt::Key_F4, "printer"},
};

}  // namespace

void TForm1::BuildViewCommands(QMenu* m) {
    QAction* preview = Act(m, "Preview2", QStringLiteral("Preview"), QKeySequence(Qt::Key_F5));
    preview->setIcon(ThemedIcon(QStringLiteral("document-print-preview")));
    Command(preview, [this] { OpenOutputPreview(app_, CurrentCropMarkCorners(app_), this); });
    m->addSeparator();
    for (const ViewItem& item : kViewItems) {
        QAction* a = Act(m, item.action, QString::fromUtf8(item.caption),
                         item.key == Qt::Key_unknown ? QKeySequence() : QKeySequence(item.key));
        a->setCheckable(true);
        a->setIcon(ThemedIcon(QString::fromUtf8(item.icon)));
        const char* button = item.button;
        connect(a, &QAction::triggered, this, [this, button] { ViewMenuClicked(button); });
    }
    QMenu* cut = m->addMenu(QStringLiteral("Contour Cut View"));
    cut->menuAction()->setObjectName(QStringLiteral("ContourCutView1"));
    QAction* cutfile = Act(cut, "ViewCutfile1", QStringLiteral("View Cutfile"));
    cutfile->setCheckable(true);
    cutfile->setIcon(ThemedIcon(QStringLiteral("edit-cut")));
    connect(cutfile, &QAction::triggered, this, [this] { ViewMenuClicked("dviewcut"); });
    // Shows the state only; its button is the one to press.
    Act(cut, "ViewRaster1", QStringLiteral("View Raster"))->setCheckable(true);
    Command(Act(m, "MaxPreview1", QStringLiteral("Set Max Preview")),
            [this] { SetMaxPreviewCommand(app_); });
}

void TForm1::ConnectViewArea() {
    connect(viewArea_, &ViewArea::viewButtonClicked, this, &TForm1::ViewButtonClicked);
    // Pictures made from the job preview follow it.
    connect(view_, &JobView::previewReady, spotTab_, &SpotTab::SpotPreview);
    connect(view_, &JobView::previewStarted, gamutTab_, &GamutTab::ClearPreview);
}

void TForm1::ViewMenuClicked(const char* button) {
    QToolButton* b = viewArea_->Button(button);
    // A view that is already chosen stays chosen; the flags toggle.
    if (std::string_view(button).starts_with("dviewp"))
        b->setChecked(true);
    else
        b->setChecked(!b->isChecked());
    ViewButtonClicked(b);
}

void TForm1::ViewButtonClicked(QToolButton* sender) {
    const QString name = sender->objectName();
    if (app_.CurrentJob &&
        (name == QLatin1String("dviewcut") || name == QLatin1String("dviewimage") ||
         name == QLatin1String("dviewNone")))
        app_.CurrentJob->PreviewDirty = true;
    SetDispProps();
    view_->update();
}

void TForm1::SetDispProps() {
    const auto down = [this](const char* name) { return viewArea_->Button(name)->isChecked(); };
    ViewFlags& v = app_.Views;
    v.DraftView = down("dviewNone");
    v.ViewMode = down("dviewpic")    ? ViewFlags::Artwork
                 : down("dviewpage") ? ViewFlags::Layout
                                     : ViewFlags::Printer;
    v.CutView = down("dviewcut");
    v.RasterView = down("dviewimage");
    ShowViewChecks();
}

void TForm1::ShowViewState() {
    const ViewFlags& v = app_.Views;
    const char* mode = v.ViewMode == ViewFlags::Artwork  ? "dviewpic"
                       : v.ViewMode == ViewFlags::Layout ? "dviewpage"
                                                         : "dviewprinter";
    viewArea_->Button(mode)->setChecked(true);
    viewArea_->Button("dviewNone")->setChecked(v.DraftView);
    viewArea_->Button("dviewcut")->setChecked(v.CutView);
    viewArea_->Button("dviewimage")->setChecked(v.RasterView);
    ShowViewChecks();
    view_->update();
}

void TForm1::ShowViewChecks() {
    QToolButton* cut = viewArea_->Button("dviewcut");
    QToolButton* raster = viewArea_->Button("dviewimage");
    raster->setEnabled(cut->isChecked());
    for (const ViewItem& item : kViewItems)
        findChild<QAction*>(QString::fromUtf8(item.action))
            ->setChecked(viewArea_->Button(item.button)->isChecked());
    auto* viewCutfile = findChild<QAction*>(QStringLiteral("ViewCutfile1"));
    auto* viewRaster = findChild<QAction*>(QStringLiteral("ViewRaster1"));
    viewCutfile->setChecked(cut->isChecked());
    viewCutfile->setEnabled(cut->isEnabled());
    viewRaster->setChecked(raster->isChecked());
    viewRaster->setEnabled(raster->isEnabled());
    viewArea_->Refresh();
}

}  // namespace corvan
