#include "plugins/drivercommands.h"

#include "platform/debuglog.h"
#include "platform/folders.h"
#include "platform/numbers.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/userinterface.h"
#include "plugins/currentplugin.h"
#include "plugins/customforms.h"
#include "plugins/plottersize.h"
#include "plugins/printersettings.h"
#include "plugins/systemprinter.h"

#include <cstdio>

namespace corvan {

namespace {
constexpr const char* kDriverPage = "https://www.corvanrip.example/drivers";
}  // namespace

bool DriverPageDialog(TemfPlotter& plotter, int dialog, UserInterface& ui) {
    TPluginObject& plugin = CurrentPlugin();
    if (!plugin.Valid) return false;
    char text[96];
    std::snprintf(text, sizeof text, "Plugin Setup: %.3f x %.3f", plotter.MediaWidth,
                  plotter.MediaHeight);
    LogLine(text);
    plugin.Set_Plugin_Datatype(DRV_DATA_MEDIA_WIDTH, FormatFloat15(plotter.MediaWidth));
    plugin.Set_Plugin_Datatype(DRV_DATA_MEDIA_LENGTH, FormatFloat15(plotter.MediaHeight));
    LogLine(dialog == DRV_DIALOG_SHEET_SIZES ? " - Choose_Plugin_Data: PageSize"
                                             : " - Choose_Plugin_Data");
    if (!plugin.Choose_Plugin_Data(dialog)) return false;
    if (dialog == DRV_DIALOG_PRINTER_OPTIONS) ui.ProcessMessages();
    LogLine("OK");
    Set_Plotter_Size(plotter);
    return true;
}

bool ProfileManager(const TemfPlotter& plotter, UserInterface& ui) {
    TPluginObject& plugin = CurrentPlugin();
    if (!plugin.Valid || !plotter.IsPlugin) {
        ui.ShowInfo("You must select a Plugin Driver first!");
        return false;
    }
    return plugin.Choose_Plugin_Data(DRV_DIALOG_PROFILE_MANAGER);
}

void ChooseQueue(TemfPlotter& plotter, int index) {
    plotter.QueueIndex = index;
    TPluginObject& plugin = CurrentPlugin();
    if (plugin.Valid)
        plugin.Set_Plugin_Datatype(DRV_DATA_QUEUE, std::to_string(index));
    else
        plotter.SystemPrinterChoice = index;
    Set_Plotter_Size(plotter);
}

bool UninstallDriver(DriverList& list, TemfPlotter& plotter, const std::string& makeAndModel) {
    UserInterface& ui = *list.Ui;
    TPluginObject& plugin = CurrentPlugin();
    if (!plugin.Valid) {
        ui.ShowError("No Plugin Driver Selected!");
        return false;
    }
    if (!ui.AskYesNo("Uninstall this Driver?\r\rDriver: " + makeAndModel)) return false;
    if (ui.AskYesNo("About to Remove Driver\rDo you wish to abort this operation?")) return false;
    const std::string path = plugin.FileName;
    RemoveDriverFiles(path);
    LoadPlugin("", 0);
    UpdateDrivers(list, plotter);
    return true;
}

namespace {

FileDialogRequest PinDialog(FileDialogRequest::Mode mode, const char* title) {
    FileDialogRequest req;
    req.mode = mode;
    req.title = title;
    req.initialDir = ReadPath("ProfileDir");
    req.filter = "Printer Info (*.pin)|*.pin";
    req.defaultExt = "pin";
    return req;
}

}  // namespace

void SavePrinterSettingsCommand(UserInterface& ui) {
    if (!CurrentPlugin().Valid) {
        ui.ShowError("No Printer to Save!");
        return;
    }
    const auto file =
        ui.ChooseFile(PinDialog(FileDialogRequest::Mode::Save, "Save Printer Settings"));
    if (file && !file->empty() && !SaveDriverSettings(*file))
        ui.ShowError("Unable to save " + *file);
}

bool LoadPrinterSettingsCommand(DriverList& list, TemfPlotter& plotter) {
    const auto file =
        list.Ui->ChooseFile(PinDialog(FileDialogRequest::Mode::Open, "Load Printer Settings"));
    if (!file || file->empty()) return false;
    LoadDriverSettings(*file, list, plotter);
    return true;
}

std::optional<std::string> RipFromFileCommand(const std::string& current, UserInterface& ui) {
    FileDialogRequest req;
    req.mode = FileDialogRequest::Mode::Open;
    req.title = "Select Spool File";
    req.fileName = current;
    req.filter = "Print Files (PRN)|*.prn|All Files (*.*)|*.*";
    const auto file = ui.ChooseFile(req);
    if (!file || file->empty() || !FileExists(*file)) return std::nullopt;
    if (ui.Message(MessageKind::Confirmation, "Spool file?\r\r" + *file, YesNo) != ButtonNo)
        CurrentPlugin().Plugin_SpoolPrintJob(*file);
    return file;
}

std::string DriverDownloadPage() {
    const std::string stored = ReadRegString("DriverPage", "");
    return stored.empty() ? std::string(kDriverPage) : stored;
}

bool AskDownloadDriver(UserInterface& ui) {
    return ui.Message(
               MessageKind::Confirmation,
               "Connect to the Internet now to download a driver?\r\r" + DriverDownloadPage(),
               YesNo) != ButtonNo;
}

bool CustomPaperSize(JobSession& app) {
    const TemfPlotter& p = app.CurrentPlotter;
    JobSizeRequest req;
    req.width = p.MediaWidth > 0 ? p.MediaWidth : 2540;
    req.height = p.MediaWidth > 0 ? 3 * p.MediaWidth : 2540;
    req.metric = app.UseMetric;
    const std::optional<JobSize> size = app.Events().AskJobSize(req);
    if (!size || size->width < 1 || size->height < 1) return false;
    const auto name =
        app.Ui().Input("Create Custom Paper Size", "Enter the name of the Custom Paper Size",
                       "CorvanRIP Custom Size");
    if (!name || name->empty()) return false;
    return CreateCustomForm(*name, RoundToInt(size->width * 1000.0),
                            RoundToInt(size->height * 1000.0));
}

}  // namespace corvan
