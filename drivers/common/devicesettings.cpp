#include "common/devicesettings.h"

#include <algorithm>

namespace drv {

std::string Value(const SettingsMap& map, const char* key) {
    const auto it = map.find(key);
    return it == map.end() ? std::string() : it->second;
}

void DeviceSettings::ToMap(SettingsMap& m) const {
    m["DpiX"] = std::to_string(DpiX);
    m["DpiY"] = std::to_string(DpiY);
    m["MediaWidth"] = FormatReal(MediaWidth);
    m["MediaLength"] = FormatReal(MediaLength);
    m["OutputFile"] = OutputFile;
    m["Queue"] = std::to_string(Queue);
    m["Profile"] = Profile;
}

void DeviceSettings::FromMap(const SettingsMap& m) {
    DpiX = std::max(1L, ParseIntText(Value(m, "DpiX"), DpiX));
    DpiY = std::max(1L, ParseIntText(Value(m, "DpiY"), DpiY));
    MediaWidth = ParseRealText(Value(m, "MediaWidth"), MediaWidth);
    MediaLength = ParseRealText(Value(m, "MediaLength"), MediaLength);
    if (m.count("OutputFile")) OutputFile = Value(m, "OutputFile");
    Queue = ParseIntText(Value(m, "Queue"), Queue);
    if (!Value(m, "Profile").empty()) Profile = Value(m, "Profile");
}

bool DeviceSettings::Set(std::int32_t type, const std::string& v) {
    switch (type) {
        case DRV_DATA_OUTPUT_FILE:
            OutputFile = v;
            return true;
        case DRV_DATA_QUEUE:
            Queue = ParseIntText(v, Queue);
            return true;
        case DRV_DATA_MEDIA_WIDTH:
            MediaWidth = ParseRealText(v, MediaWidth);
            return true;
        case DRV_DATA_MEDIA_LENGTH:
            MediaLength = ParseRealText(v, MediaLength);
            return true;
        default:
            return false;
    }
}

bool DeviceSettings::Get(std::int32_t type, std::string& v) const {
    switch (type) {
        case DRV_DATA_PROFILE:
            v = Profile;
            return true;
        case DRV_DATA_OUTPUT_FILE:
            v = OutputFile;
            return true;
        case DRV_DATA_QUEUE:
            v = std::to_string(Queue);
            return true;
        case DRV_DATA_DPI_X:
            v = std::to_string(DpiX);
            return true;
        case DRV_DATA_DPI_Y:
            v = std::to_string(DpiY);
            return true;
        case DRV_DATA_MEDIA_WIDTH:
            v = FormatReal(MediaWidth);
            return true;
        case DRV_DATA_MEDIA_LENGTH:
            v = FormatReal(MediaLength);
            return true;
        default:
            return false;
    }
}

void DeviceSettings::Describe(TPrinterInfo* info, const char* name, const char* description,
                              const char* extra) const {
    FillShort(info->Name, name);
    FillShort(info->Description, description);
    // The third text has room for 35 characters only.
    const std::string e = std::string(extra).substr(0, sizeof info->Extra - 1);
    FillShort(info->Extra, e);
    info->PrintableWidth = MediaWidth;
    info->PrintableLength = MediaLength;
}

}  // namespace drv
