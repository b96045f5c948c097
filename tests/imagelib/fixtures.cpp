#include "fixtures.h"

#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <jpeglib.h>
#include <png.h>
#include <tiffio.h>

namespace corvan::test {

Colour QuadrantColour(int x, int y, int w, int h) {
    const bool right = x >= w / 2, bottom = y >= h / 2;
    if (!bottom) return right ? MakeColour(0, 255, 0) : MakeColour(255, 0, 0);
    return right ? MakeColour(255, 255, 255) : MakeColour(0, 0, 255);
}

Bytes QuadrantSamples(int w, int h) {
    Bytes out;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Colour c = QuadrantColour(x, y, w, h);
            out.insert(out.end(), {RedOf(c), GreenOf(c), BlueOf(c)});
        }
    return out;
}

Bytes Widen16(const Bytes& samples) {
    Bytes out(samples.size() * 2);
    auto* p = reinterpret_cast<std::uint16_t*>(out.data());
    for (std::size_t i = 0; i < samples.size(); ++i)
        p[i] = static_cast<std::uint16_t>(samples[i] * 257);
    return out;
}

std::vector<Bytes> Planes(const Bytes& interleaved, int channels) {
    std::vector<Bytes> planes(static_cast<std::size_t>(channels));
    for (std::size_t i = 0; i < interleaved.size(); ++i)
        planes[i % channels].push_back(interleaved[i]);
    return planes;
}

int ColourDistance(Colour a, Colour b) {
    return std::max({std::abs(RedOf(a) - RedOf(b)), std::abs(GreenOf(a) - GreenOf(b)),
                     std::abs(BlueOf(a) - BlueOf(b))});
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

namespace {

Bytes ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

Bytes ExifWithOrientation(int orientation) {
    // "Exif\0\0", little-endian TIFF header, IFD0 with the one orientation entry.
    Bytes b = {'E', 'x',  'i',  'f', 0,
               0,   'I',  'I',  42,  0,
               8,   0,    0,    0,   1,
               0,   0x12, 0x01, 3,   0,
               1,   0,    0,    0,   static_cast<std::uint8_t>(orientation),
               0,   0,    0,    0,   0,
               0,   0};
    return b;
}

}  // namespace

Bytes MakeJpeg(int w, int h, const Bytes& samples, const JpegSpec& spec) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = static_cast<JDIMENSION>(w);
    c.image_height = static_cast<JDIMENSION>(h);
    c.input_components = spec.space == JpegSpace::Grey ? 1 : spec.space == JpegSpace::Rgb ? 3 : 4;
    c.in_color_space = spec.space == JpegSpace::Grey  ? JCS_GRAYSCALE
                       : spec.space == JpegSpace::Rgb ? JCS_RGB
                                                      : JCS_CMYK;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 95, TRUE);
    if (spec.space == JpegSpace::Cmyk) c.write_Adobe_marker = spec.adobeMarker;
    if (spec.progressive) jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    if (spec.orientation) {
        const Bytes exif = ExifWithOrientation(spec.orientation);
        jpeg_write_marker(&c, JPEG_APP0 + 1, exif.data(), static_cast<unsigned>(exif.size()));
    }
    if (!spec.icc.empty())
        jpeg_write_icc_profile(&c, spec.icc.data(), static_cast<unsigned>(spec.icc.size()));
    const std::size_t stride = static_cast<std::size_t>(w) * c.input_components;
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<std::uint8_t*>(samples.data() + stride * c.next_scanline);
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    Bytes out(buffer, buffer + size);
    jpeg_destroy_compress(&c);
    std::free(buffer);
    return out;
}

namespace {

void WriteTiffPage(TIFF* t, int w, int h, const Bytes& samples, const TiffSpec& s, bool blank) {
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, w);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, h);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, s.bitsPerSample);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, s.samplesPerPixel);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, s.photometric);
    TIFFSetField(t, TIFFTAG_COMPRESSION, s.compression);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_ORIENTATION, s.orientation);
    if (s.compression == COMPRESSION_JPEG && s.photometric == PHOTOMETRIC_RGB)
        TIFFSetField(t, TIFFTAG_JPEGQUALITY, 95);
    if (s.extraSamples) {
        const std::uint16_t kind = static_cast<std::uint16_t>(s.extraSamples);
        TIFFSetField(t, TIFFTAG_EXTRASAMPLES, 1, &kind);
    }
    if (!s.colormap.empty()) {
        const std::size_t n = s.colormap.size() / 3;
        TIFFSetField(t, TIFFTAG_COLORMAP, s.colormap.data(), s.colormap.data() + n,
                     s.colormap.data() + 2 * n);
    }
    if (!s.icc.empty())
        TIFFSetField(t, TIFFTAG_ICCPROFILE, static_cast<std::uint32_t>(s.icc.size()), s.icc.data());
    const std::size_t rowBytes =
        static_cast<std::size_t>(w) * s.samplesPerPixel * s.bitsPerSample / 8;
    Bytes data = blank ? Bytes(rowBytes * h, 0) : samples;
    if (s.tileSize) {
        TIFFSetField(t, TIFFTAG_TILEWIDTH, s.tileSize);
        TIFFSetField(t, TIFFTAG_TILELENGTH, s.tileSize);
        const std::size_t pixel = rowBytes / w;
        Bytes tile(static_cast<std::size_t>(TIFFTileSize(t)), 0);
        for (int ty = 0; ty < h; ty += s.tileSize)
            for (int tx = 0; tx < w; tx += s.tileSize) {
                std::fill(tile.begin(), tile.end(), 0);
                for (int r = 0; r < s.tileSize && ty + r < h; ++r)
                    std::memcpy(tile.data() + r * pixel * s.tileSize,
                                data.data() + (ty + r) * rowBytes + tx * pixel,
                                pixel * std::min(s.tileSize, w - tx));
                TIFFWriteTile(t, tile.data(), tx, ty, 0, 0);
            }
    } else {
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP,
                     s.rowsPerStrip ? s.rowsPerStrip : TIFFDefaultStripSize(t, 0));
        for (int y = 0; y < h; ++y) TIFFWriteScanline(t, data.data() + y * rowBytes, y, 0);
    }
    TIFFWriteDirectory(t);
}

}  // namespace

Bytes MakeTiff(int w, int h, const Bytes& samples, const TiffSpec& spec) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("t.tif").toStdString();
    TIFF* t = TIFFOpen(path.c_str(), spec.bigTiff ? "w8" : "w");
    if (!t) throw std::runtime_error("cannot write TIFF fixture");
    for (int page = 0; page < spec.pages; ++page) WriteTiffPage(t, w, h, samples, spec, page > 0);
    TIFFClose(t);
    return ReadAll(path);
}

Bytes MakePng(int w, int h, const Bytes& rows, const PngSpec& spec) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t n) {
            auto* o = static_cast<Bytes*>(png_get_io_ptr(p));
            o->insert(o->end(), data, data + n);
        },
        nullptr);
    png_set_IHDR(png, info, w, h, spec.bitDepth, spec.colorType,
                 spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (Colour c : spec.palette) palette.push_back({RedOf(c), GreenOf(c), BlueOf(c)});
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (!spec.alphaOfPalette.empty())
        png_set_tRNS(png, info, spec.alphaOfPalette.data(),
                     static_cast<int>(spec.alphaOfPalette.size()), nullptr);
    png_write_info(png, info);
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    std::vector<png_bytep> pointers;
    for (int y = 0; y < h; ++y)
        pointers.push_back(const_cast<png_bytep>(rows.data() + y * rowBytes));
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

namespace {

void PutBE(Bytes& b, std::uint64_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// Literal runs only, except runs of equal bytes: enough to exercise both forms.
Bytes PackBits(const std::uint8_t* p, std::size_t n) {
    Bytes out;
    std::size_t i = 0;
    while (i < n) {
        std::size_t run = 1;
        while (i + run < n && run < 128 && p[i + run] == p[i]) ++run;
        if (run >= 2) {
            out.push_back(static_cast<std::uint8_t>(1 - static_cast<int>(run)));
            out.push_back(p[i]);
        } else {
            out.push_back(0);
            out.push_back(p[i]);
        }
        i += run;
    }
    return out;
}

}  // namespace

Bytes MakePsd(int w, int h, int mode, const std::vector<Bytes>& planes, bool rle, const Bytes& icc,
              int depth) {
    Bytes b = {'8', 'B', 'P', 'S', 0, 1, 0, 0, 0, 0, 0, 0};
    PutBE(b, planes.size(), 2);
    PutBE(b, h, 4);
    PutBE(b, w, 4);
    PutBE(b, depth, 2);
    PutBE(b, mode, 2);
    PutBE(b, 0, 4);  // colour mode data
    Bytes resources;
    if (!icc.empty()) {
        resources = {'8', 'B', 'I', 'M', 0x04, 0x0F, 0, 0};  // id 1039, empty padded name
        PutBE(resources, icc.size(), 4);
        resources.insert(resources.end(), icc.begin(), icc.end());
        if (icc.size() % 2) resources.push_back(0);
    }
    // A resource we do not use, with an odd-length name, before the profile.
    Bytes other = {'8', 'B', 'I', 'M', 0x03, 0xED, 3, 'a', 'b', 'c', 0, 0, 0, 2, 9, 9};
    resources.insert(resources.begin(), other.begin(), other.end());
    PutBE(b, resources.size(), 4);
    b.insert(b.end(), resources.begin(), resources.end());
    PutBE(b, 6, 4);  // layer and mask section, content skipped
    b.insert(b.end(), {1, 2, 3, 4, 5, 6});
    PutBE(b, rle ? 1 : 0, 2);
    if (!rle) {
        for (const auto& p : planes) b.insert(b.end(), p.begin(), p.end());
        return b;
    }
    std::vector<Bytes> rows;
    for (const auto& p : planes)
        for (int y = 0; y < h; ++y)
            rows.push_back(PackBits(p.data() + static_cast<std::size_t>(y) * w, w));
    for (const auto& r : rows) PutBE(b, r.size(), 2);
    for (const auto& r : rows) b.insert(b.end(), r.begin(), r.end());
    return b;
}

Bytes MakeEps(const Bytes& tiff) {
    const std::string ps = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\nshowpage\n";
    Bytes b = {0xC5, 0xD0, 0xD3, 0xC6};
    auto le = [&b](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    const std::uint32_t psOffset = 30, tiffOffset = 30 + static_cast<std::uint32_t>(ps.size());
    le(psOffset);
    le(static_cast<std::uint32_t>(ps.size()));
    le(0);
    le(0);
    le(tiff.empty() ? 0 : tiffOffset);
    le(static_cast<std::uint32_t>(tiff.size()));
    b.push_back(0xFF);
    b.push_back(0xFF);
    b.insert(b.end(), ps.begin(), ps.end());
    b.insert(b.end(), tiff.begin(), tiff.end());
    return b;
}

}  // namespace corvan::test
