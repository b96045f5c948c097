#pragma once
// CMYK pixels to screen RGB through colour management: the picture's own
// ICC profile when it carries a usable CMYK one, else our built-in
// characterisation of offset print on coated paper.
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace corvan {

struct CmykLayout {
    int bitsPerSample = 8;  // 8 or 16 (16-bit samples in host byte order)
    bool inverted = false;  // 0 means full ink (Adobe's JPEG and Photoshop convention)
    int extraSamples = 0;   // samples after C, M, Y, K in each pixel, skipped
};

class CmykConverter {
public:
    // Null when no transform can be made (the message says why).
    static std::unique_ptr<CmykConverter> Create(std::span<const std::uint8_t> iccProfile,
                                                 const CmykLayout& layout, std::string* error);
    ~CmykConverter();
    CmykConverter(const CmykConverter&) = delete;
    CmykConverter& operator=(const CmykConverter&) = delete;

    // `pixels` CMYK pixels in the layout given at creation to blue, green, red bytes.
    void Convert(const void* cmyk, std::uint8_t* bgr, int pixels) const;
    // True when the picture's own profile is used.
    bool UsesEmbeddedProfile() const { return embedded_; }

private:
    CmykConverter(void* transform, bool owned, bool embedded)
        : transform_(transform), owned_(owned), embedded_(embedded) {}
    void* transform_;
    bool owned_;
    bool embedded_;
};

// The built-in CMYK profile as ICC bytes (for tests and for writing it out).
std::span<const std::uint8_t> DefaultCmykProfileBytes();

}  // namespace corvan
