#include "colour/spotline.h"

#include "platform/bitmap.h"
#include "platform/commatext.h"
#include "platform/numbers.h"
#include "platform/registry.h"

#include <cstdio>

namespace corvan {

namespace {

struct SpotInk {
    const char* key;   // settings name below "SpotColors\"
    const char* text;  // list text
    LabTarget lab;
};

const SpotInk kInks[] = {
    {"01_Black", "1. Black", {1, 0, 0}},        {"02_Cyan", "2. Cyan", {54, -37, 50}},
    {"03_Magenta", "3. Magenta", {47, 76, -4}}, {"04_Yellow", "4. Yellow", {88, -5, 93}},
    {"05_Orange", "5. Orange", {71, 46, 109}},  {"06_Green", "6. Green", {49, -70, 26}},
    {"07_Red", "7. Red", {49, 66, 53}},         {"08_Blue", "8. Blue", {24, 21, -52}},
    {"09_Gold", "9. Gold", {90, -7, 59}},       {"10_Silver", "10. Silver", {90, -7, -4}},
    {"11_White", "11. White", {100, 0, 0}},
};

std::int32_t Pack(const LabTarget& t) {
    return t.L * 65536 + (t.a & 0xFF) * 256 + (t.b & 0xFF);
}

LabTarget Unpack(std::int32_t v) {
    return {static_cast<std::uint8_t>(v >> 16), static_cast<std::int8_t>(v >> 8),
            static_cast<std::int8_t>(v)};
}

}  // namespace

std::optional<SpotLine> ParseSpotLine(const std::string& line) {
    const auto fields = SplitCommaText(line + ",,,,,,,");
    if (fields.size() < 7) return std::nullopt;
    std::int32_t numbers[6];
    for (int i = 0; i < 6; ++i) {
        auto v = ParseInteger(fields[static_cast<std::size_t>(i)]);
        if (!v) return std::nullopt;
        numbers[i] = *v;
    }
    SpotLine s;
    const auto colour = static_cast<Colour>(numbers[0]);
    s.red = RedOf(colour);
    s.green = GreenOf(colour);
    s.blue = BlueOf(colour);
    s.tolerance = numbers[1];
    s.L = numbers[2];
    s.a = numbers[3];
    s.b = numbers[4];
    s.spot = numbers[5];
    s.name = fields[6];
    return s;
}

std::string FormatSpotLine(const SpotLine& s) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "$%08X,%d,%d,%d,%d,%d,",
                  static_cast<unsigned>(MakeColour(s.red, s.green, s.blue)), s.tolerance, s.L, s.a,
                  s.b, s.spot);
    std::string name = s.name;
    std::string quoted = "\"";
    for (char c : name) {
        if (c == '"') quoted += '"';
        // The line is stored as one value of a settings file: a line break
        // inside the name would cut the rule in two.
        quoted += (c == '\r' || c == '\n') ? ' ' : c;
    }
    return buf + quoted + "\"";
}

std::string SpotSettingName(int spot) {
    if (spot >= 1 && spot <= 11) return std::string("SpotColors\\") + kInks[spot - 1].key;
    if (spot >= 12 && spot <= 19)
        return "SpotColors\\" + std::to_string(spot) + "_Custom_" + std::to_string(spot - 11);
    return {};
}

std::string SpotListText(int spot) {
    if (spot == 0) return "0. Target Value";
    if (spot >= 1 && spot <= 11) return kInks[spot - 1].text;
    if (spot >= 12 && spot <= 19)
        return std::to_string(spot) + ". Custom-" + std::to_string(spot - 11);
    return {};
}

std::optional<LabTarget> SpotDefaultTarget(int spot) {
    if (spot < 1 || spot > 19) return std::nullopt;
    const LabTarget builtIn = spot <= 11 ? kInks[spot - 1].lab : LabTarget{1, 0, 0};
    return Unpack(ReadRegInteger(SpotSettingName(spot), Pack(builtIn)));
}

}  // namespace corvan
