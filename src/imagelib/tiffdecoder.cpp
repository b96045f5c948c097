#include "imagelib/tiffdecoder.h"

#include "imagelib/cmykconvert.h"
#include "imagelib/imagelimits.h"
#include "imagelib/orientation.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <vector>

#include <sys/mman.h>
#include <tiffio.h>

namespace corvan {

namespace {

// libtiff reads through these so that a TIFF inside another file (an EPS
// preview) never reads past its own span.
struct Client {
    RangeReader reader;
    ImageSource source;
    std::string error;
    void* mapping = nullptr;
    std::size_t mappingLength = 0;
};

tmsize_t ClientRead(thandle_t h, void* buffer, tmsize_t size) {
    if (size <= 0) return 0;
    return static_cast<tmsize_t>(
        static_cast<Client*>(h)->reader.ReadSome(buffer, static_cast<std::size_t>(size)));
}
tmsize_t ClientWrite(thandle_t, void*, tmsize_t) {
    return 0;
}
toff_t ClientSeek(thandle_t h, toff_t offset, int whence) {
    RangeReader& r = static_cast<Client*>(h)->reader;
    const toff_t base = whence == SEEK_CUR ? r.Tell() : whence == SEEK_END ? r.Size() : 0;
    if (offset > UINT64_MAX - base || !r.Seek(base + offset)) return static_cast<toff_t>(-1);
    return r.Tell();
}
int ClientClose(thandle_t) {
    return 0;
}
toff_t ClientSize(thandle_t h) {
    return static_cast<Client*>(h)->reader.Size();
}
// Files are mapped rather than read: faster for big pictures, and libtiff
// 4.5.0 refuses uncompressed tiles when it has to read them into its
// rounded-up buffer. Memory streams (no descriptor) are read.
int ClientMap(thandle_t h, void** base, toff_t* size) {
    auto* c = static_cast<Client*>(h);
    const int fd = fileno(c->source.file);
    const std::uint64_t end = c->source.offset + c->source.length;
    if (fd < 0 || c->source.length == 0 || end > SIZE_MAX) return 0;
    void* p = mmap(nullptr, static_cast<std::size_t>(end), PROT_READ, MAP_PRIVATE, fd, 0);
    if (p == MAP_FAILED) return 0;
    c->mapping = p;
    c->mappingLength = static_cast<std::size_t>(end);
    *base = static_cast<std::uint8_t*>(p) + c->source.offset;
    *size = c->source.length;
    return 1;
}
void ClientUnmap(thandle_t h, void*, toff_t) {
    auto* c = static_cast<Client*>(h);
    if (c->mapping) munmap(c->mapping, c->mappingLength);
    c->mapping = nullptr;
}

int OnError(TIFF*, void* data, const char*, const char* fmt, va_list ap) {
    auto* client = static_cast<Client*>(data);
    if (client->error.empty()) {
        char text[512];
        std::vsnprintf(text, sizeof text, fmt, ap);
        client->error = text;
    }
    return 1;
}
int OnWarning(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

struct TiffCloser {
    void operator()(TIFF* t) const { TIFFClose(t); }
};
using TiffPtr = std::unique_ptr<TIFF, TiffCloser>;

TiffPtr OpenTiff(Client& client) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options) return nullptr;
    // A strip or tile larger than the whole allowed picture is a lie.
    TIFFOpenOptionsSetMaxSingleMemAlloc(
        options, static_cast<tmsize_t>(std::min<std::uint64_t>(MaxImageBytes(), INT64_MAX)));
    TIFFOpenOptionsSetErrorHandlerExtR(options, OnError, &client);
    TIFFOpenOptionsSetWarningHandlerExtR(options, OnWarning, &client);
    TIFF* tif = TIFFClientOpenExt("picture", "r", &client, ClientRead, ClientWrite, ClientSeek,
                                  ClientClose, ClientSize, ClientMap, ClientUnmap, options);
    TIFFOpenOptionsFree(options);
    return TiffPtr(tif);
}

struct Geometry {
    std::uint32_t width = 0, height = 0;
    std::uint32_t band = 1;  // rows decoded at a time: one strip or one row of tiles
    bool tiled = false;
    std::uint32_t tileWidth = 0;
};

Geometry ReadGeometry(TIFF* tif) {
    Geometry g;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &g.width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &g.height);
    g.tiled = TIFFIsTiled(tif);
    std::uint32_t rows = 0;
    if (g.tiled) {
        TIFFGetField(tif, TIFFTAG_TILEWIDTH, &g.tileWidth);
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &rows);
    } else {
        TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rows);
    }
    g.band = std::clamp<std::uint32_t>(rows, 1, std::max<std::uint32_t>(g.height, 1));
    return g;
}

bool IsCmyk(TIFF* tif) {
    std::uint16_t photometric = 0, inkset = INKSET_CMYK, spp = 1, bps = 1,
                  planar = PLANARCONFIG_CONTIG;
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetFieldDefaulted(tif, TIFFTAG_INKSET, &inkset);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &spp);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bps);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    return photometric == PHOTOMETRIC_SEPARATED && inkset == INKSET_CMYK && spp >= 4 &&
           (bps == 8 || bps == 16) && planar == PLANARCONFIG_CONTIG;
}

// Premultiplied RGBA from libtiff laid on white.
void StoreRgbaRow(const std::uint32_t* src, std::uint8_t* dst, std::uint32_t width) {
    for (std::uint32_t x = 0; x < width; ++x, dst += 3) {
        const std::uint32_t p = src[x];
        const int veil = 255 - static_cast<int>(TIFFGetA(p));
        dst[0] = static_cast<std::uint8_t>(std::min(255, static_cast<int>(TIFFGetB(p)) + veil));
        dst[1] = static_cast<std::uint8_t>(std::min(255, static_cast<int>(TIFFGetG(p)) + veil));
        dst[2] = static_cast<std::uint8_t>(std::min(255, static_cast<int>(TIFFGetR(p)) + veil));
    }
}

// Everything but colour-managed CMYK: libtiff's RGBA interface, one band at
// a time so that each strip or tile row is decoded once.
std::string ReadRgba(TIFF* tif, const Geometry& g, Bitmap24& out, ProgressReporter& progress) {
    char message[1024] = {};
    if (!TIFFRGBAImageOK(tif, message)) return message;
    TIFFRGBAImage img;
    if (!TIFFRGBAImageBegin(&img, tif, 0, message)) return message;
    // Rows come in file order; the orientation is applied afterwards.
    img.req_orientation = img.orientation;
    std::string error;
    std::vector<std::uint32_t> raster;
    try {
        raster.resize(static_cast<std::size_t>(g.width) * g.band);
    } catch (const std::bad_alloc&) {
        error = kOutOfMemory;
    }
    for (std::uint32_t y = 0; error.empty() && y < g.height; y += g.band) {
        const std::uint32_t rows = std::min(g.band, g.height - y);
        img.row_offset = static_cast<int>(y);
        img.col_offset = 0;
        if (!TIFFRGBAImageGet(&img, raster.data(), g.width, rows)) {
            error = "damaged picture data";
            break;
        }
        for (std::uint32_t r = 0; r < rows; ++r)
            StoreRgbaRow(raster.data() + static_cast<std::size_t>(r) * g.width,
                         out.Row(static_cast<int>(y + r)), g.width);
        progress.Advance(y + rows, g.height);
    }
    TIFFRGBAImageEnd(&img);
    return error;
}

// One band of CMYK samples, assembled from a strip or from a row of tiles.
bool ReadCmykBand(TIFF* tif, const Geometry& g, std::uint32_t y, std::size_t pixelBytes,
                  std::vector<std::uint8_t>& band, std::vector<std::uint8_t>& tile) {
    const std::size_t rowBytes = pixelBytes * g.width;
    const std::uint32_t rows = std::min(g.band, g.height - y);
    if (!g.tiled)
        return TIFFReadEncodedStrip(tif, TIFFComputeStrip(tif, y, 0), band.data(),
                                    static_cast<tmsize_t>(rows * rowBytes)) >= 0;
    const auto tileRowBytes = static_cast<std::size_t>(TIFFTileRowSize(tif));
    for (std::uint32_t x = 0; x < g.width; x += g.tileWidth) {
        if (TIFFReadEncodedTile(tif, TIFFComputeTile(tif, x, y, 0, 0), tile.data(),
                                static_cast<tmsize_t>(tile.size())) < 0)
            return false;
        const std::size_t copy = pixelBytes * std::min(g.tileWidth, g.width - x);
        for (std::uint32_t r = 0; r < rows; ++r)
            std::memcpy(band.data() + r * rowBytes + x * pixelBytes, tile.data() + r * tileRowBytes,
                        copy);
    }
    return true;
}

std::string ReadCmyk(TIFF* tif, const Geometry& g, Bitmap24& out, ProgressReporter& progress) {
    std::uint16_t spp = 4, bps = 8;
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &spp);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bps);
    std::uint32_t iccLength = 0;
    void* icc = nullptr;
    std::span<const std::uint8_t> profile;
    if (TIFFGetField(tif, TIFFTAG_ICCPROFILE, &iccLength, &icc) && icc)
        profile = {static_cast<const std::uint8_t*>(icc), iccLength};
    std::string error;
    auto converter = CmykConverter::Create(profile, {bps, false, spp - 4}, &error);
    if (!converter) return error;
    const std::size_t pixelBytes = std::size_t{spp} * bps / 8;
    const std::size_t rowBytes = pixelBytes * g.width;
    if (g.tiled && (g.tileWidth == 0 ||
                    TIFFTileRowSize(tif) < static_cast<tmsize_t>(pixelBytes * g.tileWidth)))
        return "damaged tile layout";
    std::vector<std::uint8_t> band, tile;
    try {
        band.resize(rowBytes * g.band);
        if (g.tiled) tile.resize(static_cast<std::size_t>(TIFFTileSize(tif)));
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    }
    for (std::uint32_t y = 0; y < g.height; y += g.band) {
        if (!ReadCmykBand(tif, g, y, pixelBytes, band, tile)) return "damaged picture data";
        const std::uint32_t rows = std::min(g.band, g.height - y);
        for (std::uint32_t r = 0; r < rows; ++r)
            converter->Convert(band.data() + r * rowBytes, out.Row(static_cast<int>(y + r)),
                               static_cast<int>(g.width));
        progress.Advance(y + rows, g.height);
    }
    return {};
}

}  // namespace

DecodeResult DecodeTiff(const ImageSource& source, ProgressReporter& progress) {
    Client client{RangeReader(source), source, {}};
    TiffPtr tif = OpenTiff(client);
    auto failed = [&client](const std::string& what) {
        // libtiff's own words say more than ours when it has spoken.
        const std::string detail = client.error.empty() ? what : client.error;
        return DecodeResult::Failed("The TIFF file cannot be read" +
                                    (detail.empty() ? "" : ": " + detail));
    };
    if (!tif) return failed("not a TIFF file");
    progress.Start();
    const Geometry g = ReadGeometry(tif.get());
    const bool cmyk = IsCmyk(tif.get());
    // The RGBA path holds one band of 32-bit pixels besides the result.
    const unsigned work = !cmyk && g.band >= g.height / 2 ? 4 : 0;
    if (std::string tooLarge = CheckImageSize(g.width, g.height, work); !tooLarge.empty())
        return DecodeResult::Failed(tooLarge);
    auto image = Bitmap24::Create(static_cast<int>(g.width), static_cast<int>(g.height));
    if (!image) return DecodeResult::Failed(kOutOfMemory);
    const std::string error =
        cmyk ? ReadCmyk(tif.get(), g, *image, progress) : ReadRgba(tif.get(), g, *image, progress);
    if (!error.empty()) return failed(error);
    std::uint16_t orientation = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_ORIENTATION, &orientation);
    image = ApplyOrientation(std::move(image), orientation);
    if (!image) return DecodeResult::Failed(kOutOfMemory);
    progress.Finish();
    return {std::move(image), {}};
}

}  // namespace corvan
