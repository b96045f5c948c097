#pragma once
// Spot colour rules as text: "$00BBGGRR,tolerance,L,a,b,spot,"name"".
#include <cstdint>
#include <optional>
#include <string>

namespace corvan {

struct SpotLine {
    std::uint8_t red = 0, green = 0, blue = 0;
    std::int32_t tolerance = 0;
    std::int32_t L = 0, a = 0, b = 0;
    std::int32_t spot = 0;  // 0 = replace by the L*a*b* target, 1..19 = spot ink
    std::string name;
};

inline constexpr const char* kEmptySpotLine = "$00000000,0,0,0,0,0,\"\"";

// Empty when any numeric field does not convert. Missing trailing fields read
// as empty (so a short line fails on its first missing number).
std::optional<SpotLine> ParseSpotLine(const std::string& line);
std::string FormatSpotLine(const SpotLine& spot);

// The default L*a*b* target of a spot ink (1..19) from the settings store,
// created from the built-in default when absent; empty for 0 and above 19.
struct LabTarget {
    std::int32_t L = 0, a = 0, b = 0;
};
std::optional<LabTarget> SpotDefaultTarget(int spot);
// The settings name and list text of a spot number ("SpotColors\\01_Black", "1. Black").
std::string SpotSettingName(int spot);
std::string SpotListText(int spot);

}  // namespace corvan
