#pragma once
// How close a printer can come to a spot colour's target: the target
// (CIE L*a*b*, D50) sent through the printer's ICC profile and back with
// relative colorimetric intent, and the CIEDE2000 difference between the
// target and what comes back.
#include "colour/colourspace.h"

#include <optional>
#include <string>

namespace corvan {

struct GamutCheck {
    Lab reachable;  // the nearest colour the printer prints
    double deltaE = 0;    // CIEDE2000 between target and reachable
    bool inGamut = true;  // deltaE within kGamutTolerance
};

// Differences up to this are taken as the target itself (a trained eye
// begins to see about 2 side by side; vinyl and ink batches vary by more).
inline constexpr double kGamutTolerance = 3.0;

// None with a message when the profile cannot be read or is no printer
// profile with a colour space the check knows (grey, RGB, CMYK).
std::optional<GamutCheck> CheckTargetAgainstProfile(const std::string& iccPath,
                                                    const Lab& target, std::string& error);

}  // namespace corvan
