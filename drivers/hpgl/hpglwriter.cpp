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

void HpglWriter::EmitPoint(bool move, double x, double y) {
    const long ux = ToUnits(settings_.Rotate ? y : x);
    const long uy = ToUnits(settings_.Rotate ? x : y);
    Emit(move ? "PU" : "PD", ux, uy);
    if (move) {
        startX_ = ux;
        startY_ = uy;
    }
}

void HpglWriter::Point(std::int32_t pointType, double x, double y) {
    if (!started_ || !std::isfinite(x) || !std::isfinite(y)) return;
    if (settings_.Options.Any()) {
        Keep(pointType, x, y);
        return;
    }
    EmitPoint((pointType & 6) == 6, x, y);
    const long ux = ToUnits(settings_.Rotate ? y : x);
    const long uy = ToUnits(settings_.Rotate ? x : y);
    if ((pointType & 1) && (ux != startX_ || uy != startY_)) Emit("PD", startX_, startY_);
}

// A figure is closed by the close flag or by ending on its first point
// (as clipped contours do).
void HpglWriter::Keep(std::int32_t pointType, double x, double y) {
    if ((pointType & 6) == 6 || figures_.empty()) figures_.push_back({});
    CutFigure& f = figures_.back();
    f.points.push_back({x, y});
    if (pointType & 1) {
        if (!(f.points.back() == f.points.front())) f.points.push_back(f.points.front());
        f.closed = f.points.size() > 2;
        figures_.push_back({});  // drawing on after a close starts anew
    }
}

void HpglWriter::End() {
    if (!started_) return;
    if (settings_.Options.Any()) {
        for (CutFigure& f : figures_)
            f.closed = f.closed || (f.points.size() > 2 && f.points.back() == f.points.front());
        std::erase_if(figures_, [](const CutFigure& f) { return f.points.empty(); });
        for (const CutFigure& f : PrepareCuts(std::move(figures_), settings_.Options))
            for (std::size_t i = 0; i < f.points.size(); ++i) EmitPoint(i == 0, f.points[i].x, f.points[i].y);
        figures_.clear();
    }
    text_ += "PU;\nSP0;\n";
}

}  // namespace drv
