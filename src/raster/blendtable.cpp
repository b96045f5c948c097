#include "raster/blendtable.h"

#include <algorithm>
#include <cmath>

namespace corvan {

void Build_Table(std::array<std::int32_t, 256>& table, float param) {
    const double p = std::isnan(param) ? 0.0 : std::clamp(static_cast<double>(param), 0.0, 40.0);
    // Width of the blend zone as a share of the pixel spacing: 1 is a linear
    // ramp over the whole spacing, 0.05 a hard step softened over ~13 steps.
    const double width = 1.0 - 0.95 * p / 40.0;
    for (int f = 0; f < 256; ++f) {
        // Weight of the upper pixel out of 128, steepened about the middle.
        const double linear = f * 128.0 / 255.0;
        const double upper = std::clamp(64.0 + (linear - 64.0) / width, 0.0, 128.0);
        table[static_cast<std::size_t>(f)] =
            2 * (128 - static_cast<std::int32_t>(std::floor(upper)));
    }
}

}  // namespace corvan
