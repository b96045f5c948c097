#pragma once
// Cut vectors to HP-GL as vinyl cutters read it: IN (initialise), SP (tool),
// VS (speed, cm/s), FS (force, when set), then PU/PD moves in plotter units
// of 1/40 mm, and PU;SP0; at the end.
#include "hpgl/cutpaths.h"

#include <cstdint>
#include <string>
#include <vector>

namespace drv {

struct CutSettings {
    int Tool = 1;
    int Speed = 20;      // cm/s
    int Force = 0;       // 0 = leave the cutter's own setting
    bool Rotate = true;  // job length along the feed (plotter X = job y)
    CutOptions Options;  // all off: every point is written as it comes
};

class HpglWriter {
public:
    static constexpr double kUnitsPerMm = 40.0;

    void Begin(const CutSettings& settings);
    // pointType: 6 move to, 2 line to, 4 curve point (cut as a line), +1
    // closes the figure back to its first point. x, y in mm.
    void Point(std::int32_t pointType, double x, double y);
    // With any cut option on, the figures are kept until End and written
    // after PrepareCuts.
    void End();
    const std::string& Text() const { return text_; }
    bool Started() const { return started_; }

private:
    void Emit(const char* command, long x, long y);
    void EmitPoint(bool move, double x, double y);
    void Keep(std::int32_t pointType, double x, double y);
    long ToUnits(double mm) const;

    std::string text_;
    CutSettings settings_;
    bool started_ = false;
    long startX_ = 0, startY_ = 0;  // first point of the current figure
    std::vector<CutFigure> figures_;   // kept for the cut options
};

}  // namespace drv
