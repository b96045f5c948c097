#include "command.h"
#include "clisession.h"
#include "jobload.h"

#include "cutting/autotrace.h"
#include "platform/numbers.h"

#include <iostream>

namespace corvan::cli {
namespace {

struct AutotraceArgs {
    std::string input, output;
    AutotraceSettings settings;
};

// Parses the arguments; returns -1 when they are good, else the exit code.
int ParseArgs(const std::vector<std::string>& args, AutotraceArgs& out) {
    std::string value;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-o") {
            if (!TakeValue(args, i, out.output)) return kUsage;
        } else if (a == "--threshold") {
            if (!TakeValue(args, i, value)) return kUsage;
            const auto v = ParseInteger(value);
            if (!v || *v < 0 || *v > 255) return UsageError("--threshold wants a colour distance from 0 to 255");
            out.settings.tolerance = static_cast<int>(*v);
        } else if (!a.empty() && a[0] == '-') {
            return UsageError("autotrace: unknown option " + a);
        } else if (out.input.empty()) {
            out.input = a;
        } else {
            return UsageError("autotrace: more than one project file");
        }
    }
    if (out.input.empty() || out.output.empty()) return UsageError("autotrace needs JOB.RIP -o OUT.LYR");
    return -1;
}

int RunAutotrace(const std::vector<std::string>& args) {
    AutotraceArgs a;
    if (const int code = ParseArgs(args, a); code >= 0) return code;
    CliSession session;
    AppCore& app = session.app;
    std::string error;
    if (!LoadJobForRendering(app, a.input, error)) return Failure(error);
    const auto source = RenderAutotraceSource(*app.CurrentJob);
    if (!source) return Failure("autotrace: the page cannot be rendered");
    const auto result = AutotraceToLayer(*source, a.settings, a.output);
    if (!result) return Failure(result.Error());
    std::cout << "Total Points: " << result->totalPoints << "\nContours: " << result->contours
              << "\nMax Points: " << result->maxPoints << '\n';
    return kOk;
}

CommandRegistrar reg({"autotrace", "JOB.RIP -o OUT.LYR [--threshold N]\n"
                                   "                       traces the page's regions that differ from white by "
                                   "more than N (0..255) into a vector layer in blue",
                      &RunAutotrace});

}  // namespace
}  // namespace corvan::cli
