#include "clisession.h"

#include "platform/debuglog.h"

namespace corvan::cli {

namespace {
void Absent(const char* what) {
    LogLine(std::string("Command line: no window for ") + what);
}
}  // namespace

std::optional<JobSize> CliFrontEnd::AskJobSize(const JobSizeRequest& r) {
    // A picture is taken at 100 pixels per inch, anything else as proposed.
    return r.pixelSource ? JobSize{r.width * 25.4f / 100, r.height * 25.4f / 100}
                         : JobSize{r.width, r.height};
}

void CliFrontEnd::PostStartMessage() {
    Absent("the start checks");
}
void CliFrontEnd::RebuildDriverList() {
    Absent("the driver list");
}
void CliFrontEnd::CreateLargePaperForms() {
    Absent("paper forms");
}
bool CliFrontEnd::ShowPathEditor() {
    Absent("the path editor");
    return false;
}
void CliFrontEnd::OpenQuickStart() {
    Absent("the quick start guide");
}
void CliFrontEnd::ShowHelpTopics() {
    Absent("help");
}
bool CliFrontEnd::ShowSettings(int) {
    Absent("the settings dialog");
    return false;
}
std::uint64_t CliFrontEnd::HostWindowId() {
    Absent("driver dialogs: they keep their settings");
    return 0;
}

bool CliRip::Preflight(PreflightData& data) {
    for (const std::string& line : data.memo) LogLine("Preflight: " + line);
    return true;
}

std::unique_ptr<PrinterCanvas> CliRip::SystemPrinterCanvas(const std::string&) {
    app_.Ui().ShowError(
        "The system printer cannot be used from the command line; choose a driver with --driver.");
    return nullptr;
}

std::optional<std::string> CliFrontEnd::ChooseLibraryFile(bool, const FileDialogRequest& plain,
                                                          UserInterface& ui) {
    return ui.ChooseFile(plain);  // no window: the console's answer
}

}  // namespace corvan::cli
