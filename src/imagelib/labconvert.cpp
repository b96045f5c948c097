#include "imagelib/labconvert.h"

#include <lcms2.h>

#include <vector>

namespace corvan {

namespace {

// The transform costs tens of milliseconds to build and is the same for
// every picture: one for the life of the program (without the one-pixel
// cache, so threads may share it).
cmsHTRANSFORM SharedTransform() {
    static const cmsHTRANSFORM transform = [] {
        cmsHPROFILE lab = cmsCreateLab4Profile(nullptr);  // D50
        cmsHPROFILE srgb = cmsCreate_sRGBProfile();
        // Floating-point input is exact for every encoding, and lcms2's float
        // path keeps L* = 100 at 255 where its 8-bit tables give 254.
        cmsHTRANSFORM t = lab && srgb
                              ? cmsCreateTransform(lab, TYPE_Lab_FLT, srgb, TYPE_BGR_8,
                                                   INTENT_RELATIVE_COLORIMETRIC, cmsFLAGS_NOCACHE)
                              : nullptr;
        if (lab) cmsCloseProfile(lab);
        if (srgb) cmsCloseProfile(srgb);
        return t;
    }();
    return transform;
}

}  // namespace

std::unique_ptr<LabConverter> LabConverter::Create(LabEncoding encoding, int bitsPerSample,
                                                   int extraSamples) {
    if ((bitsPerSample != 8 && bitsPerSample != 16) || extraSamples < 0) return nullptr;
    cmsHTRANSFORM t = SharedTransform();
    if (!t) return nullptr;
    return std::unique_ptr<LabConverter>(
        new LabConverter(t, encoding, bitsPerSample, 3 + extraSamples));
}

void LabConverter::Convert(const void* lab, std::uint8_t* bgr, int pixels) const {
    const auto n = static_cast<std::size_t>(pixels);
    const bool tiff = encoding_ == LabEncoding::TiffCie;
    std::vector<float> values(3 * n);
    // TIFF CIELAB stores a* and b* as two's complement, the ICC form offset
    // by half the range; 16-bit a* and b* carry 8 fraction bits.
    if (bits_ == 8) {
        const auto* src = static_cast<const std::uint8_t*>(lab);
        for (std::size_t i = 0; i < n; ++i, src += stride_) {
            values[3 * i] = src[0] * (100.0f / 255.0f);
            for (int c = 1; c < 3; ++c)
                values[3 * i + c] = tiff ? static_cast<float>(static_cast<std::int8_t>(src[c]))
                                         : static_cast<float>(src[c]) - 128.0f;
        }
    } else {
        const auto* src = static_cast<const std::uint16_t*>(lab);
        for (std::size_t i = 0; i < n; ++i, src += stride_) {
            values[3 * i] = src[0] * (100.0f / 65535.0f);
            for (int c = 1; c < 3; ++c)
                values[3 * i + c] = (tiff ? static_cast<float>(static_cast<std::int16_t>(src[c]))
                                          : static_cast<float>(src[c]) - 32768.0f) /
                                    256.0f;
        }
    }
    cmsDoTransform(static_cast<cmsHTRANSFORM>(transform_), values.data(), bgr,
                   static_cast<cmsUInt32Number>(pixels));
}

}  // namespace corvan
