#include "imagelib/heifdecoder.h"

#include "imagelib/imagelimits.h"

#include <libheif/heif.h>

#include <cstring>
#include <memory>
#include <vector>

namespace corvan {

namespace {

struct ContextFree {
    void operator()(heif_context* c) const { heif_context_free(c); }
};
struct HandleRelease {
    void operator()(heif_image_handle* h) const { heif_image_handle_release(h); }
};
struct ImageRelease {
    void operator()(heif_image* i) const { heif_image_release(i); }
};
struct OptionsFree {
    void operator()(heif_decoding_options* o) const { heif_decoding_options_free(o); }
};

DecodeResult Failed(const heif_error& e, const char* detail) {
    LogDecoderText("HEIF", e.message ? e.message : "");
    if (e.code == heif_error_Unsupported_feature || e.code == heif_error_Unsupported_filetype)
        return DecodeResult::Failed(
            "This HEIF or AVIF picture uses a feature that cannot be read (no decoder for it)");
    if (e.code == heif_error_Memory_allocation_error) return DecodeResult::Failed(kOutOfMemory);
    return DecodeResult::Failed(DamagedFile("HEIF", detail));
}

void StoreRows(const heif_image* image, bool alpha, Bitmap24& out, ProgressReporter& progress) {
    int stride = 0;
    const std::uint8_t* pixels =
        heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride);
    const int step = alpha ? 4 : 3;
    for (int y = 0; y < out.Height(); ++y) {
        const std::uint8_t* src =
            pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride);
        std::uint8_t* dst = out.Row(y);
        for (int x = 0; x < out.Width(); ++x, src += step, dst += 3) {
            const unsigned a = alpha ? src[3] : 255, veil = 255 * (255 - a);
            for (int c = 0; c < 3; ++c)
                dst[2 - c] = static_cast<std::uint8_t>((src[c] * a + veil + 127) / 255);
        }
        progress.Advance(static_cast<std::uint64_t>(y) + 1,
                         static_cast<std::uint64_t>(out.Height()));
    }
}

PictureInfo Describe(const heif_image_handle* handle, bool avif) {
    PictureInfo info;
    info.format = avif ? "AVIF" : "HEIF";
    info.colourSpace = heif_image_handle_has_alpha_channel(handle) ? "RGB with alpha" : "RGB";
    info.bitsPerSample = heif_image_handle_get_luma_bits_per_pixel(handle);
    if (const std::size_t n = heif_image_handle_get_raw_color_profile_size(handle)) {
        std::vector<std::uint8_t> icc(n);
        if (heif_image_handle_get_raw_color_profile(handle, icc.data()).code == heif_error_Ok)
            info.profile = ProfileDescription(icc);
    }
    return info;
}

}  // namespace

bool LooksLikeHeif(std::span<const std::uint8_t> head) {
    if (head.size() < 12 || std::memcmp(head.data() + 4, "ftyp", 4) != 0) return false;
    static constexpr const char* kBrands[] = {"heic", "heix", "hevc", "hevx", "heim",
                                              "heis", "mif1", "msf1", "avif", "avis"};
    for (const char* brand : kBrands)
        if (std::memcmp(head.data() + 8, brand, 4) == 0) return true;
    return false;
}

DecodeResult DecodeHeif(const ImageSource& source, ProgressReporter& progress) {
    // HEIF needs random access to its boxes; photos are small enough to hold.
    if (source.length > MaxImageBytes())
        return DecodeResult::Failed(
            "The HEIF file is too large to load: it is larger than the picture size limit "
            "(CORVANRIP_MAX_IMAGE_BYTES)");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(source.length));
    RangeReader in(source);
    if (!in.Read(bytes.data(), bytes.size()))
        return DecodeResult::Failed(DamagedFile("HEIF", "it cannot be read"));
    std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
    if (!context) return DecodeResult::Failed(kOutOfMemory);
    heif_error e = heif_context_read_from_memory_without_copy(context.get(), bytes.data(),
                                                              bytes.size(), nullptr);
    if (e.code != heif_error_Ok) return Failed(e, "its structure cannot be read");
    heif_image_handle* rawHandle = nullptr;
    e = heif_context_get_primary_image_handle(context.get(), &rawHandle);
    std::unique_ptr<heif_image_handle, HandleRelease> handle(rawHandle);
    if (e.code != heif_error_Ok) return Failed(e, "it has no main picture");
    const int width = heif_image_handle_get_width(handle.get());
    const int height = heif_image_handle_get_height(handle.get());
    const bool alpha = heif_image_handle_has_alpha_channel(handle.get()) != 0;
    // libheif's decoded copy sits beside ours.
    if (std::string tooLarge = CheckImageSize(width, height, alpha ? 4 : 3); !tooLarge.empty())
        return DecodeResult::Failed(tooLarge);
    progress.Start();
    std::unique_ptr<heif_decoding_options, OptionsFree> options(heif_decoding_options_alloc());
    heif_image* rawImage = nullptr;
    e = heif_decode_image(handle.get(), &rawImage, heif_colorspace_RGB,
                          alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB,
                          options.get());
    std::unique_ptr<heif_image, ImageRelease> decoded(rawImage);
    if (e.code != heif_error_Ok) return Failed(e, "its picture data cannot be decoded");
    // The decoded size includes the turn the file asks for.
    auto image = Bitmap24::Create(heif_image_get_width(decoded.get(), heif_channel_interleaved),
                                  heif_image_get_height(decoded.get(), heif_channel_interleaved));
    if (!image) return DecodeResult::Failed(kOutOfMemory);
    StoreRows(decoded.get(), alpha, *image, progress);
    const bool avif = std::memcmp(bytes.data() + 8, "avi", 3) == 0;
    progress.Finish();
    return {std::move(image), {}, Describe(handle.get(), avif)};
}

}  // namespace corvan
