#pragma once
// Cut vectors to HP-GL as vinyl cutters read it: IN (initialise), SP (tool),
// VS (speed, cm/s), FS (force, when set), then PU/PD moves in plotter units
// of 1/40 mm, and PU;SP0; at the end.
#include <cstdint>
#include <string>

namespace drv {

struct CutSettings {
    int Tool = 1;
    int Speed = 20;      // cm/s
    int Force = 0;       // 0 = leave the cutter's own setting
    bool Rotate = true;  // job length along the feed (plotter X = job y)
};

class HpglWriter {
public:
    static constexpr double kUnitsPerMm = 40.0;

    void Begin(const CutSettings& settings);
    // pointType: 6 move to, 2 line to, 4 curve point (cut as a line), +1
    // closes the figure back to its first point. x, y in mm.
    void Point(std::int32_t pointType, double x, double y);
    void End();
    const std::string& Text() const { return text_; }
    bool Started() const { return started_; }

private:
    void Emit(const char* command, long x, long y);
    long ToUnits(double mm) const;

    std::string text_;
    CutSettings settings_;
    bool started_ = false;
    long startX_ = 0, startY_ = 0;  // first point of the current figure
};

}  // namespace drv
