// Reads the input as an enhanced metafile and plays it into a small picture:
// the reader's checks, every record handler and the canvas under one roof.
#include "platform/bitmap.h"
#include "platform/metafile/emf_player.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace corvan::emf;
    auto reader = EmfReader::OpenMemory(std::span(data, size));
    if (!reader) return 0;
    auto image = corvan::Bitmap24::Create(64, 48);
    if (!image) return 0;
    image->Fill(0xFFFFFF);
    GdiDevice dc(*image);
    PlayMetafile(dc, *reader, QRect(0, 0, 64, 48));
    // A second playback over a window of a larger layer, as strips do.
    PlayMetafile(dc, *reader, QRect(-100, -300, 400, 900));
    return 0;
}
