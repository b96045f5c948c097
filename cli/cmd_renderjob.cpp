#include "clisession.h"
#include "command.h"
#include "heaptuning.h"
#include "jobload.h"

#include "platform/numbers.h"
#include "raster/stripcomposer.h"
#include "raster/strippipeline.h"
#include "raster/stripsink.h"

#include <sstream>

namespace corvan::cli {
namespace {

// The PNG and TIFF formats' own limit on a side.
constexpr std::int64_t kMaxSide = 0x7FFFFFFF;
// Strips of about one million pixels, as the RIP renders them.
constexpr std::int64_t kStripPixels = 1'000'000;

std::optional<IntRect> ParseRect(const std::string& text) {
    std::istringstream in(text);
    IntRect r;
    char c1 = 0, c2 = 0, c3 = 0;
    if (!(in >> r.left >> c1 >> r.top >> c2 >> r.right >> c3 >> r.bottom) || c1 != ',' ||
        c2 != ',' || c3 != ',' || !in.eof() || r.right < r.left || r.bottom < r.top)
        return std::nullopt;
    return r;
}

// The whole output raster: the used width and length from the media origin.
IntRect WholeRaster(const TemfFile& job, float s) {
    const auto px = [s](float mm) { return RoundToInt(static_cast<long double>(s) * mm); };
    return {0, 0, std::max(1, px(job.XOffset + job.MediaUsedWidth)) - 1,
            std::max(1, px(job.YOffset + job.MediaUsedHeight)) - 1};
}

int RunRenderJob(const std::vector<std::string>& args) {
    std::string input, output, value;
    std::optional<int> dpi;
    std::optional<IntRect> rect;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-o" || a == "--dpi" || a == "--rect") {
            if (!TakeValue(args, i, value)) return kUsage;
            if (a == "-o") {
                output = value;
            } else if (a == "--dpi") {
                const auto n = ParseInteger(value);
                if (!n || *n < 1 || *n > 2400)
                    return UsageError("--dpi wants a whole number from 1 to 2400");
                dpi = static_cast<int>(*n);
            } else if (!(rect = ParseRect(value))) {
                return UsageError("--rect wants L,T,R,B in output pixels (ends included)");
            }
        } else if (!a.empty() && a[0] == '-') {
            return UsageError("render-job: unknown option " + a);
        } else if (input.empty()) {
            input = a;
        } else {
            return UsageError("render-job: more than one project file");
        }
    }
    if (input.empty() || output.empty())
        return UsageError("render-job needs JOB.RIP and -o OUT.png");
    ReuseLargeBlocks();
    CliSession session;
    AppCore& app = session.app;
    std::string error;
    if (!LoadJobForRendering(app, input, error)) return Failure(error);
    TemfFile& job = *app.CurrentJob;
    const float s =
        static_cast<float>(dpi.value_or(job.RenderDPI > 0 ? job.RenderDPI : 360)) / 25.4f;
    const IntRect r = rect.value_or(WholeRaster(job, s));
    const std::int64_t w = std::int64_t(r.right) - r.left + 1,
                       h = std::int64_t(r.bottom) - r.top + 1;
    if (w > kMaxSide || h > kMaxSide)
        return Failure("the picture would be " + std::to_string(w) + " x " + std::to_string(h) +
                       " pixels; ask for a part with --rect");
    // Each strip goes to the file as soon as it is rendered.
    auto sink =
        StripSink::Create(output, static_cast<int>(w), static_cast<int>(h), s * 25.4, error);
    if (!sink) return Failure(output + ": " + error);
    const int rows = static_cast<int>(std::max<std::int64_t>(1, kStripPixels / w));
    const StripComposer composer(job, CurrentCropMarkCorners(app));
    StripPipeline pipeline(composer, DefaultStripThreads(), {rows, r.bottom, r.bottom});
    for (int top = r.top; top <= r.bottom; top += rows) {
        const int bottom = std::min(r.bottom, top + rows - 1);
        auto strip = pipeline.Take({r.left, top, r.right, bottom}, s);
        if (!strip) return Failure("not enough memory for a strip");
        if (!sink->Append(std::move(strip))) return Failure(output + ": " + sink->Error());
    }
    if (!sink->Finish(error)) return Failure(output + ": " + error);
    return kOk;
}

CommandRegistrar reg({"render-job",
                      "JOB.RIP -o OUT.png|OUT.tif [--dpi N] [--rect L,T,R,B]\n"
                      "                       renders the job's output raster (every copy, marks, "
                      "texts); layers and\n"
                      "                       images missing at their paths are looked up beside "
                      "the project",
                      &RunRenderJob});

}  // namespace
}  // namespace corvan::cli
