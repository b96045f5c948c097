#pragma once
// The value handlers of the position tab and the media size edits. Each
// does nothing while the controls are being filled (`Updating`) or without
// a job, and ends in UpdateLayout.
#include <string>

namespace corvan {

class AppCore;

enum class PlacementValue { XOffset, YOffset, XGap, YGap };
void SetPlacementValue(AppCore& app, PlacementValue which, float millimetres);
// Rotate and the two mirror flags, taken together from their check boxes.
void SetPlacementFlags(AppCore& app, bool rotate, bool mirrorX, bool mirrorY);

enum class CropEdge { Left, Top, Right, Bottom };
// Clamped into the page and ordered.
void SetCropEdge(AppCore& app, CropEdge edge, float millimetres);
void SetCropSection(AppCore& app, bool on);
// The crop rectangle becomes the whole page again.
void FullCrop(AppCore& app);

// "Set Job Size": the size question with the current page; on OK the page
// takes the answer, the crop is reset and the preview rebuilt.
void ChangeJobSize(AppCore& app);

// Media size of the device; a value above what the device prints is
// refused with a message and clamped. Both work without a job too.
void SetMediaWidth(AppCore& app, float millimetres);
void SetMediaHeight(AppCore& app, float millimetres);
// A media width preset item ("36\" (915mm)"); true when the stored width is
// within 2 mm of the preset afterwards (the list keeps its selection).
bool ChooseMediaPreset(AppCore& app, const std::string& item, bool metric);

}  // namespace corvan
