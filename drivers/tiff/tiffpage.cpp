#include "tiff/tiffpage.h"

#include <tiffio.h>

#include <algorithm>

namespace drv {

namespace {
std::string InkNameList(const PageFormat& f) {
    std::string names = "Cyan";
    names += '\0';
    for (const char* n : {"Magenta", "Yellow", "Black"}) {
        names += n;
        names += '\0';
    }
    for (const auto& ink : f.Inks) {
        names += ink;
        names += '\0';
    }
    return names;
}

std::uint16_t TiffCode(Compression c) {
    switch (c) {
        case Compression::None:
            return COMPRESSION_NONE;
        case Compression::PackBits:
            return COMPRESSION_PACKBITS;
        case Compression::Lzw:
            return COMPRESSION_LZW;
        case Compression::Deflate:
            return COMPRESSION_ADOBE_DEFLATE;
        case Compression::Zstd:
            return COMPRESSION_ZSTD;
    }
    return COMPRESSION_ADOBE_DEFLATE;
}

void SetCompression(TIFF* tif, Compression c) {
    if (!CompressionAvailable(c)) c = kDefaultCompression;
    TIFFSetField(tif, TIFFTAG_COMPRESSION, TiffCode(c));
    // The codecs' fastest levels: the default ones cost several times the
    // time for a few percent of size on flat sign work.
    if (c == Compression::Deflate) TIFFSetField(tif, TIFFTAG_ZIPQUALITY, 1);
    if (c == Compression::Zstd) TIFFSetField(tif, TIFFTAG_ZSTD_LEVEL, 1);
}

void SetColourFields(TIFF* tif, const PageFormat& f) {
    const auto extra = static_cast<std::uint16_t>(f.Inks.size());
    if (f.ColourChannels == 1) {
        // An ink mask: 255 = full ink, shown dark.
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
        return;
    }
    if (f.ColourChannels == 4) {
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_SEPARATED);
        TIFFSetField(tif, TIFFTAG_INKSET, extra ? INKSET_MULTIINK : INKSET_CMYK);
        if (extra) {
            const std::string names = InkNameList(f);
            TIFFSetField(tif, TIFFTAG_NUMBEROFINKS, static_cast<std::uint16_t>(4 + extra));
            TIFFSetField(tif, TIFFTAG_INKNAMES, static_cast<int>(names.size()), names.c_str());
        }
    } else {
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
        if (extra) {
            std::vector<std::uint16_t> kinds(extra, EXTRASAMPLE_UNSPECIFIED);
            TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, extra, kinds.data());
        }
    }
    if (f.IccProfile && !f.IccProfile->empty())
        TIFFSetField(tif, TIFFTAG_ICCPROFILE, static_cast<std::uint32_t>(f.IccProfile->size()),
                     f.IccProfile->data());
}
}  // namespace

bool CompressionAvailable(Compression c) {
    return TIFFIsCODECConfigured(TiffCode(c)) != 0;
}

TiffDocument::~TiffDocument() {
    Close();
}

bool TiffDocument::Open(const std::string& path, bool big) {
    Close();
    tif_ = TIFFOpen(path.c_str(), big ? "w8" : "w");
    return tif_ != nullptr;
}

bool TiffDocument::StartPage(const PageFormat& f, std::uint16_t pageNumber) {
    if (!tif_ || pageOpen_ || f.Width <= 0 || f.Height <= 0) return false;
    samples_ = f.ColourChannels + static_cast<int>(f.Inks.size());
    TIFFSetField(tif_, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
    TIFFSetField(tif_, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(f.Width));
    TIFFSetField(tif_, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(f.Height));
    TIFFSetField(tif_, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif_, TIFFTAG_SAMPLESPERPIXEL, static_cast<std::uint16_t>(samples_));
    TIFFSetField(tif_, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    SetCompression(tif_, f.Packing);
    TIFFSetField(tif_, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(tif_, TIFFTAG_XRESOLUTION, static_cast<float>(f.DpiX));
    TIFFSetField(tif_, TIFFTAG_YRESOLUTION, static_cast<float>(f.DpiY));
    TIFFSetField(tif_, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(tif_, TIFFTAG_PAGENUMBER, pageNumber, static_cast<std::uint16_t>(0));
    TIFFSetField(tif_, TIFFTAG_SOFTWARE, "CorvanRIP TIFF driver");
    if (!f.PageName.empty()) TIFFSetField(tif_, TIFFTAG_PAGENAME, f.PageName.c_str());
    SetColourFields(tif_, f);
    // Strips of about 256 KB: fewer, larger blocks for the codecs.
    const auto rowBytes = static_cast<std::uint32_t>(f.Width) * static_cast<std::uint32_t>(samples_);
    TIFFSetField(tif_, TIFFTAG_ROWSPERSTRIP, std::max<std::uint32_t>(1, (256u << 10) / rowBytes));
    // Paper: no ink for CMYK and masks, white for RGB (spot samples 0).
    paper_.assign(static_cast<std::size_t>(f.Width) * static_cast<std::size_t>(samples_), 0);
    if (f.ColourChannels == 3)
        for (std::size_t i = 0; i < paper_.size(); i += static_cast<std::size_t>(samples_))
            paper_[i] = paper_[i + 1] = paper_[i + 2] = 255;
    nextRow_ = 0;
    height_ = f.Height;
    pageOpen_ = true;
    return true;
}

bool TiffDocument::WriteRow(std::int32_t row, const std::uint8_t* pixels) {
    if (!pageOpen_ || row < nextRow_ || row >= height_) return pageOpen_;
    for (; nextRow_ <= row; ++nextRow_)
        if (TIFFWriteScanline(tif_, const_cast<std::uint8_t*>(pixels),
                              static_cast<std::uint32_t>(nextRow_), 0) < 0)
            return false;
    return true;
}

bool TiffDocument::EndPage() {
    if (!pageOpen_) return true;
    bool ok = true;
    for (; nextRow_ < height_ && ok; ++nextRow_)
        ok = TIFFWriteScanline(tif_, paper_.data(), static_cast<std::uint32_t>(nextRow_), 0) >= 0;
    ok = TIFFWriteDirectory(tif_) != 0 && ok;
    pageOpen_ = false;
    return ok;
}

bool TiffDocument::Close() {
    if (!tif_) return true;
    const bool ok = EndPage();
    TIFFClose(tif_);
    tif_ = nullptr;
    return ok;
}

void TiffDocument::Abandon() {
    if (!tif_) return;
    pageOpen_ = false;
    TIFFClose(tif_);
    tif_ = nullptr;
}

}  // namespace drv
