#pragma once
// Editing a job's spot rules: what the editor shows for a line, the Apply,
// "Copy +" and Delete steps on the list, colour matching and colour names.
#include "colour/spotline.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace corvan {

// What the editor shows for one line. A line whose numbers do not convert
// shows all zeros and no name; a spot number past the list becomes 0, a
// negative one -1 (no selection).
struct SpotEditorValues {
    std::uint32_t colour = 0;  // 0x00BBGGRR
    int tolerance = 0;
    int L = 0, a = 0, b = 0;
    int spot = 0;
    std::string name;
};
SpotEditorValues LoadSpotEditor(const std::string& line);
std::string FormatSpotEditor(const SpotEditorValues& v);

enum class SpotApplyOutcome { Declined, NoColourInformation, Updated, Appended };
struct SpotApplyResult {
    SpotApplyOutcome outcome;
    int index = -1;  // the line written, -1 when nothing was written
};

// Apply: replaces the selected line, or (not copying, nothing selected) the
// last line with the same colour, after `confirmUpdate` agrees; otherwise
// appends, unless all three targets are 0.
SpotApplyResult ApplySpotRule(std::vector<std::string>& list, int selected, bool copy,
                              const SpotEditorValues& values,
                              const std::function<bool()>& confirmUpdate);
// False when index is not a line of the list.
bool DeleteSpotRule(std::vector<std::string>& list, int index);

// Euclidean RGB distance test of a pixel against a rule colour.
bool SpotMatches(std::uint32_t pixel, std::uint32_t colour, int tolerance);

struct NamedColour {
    std::uint32_t value;  // 0x00BBGGRR
    const char* name;
};
// The 40 colours of the standard colour pickers, in their palette order.
std::span<const NamedColour> NamedColours();
// A palette name ("Sky Blue") or "Custom: ( r,g,b )".
std::string ColorDisplayName(std::int64_t colour);

}  // namespace corvan
