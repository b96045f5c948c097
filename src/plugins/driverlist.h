#pragma once
// The driver list: one line per driver found in the Data folder plus the
// system-printer line, and what scanning, selecting, updating and
// uninstalling do to it and to the device record. The desktop's combo box
// mirrors DriverList; this engine code owns the rules.
#include "job/emffile.h"
#include "platform/userinterface.h"

#include <cstdint>
#include <string>
#include <vector>

namespace corvan {

// The last line of every rebuilt list: a path that names no file, so
// choosing it leaves no valid driver and output goes to the system printer.
inline constexpr const char* kWindowsPrinterLine =
    "\"c:\\temp\\nothere.drv\",\"Windows Printer\",\"Windows Printer Driver\"";

// The window driver dialogs belong to. Drivers receive its id when they are
// loaded; 0 tells them there is no window, so they show no dialog.
class DriverHostWindow {
public:
    virtual ~DriverHostWindow() = default;
    virtual std::uint64_t HostWindowId() = 0;
};

// For front ends without a window (the command-line tool, engine tests).
class NoDriverWindow final : public DriverHostWindow {
public:
    std::uint64_t HostWindowId() override;
};

struct DriverList {
    DriverList(DriverHostWindow& host, UserInterface& ui) : Host(&host), Ui(&ui) {}
    std::vector<std::string> Lines;
    int Index = 0;  // the selected line as stored; see FillDriverComboIndex
    DriverHostWindow* Host;
    UserInterface* Ui;  // what scanning and choosing tell the operator
};

// `"path","name","description"`: each field quoted, quotes inside doubled.
std::string MakeDriverLine(const std::string& path, const std::string& name,
                           const std::string& description);

// Every *.drv in dir (file-system order) that loads and exports
// Query_Printer: driver lines when asLines, else bare paths.
std::vector<std::string> GetPrinterList(const std::string& dir, bool asLines);

// The line the combo selects after a refill: the stored index, or 0 when it
// lies outside the list; -1 only for an empty list.
int FillDriverComboIndex(const DriverList& list);

// Stores `index` as the selection, loads that line's driver (no driver for
// an index outside the list) and refreshes the device record. The caller
// then refreshes its views and the layout.
void SelectDriver(DriverList& list, int index, TemfPlotter& plotter);

// Rescans the Data folder, appends the system-printer line, keeps the
// previously selected line when its text (ignoring case) is still there,
// else selects the first line, and selects the driver.
void UpdateDrivers(DriverList& list, TemfPlotter& plotter);

// The installer's file list beside a driver: ABC.drv -> ABC_FILES.LOG.
std::string DriverInstallLogName(const std::string& driverPath);
// Unloads the current driver, then deletes the driver and every file its
// installation log lists (colour profiles with their preview bitmaps).
// Missing files are skipped; nothing is reported.
void RemoveDriverFiles(const std::string& driverPath);

// The marker a driver installer leaves: Data/NewPlugin.txt in the program
// folder.
std::string NewDriverMarkerPath();
// When the marker exists: delete it and tell the operator "A New Driver has
// been Detected!". True when it did; the caller then updates the list.
bool TakeNewDriverMarker(UserInterface& ui);

}  // namespace corvan
