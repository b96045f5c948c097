// BMP and JPEG pictures written row by row. A BMP stores its rows bottom up,
// so each row is written at its place in a file whose size is known from the
// start; JPEG is written top down as the codec wants.
#include "raster/stripsink_formats.h"

#include <jpeglib.h>

#include <array>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <unistd.h>

namespace corvan::sinks {
namespace {

void Put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::uint8_t* p, std::uint32_t v) {
    Put16(p, v);
    Put16(p + 2, v >> 16);
}

int BitsOf(SinkPixels pixels) {
    return pixels == SinkPixels::Colour ? 24 : pixels == SinkPixels::Grey ? 8 : 1;
}

class BmpSink final : public StripSink {
public:
    BmpSink(const SinkSpec& spec, std::uint64_t stride, std::uint32_t paletteSize)
        : StripSink(spec.path, spec.temp, spec.width, spec.height, spec.pixels),
          fd_(spec.fd),
          stride_(stride),
          dataOffset_(14 + 40 + 4 * paletteSize),
          packed_(stride) {
        std::vector<std::uint8_t> head(dataOffset_, 0);
        const std::uint64_t fileSize = dataOffset_ + stride * static_cast<std::uint64_t>(height_);
        const auto perMetre =
            static_cast<std::uint32_t>(spec.dpi > 0 ? spec.dpi / 0.0254 + 0.5 : 0);
        head[0] = 'B';
        head[1] = 'M';
        Put32(&head[2], static_cast<std::uint32_t>(fileSize));
        Put32(&head[10], dataOffset_);
        Put32(&head[14], 40);
        Put32(&head[18], static_cast<std::uint32_t>(width_));
        Put32(&head[22], static_cast<std::uint32_t>(height_));  // positive: bottom up
        Put16(&head[26], 1);
        Put16(&head[28], static_cast<std::uint32_t>(BitsOf(pixels_)));
        Put32(&head[34], static_cast<std::uint32_t>(stride * static_cast<std::uint64_t>(height_)));
        Put32(&head[38], perMetre);
        Put32(&head[42], perMetre);
        Put32(&head[46], paletteSize);
        for (std::uint32_t i = 0; i < paletteSize; ++i) {
            const auto v = static_cast<std::uint8_t>(paletteSize == 2 ? 255 * i : i);
            std::memset(&head[54 + 4 * i], v, 3);
        }
        ready_ = pwrite(fd_, head.data(), head.size(), 0) == static_cast<ssize_t>(head.size()) &&
                 ftruncate(fd_, static_cast<off_t>(fileSize)) == 0;
    }
    ~BmpSink() override {
        StopWriter(true);
        if (fd_ >= 0) close(fd_);
    }
    bool Ready() const { return ready_; }

private:
    bool WriteRow(const std::uint8_t* row) override {
        const std::uint8_t* bytes = row;
        if (pixels_ == SinkPixels::Mono) {
            PackMono(row, width_, packed_.data());
            bytes = packed_.data();
        }
        const std::size_t used = pixels_ == SinkPixels::Colour ? 3 * std::size_t(width_)
                                 : pixels_ == SinkPixels::Grey ? std::size_t(width_)
                                                               : (std::size_t(width_) + 7) / 8;
        const std::uint64_t at =
            dataOffset_ + stride_ * static_cast<std::uint64_t>(height_ - 1 - row_++);
        return pwrite(fd_, bytes, used, static_cast<off_t>(at)) == static_cast<ssize_t>(used);
    }
    bool Close() override {
        const bool ok = fsync(fd_) == 0 && close(fd_) == 0;
        fd_ = -1;
        return ok;
    }

    int fd_;
    std::uint64_t stride_;
    std::uint32_t dataOffset_;
    std::vector<std::uint8_t> packed_;
    int row_ = 0;
    bool ready_ = false;
};

class JpegSink final : public StripSink {
public:
    explicit JpegSink(const SinkSpec& spec)
        : StripSink(spec.path, spec.temp, spec.width, spec.height, spec.pixels),
          rgb_(3 * static_cast<std::size_t>(spec.width)) {
        file_ = fdopen(spec.fd, "wb");
        if (!file_) {
            close(spec.fd);
            return;
        }
        cinfo_.err = jpeg_std_error(&jerr_.pub);
        jerr_.pub.error_exit = &JpegSink::OnError;
        if (setjmp(jerr_.jump)) return;
        jpeg_create_compress(&cinfo_);
        created_ = true;
        jpeg_stdio_dest(&cinfo_, file_);
        cinfo_.image_width = static_cast<JDIMENSION>(width_);
        cinfo_.image_height = static_cast<JDIMENSION>(height_);
        const bool colour = pixels_ == SinkPixels::Colour;
        cinfo_.input_components = colour ? 3 : 1;
        cinfo_.in_color_space = colour ? JCS_RGB : JCS_GRAYSCALE;
        jpeg_set_defaults(&cinfo_);  // the library's default quality
        if (spec.dpi > 0 && spec.dpi < 65535.5) {
            cinfo_.density_unit = 1;  // dots per inch
            cinfo_.X_density = cinfo_.Y_density = static_cast<UINT16>(spec.dpi + 0.5);
        }
        jpeg_start_compress(&cinfo_, TRUE);
        ready_ = true;
    }
    ~JpegSink() override {
        StopWriter(true);
        if (created_) jpeg_destroy_compress(&cinfo_);
        if (file_) std::fclose(file_);
    }
    bool Ready() const { return ready_; }

private:
    struct ErrorManager {
        jpeg_error_mgr pub;
        std::jmp_buf jump;
        JpegSink* owner;
    };
    static void OnError(j_common_ptr cinfo) {
        auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
        char text[JMSG_LENGTH_MAX];
        (*cinfo->err->format_message)(cinfo, text);
        err->owner->error_ = text;
        std::longjmp(err->jump, 1);
    }
    bool WriteRow(const std::uint8_t* row) override {
        JSAMPROW line = const_cast<std::uint8_t*>(row);
        if (pixels_ == SinkPixels::Colour) {
            for (std::size_t i = 0; i < rgb_.size(); i += 3) {
                rgb_[i] = row[i + 2];
                rgb_[i + 1] = row[i + 1];
                rgb_[i + 2] = row[i];
            }
            line = rgb_.data();
        }
        if (setjmp(jerr_.jump)) return false;
        return jpeg_write_scanlines(&cinfo_, &line, 1) == 1;
    }
    bool Close() override {
        if (setjmp(jerr_.jump)) return false;
        jpeg_finish_compress(&cinfo_);
        FILE* f = file_;
        file_ = nullptr;
        return std::fflush(f) == 0 && fsync(fileno(f)) == 0 && std::fclose(f) == 0;
    }

    FILE* file_ = nullptr;
    jpeg_compress_struct cinfo_{};
    ErrorManager jerr_{{}, {}, this};
    std::vector<std::uint8_t> rgb_;
    bool created_ = false, ready_ = false;
};

}  // namespace

std::unique_ptr<StripSink> MakeBmpSink(const SinkSpec& spec, std::string& error) {
    const int bits = BitsOf(spec.pixels);
    const std::uint64_t stride = ((static_cast<std::uint64_t>(spec.width) * bits + 31) / 32) * 4;
    if (stride * static_cast<std::uint64_t>(spec.height) > 0xFFFFFFFFull - 2048 ||
        spec.height > 0x7FFFFFFF) {
        close(spec.fd);
        error = "the picture is too large for a BMP file (4 GB at most); choose PNG or TIFF";
        return nullptr;
    }
    const std::uint32_t palette = bits == 24 ? 0 : bits == 8 ? 256 : 2;
    auto sink = std::make_unique<BmpSink>(spec, stride, palette);
    if (sink->Ready()) return sink;
    error = "cannot write the picture";
    return nullptr;
}

std::unique_ptr<StripSink> MakeJpegSink(const SinkSpec& spec, std::string& error) {
    if (spec.width > JPEG_MAX_DIMENSION || spec.height > JPEG_MAX_DIMENSION) {
        close(spec.fd);
        error = "a JPEG picture is at most " + std::to_string(JPEG_MAX_DIMENSION) +
                " pixels a side; choose PNG or TIFF";
        return nullptr;
    }
    auto sink = std::make_unique<JpegSink>(spec);
    if (sink->Ready()) return sink;
    error = "cannot write the picture";
    return nullptr;
}

}  // namespace corvan::sinks
