#pragma once
// Our stand-in for the blending library that turns the job's smoothing
// parameter into interpolation weights for the background image.
#include <array>
#include <cstdint>

namespace corvan {

// Fills all 256 entries: entry f is twice the weight (0 to 256) of the lower
// of two neighbouring pixels when the sample lies f/256 past the lower
// pixel's centre. Parameter 0 gives the plain linear ramp (halved, exactly
// the default weight table); larger values narrow the ramp around the middle
// so that 40 is close to nearest-pixel. Values outside 0..40 (and NaN) are
// held to that range.
void Build_Table(std::array<std::int32_t, 256>& table, float param);

}  // namespace corvan
