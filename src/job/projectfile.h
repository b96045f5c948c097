#pragma once
// The project file (".RIP"): an ini-style text file with the job's settings,
// a thumbnail of the rendered job, the printed billboard tiles and,
// optionally, the output driver's settings.
#include "platform/bitmap.h"

#include <bitset>
#include <memory>
#include <string>

namespace corvan {

class AppCore;
class IniFile;

using PrintedTiles = std::bitset<256>;

// Writes the current job to path, replacing the file as a whole and only
// once the new content is complete (a failed save leaves the old file as it
// was, shows why, and keeps the job modified). `carryTiles` are written as
// "Printed Tiles" after every other section. False when nothing was saved.
bool SaveProject(AppCore& app, const std::string& path, const PrintedTiles& carryTiles = {});
// Builds a new current job from the file (the caller has closed the old one).
void LoadProject(AppCore& app, const std::string& path);

// Tiles 0..255 recorded as printed in the file at path (absent = false).
PrintedTiles ReadPrintedTiles(const std::string& path);

// Writes the "Preview" section of the file at path from the job preview.
bool WriteThumbnail(const Bitmap24& preview, float pageWidth, float pageHeight,
                    const std::string& path);
// The thumbnail stored in a project file, or none.
std::unique_ptr<Bitmap24> ReadProjectThumbnail(const std::string& path);

// Reloads the current job's background bitmap from its file.
void ReloadBackground(AppCore& app);

}  // namespace corvan
