#include "shell/ui/mainwindow.h"

#include "display/ui/jobview.h"
#include "display/ui/viewarea.h"
#include "job/units.h"
#include "placement/cropmarks.h"
#include "placement/placementops.h"
#include "placement/ui/jobsizedialog.h"
#include "placement/ui/positiontab.h"
#include "placement/ui/printingtab.h"
#include "platform/debuglog.h"
#include "platform/folders.h"
#include "plugins/currentplugin.h"
#include "plugins/customforms.h"
#include "plugins/plottersize.h"
#include "plugins/systemprinter.h"
#include "plugins/ui/outputtab.h"
#include "shell/jobcommands.h"
#include "shell/loading.h"
#include "shell/startup.h"
#include "shell/statebits.h"
#include "shell/ui/aboutbox.h"
#include "shell/ui/application.h"
#include "shell/ui/contourtab.h"
#include "shell/ui/filedroptarget.h"
#include "shell/ui/gamuttab.h"
#include "shell/ui/othertabs.h"
#include "shell/ui/pathseditor.h"
#include "shell/ui/projecttab.h"
#include "shell/ui/qtuserinterface.h"
#include "shell/ui/settingsdialog.h"
#include "shell/ui/spottab.h"
#include "shell/ui/startwizard.h"
#include "shell/ui/statuspanel.h"
#include "shell/ui/tagapply.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>

#include <stdexcept>

namespace corvan {

namespace {

// A creation step that must not fail quietly: its line goes to the given log
// and the failure ends the creation.
template <typename F>
void Guarded(const char* line, bool critical, F&& step) {
    try {
        step();
    } catch (...) {
        if (critical)
            CriticalLine(line);
        else
            LogLine(line);
        throw;
    }
}

}  // namespace

TForm1::TForm1(QtUserInterface& ui, QWidget* parent) : TForm1(ui, ui, parent) {}

TForm1::TForm1(UserInterface& questions, QtUserInterface& ui, QWidget* parent)
    : QMainWindow(parent), ui_(ui), app_(front_, questions) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("CorvanRIP SE"));
    setMinimumSize(640, 611);
    CriticalReset("FormCreate");
    CriticalReset("FormCreate01");
    ui_.SetParent(this);
    // Exceptions that reach the event loop are told to the window's operator.
    if (auto* app = qobject_cast<CorvanApplication*>(QCoreApplication::instance()))
        app->SetReporter(&questions);

    BuildMenus();
    BuildToolBar();
    BuildCentre();
    BuildStatusBar();
    ArrangeTabs();
    PageControl1_->setCurrentWidget(findChild<QWidget*>(QStringLiteral("tab_outputoptions")));

    ConnectPrinterCommands();
    app_.CurrentJob.reset();
    CriticalLine("a");
    if (SystemPrinterPort* port = CurrentSystemPrinterPort())
        outputTab_->FillQueues(port->PrinterNames());
    app_.PreviewImage.reset();
    app_.Views = ViewFlags{};
    app_.MaxPreview = 900;
    ConnectCore();
    AcceptFileDrops(this, app_);

    Guarded("Errror with CurrentPlotter", true, [&] {
        app_.CurrentPlotter.IsPlugin = false;
        CriticalLine("b");
        Set_Plotter_Size(app_.CurrentPlotter);
        CriticalLine("c");
    });
    CriticalLine("d");
    Guarded("Error : Load Cropmark LIst", true, [&] {
        app_.CropMarkSet.LoadCropMarks();
        printingTab_->SetCropMarkLibrary(&app_.CropMarkSet);
    });
    CriticalLine("e");

    LogLine(" -Restore Placement");
    Guarded("Error ResotoreFormPlacemnt", false, [&] { RestoreState(); });
    LogLine(" -Set PrinterList");
    Guarded("Error Set_PrinterLIst", false, [&] { RestoreDriverList(); });
    BuildRecentMenus();
    Guarded("Error: Update Settings", false, [&] { ApplyPreferencesToWindow(); });
    LogLine("Create RipDLG");
    LogLine("Form1 Created OK.");
    findChild<QAction*>(QStringLiteral("LoadDXFFile1"))->setVisible(DxfConverterInstalled());
    ShowJob();
    EnableByState();
}

TForm1::~TForm1() {
    LogLine("form1 -Destroy");
    StoreState();
    // The driver library goes with the window that selected it; left to the
    // process's static destruction it would be unloaded after the parts it
    // still calls.
    ReleaseCurrentPlugin();
    LogLine("-done");
    if (auto* app = qobject_cast<CorvanApplication*>(QCoreApplication::instance()))
        app->SetReporter(nullptr);
    ui_.SetParent(nullptr);
    ui_.SetStatusSink(nullptr);
    ui_.SetProgressSink(nullptr);
}

void TForm1::ConnectCore() {
    ui_.SetStatusSink([this](const std::string& text) {
        jobPanel_->setText(QString::fromStdString(text));
        jobPanel_->repaint();
    });
    ui_.SetProgressSink([this](int stage, int percent, const std::string& text) {
        ShowLoadProgress(stage, percent, text);
    });
}

void TForm1::ShowDevice() {
    const bool was = app_.Updating;
    app_.Updating = true;
    outputTab_->ShowDevice(app_.CurrentPlotter);
    devicePanel_->setText(QString::fromStdString(PrinterStatusText(app_.CurrentPlotter)));
    app_.Updating = was;
}

void TForm1::ShowJob() {
    auto* showUpdate = findChild<QCheckBox*>(QStringLiteral("CheckBox1"));
    if (showUpdate && showUpdate->isChecked()) app_.Ui().ShowPlain("set display");
    ShowDevice();
    if (!app_.CurrentJob) {
        ClearJobDisplay();
        return;
    }
    const bool was = app_.Updating;
    app_.Updating = true;
    jobPanel_->setText(QString::fromStdString(app_.CurrentJob->FileName));
    ShowTitle();
    projectTab_->ShowJob();
    positionTab_->ShowLayout();
    printingTab_->ShowJob();
    spotTab_->ShowJob();
    gamutTab_->ShowJob();
    contourTab_->ShowCutSettings();
    projectTab_->ShowBackgroundThumb();
    app_.Updating = was;
    ShowViewState();
}

void TForm1::ClearJobDisplay() {
    const bool was = app_.Updating;
    app_.Updating = true;
    jobPanel_->setText(QStringLiteral("No Job Loaded."));
    ShowTitle();
    projectTab_->Clear();
    positionTab_->Clear();
    printingTab_->Clear();
    spotTab_->Clear();
    gamutTab_->Clear();
    contourTab_->ShowCutSettings();
    app_.Updating = was;
    // A build for the job that went away is of no use.
    view_->DropPreview();
    ShowViewState();
}

void TForm1::ShowLayout() {
    if (!app_.CurrentJob) return;
    const bool was = app_.Updating;
    app_.Updating = true;
    positionTab_->ShowLayout();
    projectTab_->ShowLayout();
    app_.Updating = was;
}

void TForm1::EnableByState() {
    ApplyTagTable(this, StateBits(app_), unavailable_);
    SyncFormCaptions(this);
    for (const QString& name : unavailable_) {
        for (QWidget* w : findChildren<QWidget*>(name)) w->setEnabled(false);
        for (QAction* a : findChildren<QAction*>(name)) a->setEnabled(false);
    }
    if (auto* save = findChild<QAction*>(QStringLiteral("SaveRIPProject1")))
        save->setEnabled(app_.CurrentJob != nullptr);
    if (auto* dsave = findChild<QWidget*>(QStringLiteral("dsave")))
        dsave->setEnabled(app_.SaveEnabled);
    // The tab's buttons outside the table follow its other buttons.
    const auto follow = [this](const char* name, const char* leader) {
        auto* w = findChild<QWidget*>(QString::fromUtf8(name));
        auto* l = findChild<QWidget*>(QString::fromUtf8(leader));
        if (w && l) w->setEnabled(l->isEnabled());
    };
    follow("dcolorcharts", "daddspot");
    outputTab_->ShowOptionPictures();
}

void TForm1::SyncSaveButtonLater() {
    QTimer::singleShot(0, this, [this] {
        if (auto* dsave = findChild<QWidget*>(QStringLiteral("dsave")))
            dsave->setEnabled(app_.SaveEnabled);
        ShowTitle();
    });
}

void TForm1::FirstShow(const std::string& commandLine) {
    statusBar()->repaint();
    if (!commandLine.empty() && FileExists(commandLine)) {
        raise();
        activateWindow();
    }
    corvan::FirstShow(app_, commandLine);
}

bool TForm1::SettingsCommand(int page) {
    if (!ShowSettings(app_, page, this)) return false;
    ApplyPreferencesToWindow();
    return true;
}

void TForm1::HandOverArrived(const std::string& argument) {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    if (!argument.empty()) RunGuarded([&] { LoadAnything(app_, argument); });
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    statusBar()->update();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!CloseQuery(app_)) {
        event->ignore();
        return;
    }
    DiscardJob(app_);
    LogLine("Form1 Close");
    LogLine("done");
    StoreState();
    event->accept();
}

WindowState TForm1::CurrentWindowState() const {
    WindowState s;
    const QRect g = isMaximized() ? normalGeometry() : geometry();
    s.placement = {g.left(), g.top(), g.width(), g.height(), isMaximized()};
    s.proportional = projectTab_->Proportional();
    s.expert = Expert();
    if (auto* split = findChild<QSplitter*>(QStringLiteral("Splitter1")))
        s.viewWidth = split->sizes().value(0);
    return s;
}

void TForm1::RestoreState() {
    const WindowState s = RestoreWindowState(app_, WindowStateFile());
    resize(FitScreen(QSize(s.placement.width, s.placement.height)));
    if (s.placement.left >= 0 && s.placement.top >= 0) move(s.placement.left, s.placement.top);
    if (s.placement.maximised) setWindowState(windowState() | Qt::WindowMaximized);
    projectTab_->SetProportional(s.proportional);
    SetExpert(s.expert);
    if (auto* split = findChild<QSplitter*>(QStringLiteral("Splitter1"));
        split && s.viewWidth > 0) {
        const int total = std::max(split->width(), width());
        split->setSizes({s.viewWidth, std::max(1, total - s.viewWidth)});
    }
}

void TForm1::StoreState() {
    if (stateStored_) return;
    stateStored_ = true;
    if (!StoreWindowState(app_, CurrentWindowState(), WindowStateFile()))
        LogLine("Could not store the window state in " + WindowStateFile());
}

void TForm1::ApplyPreferencesToWindow() {
    ApplyPreferences(app_);
    ShowViewState();
    SetMetric(app_.UseMetric);
}

void TForm1::SetMetric(bool metric) {
    app_.UseMetric = metric;
    if (metricAction_) metricAction_->setChecked(metric);
    viewArea_->SetUnit(metric ? RulerUnit::Millimetres : RulerUnit::Inches);
    projectTab_->ApplyUnits();
    positionTab_->ApplyUnits();
    printingTab_->ApplyUnits();
    ShowLayout();
    ShowDevice();
}

void TForm1::ShowLoadProgress(int stage, int percent, const std::string& text) {
    if (stage == 0) {
        delete progress_;
        progress_ = new QProgressBar(statusBar());
        progress_->setObjectName(QStringLiteral("LoadProgress"));
        progress_->setRange(0, 100);
        progress_->setTextVisible(false);
        progress_->setGeometry(120 + 50 + 124, 4, 200, std::max(4, statusBar()->height() - 6));
        progress_->show();
        jobPanel_->setText(QString::fromStdString(text));
    } else if (stage == 1 && progress_) {
        progress_->setValue(percent);
        progress_->repaint();
    } else if (stage == 2) {
        delete progress_;
        progress_ = nullptr;
        jobPanel_->setText(QString());
    }
}

void TForm1::RunDiagnostics(const std::string& word) {
    switch (DiagnosticsCode(word)) {
        case DiagnosticAction::DivideByZero: {
            // A real integer division by zero would end the program here; the
            // checked one reports through the exception handler instead.
            volatile int zero = 0;
            if (zero == 0) throw std::domain_error("Division by zero");
            break;
        }
        case DiagnosticAction::RipTrace:
            app_.RipTrace = 10;
            break;
        case DiagnosticAction::ShowUpdateBox:
            findChild<QCheckBox*>(QStringLiteral("CheckBox1"))->show();
            break;
        case DiagnosticAction::None:
            break;
    }
}

}  // namespace corvan
