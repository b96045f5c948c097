#pragma once
// The per-record layer rules: which records match the job's cut colour, and
// whether each is drawn, hidden, outlined in black, collected as a contour
// or (for stretched bitmaps) resampled smoothly. Also the colour gathering
// callback for the contour colour list.
#include "platform/metafile/dib_blit.h"
#include "platform/metafile/emf_player.h"
#include "raster/emfdoc.h"

#include <array>
#include <cstdint>

namespace corvan {

// What the colour probes give for a null pen or a hollow brush; never a
// real colour, so it never matches a cut colour.
inline constexpr Colour NoColor = 0x30C0C0C0;

// Record class per type 0..130: 0 state, 1 stroke (pen), 2 fill (brush),
// 3 both, 4 other drawing (never matched).
extern const std::array<std::uint8_t, 131> RecordClassTable;
std::uint8_t RecordClass(std::uint32_t type);

Colour PenColorOf(const emf::GdiDevice& dc);
Colour BrushColorOf(const emf::GdiDevice& dc);

// `data` is the TemfPreview. Always continues.
emf::RecordAction PlayLayerRecord(emf::GdiDevice& dc, emf::HandleTable& handles,
                                  const emf::EmfRecord& record, void* data);
// `data` is a Tcolorlist; plays only state records.
emf::RecordAction CollectColorsRecord(emf::GdiDevice& dc, emf::HandleTable& handles,
                                      const emf::EmfRecord& record, void* data);

// Draws one STRETCHDIBITS record resampled bilinearly into `target` (the
// device's image, W x H) with the record's raster operation. `nearest`
// picks the nearest source pixel instead: the player draws no bitmaps of
// its own, so unsmoothed bitmaps take this path too.
void PlaySmoothBitmap(emf::GdiDevice& dc, const emf::EmfRecord& record, const Bitmap24& target,
                      bool nearest = false);

}  // namespace corvan
