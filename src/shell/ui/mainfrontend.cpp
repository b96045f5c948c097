#include "shell/ui/mainfrontend.h"

#include "shell/ui/helpmanual.h"
#include "shell/ui/loadpic.h"

#include "display/ui/jobview.h"
#include "placement/ui/jobsizedialog.h"
#include "platform/debuglog.h"
#include "platform/folders.h"
#include "plugins/customforms.h"
#include "plugins/systemprinter.h"
#include "shell/startup.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/pathseditor.h"
#include "shell/ui/projecttab.h"
#include "shell/ui/startwizard.h"

#include <QDesktopServices>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>

namespace corvan {

void MainFrontEnd::JobChanged() {
    form_.ShowJob();
}

void MainFrontEnd::LayoutChanged(bool repaint) {
    form_.ShowLayout();
    if (repaint) form_.View()->update();
    form_.SyncSaveButtonLater();
}

void MainFrontEnd::BackgroundChanged() {
    form_.View()->BackgroundChanged();
    form_.projectTab_->ShowBackgroundThumb();
}

void MainFrontEnd::StateChanged() {
    form_.EnableByState();
}

void MainFrontEnd::Repaint() {
    form_.View()->update();
    form_.SyncSaveButtonLater();
}

void MainFrontEnd::SettlePreview() {
    form_.View()->SettlePreview();
}

std::optional<JobSize> MainFrontEnd::AskJobSize(const JobSizeRequest& r) {
    if (!unattended_) {
        JobSizeRequest request = r;
        request.metric = form_.Core().UseMetric;
        return JobSizeDialog(&form_, request);
    }
    // A picture is taken at 100 pixels per inch, anything else as proposed.
    return r.pixelSource ? JobSize{r.width * 25.4f / 100, r.height * 25.4f / 100}
                         : JobSize{r.width, r.height};
}

void MainFrontEnd::RecentChanged() {
    form_.BuildRecentMenus();
}

void MainFrontEnd::ActivateProjectTab() {
    form_.PageControl()->setCurrentWidget(form_.projectTab_);
}

void MainFrontEnd::PostStartMessage() {
    if (unattended_) {
        LogLine("Unattended run: start checks skipped");
        return;
    }
    QTimer::singleShot(0, &form_, [this] { DeferredStart(form_.Core()); });
}

int MainFrontEnd::SystemPrinterCount() {
    SystemPrinterPort* port = CurrentSystemPrinterPort();
    return port ? static_cast<int>(port->PrinterNames().size()) : 0;
}

void MainFrontEnd::RebuildDriverList() {
    form_.UpdateDriverList();
}

void MainFrontEnd::CreateLargePaperForms() {
    CreateLargePageForms();
}

bool MainFrontEnd::ShowPathEditor() {
    return corvan::ShowPathEditor(form_.Core().Ui(), &form_);
}

int MainFrontEnd::ShowStartWizard() {
    return unattended_ ? 0 : corvan::ShowStartWizard(&form_);
}

void MainFrontEnd::OpenQuickStart() {
    const std::string guide = QuickStartGuide();
    if (guide.empty()) {
        // The manual's first chapter is the quick start.
        OpenManualChapter(form_.Core().Ui(), "Getting started");
    } else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(guide)))) {
        form_.Core().Ui().ShowError("Unable to open " + guide);
    }
}

void MainFrontEnd::ShowHelpTopics() {
    OpenManualPage(form_.Core().Ui(), 1);
}

std::optional<std::string> MainFrontEnd::ChooseLibraryFile(bool layers,
                                                           const FileDialogRequest& plain,
                                                           UserInterface& ui) {
    return ChooseFromLibrary(ui, layers ? LibraryMode::Layers : LibraryMode::Images,
                             plain.initialDir, &form_);
}

bool MainFrontEnd::ShowSettings(int page) {
    return form_.SettingsCommand(page);
}

std::uint64_t MainFrontEnd::HostWindowId() {
    return static_cast<std::uint64_t>(form_.winId());
}

}  // namespace corvan
