// HP-GL cutter driver: turns the host's cut vectors into HP-GL for vinyl
// cutters, written to the output file (data type 14) or, when that is
// empty, to the cutter's device node. Raster calls are accepted and ignored,
// so a print-and-cut job can be sent to it with "Print Raster" on.
#include "common/devicesettings.h"
#include "common/outputs.h"
#include "common/settingstext.h"
#include "hpgl/cutdialog.h"
#include "hpgl/hpglwriter.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace {

// A length setting in mm: negative, absurd or unreadable values keep `def`.
double Length(const std::string& text, double def) {
    const double v = drv::ParseRealText(text, def);
    return v >= 0 && v <= 1000 ? v : def;
}

struct Settings : drv::CutterSettings {
    Settings() {
        Device.DpiX = Device.DpiY = 72;  // raster is ignored; keeps a stray raster pass small
        Device.MediaWidth = 610;         // a 24 inch vinyl roll
        // A cutter has no colour profile; the host only asks that the file
        // exists, so it gets the driver library itself.
        Device.Profile = drv::DriverFolder() + "hpglcutter.drv";
    }
    drv::SettingsMap ToMap() const {
        drv::SettingsMap m = {{"Tool", std::to_string(Cut.Tool)},
                              {"Speed", std::to_string(Cut.Speed)},
                              {"Force", std::to_string(Cut.Force)},
                              {"Rotate", Cut.Rotate ? "1" : "0"},
                              {"BladeOffset", drv::FormatReal(Cut.Options.BladeOffset)},
                              {"Overcut", drv::FormatReal(Cut.Options.Overcut)},
                              {"CutOrder", Cut.Options.Optimise ? "1" : "0"},
                              {"WeedBorder", drv::FormatReal(Cut.Options.WeedBorder)},
                              {"Device", DevicePath}};
        Device.ToMap(m);
        m.erase("Profile");
        return m;
    }
    void FromMap(const drv::SettingsMap& m) {
        const std::string profile = Device.Profile;
        Device.FromMap(m);
        Device.Profile = profile;
        Cut.Tool = static_cast<int>(drv::ParseIntText(drv::Value(m, "Tool"), Cut.Tool));
        Cut.Speed = static_cast<int>(drv::ParseIntText(drv::Value(m, "Speed"), Cut.Speed));
        Cut.Force = static_cast<int>(drv::ParseIntText(drv::Value(m, "Force"), Cut.Force));
        Cut.Rotate = drv::ParseIntText(drv::Value(m, "Rotate"), Cut.Rotate) != 0;
        if (m.count("Device")) DevicePath = drv::Value(m, "Device");
        drv::CutOptions& o = Cut.Options;
        o.BladeOffset = Length(drv::Value(m, "BladeOffset"), o.BladeOffset);
        o.Overcut = Length(drv::Value(m, "Overcut"), o.Overcut);
        o.Optimise = drv::ParseIntText(drv::Value(m, "CutOrder"), o.Optimise) != 0;
        o.WeedBorder = Length(drv::Value(m, "WeedBorder"), o.WeedBorder);
    }
};

struct State {
    Settings settings;
    drv::HpglWriter writer;
    std::string blob;  // kept alive for Get_Plugin_Data's second call
    std::uint64_t window = 0;  // the host's window for dialogs
};

State& S() {
    static State s;
    return s;
}

bool Deliver(const std::string& bytes) {
    const Settings& s = S().settings;
    const std::string& file = s.Device.OutputFile;
    return file.empty() ? drv::WriteToDevice(s.DevicePath, bytes)
                        : drv::WriteFileAtomic(file, bytes);
}

// Whether the output can be written: the file's folder exists, or the device
// node opens for writing.
bool TargetWritable() {
    const Settings& s = S().settings;
    const std::string& file = s.Device.OutputFile;
    if (file.empty()) {
        std::FILE* f = std::fopen(s.DevicePath.c_str(), "r+b");
        if (!f) return false;
        std::fclose(f);
        return true;
    }
    const std::size_t slash = file.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : file.substr(0, slash + 1);
    return access(folder.c_str(), W_OK) == 0;
}

}  // namespace

extern "C" {

CORVAN_DRV_EXPORT void Query_Printer(TPrinterInfo* info) {
    S().settings.Device.Describe(info, "HP-GL Cutter", "Vinyl cutter, HP-GL, 40 units per mm",
                                 "hpgl");
}

CORVAN_DRV_EXPORT void Initialize_Plugin(void) {}
CORVAN_DRV_EXPORT void Finalize_Plugin(void) {}
CORVAN_DRV_EXPORT void Plugin_Load_Profile(void) {}
CORVAN_DRV_EXPORT void Plugin_Free_Profile(void) {}

CORVAN_DRV_EXPORT void Set_Plugin_Data(const void* data, int32_t size) {
    S().settings = Settings{};
    S().settings.FromMap(drv::ParseSettings(data, size));
}

CORVAN_DRV_EXPORT int32_t Get_Plugin_Data(void* buffer) {
    if (!buffer) S().blob = drv::SerialiseSettings(S().settings.ToMap());
    return drv::CopyBlob(S().blob, buffer);
}

// Request 1 shows the cutter's dialog; the others are accepted with the
// current settings, which the settings blob carries.
CORVAN_DRV_EXPORT DrvBool Choose_Plugin_Data(int32_t dialog) {
    return drv::ChooseCutterSettings(dialog, S().window, S().settings) ? 1 : 0;
}

CORVAN_DRV_EXPORT int32_t Set_Plugin_Datatype(int32_t type, const uint8_t* value) {
    const std::string v = drv::ShortText(value);
    if (type == DRV_DATA_WINDOW)
        S().window = std::strtoull(v.c_str(), nullptr, 10);
    else
        S().settings.Device.Set(type, v);
    return 0;
}

CORVAN_DRV_EXPORT void Get_Plugin_Datatype(int32_t type, uint8_t* value) {
    std::string v;
    S().settings.Device.Get(type, v);
    drv::FillShort(value, v);
}

CORVAN_DRV_EXPORT void Get_Plugin_Settings(TPluginSettings* settings) {
    settings->PassCount = 1;
}

CORVAN_DRV_EXPORT DrvBool Prepare_PrintJob(int32_t, int32_t, int32_t, int32_t, int32_t,
                                           const uint8_t*) {
    S().writer = drv::HpglWriter{};
    return 0;
}
CORVAN_DRV_EXPORT void Finalize_PrintJob(void) {}
CORVAN_DRV_EXPORT DrvBool Plugin_OpenPrinter(void) {
    return 0;
}
CORVAN_DRV_EXPORT DrvBool Plugin_StartDoc(const uint8_t*) {
    return 0;
}
CORVAN_DRV_EXPORT DrvBool Plugin_StartPage(int32_t) {
    return 0;
}
CORVAN_DRV_EXPORT void Plugin_EndPage(void) {}
CORVAN_DRV_EXPORT DrvBool Plugin_PrintRow(const uint8_t*, const uint8_t*, const uint8_t*, int32_t,
                                          int32_t, int32_t, int32_t) {
    return 0;
}

CORVAN_DRV_EXPORT DrvBool Plugin_StartCut(void) {
    if (!TargetWritable()) return 1;
    S().writer.Begin(S().settings.Cut);
    return 0;
}

CORVAN_DRV_EXPORT DrvBool Plugin_PrintVector(int32_t pointType, double x, double y) {
    S().writer.Point(pointType, x, y);
    return 0;
}

CORVAN_DRV_EXPORT void Plugin_EndCut(void) {
    drv::HpglWriter& w = S().writer;
    if (!w.Started()) return;
    w.End();
    Deliver(w.Text());
    w = drv::HpglWriter{};
}

CORVAN_DRV_EXPORT void Plugin_EndDoc(void) {}
CORVAN_DRV_EXPORT void Plugin_ClosePrinter(void) {}
CORVAN_DRV_EXPORT int32_t Plugin_Status(void) {
    return 0;
}

// Sends a saved HP-GL file to the cutter.
CORVAN_DRV_EXPORT int32_t Plugin_SpoolPrintJob(const char* path) {
    if (!path) return 0;
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return in && drv::WriteToDevice(S().settings.DevicePath, bytes.str()) ? 1 : 0;
}

}  // extern "C"
