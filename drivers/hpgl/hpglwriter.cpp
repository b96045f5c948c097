#include "hpgl/hpglwriter.h"

#include <cmath>

namespace drv {

void HpglWriter::Begin(const CutSettings& settings) {
    settings_ = settings;
    started_ = true;
    text_ = "IN;\nSP" + std::to_string(settings.Tool) + ";\nVS" + std::to_string(settings.Speed) +
            ";\n";
    if (settings.Force > 0) text_ += "FS" + std::to_string(settings.Force) + ";\n";
}

long HpglWriter::ToUnits(double mm) const {
    // Cutters take no negative positions; a point left of the origin is cut
    // at the edge rather than wrapping to a huge value.
    const double units = std::nearbyint(mm * kUnitsPerMm);
    return units < 0 ? 0 : static_cast<long>(units);
}

void HpglWriter::Emit(const char* command, long x, long y) {
    text_ += command + std::to_string(x) + "," + std::to_string(y) + ";\n";
}

void HpglWriter::Point(std::int32_t pointType, double x, double y) {
    if (!started_ || !std::isfinite(x) || !std::isfinite(y)) return;
    const long ux = ToUnits(settings_.Rotate ? y : x);
    const long uy = ToUnits(settings_.Rotate ? x : y);
    if ((pointType & 6) == 6) {
        Emit("PU", ux, uy);
        startX_ = ux;
        startY_ = uy;
    } else {
        Emit("PD", ux, uy);
    }
    if ((pointType & 1) && (ux != startX_ || uy != startY_)) Emit("PD", startX_, startY_);
}

void HpglWriter::End() {
    if (!started_) return;
    text_ += "PU;\nSP0;\n";
}

}  // namespace drv
