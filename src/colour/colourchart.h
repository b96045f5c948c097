#pragma once
// Colour charts: named lists of named L*a*b* colours, one ini-style file per
// chart in the chart folder. The chart's display name is "ChartName" in
// section "ColorChart Info"; each key of section "Colors" is a colour name
// with "L,a,b" as its value. Every change is written to the file at once,
// atomically, so the files are the only state.
#include "colour/colourspace.h"
#include "platform/outcome.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvan {

inline constexpr const char* kChartInfoSection = "ColorChart Info";
inline constexpr const char* kChartNameKey = "ChartName";
inline constexpr const char* kChartColoursSection = "Colors";

// "ColorCharts" inside the profile folder; ends in "/".
std::string ColourChartFolder();

struct ChartListing {
    std::string name;
    std::string path;
};
// The charts in the folder (its "*.ini" files, any letter case) that have a
// name, sorted by name and, for equal names, by path. A missing or
// unreadable folder lists none.
std::vector<ChartListing> ListColourCharts(const std::string& folder);

// Exactly three comma-text fields, each a decimal number, with L* 0 to 100
// and a*, b* -128 to 128.
std::optional<Lab> ParseChartValue(std::string_view value);
// "%.3f,%.3f,%.3f" with a point as decimal separator.
std::string FormatChartValue(const Lab& lab);

struct ChartColour {
    std::string name;
    Lab lab;
};
// The valid colours in the order the file lists them; invalid values are
// left out (the file is not changed). Failure when the file cannot be read.
Outcome<std::vector<ChartColour>> LoadColourChart(const std::string& path);
// The stored text of one colour; empty when the chart has no such key.
std::optional<std::string> ReadChartValue(const std::string& path, const std::string& name);

// Why a name cannot be a colour key (empty, "=" inside, or read back as a
// section or comment line); OK otherwise.
Status CheckColourName(const std::string& name);
// Adds the colour or overwrites the one with that name. The chart file must
// exist.
Status WriteChartColour(const std::string& path, const std::string& name, const Lab& lab);
// Removes oldName and writes name in one save.
Status ReplaceChartColour(const std::string& path, const std::string& oldName,
                          const std::string& name, const Lab& lab);
Status DeleteChartColour(const std::string& path, const std::string& name);

// The file name of a new chart: the name with blanks and the characters
// * , . : \ | / replaced by "_", plus ".ini".
std::string ChartFileName(const std::string& chartName);
// Writes a new, empty chart file with that name, replacing any file there.
Status CreateColourChart(const std::string& path, const std::string& chartName);

struct ChartImport {
    int count = 0;      // colours written
    std::string error;  // why the import stopped early; empty when it ran through
};
// Imports lines of "name, L, a, b[, anything]" (blanks inside the name kept,
// only commas separate fields); lines with fewer than four fields or no
// usable name are skipped. A number that does not convert stops the import;
// the colours before it stay written.
ChartImport ImportChartColours(const std::string& path, std::string_view text);
// The same from a text file; failure "Unable to open file!\r" + file name
// when it cannot be read.
Outcome<ChartImport> ImportChartColoursFromFile(const std::string& path,
                                                const std::string& textFile);

}  // namespace corvan
