#pragma once
// Colour through lcms2: screen RGB (sRGB) to the output profile's device
// space, CIE L*a*b* spot targets to device values, and a soft proof of the
// preview. The five gamut methods map to a rendering intent and black-point
// compensation.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace drv {

struct IntentChoice {
    std::uint32_t Intent = 0;  // INTENT_* of lcms2
    bool BlackPointCompensation = false;
};

// Method 0 uses the profile's own default intent (given as profileIntent).
IntentChoice IntentForMethod(int method, std::uint32_t profileIntent);

class ColourEngine {
public:
    ColourEngine();
    ~ColourEngine();
    ColourEngine(const ColourEngine&) = delete;
    ColourEngine& operator=(const ColourEngine&) = delete;

    // Opens an RGB or CMYK output profile; false (engine unusable) otherwise.
    bool Open(const std::string& profilePath, int method);
    bool IsOpen() const;
    bool IsCmyk() const { return cmyk_; }
    int Channels() const { return cmyk_ ? 4 : 3; }
    // The profile's bytes, embedded in the output.
    const std::vector<std::uint8_t>& ProfileBytes() const { return profileBytes_; }

    // count BGR pixels to device pixels (Channels() bytes each).
    void Transform(const std::uint8_t* bgr, std::uint8_t* device, std::size_t count) const;
    // One L*a*b* colour to device values.
    std::vector<std::uint8_t> LabToDevice(double L, double a, double b) const;
    // count BGR pixels as they will print, back in BGR for the screen.
    void Proof(const std::uint8_t* bgr, std::uint8_t* out, std::size_t count) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    bool cmyk_ = false;
    std::vector<std::uint8_t> profileBytes_;
};

}  // namespace drv
