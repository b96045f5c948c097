#pragma once
// The picture formats behind StripSink, for its factory. Each takes the open
// descriptor of its temporary file (and closes it); Ready() tells whether
// the file could be started.
#include "raster/stripsink.h"

#include <cstdint>
#include <memory>
#include <string>

namespace corvan::sinks {

struct SinkSpec {
    std::string path, temp;
    int fd = -1;
    int width = 0, height = 0;
    double dpi = 0;
    SinkPixels pixels = SinkPixels::Colour;
};

// Null with a message when the format cannot hold the picture.
std::unique_ptr<StripSink> MakeBmpSink(const SinkSpec& spec, std::string& error);
std::unique_ptr<StripSink> MakeJpegSink(const SinkSpec& spec, std::string& error);

// Packs a row of 0/255 bytes into bits, most significant first, 1 = white.
inline void PackMono(const std::uint8_t* row, int width, std::uint8_t* out) {
    for (int x = 0; x < width; x += 8) {
        std::uint8_t byte = 0;
        for (int b = 0; b < 8 && x + b < width; ++b)
            if (row[x + b]) byte = static_cast<std::uint8_t>(byte | (0x80 >> b));
        out[x / 8] = byte;
    }
}

}  // namespace corvan::sinks
