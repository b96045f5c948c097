#include "fixtures.h"

#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <QBuffer>
#include <QImage>

#include <jpeglib.h>
#include <libheif/heif.h>
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
    TIFFSetField(t, TIFFTAG_PLANARCONFIG,
                 s.separatePlanes ? PLANARCONFIG_SEPARATE : PLANARCONFIG_CONTIG);
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
    } else if (s.separatePlanes) {
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, s.rowsPerStrip ? s.rowsPerStrip : h);
        const std::size_t sampleBytes = static_cast<std::size_t>(s.bitsPerSample) / 8;
        Bytes plane(rowBytes / s.samplesPerPixel);
        for (int p = 0; p < s.samplesPerPixel; ++p)
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x)
                    std::memcpy(
                        plane.data() + x * sampleBytes,
                        data.data() + y * rowBytes + (x * s.samplesPerPixel + p) * sampleBytes,
                        sampleBytes);
                TIFFWriteScanline(t, plane.data(), y, static_cast<std::uint16_t>(p));
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
    if (!spec.exif.empty())
        png_set_eXIf_1(png, info, static_cast<png_uint_32>(spec.exif.size()),
                       const_cast<png_bytep>(spec.exif.data()));
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
    const std::size_t rowBytes = static_cast<std::size_t>(w) * depth / 8;
    // A plane shorter than the header says (files made to be refused) packs
    // only the bytes it has.
    for (const auto& p : planes)
        for (int y = 0; y < h; ++y) {
            const std::size_t at = static_cast<std::size_t>(y) * rowBytes;
            const std::size_t n = at < p.size() ? std::min(rowBytes, p.size() - at) : 0;
            rows.push_back(PackBits(p.data() + std::min(at, p.size()), n));
        }
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

void PatchTiffTag(Bytes& tiff, std::uint16_t tag, std::uint32_t value) {
    auto u16 = [&tiff](std::size_t at) {
        return static_cast<unsigned>(tiff[at] | tiff[at + 1] << 8);
    };
    const std::size_t ifd =
        tiff[4] | tiff[5] << 8 | tiff[6] << 16 | static_cast<std::size_t>(tiff[7]) << 24;
    for (unsigned i = 0, n = u16(ifd); i < n; ++i) {
        const std::size_t entry = ifd + 2 + 12 * i;
        if (u16(entry) != tag) continue;
        if (u16(entry + 2) == 3) {  // SHORT
            tiff[entry + 8] = static_cast<std::uint8_t>(value);
            tiff[entry + 9] = static_cast<std::uint8_t>(value >> 8);
        } else {
            for (int b = 0; b < 4; ++b)
                tiff[entry + 8 + b] = static_cast<std::uint8_t>(value >> (8 * b));
        }
        return;
    }
    throw std::runtime_error("tag not in the TIFF fixture");
}

Bytes TiffWithOrientation(int orientation) {
    Bytes app1 = ExifWithOrientation(orientation);
    return Bytes(app1.begin() + 6, app1.end());
}

Bytes MakeWebpWithExif(int w, int h, const Bytes& rgb, const Bytes& exif) {
    QImage picture(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* p = rgb.data() + 3 * (static_cast<std::size_t>(y) * w + x);
            picture.setPixel(x, y, qRgb(p[0], p[1], p[2]));
        }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "webp", 100)) throw std::runtime_error("no WebP writer");
    Bytes b(buffer.data().begin(), buffer.data().end());
    auto le32 = [](Bytes& to, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) to.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    Bytes chunk = {'E', 'X', 'I', 'F'};
    le32(chunk, static_cast<std::uint32_t>(exif.size()));
    chunk.insert(chunk.end(), exif.begin(), exif.end());
    if (exif.size() % 2) chunk.push_back(0);
    b.insert(b.end(), chunk.begin(), chunk.end());
    const auto riffSize = static_cast<std::uint32_t>(b.size() - 8);
    for (int i = 0; i < 4; ++i) b[4 + i] = static_cast<std::uint8_t>(riffSize >> (8 * i));
    return b;
}

namespace {

void PutLE16(Bytes& b, std::size_t at, unsigned v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

// One line of `lineBytes` x planes bytes, run-length encoded (runs within the line).
void PutPcxLine(Bytes& out, const Bytes& line, bool rle) {
    if (!rle) {
        out.insert(out.end(), line.begin(), line.end());
        return;
    }
    for (std::size_t i = 0; i < line.size();) {
        std::size_t run = 1;
        while (i + run < line.size() && run < 63 && line[i + run] == line[i]) ++run;
        if (run > 1 || (line[i] & 0xC0) == 0xC0)
            out.push_back(static_cast<std::uint8_t>(0xC0 | run));
        out.push_back(line[i]);
        i += run;
    }
}

}  // namespace

Bytes MakePcx(int w, int h, int bits, int planes, const Bytes& samples,
              const std::vector<Colour>& palette, bool rle) {
    Bytes b(128, 0);
    b[0] = 0x0A;
    b[1] = 5;
    b[2] = rle ? 1 : 0;
    b[3] = static_cast<std::uint8_t>(bits);
    PutLE16(b, 8, static_cast<unsigned>(w - 1));
    PutLE16(b, 10, static_cast<unsigned>(h - 1));
    PutLE16(b, 12, 300);
    PutLE16(b, 14, 300);
    const bool vga = bits * planes == 8 && planes == 1;
    for (std::size_t i = 0; i < 16 && !vga && i < palette.size(); ++i) {
        b[16 + 3 * i] = RedOf(palette[i]);
        b[17 + 3 * i] = GreenOf(palette[i]);
        b[18 + 3 * i] = BlueOf(palette[i]);
    }
    b[65] = static_cast<std::uint8_t>(planes);
    const int lineBytes = ((w * bits + 7) / 8 + 1) / 2 * 2;  // even, as the format wants
    PutLE16(b, 66, static_cast<unsigned>(lineBytes));
    b[68] = 1;
    const bool rgb = bits == 8 && planes == 3;
    for (int y = 0; y < h; ++y) {
        Bytes line(static_cast<std::size_t>(lineBytes) * planes, 0);
        for (int x = 0; x < w; ++x) {
            const std::size_t px = static_cast<std::size_t>(y) * w + x;
            for (int p = 0; p < planes; ++p) {
                const unsigned v =
                    rgb ? samples[3 * px + p] : (samples[px] >> (p * bits)) & ((1u << bits) - 1);
                const std::size_t bit = static_cast<std::size_t>(x) * bits;
                line[p * lineBytes + bit / 8] |=
                    static_cast<std::uint8_t>(v << (8 - bits - bit % 8));
            }
        }
        PutPcxLine(b, line, rle);
    }
    if (vga) {
        b.push_back(0x0C);
        for (std::size_t i = 0; i < 256; ++i) {
            const Colour c = i < palette.size() ? palette[i] : 0;
            b.insert(b.end(), {RedOf(c), GreenOf(c), BlueOf(c)});
        }
    }
    return b;
}

Bytes MakeHeif(int w, int h, const Bytes& rgb, bool avif) {
    heif_context* ctx = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    Bytes out;
    if (heif_context_get_encoder_for_format(
            ctx, avif ? heif_compression_AV1 : heif_compression_HEVC, &encoder)
            .code == heif_error_Ok) {
        heif_encoder_set_lossy_quality(encoder, 100);
        heif_encoder_set_lossless(encoder, 1);
        heif_image* image = nullptr;
        heif_image_create(w, h, heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image);
        heif_image_add_plane(image, heif_channel_interleaved, w, h, 8);
        int stride = 0;
        std::uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
        for (int y = 0; y < h; ++y)
            std::memcpy(plane + static_cast<std::size_t>(y) * stride,
                        rgb.data() + 3 * static_cast<std::size_t>(y) * w,
                        3 * static_cast<std::size_t>(w));
        if (heif_context_encode_image(ctx, image, encoder, nullptr, nullptr).code ==
            heif_error_Ok) {
            heif_writer writer{};
            writer.writer_api_version = 1;
            writer.write = [](heif_context*, const void* data, size_t size, void* userdata) {
                auto* o = static_cast<Bytes*>(userdata);
                o->insert(o->end(), static_cast<const std::uint8_t*>(data),
                          static_cast<const std::uint8_t*>(data) + size);
                return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
            };
            heif_context_write(ctx, &writer, &out);
        }
        heif_image_release(image);
        heif_encoder_release(encoder);
    }
    heif_context_free(ctx);
    return out;
}

}  // namespace corvan::test
