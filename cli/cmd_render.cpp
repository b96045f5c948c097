#include "command.h"
#include "jobload.h"

#include "platform/bitmap.h"
#include "platform/metafile/emf_player.h"
#include "raster/emfdoc.h"


#include <cmath>
#include <iostream>
#include <optional>

namespace corvan::cli {
namespace {

constexpr int kMaxSide = 100000;

std::optional<int> ParseSide(const std::string& text) {
    try {
        std::size_t used = 0;
        const long v = std::stol(text, &used);
        if (used == text.size() && v >= 1 && v <= kMaxSide) return static_cast<int>(v);
    } catch (...) {
    }
    return std::nullopt;
}

std::optional<Colour> ParseRgb(const std::string& text) {
    if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return std::nullopt;
    const unsigned long v = std::stoul(text, nullptr, 16);
    return MakeColour((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

struct RenderArgs {
    std::string input, output;
    int width = 0, height = 0;
    Colour background = 0xFFFFFF;
    bool plain = false;
};

// Returns an exit code when the arguments are unusable, else nothing.
std::optional<int> Parse(const std::vector<std::string>& args, RenderArgs& out) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string v;
        if (a == "--plain") {
            out.plain = true;
        } else if (a == "-o" || a == "--width" || a == "--height" || a == "--bg") {
            if (!TakeValue(args, i, v)) return kUsage;
            if (a == "-o") {
                out.output = v;
            } else if (a == "--bg") {
                const auto c = ParseRgb(v);
                if (!c)
                    return UsageError("--bg wants six hexadecimal digits RRGGBB, not '" + v + "'");
                out.background = *c;
            } else {
                const auto n = ParseSide(v);
                if (!n)
                    return UsageError(a + " wants a whole number from 1 to 100000, not '" + v +
                                      "'");
                (a == "--width" ? out.width : out.height) = *n;
            }
        } else if (!a.empty() && a[0] == '-') {
            return UsageError("render: unknown option " + a);
        } else if (out.input.empty()) {
            out.input = a;
        } else {
            return UsageError("render: more than one input file");
        }
    }
    if (out.input.empty() || out.output.empty())
        return UsageError("render needs LAYER.emf and -o OUT.png");
    if (!out.width && !out.height) return UsageError("render needs --width or --height");
    return std::nullopt;
}

// A missing side follows the frame's aspect ratio.
bool CompleteSize(const emf::EmfHeader& h, RenderArgs& a) {
    // A frame given upside down still has its shape.
    double fw = std::fabs(double(h.frame.right) - h.frame.left);
    double fh = std::fabs(double(h.frame.bottom) - h.frame.top);
    if (fw == 0 || fh == 0) {
        fw = std::fabs(double(h.bounds.right) - h.bounds.left);
        fh = std::fabs(double(h.bounds.bottom) - h.bounds.top);
    }
    if (!a.width)
        a.width = fw > 0 && fh > 0 ? static_cast<int>(std::lround(a.height * fw / fh)) : a.height;
    if (!a.height)
        a.height = fw > 0 && fh > 0 ? static_cast<int>(std::lround(a.width * fh / fw)) : a.width;
    return a.width >= 1 && a.height >= 1 && a.width <= kMaxSide && a.height <= kMaxSide;
}

int RunRender(const std::vector<std::string>& args) {
    RenderArgs a;
    if (auto code = Parse(args, a)) return *code;
    std::string error;
    auto metafile = emf::EmfReader::OpenFile(a.input, &error);
    if (!metafile) return Failure(a.input + ": " + error);
    if (!CompleteSize(metafile->Header(), a)) return Failure(a.input + ": picture size out of range");
    std::unique_ptr<Bitmap24> image;
    if (a.plain) {
        image = Bitmap24::Create(a.width, a.height);
        if (image) {
            image->Fill(a.background);
            emf::GdiDevice dc(*image);
            const auto result = emf::PlayMetafile(dc, *metafile, QRect(0, 0, a.width, a.height));
            for (const std::string& why : result.skipped)
                std::cerr << "corvanrip-cli: " << a.input << ": skipped " << why << "\n";
            if (!result.complete) std::cerr << "corvanrip-cli: " << a.input << ": " << result.reason << "\n";
        }
    } else {
        image = TemfDoc().RenderFile(a.width, a.height, a.background, a.input);  // the layer preview rules
    }
    if (!image) return Failure("cannot make a picture of " + std::to_string(a.width) + " x " +
                               std::to_string(a.height) + " pixels");
    if (!SavePng(*image, a.output, error)) return Failure(a.output + ": " + error);
    return kOk;
}

CommandRegistrar reg({"render",
                      "LAYER.emf -o OUT.png --width W --height H [--bg RRGGBB] [--plain]\n"
                      "                       plays a layer onto a picture; one side alone keeps "
                      "the frame's shape\n"
                      "                       (--plain: every record as recorded, without the "
                      "layer preview rules)",
                      &RunRender});

}  // namespace
}  // namespace corvan::cli
