#pragma once
// Everything the TIFF driver keeps between runs; the settings blob holds it.
#include "common/devicesettings.h"

#include <algorithm>
#include <array>
#include <string>

namespace drv {

// How the pages are compressed. Deflate at its fastest level is the default:
// on a 7101 x 7101 CMYK page of sign vectors it took 0.46 s for 7.3 MB, LZW
// 1.44 s for 28 MB, ZSTD 0.19 s for 5.8 MB (but fewer readers know ZSTD), and
// PackBits finds no byte runs in interleaved flat colours (202 MB, as none).
enum class Compression { None, PackBits, Lzw, Deflate, Zstd };
inline constexpr Compression kDefaultCompression = Compression::Deflate;

struct CompressionName {
    Compression Kind;
    const char* Key;    // in the settings blob
    const char* Label;  // in the dialog
};
inline constexpr std::array<CompressionName, 5> kCompressions = {{
    {Compression::None, "none", "None"},
    {Compression::PackBits, "packbits", "PackBits"},
    {Compression::Lzw, "lzw", "LZW"},
    {Compression::Deflate, "deflate", "Deflate"},
    {Compression::Zstd, "zstd", "ZSTD"},
}};

inline const char* CompressionKey(Compression c) {
    for (const auto& n : kCompressions)
        if (n.Kind == c) return n.Key;
    return "deflate";
}

struct TiffSettings {
    DeviceSettings Device;
    long Method = 0;
    long Passes = 1;
    bool InkPages = false;  // extra spot inks as pages instead of channels
    Compression Packing = kDefaultCompression;

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
