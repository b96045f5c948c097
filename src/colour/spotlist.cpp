#include "colour/spotlist.h"

#include "platform/bitmap.h"

#include <cstdio>

namespace corvan {

namespace {

constexpr int kLastSpot = 19;

const NamedColour kPalette[] = {
    {0x000000, "Black"},
    {0x003399, "Brown"},
    {0x003333, "Olive Green"},
    {0x003300, "Dark Green"},
    {0x663300, "Dark Teal"},
    {0x800000, "Dark blue"},
    {0x993333, "Indigo"},
    {0x333333, "Gray-80%"},
    {0x000080, "Dark Red"},
    {0x0066FF, "Orange"},
    {0x008080, "Dark Yellow"},
    {0x008000, "Green"},
    {0x808000, "Teal"},
    {0xFF0000, "Blue"},
    {0x996666, "Blue-Gray"},
    {0x808080, "Gray-50%"},
    {0x0000FF, "Red"},
    {0x0099FF, "Light Orange"},
    {0x00CC99, "Lime"},
    {0x669933, "Sea Green"},
    {0xCCCC33, "Aqua"},
    {0xFF6633, "Light Blue"},
    {0x800080, "Violet"},
    {0x969696, "Grey-40%"},
    {0xFF00FF, "Pink"},
    {0x00CCFF, "Gold"},
    {0x00FFFF, "Yellow"},
    {0x00FF00, "Bright Green"},
    {0xFFFF00, "Turquoise"},
    {0xFFCC00, "Sky Blue"},
    {0x663399, "Plum"},
    {0xC0C0C0, "Gray-25%"},
    {0xCC99FF, "Rose"},
    {0x99CCFF, "Tan"},
    {0x99FFFF, "Light Yellow"},
    {0xCCFFCC, "Light Green"},
    {0xFFFFCC, "Light Turquoise"},
    {0xFFCC99, "Pale Blue"},
    {0xFF99CC, "Lavender"},
    {0xFFFFFF, "White"},
};

std::string Key(std::uint32_t colour) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "$%08X", static_cast<unsigned>(colour));
    return buf;
}

}  // namespace

SpotEditorValues LoadSpotEditor(const std::string& line) {
    SpotEditorValues v;
    const auto spot = ParseSpotLine(line);
    if (!spot) return v;
    v.colour = MakeColour(spot->red, spot->green, spot->blue);
    v.tolerance = spot->tolerance;
    v.L = spot->L;
    v.a = spot->a;
    v.b = spot->b;
    v.spot = spot->spot > kLastSpot ? 0 : (spot->spot < 0 ? -1 : spot->spot);
    v.name = spot->name;
    return v;
}

std::string FormatSpotEditor(const SpotEditorValues& v) {
    SpotLine s;
    s.red = RedOf(v.colour);
    s.green = GreenOf(v.colour);
    s.blue = BlueOf(v.colour);
    s.tolerance = v.tolerance;
    s.L = v.L;
    s.a = v.a;
    s.b = v.b;
    s.spot = v.spot < 0 ? 0 : v.spot;
    s.name = v.name;
    return FormatSpotLine(s);
}

SpotApplyResult ApplySpotRule(std::vector<std::string>& list, int selected, bool copy,
                              const SpotEditorValues& values,
                              const std::function<bool()>& confirmUpdate) {
    int index = selected < static_cast<int>(list.size()) ? selected : -1;
    if (!copy && index < 0) {
        const std::string key = Key(values.colour);
        for (std::size_t i = 0; i < list.size(); ++i)
            if (list[i].compare(0, key.size(), key) == 0) index = static_cast<int>(i);
    }
    const std::string line = FormatSpotEditor(values);
    if (index >= 0) {
        if (!confirmUpdate()) return {SpotApplyOutcome::Declined, -1};
        list[static_cast<std::size_t>(index)] = line;
        return {SpotApplyOutcome::Updated, index};
    }
    if (values.L == 0 && values.a == 0 && values.b == 0)
        return {SpotApplyOutcome::NoColourInformation, -1};
    list.push_back(line);
    return {SpotApplyOutcome::Appended, static_cast<int>(list.size()) - 1};
}

bool DeleteSpotRule(std::vector<std::string>& list, int index) {
    if (index < 0 || index >= static_cast<int>(list.size())) return false;
    list.erase(list.begin() + index);
    return true;
}

bool SpotMatches(std::uint32_t pixel, std::uint32_t colour, int tolerance) {
    const int dr = RedOf(pixel) - RedOf(colour);
    const int dg = GreenOf(pixel) - GreenOf(colour);
    const int db = BlueOf(pixel) - BlueOf(colour);
    return dr * dr + dg * dg + db * db <= tolerance * tolerance;
}

std::span<const NamedColour> NamedColours() {
    return kPalette;
}

std::string ColorDisplayName(std::int64_t colour) {
    if (colour >= 0)
        for (const NamedColour& c : kPalette)
            if (c.value == colour) return c.name;
    const auto value = static_cast<std::uint32_t>(colour);
    char buf[48];
    std::snprintf(buf, sizeof buf, "Custom: ( %d,%d,%d )", RedOf(value), GreenOf(value),
                  BlueOf(value));
    return buf;
}

}  // namespace corvan
