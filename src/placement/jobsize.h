#pragma once
// The arithmetic behind the "Enter Job Size" dialog and the media width
// presets: units, paper presets, fit or stretch, the resulting resolution.
// The dialog only shows what these compute.
#include "platform/metafile/emf_reader.h"

#include <optional>
#include <span>
#include <string>

namespace corvan {

struct LengthUnit {
    const char* name;    // as the unit list shows it
    const char* suffix;  // after the number in the edits
    int decimals;
    float millimetres;  // one unit in millimetres
};
// mm, inches, points, pixels (of 300 DPI), feet, yards, C.M., meters.
std::span<const LengthUnit> JobSizeUnits();
// The unit of that name; the first (mm) when none matches.
int UnitIndex(const std::string& name);

// Paper presets as the list shows them: name, tab, size text; "Custom" first.
std::span<const char* const> PaperPresets();
// The media width presets: 11" (280mm) to 196" (4978mm).
std::span<const char* const> MediaWidthPresets();

struct SizeMM {
    float width = 0;
    float height = 0;
};
// Width and height in millimetres of a paper preset item text; none when its
// numbers cannot be read.
std::optional<SizeMM> ParsePaperPreset(const std::string& item);

// The page of the dialog and how a source fills it.
struct JobSizeInput {
    SizeMM page;  // the edits, in millimetres, before orientation
    bool landscape = false;
    bool fit = false;       // "Fit to Page" (else "Stretch to Page")
    float sourceWidth = 0;  // millimetres, or pixels for a picture
    float sourceHeight = 0;
    bool pixelSource = false;
};
struct JobSizeResult {
    SizeMM page;             // after orientation
    SizeMM result;           // 0 x 0 while the page is empty
    std::string resolution;  // the "D.P.I." label
};
JobSizeResult ComputeJobSize(const JobSizeInput& in);

// "Reset Size": the source in millimetres (a picture at 100 pixels per inch).
SizeMM SourceSizeMM(float sourceWidth, float sourceHeight, bool pixelSource);
// With "Proportional": the other side for a typed width (or height).
float ProportionalHeight(float width, float sourceWidth, float sourceHeight);
float ProportionalWidth(float height, float sourceWidth, float sourceHeight);

// The width a media preset item stands for: the inches times 25.4 in metric
// mode, else the millimetre figure in brackets (the two differ for some).
std::optional<float> MediaPresetWidth(const std::string& item, bool metric);

// The page a vector layer proposes: ten times the size of its reference
// device, as the layer driver writes it. Files from other programs often name
// the screen or printer they were made on instead; when that rule is plainly
// not the picture (off the frame by more than half in either direction) the
// frame's size is proposed.
struct LayerPageSize {
    float width = 0;
    float height = 0;
    bool fromFrame = false;
};
LayerPageSize ProposedLayerPageSize(const emf::EmfHeader& header);

}  // namespace corvan
