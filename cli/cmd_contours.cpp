#include "clisession.h"
#include "command.h"
#include "jobload.h"

#include "platform/numbers.h"
#include "raster/contours.h"

#include <iostream>

namespace corvan::cli {
namespace {

int RunContours(const std::vector<std::string>& args) {
    std::string input, value;
    float scale = 10;  // tenths of a millimetre, as cutting uses
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--scale") {
            if (!TakeValue(args, i, value)) return kUsage;
            const auto v = ParseReal(value);
            if (!v || *v <= 0 || *v > 1000)
                return UsageError("--scale wants pixels per millimetre, above 0 up to 1000");
            scale = static_cast<float>(*v);
        } else if (!a.empty() && a[0] == '-') {
            return UsageError("contours: unknown option " + a);
        } else if (input.empty()) {
            input = a;
        } else {
            return UsageError("contours: more than one project file");
        }
    }
    if (input.empty()) return UsageError("contours needs JOB.RIP");
    CliSession session;
    AppCore& app = session.app;
    std::string error;
    if (!LoadJobForRendering(app, input, error)) return Failure(error);
    const ContourPath path = CollectJobContours(*app.CurrentJob, scale);
    for (std::size_t i = 0; i < path.points.size(); ++i)
        std::cout << path.points[i].x << ' ' << path.points[i].y << ' ' << int(path.types[i])
                  << '\n';
    return kOk;
}

CommandRegistrar reg({"contours",
                      "JOB.RIP [--scale S]\n"
                      "                       prints one copy's cut path, one point a line: "
                      "x y type (6 move, 2 line)",
                      &RunContours});

}  // namespace
}  // namespace corvan::cli
