#pragma once
// The project file (".RIP"): an ini-style text file with the job's settings,
// a thumbnail of the rendered job, the printed billboard tiles and,
// optionally, the output driver's settings.
#include "platform/bitmap.h"
#include "platform/outcome.h"

#include <bitset>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace corvan {

class JobSession;
class IniFile;

using PrintedTiles = std::bitset<256>;

// Writes the current job to path, replacing the file as a whole and only
// once the new content is complete (a failed save leaves the old file as it
// was, shows why, and keeps the job modified). `carryTiles` are written as
// "Printed Tiles" after every other section. False when nothing was saved.
bool SaveProject(JobSession& app, const std::string& path, const PrintedTiles& carryTiles = {});
// The ranges the window offers; a project outside them is corrected on load.
inline constexpr std::int32_t kMaxCopies = 1000;
inline constexpr std::int32_t kMinRenderDpi = 1;
inline constexpr std::int32_t kMaxRenderDpi = 360;
inline constexpr float kMaxPageSide = 100000.0f;  // 100 m

// Builds a new current job from the file (the caller has closed the old
// one). A file that cannot be read or is no job file is refused and leaves
// no job. A background picture that cannot be loaded is reported (the job
// is loaded without it and keeps naming the file) and returned as failure.
Status LoadProject(JobSession& app, const std::string& path);
// The same checks without loading: a project that would be refused is
// refused before the current job is closed.
Status CheckProjectFile(const std::string& path);

// Tiles 0..255 recorded as printed in the file at path (absent = false).
PrintedTiles ReadPrintedTiles(const std::string& path);

// Writes the "Preview" section of the file at path from the job preview.
bool WriteThumbnail(const Bitmap24& preview, float pageWidth, float pageHeight,
                    const std::string& path);
// The thumbnail stored in a project file, or none: also for a missing or
// unreadable file, damaged text or a picture that is no sound BMP.
std::unique_ptr<Bitmap24> ReadProjectThumbnail(const std::string& path);

// What the project file dialogs show of a highlighted file.
struct ProjectPreview {
    std::unique_ptr<Bitmap24> thumbnail;  // none when the file stores none
    float pageWidth = 0;                  // mm, 0 when not stored
    float pageHeight = 0;
};
// None when the file is missing, unreadable, no project file, or so large
// that nobody would wait for a glance at it to load.
std::optional<ProjectPreview> ReadProjectPreview(const std::string& path);

// Reloads the current job's background bitmap from its file; a file that
// exists but cannot be decoded is reported with the decoder's reason.
Status ReloadBackground(JobSession& app);

}  // namespace corvan
