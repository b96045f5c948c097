#pragma once
// Fonts that travel with a layer: the faces its text records name are looked
// up in the cache folder and registered for the rest of the run, so that
// playback finds them (gdi_text.h RegisterFontFile).
#include <string>
#include <vector>

namespace corvan::emf {

// For each face the layer at `path` names (ListLayerFonts) that the system
// lacks, registers `folder` + face + ".TTF" and those of the bold, italic and
// bold-italic files (suffixes _Bold, _Italic, _BoldItalic) that exist. A file
// that cannot be registered is ignored. Returns the files registered.
// `folder` ends with a separator.
std::vector<std::string> InstallLayerFonts(const std::string& path, const std::string& folder);

}  // namespace corvan::emf
