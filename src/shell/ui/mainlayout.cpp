// The main window's centre (view area and control panel), the tab
// navigation with expert and standard mode, and the status bar.
#include "cutting/ui/autocut.h"
#include "display/ui/viewarea.h"
#include "placement/ui/positiontab.h"
#include "placement/ui/printingtab.h"
#include "platform/ui/icons.h"
#include "plugins/ui/outputtab.h"
#include "shell/cutcommands.h"
#include "shell/ui/application.h"
#include "shell/ui/contourtab.h"
#include "shell/ui/gamuttab.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/othertabs.h"
#include "shell/ui/projecttab.h"
#include "shell/ui/spottab.h"
#include "shell/ui/statuspanel.h"

#include <QAction>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStatusBar>
#include <QStringList>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace corvan {

namespace {

struct TabInfo {
    const char* page;
    const char* caption;
    const char* button;  // navigation button, or null
    const char* buttonText;
    bool expertOnly;
};

// Every tab in window order; "Driver Selection" is taken out at start.
constexpr TabInfo kTabs[] = {
    {"tab_documentinfo", "Project Settings", "dprojectsettings", "Project", false},
    {"tab_sizeposition", "Position and Crop Tools", "dposition", "Position", false},
    {"tab_printingoptions", "Printing Options", "doptions", "Options", true},
    {"Tab_contourcut", "Contour Cut", "dcontour", "Contour", true},
    {"tab_spotcolors", "Spot Colors", "dspot", "Spot", true},
    {"tab_gamutmapping", "Gamut Mapping", "dcolors", "Colors", true},
    {"tab_outputoptions", "Output Options", "doutput", "Output", false},
};

QToolButton* ToolButton(QWidget* parent, const char* name, const QString& text, bool checkable) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setText(text);
    b->setCheckable(checkable);
    b->setAutoRaise(false);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}

}  // namespace

void TForm1::BuildCentre() {
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->setObjectName(QStringLiteral("Splitter1"));
    viewArea_ = new ViewArea(app_, split);
    view_ = viewArea_->View();
    auto* panel = new QWidget(split);
    panel->setObjectName(QStringLiteral("panelcontrols"));
    auto* v = new QVBoxLayout(panel);
    v->setContentsMargins(4, 4, 4, 4);
    v->addWidget(BuildNavigation());
    PageControl1_ = new QTabWidget(panel);
    PageControl1_->setObjectName(QStringLiteral("PageControl1"));
    PageControl1_->setUsesScrollButtons(true);
    // Narrow tab padding keeps all seven captions in view at 1280 pixels.
    PageControl1_->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 4px 7px; }"));
    v->addWidget(PageControl1_, 1);
    PageControl2_ = new QTabWidget(this);
    PageControl2_->setObjectName(QStringLiteral("PageControl2"));
    PageControl2_->hide();

    projectTab_ = new ProjectTab(app_, panel);
    positionTab_ = new PositionTab(app_, panel);
    pages_ = {projectTab_,
              positionTab_,
              printingTab_ = new PrintingTab(app_, panel),
              contourTab_ = new ContourTab(app_, panel),
              spotTab_ = new SpotTab(app_, panel),
              gamutTab_ = new GamutTab(app_, panel),
              outputTab_ = new OutputTab(app_, panel)};
    ConnectViewArea();
    connect(contourTab_, &ContourTab::autoTraceRequested, this,
            [this] { RunGuarded([this] { OpenAutoTrace(app_, this); }); });
    connect(contourTab_, &ContourTab::cutFileRequested, this,
            [this] { RunGuarded([this] { CreateCutFileCommand(app_); }); });
    connect(gamutTab_, &GamutTab::layoutViewWanted, this, [this] {
        if (app_.Views.ViewMode == ViewFlags::Layout) return;
        if (app_.CurrentJob) app_.CurrentJob->PreviewDirty = true;
        viewArea_->Button("dviewpage")->click();
        // The driver draws from the new preview, so it is built first.
        view_->SettlePreview();
    });
    unavailable_.unite(PendingControls());
    for (const QStringList& names :
         {ProjectTab::PendingNames(), PositionTab::PendingNames(), SpotTab::PendingNames()})
        for (const QString& name : names) unavailable_.insert(name);
    // The driver choice lives on the output tab; its own tab is not shown.
    BuildDriverSelectionTab(PageControl2_)->hide();
    for (std::size_t i = 0; i < pages_.size(); ++i)
        if (kTabs[i].expertOnly) expertPages_.push_back(pages_[i]);

    split->addWidget(viewArea_);
    split->addWidget(panel);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 0);
    split->setCollapsible(1, false);
    setCentralWidget(split);
    // The panel gets the room its pages ask for; the view the rest, and
    // whatever a wider window adds.
    const int panelWidth = panel->sizeHint().width();
    split->setSizes({std::max(400, 1280 - panelWidth), panelWidth});
    connect(PageControl1_, &QTabWidget::currentChanged, this, &TForm1::TabChanged);
}

QWidget* TForm1::BuildNavigation() {
    auto* nav = new QWidget(this);
    nav->setObjectName(QStringLiteral("panelnav"));
    auto* h = new QHBoxLayout(nav);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(2);
    navGroup_ = new QButtonGroup(this);
    navGroup_->setExclusive(true);
    for (std::size_t i = 0; i < std::size(kTabs); ++i) {
        QToolButton* b =
            ToolButton(nav, kTabs[i].button, QString::fromUtf8(kTabs[i].buttonText), true);
        b->setToolTip(QString::fromUtf8(kTabs[i].caption));
        navGroup_->addButton(b, static_cast<int>(i));
        h->addWidget(b);
    }
    connect(navGroup_, &QButtonGroup::idClicked, this, [this](int id) {
        QWidget* page = pages_[static_cast<std::size_t>(id)];
        if (PageControl1_->indexOf(page) >= 0) PageControl1_->setCurrentWidget(page);
    });
    h->addStretch(1);
    auto* back = ToolButton(nav, "lbleft", QStringLiteral("< Back"), false);
    auto* next = ToolButton(nav, "lbright", QStringLiteral("Next >"), false);
    back->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp));
    next->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown));
    connect(back, &QToolButton::clicked, this, [this] { Step(-1); });
    connect(next, &QToolButton::clicked, this, [this] { Step(1); });
    h->addWidget(back);
    h->addWidget(next);
    dexpert_ = ToolButton(nav, "dexpert", QStringLiteral("Expert"), true);
    dexpert_->setChecked(true);
    dexpert_->setMinimumWidth(70);
    connect(dexpert_, &QToolButton::toggled, this, [this](bool on) { SetExpert(on); });
    h->addSpacing(8);
    h->addWidget(dexpert_);
    return nav;
}

void TForm1::ArrangeTabs() {
    QWidget* current = PageControl1_->currentWidget();
    const QSignalBlocker block(PageControl1_);
    while (PageControl1_->count() > 0) PageControl1_->removeTab(0);
    while (PageControl2_->count() > 0) PageControl2_->removeTab(0);
    const bool expert = Expert();
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        const QString caption = QString::fromUtf8(kTabs[i].caption);
        if (kTabs[i].expertOnly && !expert)
            PageControl2_->addTab(pages_[i], caption);
        else
            PageControl1_->addTab(pages_[i], caption);
        if (QAbstractButton* b = navGroup_->button(static_cast<int>(i)))
            b->setEnabled(!kTabs[i].expertOnly || expert);
    }
    if (current && PageControl1_->indexOf(current) >= 0) PageControl1_->setCurrentWidget(current);
    // The navigation row above names the same pages and fits the panel,
    // where the seven long captions would scroll.
    PageControl1_->tabBar()->hide();
    TabChanged(PageControl1_->currentIndex());
}

bool TForm1::Expert() const {
    return dexpert_ && dexpert_->isChecked();
}

void TForm1::SetExpert(bool expert) {
    {
        const QSignalBlocker block(dexpert_);
        dexpert_->setChecked(expert);
    }
    dexpert_->setText(expert ? QStringLiteral("Expert") : QStringLiteral("Standard"));
    ArrangeTabs();
}

void TForm1::TabChanged(int index) {
    QWidget* page = PageControl1_->widget(index);
    for (std::size_t i = 0; i < pages_.size(); ++i)
        if (pages_[i] == page) {
            navGroup_->button(static_cast<int>(i))->setChecked(true);
            return;
        }
    // Not one of the navigated tabs: no button stays pressed.
    navGroup_->setExclusive(false);
    for (QAbstractButton* b : navGroup_->buttons()) b->setChecked(false);
    navGroup_->setExclusive(true);
}

void TForm1::Step(int delta) {
    const int i = PageControl1_->currentIndex() + delta;
    if (i >= 0 && i < PageControl1_->count()) PageControl1_->setCurrentIndex(i);
}

void TForm1::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    hintPanel_ = new QLabel(bar);
    hintPanel_->setMinimumWidth(120);
    smallPanel_ = new QLabel(bar);
    smallPanel_->setMinimumWidth(50);
    devicePanel_ = new StatusPanel(ThemedIcon(QStringLiteral("printer")), 150, bar);
    devicePanel_->setObjectName(QStringLiteral("DevicePanel"));
    jobPanel_ = new StatusPanel(ThemedIcon(QStringLiteral("text-x-generic")), 50, bar);
    jobPanel_->setObjectName(QStringLiteral("JobPanel"));
    bar->addWidget(hintPanel_);
    bar->addWidget(smallPanel_);
    bar->addWidget(devicePanel_);
    bar->addWidget(jobPanel_, 1);
}

}  // namespace corvan
