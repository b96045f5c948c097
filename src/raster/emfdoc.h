#pragma once
// The render object behind every raster of a job: a 24-bit image filled with
// a background colour, the background picture stretched into the play
// rectangle and the vector layers played over it, every record passing the
// layer rules of PlayLayerRecord (contour handling, smooth bitmaps).
#include "platform/bitmap.h"
#include "raster/placement.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace corvan {

namespace emf {
class EmfReader;
}

// Layer files read and checked once for a whole render or RIP run, in layer
// order; a file that cannot be read is logged with its reason and left out.
class LayerSet {
public:
    LayerSet();
    explicit LayerSet(const std::vector<std::string>& files);
    LayerSet(LayerSet&&) noexcept;
    LayerSet& operator=(LayerSet&&) noexcept;
    ~LayerSet();

    const std::vector<std::unique_ptr<emf::EmfReader>>& Readers() const { return readers_; }

private:
    std::vector<std::unique_ptr<emf::EmfReader>> readers_;
};

// Playback settings and the contour points collected while playing.
struct TemfPreview {
    bool ContourActive = false;
    std::uint32_t MatchMask = 0;  // 1: judge the pen colour, 2: the brush colour
    bool InPath = false;          // inside a begin-path/end-path bracket
    bool DrawMatched = false;
    bool DrawUnmatched = false;
    bool OutlineMatched = false;  // matched records in black instead of their colours
    bool SmoothBitmaps = false;   // bilinear STRETCHDIBITS
    Colour MatchColor = 0;
    bool SmoothBackground = true;
    Bitmap24* Target = nullptr;  // the image being rendered (borrowed)
    float BlendParam = 0;
    bool CollectContours = false;
    // Set from another thread to abandon a render nobody waits for any more.
    const std::atomic<bool>* Cancel = nullptr;
    std::vector<IntPoint> PathPoints;     // image pixels
    std::vector<std::uint8_t> PathTypes;  // 6 move-to, 2 line-to, +1 close figure
};

class TemfDoc {
public:
    Colour BackColor = 0xFFFFFF;
    std::int32_t ImageWidth = 0;
    std::int32_t ImageHeight = 0;
    IntRect PlayRect;                      // may reach beyond the image
    const Bitmap24* Background = nullptr;  // borrowed from the job
    std::vector<std::string> LayerFiles;   // first = bottom
    // Layers parsed beforehand (borrowed); when set, LayerFiles is not read.
    const LayerSet* Layers = nullptr;
    TemfPreview Preview;

    // A new image of ImageWidth x ImageHeight; null for a zero size or when
    // the memory is not there. The caller owns it.
    std::unique_ptr<Bitmap24> Render();
    // Plays the layers for the collected contours only (appended to Preview).
    void CollectPaths();
    // The layer preview: one file over the whole image, smooth bitmaps.
    std::unique_ptr<Bitmap24> RenderFile(int width, int height, Colour background,
                                         const std::string& fileName);

private:
    void PlayLayers(Bitmap24& image);
};

}  // namespace corvan
