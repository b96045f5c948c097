#pragma once
// CIE L*a*b* pixels to screen RGB through lcms2, with the D50 white point
// Lab files are written for, so that L* = 100 is paper white.
#include <cstdint>
#include <memory>

namespace corvan {

enum class LabEncoding {
    TiffCie,  // TIFF CIELAB: L* 0..max, a* and b* signed
    Icc,      // ICC and Photoshop: L* 0..max, a* and b* offset by half the range
};

class LabConverter {
public:
    // Null when lcms2 cannot make the transform. 8 or 16 bits per sample
    // (16-bit samples in host byte order); `extraSamples` after L, a, b are skipped.
    static std::unique_ptr<LabConverter> Create(LabEncoding encoding, int bitsPerSample,
                                                int extraSamples);
    LabConverter(const LabConverter&) = delete;
    LabConverter& operator=(const LabConverter&) = delete;

    void Convert(const void* lab, std::uint8_t* bgr, int pixels) const;

private:
    LabConverter(void* transform, LabEncoding encoding, int bits, int stride)
        : transform_(transform), encoding_(encoding), bits_(bits), stride_(stride) {}
    void* transform_;  // shared, never freed
    LabEncoding encoding_;
    int bits_;
    int stride_;  // samples per pixel
};

}  // namespace corvan
