#pragma once
// Placement commands as the position tab and the Edit menu run them. Each
// ends in UpdateLayout, the one path by which placement changes reach the job.
#include <cstdint>

namespace corvan {

class JobSession;

// Copies the device's media size into the job, lays it out, lets the views
// refresh and marks the job modified. Roll media (printable length 0) gets
// its length from the layout.
void UpdateLayout(JobSession& app, bool repaint);

// Offsets that centre the media used on the device's media.
void CenterJob(JobSession& app);
// Scales the page so that one copy fills the media less two crop-mark sizes,
// then centres it.
void StretchToFit(JobSession& app);
// Offsets 0, no rotation or mirroring, one copy; gaps and crop stay.
void ResetPosition(JobSession& app);
// A page-size entry; with `proportional` the other side follows. The crop
// rectangle becomes the whole page.
enum class PageSide { Width, Height };
void SetPageSize(JobSession& app, PageSide side, float value, bool proportional);
// The copies spinner: values below 1 are ignored, above 1000 cut to 1000.
void SetCopies(JobSession& app, double value);

}  // namespace corvan
