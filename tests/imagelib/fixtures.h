#pragma once
// Picture files made in code for the decoder tests: each writer takes raw
// samples (interleaved, rows top down) and writes the file form under test.
#include "platform/bitmap.h"

#include <cstdint>
#include <string>
#include <vector>

namespace corvan::test {

using Bytes = std::vector<std::uint8_t>;

// A w x h RGB picture in four flat quadrants: red, green / blue, white.
// Flat 16 x 16 blocks survive JPEG almost unchanged.
Colour QuadrantColour(int x, int y, int w, int h);
Bytes QuadrantSamples(int w, int h);  // R, G, B per pixel

// 8-bit samples widened to 16 bits (v * 257), host order, as bytes.
Bytes Widen16(const Bytes& samples);
// Interleaved samples split into `channels` planes, as Photoshop stores them.
std::vector<Bytes> Planes(const Bytes& interleaved, int channels);

// Largest channel difference between two colours.
int ColourDistance(Colour a, Colour b);

enum class JpegSpace { Rgb, Grey, Cmyk };
struct JpegSpec {
    JpegSpace space = JpegSpace::Rgb;
    bool adobeMarker = true;  // for CMYK: mark the samples as Adobe-inverted
    bool progressive = false;
    int orientation = 0;  // 0: no EXIF block
    Bytes icc;
};
// `samples` has 1, 3 or 4 bytes per pixel to match the space.
Bytes MakeJpeg(int w, int h, const Bytes& samples, const JpegSpec& spec);

struct TiffSpec {
    int bitsPerSample = 8;
    int samplesPerPixel = 3;
    int photometric = 2;   // PHOTOMETRIC_RGB
    int compression = 1;   // COMPRESSION_NONE
    int tileSize = 0;      // 0: strips
    int rowsPerStrip = 0;  // 0: the library's choice
    int extraSamples = 0;  // EXTRASAMPLE_* of one extra sample, 0 for none
    int orientation = 1;
    std::vector<std::uint16_t> colormap;  // 3 x 2^bits entries for palette pictures
    Bytes icc;
    int pages = 1;  // later pages are filled with black
    bool bigTiff = false;  // 64-bit offsets
    bool separatePlanes = false;  // one plane per sample (strips only)
};
// 8-bit samples as bytes; 16-bit samples as host-order uint16 in pairs of bytes.
Bytes MakeTiff(int w, int h, const Bytes& samples, const TiffSpec& spec);

struct PngSpec {
    int colorType = 2;  // PNG_COLOR_TYPE_RGB
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<Colour> palette;
    Bytes alphaOfPalette;  // tRNS for palette pictures
    Bytes exif;            // an eXIf chunk (a bare TIFF structure) when not empty
};
// Rows packed as libpng wants them (16-bit samples big-endian).
Bytes MakePng(int w, int h, const Bytes& rows, const PngSpec& spec);

// A Photoshop file with the composite in `planes` (one w*h plane per
// channel), mode 1 grey, 3 RGB or 4 CMYK; PackBits when rle.
Bytes MakePsd(int w, int h, int mode, const std::vector<Bytes>& planes, bool rle,
              const Bytes& icc = {}, int depth = 8);

// A classic little-endian TIFF's first-directory entry `tag` set to `value`
// (a SHORT or LONG held in the entry), for damaging fixtures.
void PatchTiffTag(Bytes& tiff, std::uint16_t tag, std::uint32_t value);

// A bare TIFF structure with one orientation entry, as eXIf and WebP carry it.
Bytes TiffWithOrientation(int orientation);

// A WebP file (lossless, from RGB samples) with an EXIF chunk holding `exif`.
Bytes MakeWebpWithExif(int w, int h, const Bytes& rgb, const Bytes& exif);

// A PCX file: 24-bit RGB in three planes (bits 8, planes 3, `samples` RGB
// per pixel), or indexed (bits x planes <= 8, `samples` one index per pixel,
// `palette` 16 or 256 colours); run-length encoded when rle.
Bytes MakePcx(int w, int h, int bits, int planes, const Bytes& samples,
              const std::vector<Colour>& palette, bool rle);

// A HEIC (H.265) or AVIF (AV1) file from RGB samples, lossless where the
// encoder can; empty when libheif has no encoder for it.
Bytes MakeHeif(int w, int h, const Bytes& rgb, bool avif);

// A DOS-binary EPS with a bit of PostScript and `tiff` as its preview.
Bytes MakeEps(const Bytes& tiff);

void WriteBytes(const std::string& path, const Bytes& bytes);

}  // namespace corvan::test
