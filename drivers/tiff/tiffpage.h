#pragma once
// A multi-page TIFF written row by row: one page per pass, CMYK (with spot
// inks as further separations) or RGB (spot inks as extra samples), or a
// one-channel ink mask for an extra spot pass. Pages are always completed:
// rows that never came are written as paper.
#include "tiff/tiffsettings.h"

#include <cstdint>
#include <string>
#include <vector>

typedef struct tiff TIFF;

namespace drv {

struct PageFormat {
    std::int32_t Width = 0, Height = 0;
    double DpiX = 0, DpiY = 0;
    int ColourChannels = 3;         // 3 RGB, 4 CMYK, 1 ink mask
    std::vector<std::string> Inks;  // names of spot channels after the colour ones
    std::string PageName;
    const std::vector<std::uint8_t>* IccProfile = nullptr;  // not for masks
    Compression Packing = kDefaultCompression;
};

// Whether this libtiff can write pages packed this way.
bool CompressionAvailable(Compression c);

class TiffDocument {
public:
    ~TiffDocument();
    // BigTIFF when the pages may pass 4 GB.
    bool Open(const std::string& path, bool big);
    bool StartPage(const PageFormat& format, std::uint16_t pageNumber);
    // Writes rows up to and including `row` (repeating `pixels` for skipped
    // ones); false on a write error.
    bool WriteRow(std::int32_t row, const std::uint8_t* pixels);
    // Fills the missing rows with paper and closes the page.
    bool EndPage();
    bool Close();
    // Closes the file with the open page left unfinished (an aborted run:
    // the file is thrown away).
    void Abandon();
    bool PageOpen() const { return pageOpen_; }
    int SamplesPerPixel() const { return samples_; }

private:
    TIFF* tif_ = nullptr;
    bool pageOpen_ = false;
    std::int32_t nextRow_ = 0, height_ = 0;
    int samples_ = 0;
    std::vector<std::uint8_t> paper_;
};

}  // namespace drv
