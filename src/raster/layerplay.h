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

// A pattern brush (and an extended pen filled with one) has a picture, not
// a colour; the context reports it as black, the value GDI gives for such a
// brush, for lines and fills alike. So a pattern-filled shape is a contour
// only when the cut colour is black, and it lists as $00000000.
inline constexpr Colour kPatternColor = 0x000000;

// The colour that the selected pen or brush draws with, as compared with
// the cut colour and written into colour lists: palette indexes resolved,
// the palette flag (0x02 in the high byte) dropped, so both always read
// $00BBGGRR. NoColor for null pens and hollow brushes.
Colour PenColorOf(const emf::GdiDevice& dc);
Colour BrushColorOf(const emf::GdiDevice& dc);
// A cut colour as compared with PenColorOf and BrushColorOf: a cut colour
// stored with the palette flag matches the shapes drawn in its RGB.
Colour MatchableColour(Colour c);

// `data` is the TemfPreview. Continues unless its Cancel flag is set.
emf::RecordAction PlayLayerRecord(emf::GdiDevice& dc, emf::HandleTable& handles,
                                  const emf::EmfRecord& record, void* data);
// `data` is a Tcolorlist; plays only state records.
emf::RecordAction CollectColorsRecord(emf::GdiDevice& dc, emf::HandleTable& handles,
                                      const emf::EmfRecord& record, void* data);

// Draws one STRETCHDIBITS record resampled bilinearly into `target` (the
// device's image, W x H) with the record's raster operation. `nearest`
// picks the nearest source pixel instead: the player draws no bitmaps of
// its own, so unsmoothed bitmaps take this path too. With `cache` (the
// playing metafile's) the bitmap is decoded once for all playbacks.
void PlaySmoothBitmap(emf::GdiDevice& dc, const emf::EmfRecord& record, const Bitmap24& target,
                      bool nearest = false, emf::BitmapCache* cache = nullptr);

}  // namespace corvan
