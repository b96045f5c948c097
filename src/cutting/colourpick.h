#pragma once
// Picking a colour out of the job itself: the stroke and fill colours of its
// vector layers, the shapes that use one of them, and which pixels of a
// picture lie within a colour distance of a colour.
#include "imagelib/resample.h"
#include "job/emffile.h"
#include "platform/bitmap.h"

#include <memory>
#include <string>
#include <vector>

namespace corvan {

// The page (each side rounded to whole millimetres, in hundredths of a
// millimetre) fitted into the box; 0 x 0 without a job.
FittedSize FitJobBox(const TemfFile* job, int boxWidth, int boxHeight);

// The colours ("$00BBGGRR") the job's layers stroke (lines) or fill with,
// in first-seen order; empty without a job.
std::vector<std::string> LayerColorList(const TemfFile* job, bool lines, bool fills);

// The page at width x height with only the shapes that stroke or fill with
// `colour` drawn (in black with `black`); null without a job.
std::unique_ptr<Bitmap24> RenderMatched(const TemfFile* job, int width, int height, bool lines,
                                        Colour colour, bool black, bool fills);

// The picture sampled at width x height: pixels within `tolerance` (RGB
// distance) of `colour` black, the others pale.
std::unique_ptr<Bitmap24> ToleranceMask(const Bitmap24* picture, int width, int height,
                                        int tolerance, Colour colour);

// The vector dialog's picture: the matched shapes rendered at four times the
// size fitted into the box, halved twice so they are smooth, framed in grey.
std::unique_ptr<Bitmap24> VectorColourPreview(const TemfFile* job, int boxWidth, int boxHeight,
                                              bool lines, Colour colour, bool black, bool fills);

// A picture's pixels of one colour within a tolerance, fitted into a frame
// (ten times its size fitted into twice the frame less 10, halved, framed in
// grey); null without a picture.
std::unique_ptr<Bitmap24> SelectedColourPreview(const Bitmap24* picture, int frameWidth,
                                                int frameHeight, Colour colour, int tolerance);

// The contour cut tab's picture: only the job's cut shapes, rendered at twice
// the page fitted into the frame less 20 (a pixel a millimetre for small
// jobs), halved and framed in grey; null without contour cutting.
std::unique_ptr<Bitmap24> CutPreviewPicture(const TemfFile* job, int frameWidth, int frameHeight);

}  // namespace corvan
