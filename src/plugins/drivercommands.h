#pragma once
// The engine side of the printer commands: the driver's dialogs, the queue
// choice and uninstalling. Each refreshes the device record when something
// changed and says so; the desktop then refreshes its views and the layout.
#include "job/emffile.h"
#include "job/jobsession.h"
#include "plugins/driverlist.h"

#include <optional>
#include <string>

namespace corvan {

// "Printer Options" (dialog 1) and "Sheet Sizes" (dialog 22) for a driver:
// hands it the media size, opens the dialog, and on acceptance refreshes the
// device record. True when accepted. (The system printer's setup dialog is
// the desktop's.)
bool DriverPageDialog(TemfPlotter& plotter, int dialog, UserInterface& ui);
// "Profile Manager": dialog 24; without a valid driver the operator is told
// to select one first.
bool ProfileManager(const TemfPlotter& plotter, UserInterface& ui);
// The spooling queue of a driver, or the system printer to print on.
void ChooseQueue(TemfPlotter& plotter, int index);
// "Uninstall Driver" with its two questions; true when the driver was
// removed (the list is then rebuilt).
bool UninstallDriver(DriverList& list, TemfPlotter& plotter, const std::string& makeAndModel);

// "Save Printer Settings": asks for a ".pin" file in the profile folder and
// writes the current driver's settings into it. Without a valid driver the
// operator is told "No Printer to Save!".
void SavePrinterSettingsCommand(UserInterface& ui);
// "Load Printer Settings": asks for a ".pin" file and restores it. True when
// a file was chosen (the window then refreshes device and layout).
bool LoadPrinterSettingsCommand(DriverList& list, TemfPlotter& plotter);
// "RIP From File": asks for an existing print file, starting at `current`,
// and offers to spool it through the driver. Returns the chosen path (for
// the "Rip to File" edit) when one that exists was chosen.
std::optional<std::string> RipFromFileCommand(const std::string& current, UserInterface& ui);

// The maker's driver download page: "DriverPage" in the program's settings,
// else the project's own page.
std::string DriverDownloadPage();
// "Download Driver": asks whether to open the page now; true on Yes.
bool AskDownloadDriver(UserInterface& ui);

// "Custom Paper Size": width and length through the job size question
// (the media width and three times it to start with), a name, then the
// form is kept for the system printer. True when a form was made.
bool CustomPaperSize(JobSession& app);

}  // namespace corvan
