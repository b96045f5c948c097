// The main window's printer side: the driver choice on the output tab, the
// Printer menu, the driver's and the system printer's dialogs, and the
// commands that refresh the device record, the window and the layout.
#include "cutting/cutfile.h"
#include "placement/placementops.h"
#include "platform/debuglog.h"
#include "platform/userinterface.h"
#include "plugins/currentplugin.h"
#include "plugins/drivercommands.h"
#include "plugins/driverlist.h"
#include "plugins/plottersize.h"
#include "plugins/printersettings.h"
#include "plugins/systemprinter.h"
#include "plugins/ui/outputtab.h"
#include "plugins/ui/systemprinterdialogs.h"
#include "shell/cutcommands.h"
#include "shell/ui/application.h"
#include "shell/ui/gamuttab.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/projecttab.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <QDesktopServices>
#include <QUrl>

#include <algorithm>

namespace corvan {

void TForm1::BuildPrinterMenu(QMenu* m) {
    Command(Act(m, "UpdateDrivers1", QStringLiteral("&Update Drivers")),
            [this] { UpdateDriverList(); });
    Command(Act(m, "PrinterOptions1", QStringLiteral("Printer &Options..."),
                QKeySequence(Qt::CTRL | Qt::Key_Q)),
            [this] { PrinterSetupCommand(DRV_DIALOG_PRINTER_OPTIONS); });
    Command(Act(m, "UninstallDriver1", QStringLiteral("U&ninstall Driver")),
            [this] { UninstallDriverCommand(); });
    Command(Act(m, "DownloadDriver1", QStringLiteral("&Download Driver...")),
            [this] { DownloadDriverCommand(); });
    Command(Act(m, "CustomPaperSize1", QStringLiteral("&Custom Paper Size...")), [this] {
        if (CustomPaperSize(app_)) projectTab_->FillMediaPresets();
    });
    m->addSeparator();
    Command(Act(m, "SavePrinterSettings1", QStringLiteral("&Save Printer Settings")),
            [this] { SavePrinterSettingsCommand(app_.Ui()); });
    Command(Act(m, "LoadPrinterSettings1", QStringLiteral("&Load Printer Settings")),
            [this] { LoadPrinterSettings(); });
    m->addSeparator();
    Command(
        Act(m, "SelectGMA1", QStringLiteral("Select GMA..."), QKeySequence(Qt::CTRL | Qt::Key_G)),
        [this] { gamutTab_->Advanced(); });
    m->addSeparator();
    Command(Act(m, "RIPNow1", QStringLiteral("&RIP Now")), [this] { RipNowCommand(); });
    Command(Act(m, "RIPSpooledFile1", QStringLiteral("RIP S&pooled File"),
                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P)),
            [this] { RipFromFile(); });
    Command(Act(m, "CreateCutFile1", QStringLiteral("Create Cut File")),
            [this] { CreateCutFileCommand(app_); });
    Command(Act(m, "VinylSpooler1", QStringLiteral("Vinyl Spooler")),
            [this] { StartVinylSpooler(app_); });
}

void TForm1::ConnectPrinterCommands() {
    auto guarded = [this](void (TForm1::*command)()) {
        return [this, command] { RunGuarded([this, command] { (this->*command)(); }); };
    };
    connect(outputTab_, &OutputTab::driverChosen, this,
            [this](int i) { RunGuarded([this, i] { ChooseDriver(i); }); });
    connect(outputTab_, &OutputTab::queueChosen, this,
            [this](int i) { RunGuarded([this, i] { QueueChosen(i); }); });
    connect(outputTab_, &OutputTab::updateDriversRequested, this,
            guarded(&TForm1::UpdateDriverList));
    connect(outputTab_, &OutputTab::printerOptionsRequested, this,
            [this] { RunGuarded([this] { PrinterSetupCommand(DRV_DIALOG_PRINTER_OPTIONS); }); });
    connect(outputTab_, &OutputTab::propertiesRequested, this,
            guarded(&TForm1::QueuePropertiesCommand));
    connect(outputTab_, &OutputTab::ripNowRequested, this, guarded(&TForm1::RipNowCommand));
    connect(outputTab_, &OutputTab::ripFromFileRequested, this, guarded(&TForm1::RipFromFile));
    connect(outputTab_, &OutputTab::downloadDriverRequested, this,
            guarded(&TForm1::DownloadDriverCommand));
    if (auto* sheets = findChild<QPushButton*>(QStringLiteral("dsheetsizes")))
        connect(sheets, &QPushButton::clicked, this,
                [this] { RunGuarded([this] { PrinterSetupCommand(DRV_DIALOG_SHEET_SIZES); }); });
}

void TForm1::DownloadDriverCommand() {
    if (!AskDownloadDriver(app_.Ui())) return;
    const QString page = QString::fromStdString(DriverDownloadPage());
    if (!QDesktopServices::openUrl(QUrl(page)))
        app_.Ui().ShowError("Unable to open " + page.toStdString());
}

void TForm1::FillDriverCombo() {
    outputTab_->FillDrivers(app_.Drivers, FillDriverComboIndex(app_.Drivers));
}

void TForm1::DeviceChanged() {
    // Another device renders another picture.
    gamutTab_->ClearPreview();
    ShowDevice();
    EnableByState();
    UpdateLayout(app_, true);
}

void TForm1::ChooseDriver(int index) {
    if (index < 0) return;
    SelectDriver(app_.Drivers, index, app_.CurrentPlotter);
    DeviceChanged();
}

void TForm1::UpdateDriverList() {
    UpdateDrivers(app_.Drivers, app_.CurrentPlotter);
    FillDriverCombo();
    DeviceChanged();
}

void TForm1::RestoreDriverList() {
    DriverList& list = app_.Drivers;
    list.Index = std::max(0, list.Index);
    // A first start has no stored list: scan, so the drivers and the system
    // printer are there without pressing "Update Drivers".
    if (list.Lines.empty()) {
        UpdateDrivers(list, app_.CurrentPlotter);
        FillDriverCombo();
        return;
    }
    FillDriverCombo();
    SelectDriver(list, FillDriverComboIndex(list), app_.CurrentPlotter);
}

void TForm1::PrinterSetupCommand(int dialog) {
    bool accepted = false;
    if (CurrentPlugin().Valid) {
        accepted = DriverPageDialog(app_.CurrentPlotter, dialog, app_.Ui());
    } else if (SystemPrinterSetup(this, SystemPrinterName(app_.CurrentPlotter))) {
        if (dialog == DRV_DIALOG_PRINTER_OPTIONS) QApplication::processEvents();
        Set_Plotter_Size(app_.CurrentPlotter);
        accepted = true;
    }
    if (accepted) DeviceChanged();
}

void TForm1::QueueChosen(int index) {
    ChooseQueue(app_.CurrentPlotter, index);
    DeviceChanged();
}

void TForm1::QueuePropertiesCommand() {
    auto* queues = findChild<QComboBox*>(QStringLiteral("combospooler"));
    if (queues->currentIndex() < 0) return;
    const std::string name = QueueNameOfEntry(queues->currentText().toStdString());
    if (!ShowPrinterProperties(this, name, app_.Ui()))
        app_.Ui().ShowError("\"Printer Properties\" for " + name + " are not available");
}

void TForm1::UninstallDriverCommand() {
    const std::string makeAndModel =
        findChild<QLabel*>(QStringLiteral("label_pinfo"))->text().toStdString();
    if (!UninstallDriver(app_.Drivers, app_.CurrentPlotter, makeAndModel)) return;
    FillDriverCombo();
    DeviceChanged();
}

void TForm1::LoadPrinterSettings() {
    if (!LoadPrinterSettingsCommand(app_.Drivers, app_.CurrentPlotter)) return;
    FillDriverCombo();
    ShowJob();
    EnableByState();
    if (app_.CurrentJob) UpdateLayout(app_, true);
}

void TForm1::RipFromFile() {
    auto* edit = findChild<QLineEdit*>(QStringLiteral("FilenameEdit1"));
    if (const auto chosen = RipFromFileCommand(edit->text().toStdString(), app_.Ui()))
        edit->setText(QString::fromStdString(*chosen));
}

}  // namespace corvan
