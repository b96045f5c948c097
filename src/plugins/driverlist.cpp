#include "plugins/driverlist.h"

#include "platform/debuglog.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/paths.h"
#include "platform/userinterface.h"
#include "plugins/currentplugin.h"
#include "plugins/plottersize.h"

#include <QString>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include <dirent.h>

namespace corvan {

namespace {

std::string Quoted(const std::string& field) {
    std::string out = "\"";
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

bool EndsWithNoCase(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           EqualsNoCase(std::string_view(text).substr(text.size() - suffix.size()), suffix);
}

// Directory entries in the order the file system returns them.
std::vector<std::string> DriverFileNames(const std::string& dir) {
    std::vector<std::string> names;
    DIR* d = opendir(dir.c_str());
    if (!d) return names;
    while (const dirent* e = readdir(d)) {
        const std::string name = e->d_name;
        if (name.size() > 4 && EndsWithNoCase(name, ".drv")) names.push_back(name);
    }
    closedir(d);
    return names;
}

std::string WithoutExtension(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path;
    return path.substr(0, dot);
}

std::string ExtensionOf(const std::string& path) {
    const std::string base = WithoutExtension(path);
    return path.substr(base.size());
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

void DeleteLogged(const std::string& prefix, const std::string& file) {
    LogLine(prefix + file);
    std::remove(file.c_str());
}

}  // namespace

std::uint64_t NoDriverWindow::HostWindowId() {
    static bool logged = false;
    if (!logged) LogLine("No host window: drivers show no dialogs and keep their settings.");
    logged = true;
    return 0;
}

std::string MakeDriverLine(const std::string& path, const std::string& name,
                           const std::string& description) {
    return Quoted(path) + "," + Quoted(name) + "," + Quoted(description);
}

std::vector<std::string> GetPrinterList(const std::string& dirIn, bool asLines) {
    const std::string dir = WithTrailingSlash(dirIn);
    LogLine("-");
    LogLine("Get PrinterList: " + dir);
    std::vector<std::string> result;
    for (const std::string& name : DriverFileNames(dir)) {
        const std::string path = dir + name;
        TPluginObject plugin(path, 0);  // only queried, never asked for a dialog
        const PrinterQuery q = plugin.Query_Printer();
        if (plugin.Valid) {
            LogLine("Valid\t" + path);
            result.push_back(asLines ? MakeDriverLine(path, q.Name, q.Description) : path);
        } else {
            LogLine("Invalid\t" + path);
        }
    }
    return result;
}

int FillDriverComboIndex(const DriverList& list) {
    if (list.Lines.empty()) return -1;
    if (list.Index < 0 || list.Index >= static_cast<int>(list.Lines.size())) return 0;
    return list.Index;
}

void SelectDriver(DriverList& list, int index, TemfPlotter& plotter) {
    list.Index = index;
    const bool inside = index >= 0 && index < static_cast<int>(list.Lines.size());
    UserInterface& ui = *list.Ui;
    ui.SetBusy(true);
    SelectPlugin(inside ? list.Lines[static_cast<std::size_t>(index)] : std::string(),
                 list.Host->HostWindowId());
    ui.SetBusy(false);
    Set_Plotter_Size(plotter);
}

void UpdateDrivers(DriverList& list, TemfPlotter& plotter) {
    const int old = list.Index;
    const std::string remembered = old >= 0 && old < static_cast<int>(list.Lines.size())
                                       ? list.Lines[static_cast<std::size_t>(old)]
                                       : "";
    list.Ui->SetBusy(true);
    list.Lines = GetPrinterList(ReadPath("DataDir"), true);
    list.Lines.push_back(kWindowsPrinterLine);
    list.Ui->SetBusy(false);
    list.Index = 0;
    int selected = FillDriverComboIndex(list);
    if (!remembered.empty()) {
        const auto it =
            std::find_if(list.Lines.begin(), list.Lines.end(),
                         [&](const std::string& l) { return EqualsNoCase(l, remembered); });
        if (it != list.Lines.end()) selected = static_cast<int>(it - list.Lines.begin());
    }
    SelectDriver(list, selected, plotter);
}

std::string DriverInstallLogName(const std::string& driverPath) {
    // The installer names its log after the library in upper case; only the
    // name is upper-cased here, as folders on Linux keep their case.
    const std::string base = WithoutExtension(driverPath);
    const std::size_t slash = base.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "" : base.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? base : base.substr(slash + 1);
    return folder + QString::fromStdString(name).toUpper().toStdString() + "_FILES.LOG";
}

void RemoveDriverFiles(const std::string& driverPath) {
    const std::string logName = DriverInstallLogName(driverPath);
    LogLine("Remove Plugin: " + logName);
    std::vector<std::string> files =
        FileExists(logName) ? ReadLines(logName) : std::vector<std::string>{};
    files.insert(files.begin(), driverPath);
    LoadPlugin("", 0);  // release the library before its file goes
    for (const std::string& file : files) {
        if (!FileExists(file)) continue;
        if (EqualsNoCase(ExtensionOf(file), ".INI")) {
            LogLine("...profile:");
            const std::string base = WithoutExtension(file);
            DeleteLogged("kill: ", base + ".PrvBMP");
            DeleteLogged("kill: ", base + ".BMP");
        }
        DeleteLogged("-Delete: ", file);
    }
}

std::string NewDriverMarkerPath() {
    return ProgramFolder() + "Data/NewPlugin.txt";
}

bool TakeNewDriverMarker(UserInterface& ui) {
    const std::string marker = NewDriverMarkerPath();
    if (!FileExists(marker)) return false;
    std::remove(marker.c_str());
    ui.ShowInfo("A New Driver has been Detected!");
    return true;
}

}  // namespace corvan
