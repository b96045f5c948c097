#include "imagelib/tiffdecoder.h"

#include "imagelib/cmykconvert.h"
#include "imagelib/imagelimits.h"
#include "imagelib/labconvert.h"

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstring>
#include <functional>
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
    std::string error;  // libtiff's first error text, for the debug log
    bool warned = false;
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
// Uncompressed tiles are mapped rather than read: libtiff 4.5.0 refuses
// them when it has to read them into its rounded-up buffer. Everything else
// is read: the touched pages of a mapped file count as the process's
// memory, hundreds of megabytes beside a large background. Memory streams
// (no descriptor) are always read.
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
int OnWarning(TIFF*, void* data, const char*, const char*, va_list) {
    static_cast<Client*>(data)->warned = true;
    return 1;
}

struct TiffCloser {
    void operator()(TIFF* t) const { TIFFClose(t); }
};
using TiffPtr = std::unique_ptr<TIFF, TiffCloser>;

TiffPtr OpenTiff(Client& client, bool map) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options) return nullptr;
    // A strip or tile larger than the whole allowed picture is a lie.
    TIFFOpenOptionsSetMaxSingleMemAlloc(
        options, static_cast<tmsize_t>(std::min<std::uint64_t>(MaxImageBytes(), INT64_MAX)));
    TIFFOpenOptionsSetErrorHandlerExtR(options, OnError, &client);
    TIFFOpenOptionsSetWarningHandlerExtR(options, OnWarning, &client);
    TIFF* tif =
        TIFFClientOpenExt("picture", map ? "r" : "rm", &client, ClientRead, ClientWrite, ClientSeek,
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

// How the samples are turned into our pixels: libtiff's RGBA interface for
// everything it knows, our own rows where it falls short (colour-managed
// CMYK and Lab, and 16-bit samples, which it truncates instead of rounding).
enum class Route { Rgba, Cmyk, Lab, Wide };

struct Samples {
    std::uint16_t photometric = 0, inkset = INKSET_CMYK, spp = 1, bps = 1,
                  planar = PLANARCONFIG_CONTIG, compression = COMPRESSION_NONE;
    std::uint16_t extraCount = 0;
    std::uint16_t* extraKinds = nullptr;
};

Samples ReadSamples(TIFF* tif) {
    Samples s;
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &s.photometric);
    TIFFGetFieldDefaulted(tif, TIFFTAG_INKSET, &s.inkset);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &s.spp);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &s.bps);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &s.planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &s.compression);
    TIFFGetFieldDefaulted(tif, TIFFTAG_EXTRASAMPLES, &s.extraCount, &s.extraKinds);
    return s;
}

unsigned ColourSamples(const Samples& s) {
    switch (s.photometric) {
        case PHOTOMETRIC_MINISBLACK:
        case PHOTOMETRIC_MINISWHITE:
        case PHOTOMETRIC_PALETTE:
            return 1;
        case PHOTOMETRIC_SEPARATED:
            return 4;
        default:
            return 3;
    }
}

Route ChooseRoute(const Samples& s) {
    const bool contig = s.planar == PLANARCONFIG_CONTIG;
    if (s.photometric == PHOTOMETRIC_SEPARATED && s.inkset == INKSET_CMYK && s.spp >= 4 &&
        (s.bps == 8 || s.bps == 16) && contig)
        return Route::Cmyk;
    if ((s.photometric == PHOTOMETRIC_CIELAB || s.photometric == PHOTOMETRIC_ICCLAB) &&
        s.spp >= 3 && (s.bps == 8 || s.bps == 16) && contig)
        return Route::Lab;
    const bool greyOrRgb = s.photometric == PHOTOMETRIC_MINISBLACK ||
                           s.photometric == PHOTOMETRIC_MINISWHITE ||
                           s.photometric == PHOTOMETRIC_RGB;
    if (greyOrRgb && s.bps == 16 && contig && s.spp >= ColourSamples(s) &&
        s.spp <= ColourSamples(s) + 1)
        return Route::Wide;
    return Route::Rgba;
}

const char* ColourSpaceName(const Samples& s) {
    switch (s.photometric) {
        case PHOTOMETRIC_MINISBLACK:
        case PHOTOMETRIC_MINISWHITE:
            return s.bps == 1 ? "black and white" : "greyscale";
        case PHOTOMETRIC_PALETTE:
            return "palette";
        case PHOTOMETRIC_SEPARATED:
            return "CMYK";
        case PHOTOMETRIC_CIELAB:
        case PHOTOMETRIC_ICCLAB:
            return "L*a*b*";
        case PHOTOMETRIC_YCBCR:
            return "YCbCr";
        default:
            return "RGB";
    }
}

// Sizes beyond what the file's bytes can hold are damage, found before any
// pixel memory is taken. Uncompressed data must be all there; the common
// compressions cannot shrink data more than a few thousand times.
bool FileTooSmall(const Samples& s, const Geometry& g, std::uint64_t fileBytes) {
    const std::uint64_t raw = std::uint64_t{g.width} * g.height * s.spp * s.bps / 8;
    switch (s.compression) {
        case COMPRESSION_NONE:
            return raw > fileBytes;
        case COMPRESSION_LZW:
        case COMPRESSION_PACKBITS:
        case COMPRESSION_DEFLATE:
        case COMPRESSION_ADOBE_DEFLATE:
        case COMPRESSION_JPEG:
            return raw / 4096 > fileBytes;
        default:
            return false;
    }
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
    if (!TIFFRGBAImageOK(tif, message)) {
        LogDecoderText("TIFF", message);
        return "This kind of TIFF picture cannot be read (its colour layout is not supported)";
    }
    TIFFRGBAImage img;
    // Stop at the first damaged strip or tile instead of leaving it blank.
    if (!TIFFRGBAImageBegin(&img, tif, 1, message)) {
        LogDecoderText("TIFF", message);
        return "its colour layout is damaged";
    }
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
            error = "its picture data is incomplete or unreadable";
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

// One band of contiguous samples, assembled from a strip or from a row of tiles.
bool ReadBand(TIFF* tif, const Geometry& g, std::uint32_t y, std::size_t pixelBytes,
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

using RowConverter = std::function<void(const std::uint8_t* samples, std::uint8_t* bgr)>;

// Our own rows: bands of contiguous samples, each row turned into pixels by `convert`.
std::string ReadConverted(TIFF* tif, const Geometry& g, const Samples& s, Bitmap24& out,
                          ProgressReporter& progress, const RowConverter& convert) {
    const std::size_t pixelBytes = std::size_t{s.spp} * s.bps / 8;
    const std::size_t rowBytes = pixelBytes * g.width;
    if (g.tiled && (g.tileWidth == 0 ||
                    TIFFTileRowSize(tif) < static_cast<tmsize_t>(pixelBytes * g.tileWidth)))
        return "its tile layout is wrong";
    std::vector<std::uint8_t> band, tile;
    try {
        band.resize(rowBytes * g.band);
        if (g.tiled) tile.resize(static_cast<std::size_t>(TIFFTileSize(tif)));
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    }
    for (std::uint32_t y = 0; y < g.height; y += g.band) {
        if (!ReadBand(tif, g, y, pixelBytes, band, tile))
            return "its picture data is incomplete or unreadable";
        const std::uint32_t rows = std::min(g.band, g.height - y);
        for (std::uint32_t r = 0; r < rows; ++r)
            convert(band.data() + r * rowBytes, out.Row(static_cast<int>(y + r)));
        progress.Advance(y + rows, g.height);
    }
    return {};
}

std::uint32_t To8(std::uint32_t v16) {
    return (v16 * 255 + 32767) / 65535;
}

// 16-bit grey or RGB, with or without alpha, rounded to 8 bits; alpha is
// laid on white in 16 bits before rounding.
RowConverter WideRows(const Samples& s, std::uint32_t width) {
    const unsigned colours = ColourSamples(s);
    const bool alpha = s.spp > colours;
    const bool associated =
        alpha && s.extraCount > 0 && s.extraKinds && s.extraKinds[0] == EXTRASAMPLE_ASSOCALPHA;
    const bool invert = s.photometric == PHOTOMETRIC_MINISWHITE;
    const unsigned spp = s.spp;
    return [=](const std::uint8_t* bytes, std::uint8_t* dst) {
        const auto* p = reinterpret_cast<const std::uint16_t*>(bytes);
        for (std::uint32_t x = 0; x < width; ++x, p += spp, dst += 3) {
            const std::uint64_t a = alpha ? p[colours] : 65535;
            for (unsigned ch = 0; ch < 3; ++ch) {
                std::uint64_t v = p[colours == 1 ? 0 : ch];
                if (invert) v = 65535 - v;
                const std::uint64_t veil = 65535 - a;
                v = associated ? std::min<std::uint64_t>(65535, v + veil)
                               : (v * a + 65535 * veil + 32767) / 65535;
                dst[2 - ch] = static_cast<std::uint8_t>(To8(static_cast<std::uint32_t>(v)));
            }
        }
    };
}

std::string ReadCmyk(TIFF* tif, const Geometry& g, const Samples& s, Bitmap24& out,
                     ProgressReporter& progress) {
    std::uint32_t iccLength = 0;
    void* icc = nullptr;
    std::span<const std::uint8_t> profile;
    if (TIFFGetField(tif, TIFFTAG_ICCPROFILE, &iccLength, &icc) && icc)
        profile = {static_cast<const std::uint8_t*>(icc), iccLength};
    std::string error;
    auto converter = CmykConverter::Create(profile, {s.bps, false, s.spp - 4}, &error);
    if (!converter) return error;
    return ReadConverted(tif, g, s, out, progress, [&](const std::uint8_t* src, std::uint8_t* dst) {
        converter->Convert(src, dst, static_cast<int>(g.width));
    });
}

std::string ReadLab(TIFF* tif, const Geometry& g, const Samples& s, Bitmap24& out,
                    ProgressReporter& progress) {
    const auto converter = LabConverter::Create(
        s.photometric == PHOTOMETRIC_CIELAB ? LabEncoding::TiffCie : LabEncoding::Icc, s.bps,
        s.spp - 3);
    if (!converter) return "its L*a*b* colours cannot be converted";
    return ReadConverted(tif, g, s, out, progress, [&](const std::uint8_t* src, std::uint8_t* dst) {
        converter->Convert(src, dst, static_cast<int>(g.width));
    });
}

std::string ReadPixels(TIFF* tif, const Geometry& g, const Samples& s, Bitmap24& out,
                       ProgressReporter& progress) {
    switch (ChooseRoute(s)) {
        case Route::Cmyk:
            return ReadCmyk(tif, g, s, out, progress);
        case Route::Lab:
            return ReadLab(tif, g, s, out, progress);
        case Route::Wide:
            return ReadConverted(tif, g, s, out, progress, WideRows(s, g.width));
        case Route::Rgba:
            break;
    }
    return ReadRgba(tif, g, out, progress);
}

PictureInfo DescribeTiff(TIFF* tif, const Samples& s) {
    PictureInfo info;
    info.format = "TIFF";
    info.colourSpace = ColourSpaceName(s);
    info.bitsPerSample = s.bps;
    float xres = 0, yres = 0;
    std::uint16_t unit = RESUNIT_INCH;
    TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
    if (unit != RESUNIT_NONE && TIFFGetField(tif, TIFFTAG_XRESOLUTION, &xres) &&
        TIFFGetField(tif, TIFFTAG_YRESOLUTION, &yres)) {
        const double perInch = unit == RESUNIT_CENTIMETER ? 2.54 : 1.0;
        info.dpiX = xres * perInch;
        info.dpiY = yres * perInch;
    }
    std::uint32_t iccLength = 0;
    void* icc = nullptr;
    if (TIFFGetField(tif, TIFFTAG_ICCPROFILE, &iccLength, &icc) && icc)
        info.profile = ProfileDescription({static_cast<const std::uint8_t*>(icc), iccLength});
    return info;
}

}  // namespace

DecodeResult DecodeTiff(const ImageSource& source, ProgressReporter& progress) {
    Client client{RangeReader(source), source, {}};
    TiffPtr tif = OpenTiff(client, false);
    if (tif && TIFFIsTiled(tif.get()) && ReadSamples(tif.get()).compression == COMPRESSION_NONE) {
        tif.reset();
        client.error.clear();
        client.reader.Seek(0);  // libtiff reads the header from where the stream stands
        tif = OpenTiff(client, true);
    }
    auto failed = [&client](const std::string& detail) {
        LogDecoderText("TIFF", client.error);
        return DecodeResult::Failed(DamagedFile("TIFF", detail));
    };
    if (!tif) return failed("its header cannot be read");
    progress.Start();
    const Geometry g = ReadGeometry(tif.get());
    const Samples s = ReadSamples(tif.get());
    const Route route = ChooseRoute(s);
    // The RGBA path holds one band of 32-bit pixels besides the result.
    const unsigned work = route == Route::Rgba && g.band >= g.height / 2 ? 4 : 0;
    if (std::string tooLarge = CheckImageSize(g.width, g.height, work); !tooLarge.empty())
        return DecodeResult::Failed(tooLarge);
    if (FileTooSmall(s, g, source.length)) return failed("it ends early");
    auto image = Bitmap24::Create(static_cast<int>(g.width), static_cast<int>(g.height));
    if (!image) return DecodeResult::Failed(kOutOfMemory);
    // Errors met while opening may have been worked around; from here on
    // every error means missing or wrong pixels.
    client.error.clear();
    std::string error = ReadPixels(tif.get(), g, s, *image, progress);
    if (error.empty() && !client.error.empty())
        error = "its picture data is incomplete or unreadable";
    // Whole sentences (capitalised) stand alone; fragments say what is damaged.
    if (!error.empty() && std::isupper(static_cast<unsigned char>(error[0])))
        return DecodeResult::Failed(error);
    if (!error.empty()) return failed(error);
    std::uint16_t orientation = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_ORIENTATION, &orientation);
    DecodeResult result{std::move(image), {}, DescribeTiff(tif.get(), s)};
    if (client.warned)
        result.info.warnings.push_back("the file has minor faults that were skipped");
    progress.Finish();
    return Oriented(std::move(result), orientation);
}

}  // namespace corvan
