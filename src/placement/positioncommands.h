#pragma once
// The value handlers of the position tab and the media size edits. Each
// does nothing while the controls are being filled (`Updating`) or without
// a job, and ends in UpdateLayout.
#include <string>

namespace corvan {

class JobSession;

enum class PlacementValue { XOffset, YOffset, XGap, YGap };
void SetPlacementValue(JobSession& app, PlacementValue which, float millimetres);
// Rotate and the two mirror flags, taken together from their check boxes.
void SetPlacementFlags(JobSession& app, bool rotate, bool mirrorX, bool mirrorY);

enum class CropEdge { Left, Top, Right, Bottom };
// Clamped into the page and ordered.
void SetCropEdge(JobSession& app, CropEdge edge, float millimetres);
void SetCropSection(JobSession& app, bool on);
// The crop rectangle becomes the whole page again.
void FullCrop(JobSession& app);

// "Set Job Size": the size question with the current page; on OK the page
// takes the answer, the crop is reset and the preview rebuilt.
void ChangeJobSize(JobSession& app);

// Media size of the device; a value above what the device prints is
// refused with a message and clamped. Both work without a job too.
void SetMediaWidth(JobSession& app, float millimetres);
void SetMediaHeight(JobSession& app, float millimetres);
// A media width preset item ("36\" (915mm)"); true when the stored width is
// within 2 mm of the preset afterwards (the list keeps its selection).
bool ChooseMediaPreset(JobSession& app, const std::string& item, bool metric);

}  // namespace corvan
