#pragma once
// The gamut mapping choice: the driver renders the job preview through its
// profile with the chosen method (the screen preview), or its own colour
// dialog takes over the choice.
#include "job/emffile.h"
#include "platform/bitmap.h"

#include <memory>
#include <string>

namespace corvan {

class TPluginObject;
class UserInterface;

inline constexpr const char* kGmaMethods[] = {"Profile Default", "1. Accurate", "2. Saturation",
                                              "3. Photo",        "4. Pleasant", "5. Logo"};

// The job preview resized for the driver: the page in hundredths of a
// millimetre fitted into 330 x 330 (never enlarged beyond that).
std::unique_ptr<Bitmap24> GamutPreviewSource(const TemfFile& job, const Bitmap24& jobPreview);

// Whether the driver has a profile; tells the operator when not.
bool DriverHasProfile(TPluginObject& plugin, UserInterface& ui, bool warning);

// The driver's rendering of the preview with the job's method (a method
// below 0 leaves the driver's own setting). Null when the driver has no
// profile or draws nothing.
std::unique_ptr<Bitmap24> RenderGamutPreview(TPluginObject& plugin, const TemfFile& job,
                                             const Bitmap24& jobPreview, UserInterface& ui);

// The driver's colour dialog on the preview; true when the operator accepted
// it (the job's method then no longer overrides the driver: -1).
bool ChooseDriverGamut(TPluginObject& plugin, TemfFile& job, const Bitmap24& jobPreview,
                       UserInterface& ui);

}  // namespace corvan
