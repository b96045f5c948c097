#pragma once
// The settings every driver of this repository has: resolution, media,
// output file, queue and colour profile, with their data types and their
// lines in the settings blob.
#include "common/settingstext.h"

#include <cstdint>
#include <string>

namespace drv {

struct DeviceSettings {
    long DpiX = 360, DpiY = 360;
    double MediaWidth = 1372;  // mm, a 54 inch roll
    double MediaLength = 0;    // mm, 0 = roll
    std::string OutputFile;    // empty = the device or queue
    long Queue = 0;            // CUPS destination, in name order
    std::string Profile;       // colour profile file

    void ToMap(SettingsMap& map) const;
    void FromMap(const SettingsMap& map);
    // Data types 10, 14, 15, 17 to 20. False for any other type.
    bool Set(std::int32_t type, const std::string& value);
    bool Get(std::int32_t type, std::string& value) const;
    // Query_Printer's answer: the texts and the media as printable size.
    void Describe(TPrinterInfo* info, const char* name, const char* description,
                  const char* extra) const;
};

// The value of key, or empty.
std::string Value(const SettingsMap& map, const char* key);

}  // namespace drv
