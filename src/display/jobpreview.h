#pragma once
// The artwork of one placed copy for the views: the crop section of the job
// page rendered at about the wanted size and turned and mirrored as it will
// print.
#include "job/emffile.h"
#include "platform/bitmap.h"

#include <memory>

namespace corvan {

// Width and height are the placed copy's size in view pixels; none for an
// empty size or a job without a page.
std::unique_ptr<Bitmap24> RenderPlacedCopy(const TemfFile& job, int width, int height);

}  // namespace corvan
