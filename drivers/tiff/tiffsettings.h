#pragma once
// Everything the TIFF driver keeps between runs; the settings blob holds it.
#include "common/devicesettings.h"

#include <algorithm>
#include <array>
#include <string>

namespace drv {

// How the pages are compressed. PackBits is the default: on sign work (large
// flat areas) it keeps up with a fast printer and every TIFF reader knows it.
enum class Compression { None, PackBits, Lzw, Deflate, Zstd };

struct CompressionName {
    Compression Kind;
    const char* Key;    // in the settings blob
    const char* Label;  // in the dialog
};
inline constexpr std::array<CompressionName, 5> kCompressions = {{
    {Compression::None, "none", "None"},
    {Compression::PackBits, "packbits", "PackBits (fast)"},
    {Compression::Lzw, "lzw", "LZW"},
    {Compression::Deflate, "deflate", "Deflate"},
    {Compression::Zstd, "zstd", "ZSTD"},
}};

inline const char* CompressionKey(Compression c) {
    for (const auto& n : kCompressions)
        if (n.Kind == c) return n.Key;
    return "packbits";
}

struct TiffSettings {
    DeviceSettings Device;
    long Method = 0;
    long Passes = 1;
    bool InkPages = false;  // extra spot inks as pages instead of channels
    Compression Packing = Compression::PackBits;

    SettingsMap ToMap() const {
        SettingsMap m = {{"Method", std::to_string(Method)},
                         {"Passes", std::to_string(Passes)},
                         {"InkPages", InkPages ? "1" : "0"},
                         {"Compression", CompressionKey(Packing)}};
        Device.ToMap(m);
        return m;
    }
    void FromMap(const SettingsMap& m) {
        Device.FromMap(m);
        Method = ParseIntText(Value(m, "Method"), Method);
        Passes = std::max(1L, ParseIntText(Value(m, "Passes"), Passes));
        InkPages = ParseIntText(Value(m, "InkPages"), InkPages) != 0;
        const std::string key = Value(m, "Compression");
        for (const auto& n : kCompressions)
            if (key == n.Key) Packing = n.Kind;
    }
};

}  // namespace drv
