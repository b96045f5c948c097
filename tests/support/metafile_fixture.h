#pragma once
// Helpers for metafile tests: fixtures recorded with EmfWriter and played
// onto small pictures where one logical unit is one pixel, and comparison of
// pictures against character drawings (one character per pixel).
#include "platform/bitmap.h"
#include "platform/metafile/emf_player.h"
#include "platform/metafile/emf_writer.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace corvan::test {

// A writer whose frame covers w x h pixels of its reference device, so that
// playing it onto a w x h picture maps logical units 1:1 onto pixels.
emf::EmfWriter PixelWriter(int w, int h);

// A 100 x 50 layer of three colours for the colour pickers: a rectangle
// outlined red (3 wide) and filled blue, then one filled green without an
// outline. Saved as `path`, which is returned.
std::string WriteThreeColourLayer(const std::string& path);

// A layer of exactly `records` records (header and end included, at least
// 3) and `bytes` bytes (large enough for them, a multiple of 4): moves and
// one comment that takes up the rest. Saved as `path`, which is returned.
std::string WriteLayerOfSize(const std::string& path, int records, std::size_t bytes);

// An empty layer whose frame is `widthMm` x `heightMm`. Saved as `path`.
std::string WriteFramedLayer(const std::string& path, int widthMm, int heightMm);

// A new w x h picture of one colour.
std::unique_ptr<Bitmap24> Blank(int w, int h, Colour colour = 0xFFFFFF);

// Plays the writer's metafile onto a new w x h picture filled with `bg`.
std::unique_ptr<Bitmap24> Play(emf::EmfWriter& writer, int w, int h, Colour bg = 0xFFFFFF);

// Colours of the characters of a drawing: '.' white, '#' black, 'r' red,
// 'g' green, 'b' blue, 'y' yellow, 'c' cyan, 'm' magenta, 'k' grey (0x808080).
const std::map<char, Colour>& Legend();

// Passes when every pixel has the colour its character names. On a mismatch
// the picture is written as a PNG to a temporary folder; the message gives
// its path and the picture as drawn.
::testing::AssertionResult Matches(const Bitmap24& image, const std::vector<std::string>& rows,
                                   const std::string& name);

// The picture as a drawing with Legend()'s characters ('?' for others).
std::vector<std::string> Drawing(const Bitmap24& image);

// Writes the picture to the temporary failure folder and returns the path.
std::string DumpPng(const Bitmap24& image, const std::string& name);

// Counts the pixels of colour `c`.
int CountColour(const Bitmap24& image, Colour c);

}  // namespace corvan::test
