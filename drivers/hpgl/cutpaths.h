#pragma once
// What a clean vinyl cut needs beyond the outlines themselves, applied to
// the figures of one cut job before they are written:
// - cut order: every contour before the closed contours that contain it
//   (the letter's hole before the letter, so the vinyl is still held while
//   the inner piece is cut), otherwise the nearest next start; closed
//   figures start at their vertex nearest the knife, open ones from their
//   nearer end;
// - overcut: a closed figure is cut on past its start for a short way so
//   the first and last cut meet through the film;
// - blade offset: a drag knife's tip trails its axis by the offset, so the
//   axis runs each segment shifted forward by the offset and swivels round
//   every corner on an arc about the corner point, turning the tip there;
// - weeding border: a rectangle around everything, a margin away, cut last.
// All lengths in mm; zero (or false) switches a step off.
#include <optional>
#include <vector>

namespace drv {

struct CutPoint {
    double x = 0, y = 0;
    bool operator==(const CutPoint&) const = default;
};

struct CutFigure {
    std::vector<CutPoint> points;
    bool closed = false;  // the last point returns to the first
};

struct CutOptions {
    double BladeOffset = 0;
    double Overcut = 0;
    bool Optimise = false;  // cut order
    double WeedBorder = 0;

    bool Any() const { return BladeOffset > 0 || Overcut > 0 || Optimise || WeedBorder > 0; }
};

// Corners that turn less than this (degrees) are run through without an
// arc: the knife follows a gentle bend by itself.
inline constexpr double kSwivelMinTurn = 5.0;

// The weeding rectangle around all points, `margin` outside them.
CutFigure WeedingBorder(const std::vector<CutFigure>& figures, double margin);
// Inner contours first, then nearest start; travel starts at the origin.
std::vector<CutFigure> OrderFigures(std::vector<CutFigure> figures);
// A closed figure extended `length` along its own start (open afterwards).
CutFigure Overcut(const CutFigure& figure, double length);
// The path of the knife axis for a figure. With `lead` (the point before
// the start on a closed figure) the knife first swivels at the start from
// the direction lead -> start into the first segment.
CutFigure BladeOffsetPath(const CutFigure& figure, double offset, std::optional<CutPoint> lead);

// Every step in order: border, order, overcut, blade offset.
std::vector<CutFigure> PrepareCuts(std::vector<CutFigure> figures, const CutOptions& options);

}  // namespace drv
