// The main window's menu bar and tool bar.
#include "cutting/ui/autocut.h"
#include "display/ui/jobview.h"
#include "display/ui/printzoom.h"
#include "display/ui/saveflatten.h"
#include "job/units.h"
#include "placement/placementops.h"
#include "placement/positioncommands.h"
#include "placement/ui/cropdialog.h"
#include "placement/ui/printingtab.h"
#include "platform/debuglog.h"
#include "platform/preferences.h"
#include "platform/ui/icons.h"
#include "plugins/drivercommands.h"
#include "shell/jobcommands.h"
#include "shell/loading.h"
#include "shell/ripwiring.h"
#include "shell/ui/aboutbox.h"
#include "shell/ui/application.h"
#include "shell/ui/editbitmap.h"
#include "shell/ui/gamuttab.h"
#include "shell/ui/helppopup.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/pathseditor.h"
#include "shell/ui/projecttab.h"
#include "shell/ui/qtuserinterface.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace corvan {

QAction* TForm1::Act(QMenu* menu, const char* name, const QString& caption,
                     const QKeySequence& key) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromUtf8(name));
    if (!key.isEmpty()) a->setShortcut(key);
    return a;
}

void TForm1::Command(QAction* action, std::function<void()> command) {
    connect(action, &QAction::triggered, this,
            [command = std::move(command)] { RunGuarded(command); });
}

QAction* TForm1::Pending(QMenu* menu, const char* name, const QString& caption,
                         const QKeySequence& key) {
    QAction* a = Act(menu, name, caption, key);
    unavailable_.insert(a->objectName());
    a->setEnabled(false);
    return a;
}

namespace {

// Menu commands with an icon, by standard icon name.
const struct {
    const char* action;
    const char* icon;
} kMenuIcons[] = {
    {"NewJob1", "document-new"},
    {"OpenRIPProject1", "document-open"},
    {"OpenLayerasNew1", "document-import"},
    {"OpenImageasNew1", "image-x-generic"},
    {"LoadImage2", "insert-image"},
    {"SaveRIPProject1", "document-save"},
    {"SaveAs1", "document-save-as"},
    {"SaveasBitmap1", "document-export"},
    {"CloseCurrent1", "document-close"},
    {"Exit1", "application-exit"},
    {"ClearImage1", "edit-clear"},
    {"EditImage1", "document-edit"},
    {"SetJobSize1", "transform-scale"},
    {"CenterJob1", "align-horizontal-center"},
    {"StretchtoFit1", "zoom-fit-width"},
    {"Reset1", "edit-undo"},
    {"BillboardTiles1", "view-grid"},
    {"ToggleCropmarks1", "transform-crop"},
    {"AutoTrace1", "draw-bezier-curves"},
    {"PrinterOptions1", "document-properties"},
    {"SelectGMA1", "color-management"},
    {"RIPNow1", "document-print"},
    {"CreateCutFile1", "edit-cut"},
    {"Settings1", "configure"},
    {"SetPaths1", "folder-open"},
    {"ProfileManager1", "color-management"},
    {"HelpTopics1", "help-contents"},
    {"KeyboardShortcuts1", "preferences-desktop-keyboard"},
    {"About1", "help-about"},
};

}  // namespace

void TForm1::ApplyMenuIcons() {
    for (const auto& m : kMenuIcons)
        if (auto* a = findChild<QAction*>(QString::fromLatin1(m.action)))
            a->setIcon(ThemedIcon(QString::fromLatin1(m.icon)));
    if (Recent1_) Recent1_->setIcon(ThemedIcon(QStringLiteral("document-open-recent")));
}

void TForm1::BuildMenus() {
    BuildFileMenu(menuBar()->addMenu(QStringLiteral("&File")));
    BuildEditMenu(menuBar()->addMenu(QStringLiteral("&Edit")));
    BuildViewMenu(menuBar()->addMenu(QStringLiteral("&View")));

    BuildPrinterMenu(menuBar()->addMenu(QStringLiteral("&Printer")));

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    Command(Act(options, "Settings1", QStringLiteral("Settings..."), QKeySequence(Qt::Key_F12)),
            [this] { SettingsCommand(0); });
    Command(Act(options, "SetPaths1", QStringLiteral("Set Paths...")),
            [this] { ShowPathEditor(app_.Ui(), this); });
    Command(Act(options, "ProfileManager1", QStringLiteral("Profile Manager...")),
            [this] { ProfileManager(app_.CurrentPlotter, app_.Ui()); });

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    Command(Act(help, "HelpTopics1", QStringLiteral("Help Topics"), QKeySequence(Qt::Key_F1)),
            [this] { front_.ShowHelpTopics(); });
    Command(Act(help, "QuickStart1", QStringLiteral("Quick Start Guide")),
            [this] { front_.OpenQuickStart(); });
    Command(Act(help, "KeyboardShortcuts1", QStringLiteral("Keyboard Shortcuts")),
            [this] { ShowHelpTopic(this, app_.Ui(), "Keyboard Shortcuts"); });
    Command(Act(help, "About1", QStringLiteral("About...")), [this] { ShowAboutBox(this); });
    help->addSeparator();
    Command(Act(help, "bitmapdir1", QStringLiteral("Set Manual Data")), [this] {
        if (auto word = app_.Ui().Input("c", "Enter Bitmap Dir", "")) RunDiagnostics(*word);
    });
    ApplyMenuIcons();
}

void TForm1::BuildFileMenu(QMenu* m) {
    Command(Act(m, "NewJob1", QStringLiteral("New Job"), QKeySequence::New),
            [this] { NewJob(app_); });
    Pending(m, "ScanNewImage1", QStringLiteral("Scan New Image"));
    Pending(m, "SelectTwainSource1", QStringLiteral("Select Twain Source"));
    m->addSeparator();
    Command(Act(m, "OpenRIPProject1", QStringLiteral("Open RIP Project"), QKeySequence::Open),
            [this] { OpenProjectCommand(app_); });
    Command(Act(m, "OpenLayerasNew1", QStringLiteral("Open Layer (as New)")),
            [this] { OpenLayerAsNewCommand(app_); });
    Command(Act(m, "OpenImageasNew1", QStringLiteral("Open Image (as New)")),
            [this] { OpenImageAsNewCommand(app_); });
    Recent1_ = m->addMenu(QStringLiteral("Reopen"));
    Recent1_->setObjectName(QStringLiteral("Recent1"));
    Command(Act(m, "LoadDXFFile1", QStringLiteral("Load DXF File")), [] { LaunchDxfConverter(); });
    m->addSeparator();
    Command(Act(m, "LoadImage2", QStringLiteral("Load Background Image")),
            [this] { LoadBackgroundImage(app_); });
    Command(Act(m, "LoadEMF1", QStringLiteral("Load Vector Layer")),
            [this] { projectTab_->LoadLayer(); });
    m->addSeparator();
    Command(Act(m, "SaveRIPProject1", QStringLiteral("&Save RIP Project"), QKeySequence::Save),
            [this] { SaveJob(app_); });
    Command(Act(m, "SaveAs1", QStringLiteral("Save &As")), [this] { SaveJobAs(app_); });
    Command(Act(m, "SaveasBitmap1", QStringLiteral("Save as Bitmap"),
                QKeySequence(Qt::CTRL | Qt::Key_B)),
            [this] { SaveFlattenedCommand(app_.CurrentJob.get(), app_.Ui(), this); });
    m->addSeparator();
    Command(Act(m, "LaunchCorvanPACK1", QStringLiteral("Launch CorvanPACK")),
            [this] { LaunchPackagingTool(app_); });
    m->addSeparator();
    Command(Act(m, "CloseCurrent1", QStringLiteral("&Close Current")),
            [this] { CloseJob(app_, true); });
    Command(Act(m, "Exit1", QStringLiteral("E&xit")), [this] { close(); });
}

void TForm1::BuildEditMenu(QMenu* m) {
    Command(Act(m, "ClearImage1", QStringLiteral("Clear Background Image")),
            [this] { ClearBackgroundImage(app_); });
    Command(Act(m, "SetBackgroundColor1", QStringLiteral("Set Background Color")), [this] {
        if (auto* picker = findChild<QWidget*>(QStringLiteral("BG_color_picker")))
            QMetaObject::invokeMethod(picker, "click");
    });
    Command(Act(m, "EditImage1", QStringLiteral("Edit Background Image")),
            [this] { EditBackgroundImage(app_, this); });
    m->addSeparator();
    Command(
        Act(m, "SetJobSize1", QStringLiteral("Set Job Size"), QKeySequence(Qt::CTRL | Qt::Key_J)),
        [this] { ChangeJobSize(app_); });
    Command(Act(m, "CenterJob1", QStringLiteral("Center Job"), QKeySequence(Qt::CTRL | Qt::Key_5)),
            [this] { CenterJob(app_); });
    Command(Act(m, "StretchtoFit1", QStringLiteral("Stretch to Fit"),
                QKeySequence(Qt::CTRL | Qt::Key_F)),
            [this] { StretchToFit(app_); });
    Command(Act(m, "Reset1", QStringLiteral("Reset Position"), QKeySequence(Qt::CTRL | Qt::Key_R)),
            [this] { ResetPosition(app_); });
    Command(Act(m, "BillboardTiles1", QStringLiteral("Billboard Tiles..."),
                QKeySequence(Qt::CTRL | Qt::Key_T)),
            [this] { OpenBillboardTiles(app_, CropDialogMode::Multiple, this); });
    m->addSeparator();
    Command(Act(m, "ToggleCropmarks1", QStringLiteral("Toggle Cropmarks"),
                QKeySequence(Qt::CTRL | Qt::Key_K)),
            [this] { printingTab_->ToggleCropMarks(); });
    Command(Act(m, "ToggleBorder1", QStringLiteral("Toggle Border"),
                QKeySequence(Qt::CTRL | Qt::Key_D)),
            [this] { printingTab_->ToggleBorder(); });
    Pending(m, "SetInterpolation1", QStringLiteral("Set Interpolation"));
    Command(Act(m, "AutoTrace1", QStringLiteral("AutoTrace...")),
            [this] { OpenAutoTrace(app_, this); });
}

void TForm1::BuildViewMenu(QMenu* m) {
    BuildViewCommands(m);
    m->addSeparator();
    metricAction_ =
        Act(m, "MetricUnits1", QStringLiteral("Metric Units"), QKeySequence(Qt::CTRL | Qt::Key_M));
    metricAction_->setCheckable(true);
    connect(metricAction_, &QAction::triggered, this, [this](bool on) {
        SetMetric(on);
        // The choice holds for the next start too.
        if (!WritePrefBool("use_metric", on))
            LogLine("Could not store use_metric in " + PreferencesFile());
    });
}

void TForm1::BuildRecentMenus() {
    for (QMenu* menu : {Recent1_, popuprecent_}) {
        if (!menu) continue;
        menu->clear();
        for (std::size_t i = 0; i < app_.DocHist.size(); ++i) {
            const QString caption =
                QStringLiteral("%1. %2").arg(i + 1).arg(QString::fromStdString(app_.DocHist[i]));
            const std::string path = app_.DocHist[i];
            menu->addAction(caption, this, [this, path] { OpenProject(app_, path); });
        }
        menu->setEnabled(!app_.DocHist.empty());
    }
}

void TForm1::BuildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Tools"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setIconSize(QSize(kToolBarIconSize, kToolBarIconSize));
    auto button = [&](const char* name, const QString& caption, const char* icon, auto handler) {
        auto* b = new QToolButton(bar);
        b->setObjectName(QString::fromUtf8(name));
        b->setText(caption);
        b->setToolTip(caption);
        b->setIcon(ThemedIcon(QString::fromLatin1(icon)));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, [handler] { RunGuarded(handler); });
        bar->addWidget(b);
        return b;
    };
    button("dnew", QStringLiteral("New Job"), "document-new", [this] { NewJob(app_); });
    button("dopen", QStringLiteral("Open Job"), "document-open",
           [this] { OpenProjectCommand(app_); });
    QToolButton* recent =
        button("drecentpop", QStringLiteral("Open Recent"), "document-open-recent", [] {});
    popuprecent_ = new QMenu(recent);
    popuprecent_->setObjectName(QStringLiteral("popuprecent"));
    recent->setMenu(popuprecent_);
    recent->setPopupMode(QToolButton::InstantPopup);
    button("dnewemf", QStringLiteral("Layer as New Job"), "document-import",
           [this] { OpenLayerAsNewCommand(app_); });
    button("dnewimage", QStringLiteral("Image as New Job"), "image-x-generic",
           [this] { OpenImageAsNewCommand(app_); });
    button("dsave", QStringLiteral("Save Job"), "document-save", [this] { SaveJob(app_); });
    QToolButton* flatten =
        button("dsaveflatten", QStringLiteral("Save Bitmap"), "document-export",
               [this] { SaveFlattenedCommand(app_.CurrentJob.get(), app_.Ui(), this); });
    flatten->setToolTip(QStringLiteral("Save as Flattened Bitmap"));
    // Usable exactly when the File menu offers "Save as Bitmap" (it is
    // hidden without a job).
    if (auto* menuItem = findChild<QAction*>(QStringLiteral("SaveasBitmap1"))) {
        const auto follow = [flatten, menuItem] {
            flatten->setEnabled(menuItem->isVisible() && menuItem->isEnabled());
        };
        follow();
        connect(menuItem, &QAction::changed, flatten, follow);
    }
    bar->addSeparator();
    button("SpeedButton10", QStringLiteral("Job Size"), "transform-scale",
           [this] { ChangeJobSize(app_); });
    button("dpreview", QStringLiteral("Preview"), "document-print-preview", [this] {
        OpenOutputPreview(app_, CurrentCropMarkCorners(app_), this);
    })->setToolTip(QStringLiteral("High Resolution Preview"));
    button("dbillboard1", QStringLiteral("Billboard Tiles"), "view-grid",
           [this] { OpenBillboardTiles(app_, CropDialogMode::AsJob, this); });
    bar->addSeparator();
    button("SpeedButton122", QStringLiteral("Select GMA"), "color-management", [this] {
        gamutTab_->Advanced();
    })->setToolTip(QStringLiteral("The driver's colour settings (gamut mapping)"));
    bar->addSeparator();
    button("SpeedButton117", QStringLiteral("Help"), "help-contents",
           [this] { front_.ShowHelpTopics(); });
}

}  // namespace corvan
