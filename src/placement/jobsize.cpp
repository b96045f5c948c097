#include "placement/jobsize.h"

#include "platform/numbers.h"

#include <QString>

#include <algorithm>
#include <cmath>

namespace corvan {

namespace {

constexpr LengthUnit kUnits[] = {
    {"mm", "mm", 1, 1.0f},           {"inches", "in", 3, 25.4f},  {"points", "pts", 1, 0.3527778f},
    {"pixels", "px", 0, 0.0846667f}, {"feet", "ft", 4, 304.8f},   {"yards", "y", 4, 914.4f},
    {"C.M.", "cm", 2, 10.0f},        {"meters", "m", 3, 1000.0f},
};

constexpr const char* kPaper[] = {
    "Custom\t10 x 10 mm",     "ANSI A\t8.5 X 11.0 in",  "ANSI B\t11.0 X 17.0 in",
    "ANSI C\t17.0 X 22.0 in", "ANSI D\t22.0 X 34.0 in", "ANSI E\t34.0 X 44.0 in",
    "ISO A4\t210 X 297 mm",   "ISO A3\t297 X 420 mm",   "ISO A2\t420 X 594 mm",
    "ISO A1\t594 X 840 mm",   "ISO A0\t841 X 1189 mm",  "Arch A\t9.0 x 12.0 in",
    "Arch B\t12.0 x 18.0 in", "Arch C\t18.0 x 24.0 in", "Arch D\t24.0 x 36.0 in",
    "Arch E\t36.0 x 48.0 in", "DIN A0\t881 X 1229 mm",  "DIN A1\t634 X 881 mm",
    "DIN A2\t460 X 634 mm",   "DIN A3\t337 X 460 mm",   "DIN A4\t250 X 337 mm",
    "ISO B3\t353 X 500 mm",   "ISO B2\t500 X 707 mm",   "ISO B1\t707 X 1000 mm",
    "ISO B0\t1000 X 1414 mm", "E1\t30.0 X 42.0 in",     "E2\t27.0 X 39.0 in",
    "E3\t26.0 X 38.0 in",     "GA 1\t19 X 25 in",       "GA 2\t23 X 35 in",
    "GA 3\t24 X 29 in",       "GA 4\t25 X 38 in",       "GA 5\t35 X 45 in",
    "GA 6\t20 X 28 in",       "GA 7\t22 X 26 in",       "GA 8\t32 X 44 in",
    "GA 9\t36 X 45 in",       "GA 10\t40 X 50 in",      "RA0\t860 X 1220 mm",
    "RA1\t610 X 860 mm",      "2A\t1189 X 1682 mm",
};

constexpr const char* kMedia[] = {
    "11\" (280mm)",   "12\" (305mm)",   "14\" (356mm)",   "15\" (381mm)",   "17\" (432mm)",
    "18\" (457mm)",   "19\" (483mm)",   "20\" (508mm)",   "23\" (585mm)",   "24\" (610mm)",
    "29\" (737mm)",   "30\" (762mm)",   "35\" (889mm)",   "36\" (915mm)",   "39\" (991mm)",
    "40\" (1016mm)",  "41\" (1041mm)",  "42\" (1067mm)",  "47\" (1193mm)",  "48\" (1220mm)",
    "49\" (1245mm)",  "50\" (1270mm)",  "51\" (1295mm)",  "52\" (1321mm)",  "59\" (1499mm)",
    "60\" (1524mm)",  "69\" (1753mm)",  "70\" (1778mm)",  "71\" (1803mm)",  "72\" (1829mm)",
    "95\" (2413mm)",  "96\" (2438mm)",  "125\" (3175mm)", "126\" (3200mm)", "149\" (3785mm)",
    "150\" (3800mm)", "195\" (4953mm)", "196\" (4978mm)",
};

bool RunChar(char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == 'i' || c == 'm' || c == 'n';
}

std::optional<float> ToFloat(const std::string& text) {
    auto v = ParseReal(text);
    if (!v) return std::nullopt;
    return static_cast<float>(*v);
}

}  // namespace

std::span<const LengthUnit> JobSizeUnits() {
    return kUnits;
}

int UnitIndex(const std::string& name) {
    for (std::size_t i = 0; i < std::size(kUnits); ++i)
        if (name == kUnits[i].name) return static_cast<int>(i);
    return 0;
}

std::span<const char* const> PaperPresets() {
    return kPaper;
}
std::span<const char* const> MediaWidthPresets() {
    return kMedia;
}

std::optional<SizeMM> ParsePaperPreset(const std::string& item) {
    const auto tab = item.find('\t');
    if (tab == std::string::npos) return std::nullopt;
    std::vector<std::string> runs(1);
    for (char c : item.substr(tab + 1)) {
        if (RunChar(c))
            runs.back() += c;
        else if (!runs.back().empty())
            runs.emplace_back();
    }
    if (runs.size() < 3) return std::nullopt;
    const float factor = runs[2] == "in" ? 25.4f : 1.0f;
    auto w = ToFloat(runs[0]);
    auto h = ToFloat(runs[1]);
    if (!w || !h) return std::nullopt;
    return SizeMM{*w * factor, *h * factor};
}

JobSizeResult ComputeJobSize(const JobSizeInput& in) {
    JobSizeResult out;
    out.page = in.landscape ? SizeMM{in.page.height, in.page.width} : in.page;
    const float W = out.page.width, H = out.page.height;
    if (W == 0 || H == 0) return out;
    out.result = out.page;
    if (in.fit && in.sourceWidth > 0 && in.sourceHeight > 0) {
        const float s = std::min(W / in.sourceWidth, H / in.sourceHeight);
        out.result = {s * in.sourceWidth, s * in.sourceHeight};
    }
    if (!in.pixelSource) {
        out.resolution = "Not applicable.";
        return out;
    }
    const int dx = RoundToInt(in.sourceWidth * 25.4 / out.result.width);
    const int dy = RoundToInt(in.sourceHeight * 25.4 / out.result.height);
    out.resolution =
        dx == dy ? std::to_string(dx) : std::to_string(dx) + " x " + std::to_string(dy);
    out.resolution += "  (" + std::to_string(RoundToInt(in.sourceWidth)) + " x " +
                      std::to_string(RoundToInt(in.sourceHeight)) + " pixels)";
    return out;
}

SizeMM SourceSizeMM(float sourceWidth, float sourceHeight, bool pixelSource) {
    if (!pixelSource) return {sourceWidth, sourceHeight};
    return {sourceWidth * 25.4f / 100, sourceHeight * 25.4f / 100};
}

float ProportionalHeight(float width, float sourceWidth, float sourceHeight) {
    return sourceWidth > 0 ? width * sourceHeight / sourceWidth : 0;
}

float ProportionalWidth(float height, float sourceWidth, float sourceHeight) {
    return sourceHeight > 0 ? height * sourceWidth / sourceHeight : 0;
}

std::optional<float> MediaPresetWidth(const std::string& item, bool metric) {
    if (metric) {
        const auto mark = item.find('"');
        if (mark == std::string::npos) return std::nullopt;
        auto inches = ToFloat(item.substr(0, mark));
        if (!inches) return std::nullopt;
        return *inches * 25.4f;
    }
    const auto open = item.find('(');
    const auto mm = item.find("mm", open == std::string::npos ? 0 : open);
    if (open == std::string::npos || mm == std::string::npos) return std::nullopt;
    return ToFloat(item.substr(open + 1, mm - open - 1));
}

LayerPageSize ProposedLayerPageSize(const emf::EmfHeader& header) {
    LayerPageSize size{10.0f * static_cast<float>(header.deviceMillimetres.cx),
                       10.0f * static_cast<float>(header.deviceMillimetres.cy), false};
    // The frame is inclusive and in hundredths of a millimetre.
    const float fw =
        static_cast<float>(static_cast<double>(header.frame.right) - header.frame.left + 1) /
        100.0f;
    const float fh =
        static_cast<float>(static_cast<double>(header.frame.bottom) - header.frame.top + 1) /
        100.0f;
    // A header without a usable device or frame stays as it is: it is refused.
    if (fw < 1 || fh < 1 || size.width < 1 || size.height < 1) return size;
    auto plainlyOff = [](float rule, float frame) {
        return rule < frame / 1.5f || rule > frame * 1.5f;
    };
    if (plainlyOff(size.width, fw) || plainlyOff(size.height, fh)) size = {fw, fh, true};
    return size;
}

}  // namespace corvan
