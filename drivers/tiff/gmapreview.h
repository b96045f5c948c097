#pragma once
// The gamut preview: the host hands its job preview over (and frees it right
// after the call), later asks for it as it will print.
#include "driver_abi.h"
#include "tiff/colour.h"

#include <cstdint>
#include <vector>

namespace drv {

class PreviewStore {
public:
    // Copies the bitmap (ignores one that is malformed).
    void Set(const DrvBitmap* bitmap);
    bool Empty() const { return width_ == 0; }
    // A new bitmap of width x height (nearest pixel), proofed through the
    // engine when it is open; ownership passes to the caller. Null without a
    // preview or for a bad size.
    DrvBitmap* Render(std::int32_t width, std::int32_t height, const ColourEngine& engine) const;

private:
    std::int32_t width_ = 0, height_ = 0;
    std::vector<std::uint8_t> bgr_;  // tightly packed rows
};

}  // namespace drv
