#include "command.h"

#include "clisession.h"
#include "heaptuning.h"
#include "jobload.h"

#include "display/flatten.h"
#include "platform/numbers.h"

#include <QElapsedTimer>

#include <cstdio>

#include <sys/resource.h>

namespace corvan::cli {
namespace {

// The flattened picture of the job's crop section, turned as it prints,
// written strip by strip.
int RunExport(const std::vector<std::string>& args) {
    std::string input, output, value;
    double dpi = 0;
    SinkPixels pixels = SinkPixels::Colour;
    bool antialias = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-o") {
            if (!TakeValue(args, i, output)) return kUsage;
        } else if (a == "--dpi") {
            if (!TakeValue(args, i, value)) return kUsage;
            const auto n = ParseReal(value);
            if (!n || *n < 0.01 || *n > 10000)
                return UsageError("--dpi wants a number from 0.01 to 10000");
            dpi = *n;
        } else if (a == "--grey" || a == "--gray") {
            pixels = SinkPixels::Grey;
        } else if (a == "--mono") {
            pixels = SinkPixels::Mono;
        } else if (a == "--antialias") {
            antialias = true;
        } else if (!a.empty() && a[0] == '-') {
            return UsageError("export: unknown option " + a);
        } else if (input.empty()) {
            input = a;
        } else {
            return UsageError("export: more than one project file");
        }
    }
    if (input.empty() || output.empty())
        return UsageError("export needs JOB.RIP and -o OUT.png|.tif|.jpg|.bmp");
    ReuseLargeBlocks();
    CliSession session;
    std::string error;
    if (!LoadJobForRendering(session.app, input, error)) return Failure(error);
    const TemfFile& job = *session.app.CurrentJob;
    if (dpi == 0) dpi = job.RenderDPI > 0 ? job.RenderDPI : 150;
    QElapsedTimer clock;
    clock.start();
    if (!ExportFlattened(job, output, dpi, pixels, antialias, error))
        return Failure(output + ": " + error);
    const FlattenSize size = FlattenSizeFor(job, dpi, pixels);
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    std::fprintf(stderr, "corvanrip: %s: %d x %d pixels at %g DPI in %.1f s, peak memory %ld MB\n",
                 output.c_str(), job.Rotate ? size.height : size.width,
                 job.Rotate ? size.width : size.height, dpi, clock.elapsed() / 1000.0,
                 use.ru_maxrss / 1024);
    return kOk;
}

CommandRegistrar reg({"export",
                      "JOB.RIP -o OUT.png|OUT.tif|OUT.jpg|OUT.bmp [--dpi N] [--grey|--mono] "
                      "[--antialias]\n"
                      "                       the crop section flattened into one picture, "
                      "turned and mirrored as it prints",
                      &RunExport});

}  // namespace
}  // namespace corvan::cli
