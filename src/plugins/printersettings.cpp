#include "plugins/printersettings.h"

#include "platform/commatext.h"
#include "platform/debuglog.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "plugins/currentplugin.h"
#include "plugins/plottersize.h"

#include <cstdio>

namespace corvan {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

int FindDriverLine(const DriverList& list, const std::string& path) {
    int found = -1;
    for (std::size_t i = 0; i < list.Lines.size(); ++i) {
        const auto fields = SplitCommaText(list.Lines[i]);
        if (fields.size() > 2 && fields[0] == path) found = static_cast<int>(i);
    }
    return found;
}

}  // namespace

std::string HexEncode(const std::uint8_t* data, std::size_t size) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text(size * 2, '0');
    for (std::size_t i = 0; i < size; ++i) {
        text[2 * i] = digits[data[i] >> 4];
        text[2 * i + 1] = digits[data[i] & 0x0F];
    }
    return text;
}

std::optional<std::vector<std::uint8_t>> HexDecode(const std::string& text) {
    const std::size_t count = text.size() / 2;
    if (count > static_cast<std::size_t>(kMaxDriverBlob)) return std::nullopt;
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i) {
        const int hi = HexValue(text[2 * i]), lo = HexValue(text[2 * i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        bytes[i] = static_cast<std::uint8_t>(hi * 16 + lo);
    }
    return bytes;
}

std::string DriverDataHex() {
    TPluginObject& plugin = CurrentPlugin();
    if (!plugin.Valid) return {};
    const std::int32_t n = plugin.Get_Plugin_Data(nullptr);
    if (n <= 0 || n > kMaxDriverBlob) return {};
    std::vector<std::uint8_t> block(static_cast<std::size_t>(n), 0);
    std::int32_t m = plugin.Get_Plugin_Data(block.data());
    if (m < 0) m = 0;
    if (m > n) m = n;
    return HexEncode(block.data(), static_cast<std::size_t>(m));
}

bool WriteDriverSettings(IniFile& ini) {
    TPluginObject& plugin = CurrentPlugin();
    if (!plugin.Valid) return false;
    const std::string text = DriverDataHex();
    if (text.empty()) return false;
    ini.WriteString(kPrinterSettingsSection, "Plugin", plugin.FileName);
    ini.WriteString(kPrinterSettingsSection, "Data", text);
    return true;
}

bool SaveDriverSettings(const std::string& file) {
    TPluginObject& plugin = CurrentPlugin();
    if (!plugin.Valid) return true;
    const std::string text = DriverDataHex();
    if (text.empty()) {
        std::remove(file.c_str());
        return true;
    }
    LogLine("Save_Printer_info: " + file);
    LogLine(" -Plugin Data:" + text);
    // The new file replaces the old one in one step, so a failed write keeps
    // the previous settings instead of losing them.
    IniFile ini(file);
    ini.WriteString(kPrinterSettingsSection, "Plugin", plugin.FileName);
    ini.WriteString(kPrinterSettingsSection, "Data", text);
    return ini.Save();
}

void LoadDriverSettings(const std::string& file, DriverList& list, TemfPlotter& plotter) {
    IniFile ini(file);
    ini.Load();
    const std::string plugin =
        ini.ReadString(kPrinterSettingsSection, "Plugin", CurrentPlugin().FileName);
    const std::string data = ini.ReadString(kPrinterSettingsSection, "Data", "");
    RestoreDriverSettings(plugin, data, list, plotter);
}

void RestoreDriverSettings(const std::string& path, const std::string& data, DriverList& list,
                           TemfPlotter& plotter) {
    LogLine("Restore Printer Settings " + path);
    const int line = FindDriverLine(list, path);
    if (line < 0) return;
    list.Index = line;
    LoadPlugin(path, list.Host->HostWindowId());
    if (data.empty()) {
        Set_Plotter_Size(plotter);
        return;
    }
    const auto bytes = HexDecode(data);
    if (!bytes) {
        LogLine("-Set PluginData: Invalid Data: " + data);
        return;
    }
    CurrentPlugin().Set_Plugin_Data(bytes->data(), static_cast<std::int32_t>(bytes->size()));
    Set_Plotter_Size(plotter);
}

bool PluginProjectDriver::IsValidDriver() const {
    return CurrentPlugin().Valid;
}
std::string PluginProjectDriver::DriverPath() const {
    return CurrentPlugin().FileName;
}

std::string PluginProjectDriver::SettingsText() {
    try {
        return DriverDataHex();
    } catch (...) {
        return {};  // a failure while fetching counts as no settings
    }
}

std::string PluginProjectDriver::Datatype(int type) {
    return CurrentPlugin().Get_Plugin_Datatype(type);
}

void PluginProjectDriver::JobLoaded() {
    TPluginObject& plugin = CurrentPlugin();
    plugin.Plugin_Load_Profile();
    plugin.Set_Plugin_Datatype(DRV_DATA_GAMUT, "0");
}

void PluginProjectDriver::RestoreSettings(const std::string& plugin, const std::string& data) {
    RestoreDriverSettings(plugin, data, list_, plotter_);
}

}  // namespace corvan
