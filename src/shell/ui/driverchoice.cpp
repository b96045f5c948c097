// The driver choice of the main window: the "Select Printer:" combo mirrors
// the engine's driver list; choosing a line or updating the list refreshes
// the device record, the window and the layout.
#include "placement/placementops.h"
#include "platform/commatext.h"
#include "plugins/driverlist.h"
#include "shell/debuglog.h"
#include "shell/ui/mainwindow.h"

#include <QComboBox>
#include <QSignalBlocker>

#include <algorithm>

namespace corvan {

namespace {

// A driver line as the operator reads it: device name and description.
QString DriverCaption(const std::string& line) {
    const std::vector<std::string> f = SplitCommaText(line);
    if (f.size() < 3) return QString::fromStdString(line);
    return QString::fromStdString(f[1] + "  -  " + f[2]);
}

}  // namespace

void TForm1::FillDriverCombo() {
    auto* combo = findChild<QComboBox*>(QStringLiteral("comboPrinters"));
    const QSignalBlocker block(combo);
    combo->clear();
    const DriverList& list = TheDriverList();
    for (const std::string& line : list.Lines) combo->addItem(DriverCaption(line));
    combo->setCurrentIndex(FillDriverComboIndex(list));
}

void TForm1::DeviceChanged() {
    ShowDevice();
    EnableByState();
    UpdateLayout(app_, true);
}

void TForm1::ChooseDriver(int index) {
    if (index < 0) return;
    SelectDriver(TheDriverList(), index, app_.CurrentPlotter);
    DeviceChanged();
}

void TForm1::UpdateDriverList() {
    UpdateDrivers(TheDriverList(), app_.CurrentPlotter);
    FillDriverCombo();
    DeviceChanged();
}

void TForm1::RestoreDriverList() {
    DriverList& list = TheDriverList();
    list.Lines = app_.DriverList;
    list.Index = std::max(0, app_.DriverIndex);
    FillDriverCombo();
    if (!list.Lines.empty()) SelectDriver(list, FillDriverComboIndex(list), app_.CurrentPlotter);
    auto* combo = findChild<QComboBox*>(QStringLiteral("comboPrinters"));
    connect(combo, qOverload<int>(&QComboBox::activated), this, &TForm1::ChooseDriver);
}

void TForm1::KeepDriverList() {
    app_.DriverList = TheDriverList().Lines;
    app_.DriverIndex = TheDriverList().Index;
}

}  // namespace corvan
