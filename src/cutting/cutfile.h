#pragma once
// Cut files (".tcf") for the vinyl spooler: a 172-byte header, a BMP
// thumbnail of the used media, and the contour points of every copy as
// 10-byte records, LZHUF-coded behind a "!HZL" signature.
#include "platform/bitmap.h"
#include "raster/contourpath.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace corvan {

class TemfFile;

inline constexpr std::size_t kCutHeaderSize = 172;

struct CutPointRecord {
    float y = 0;           // along the media, mm
    float x = 0;           // across, from the far edge of the used width, mm
    std::int16_t pen = 0;  // 1 move, 2 draw, 0 the first point of a copy when not a move
    bool operator==(const CutPointRecord&) const = default;
};

// One record per point of the cut path (0.1 mm units, relative to a copy's
// placed crop box) for every copy of the job, in copy order.
std::vector<CutPointRecord> CutPointRecords(TemfFile& job, const ContourPath& path);

struct CutFileContents {
    std::uint16_t lengthField = 0;        // used length in whole mm + 1
    std::uint16_t widthField = 0;         // used width in whole mm + 1
    double created = 0;                   // days since 30 December 1899
    std::vector<std::uint8_t> thumbnail;  // BMP file bytes
    std::vector<CutPointRecord> points;
};

// Header size fields from the used media (saturating at 65535).
void SetCutFileSize(CutFileContents& c, float usedLength, float usedWidth);
// Now, as the day count the header stores.
double CutFileTimeNow();

std::vector<std::uint8_t> BuildCutFile(const CutFileContents& contents);
// Reads a cut file back (for tests and the dump view); empty with a reason
// for anything damaged.
std::optional<CutFileContents> ParseCutFile(std::span<const std::uint8_t> bytes,
                                            std::string* reason);

// Writes the cut file of the current job: header from the used media, the
// thumbnail as a BMP, the cut path of one copy (0.1 mm units) for every
// copy. The file is replaced whole or not at all; false with the reason
// shown through the UI when it cannot be written.
class JobSession;
bool WriteCutFile(JobSession& app, const std::string& fileName, const Bitmap24* thumbnail,
                  const ContourPath& path);
// "Vinyl Spooler": starts the spooler, or says that none was found.
void StartVinylSpooler(JobSession& app);

// The lowest free name 0001.tcf ... 0200.tcf in the folder; empty when all
// two hundred are taken.
std::string NextCutFileName(const std::string& folder);

}  // namespace corvan
