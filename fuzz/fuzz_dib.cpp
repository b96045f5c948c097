// DIBs as metafile records carry them: the info block and the bits come from
// separate places, and the colour table may hold palette indices. The first
// byte picks the colour use, the next two where the input is split.
#include "platform/dib.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::span<const std::uint8_t> input(data + 3, size - 3);
    const std::size_t split = std::min<std::size_t>(data[1] | (data[2] << 8), input.size());
    corvan::DibDecodeOptions options;
    options.wantAlpha = (data[0] & 2) != 0;
    options.maxPixels = std::int64_t{1} << 22;
    if (data[0] & 1) {
        options.colours = corvan::DibColours::PaletteIndices;
        options.paletteLookup = [](std::uint16_t i) { return corvan::Colour{i * 0x010101u}; };
    }
    const auto image = corvan::DecodeDib(input.first(split), input.subspan(split), options);
    if (!image && image.Error().empty()) __builtin_trap();
    return 0;
}
