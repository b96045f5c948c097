#pragma once
// Everything the TIFF driver keeps between runs; the settings blob holds it.
#include "common/devicesettings.h"

#include <algorithm>

namespace drv {

struct TiffSettings {
    DeviceSettings Device;
    long Method = 0;
    long Passes = 1;
    bool InkPages = false;  // extra spot inks as pages instead of channels
    bool Lzw = true;

    SettingsMap ToMap() const {
        SettingsMap m = {{"Method", std::to_string(Method)},
                         {"Passes", std::to_string(Passes)},
                         {"InkPages", InkPages ? "1" : "0"},
                         {"Compression", Lzw ? "lzw" : "none"}};
        Device.ToMap(m);
        return m;
    }
    void FromMap(const SettingsMap& m) {
        Device.FromMap(m);
        Method = ParseIntText(Value(m, "Method"), Method);
        Passes = std::max(1L, ParseIntText(Value(m, "Passes"), Passes));
        InkPages = ParseIntText(Value(m, "InkPages"), InkPages) != 0;
        if (m.count("Compression")) Lzw = Value(m, "Compression") != "none";
    }
};

}  // namespace drv
