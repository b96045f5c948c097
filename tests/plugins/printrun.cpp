#include "printrun.h"

#include "platform/numbers.h"

#include <vector>

namespace corvan::test {

namespace {
// False when the operator cancelled within the rows.
bool SendRows(TPluginObject& plugin, PrintRun& run, int pass) {
    const Bitmap24& src = *run.source;
    const int sw = src.Width(), sh = src.Height();
    std::vector<std::uint8_t> p0(static_cast<std::size_t>(sw)), p1(p0.size()), p2(p0.size());
    int previous = -1;
    for (int r = 0; r < run.deviceHeight; ++r) {
        const int s = run.deviceHeight == 1 ? 0 : MulDiv(r, sh - 1, run.deviceHeight - 1);
        if (s != previous) {
            const std::uint8_t* row = src.Row(s);
            for (int x = 0; x < sw; ++x) {
                p0[static_cast<std::size_t>(x)] = row[3 * x];
                p1[static_cast<std::size_t>(x)] = row[3 * x + 1];
                p2[static_cast<std::size_t>(x)] = row[3 * x + 2];
            }
            previous = s;
            plugin.Plugin_PrintRow(p0.data(), p1.data(), p2.data(), sw, run.deviceWidth, -1);
        }
        if (plugin.Plugin_PrintRow(p0.data(), p1.data(), p2.data(), sw, run.deviceWidth, r))
            run.problems.push_back("Plugin_PrintRow");
        if (pass == run.cancelPass && r == run.cancelAfterRow) return false;
        if (plugin.Plugin_Status() == 1) return true;
    }
    return true;
}
}  // namespace

void Print(TPluginObject& plugin, PrintRun& run) {
    auto check = [&](bool problem, const char* name) {
        if (problem) run.problems.push_back(name);
    };
    check(plugin.Prepare_PrintJob(run.source->Width(), run.source->Height(), run.deviceWidth,
                                  run.deviceHeight, "job.RIP"),
          "Prepare_PrintJob");
    check(plugin.Plugin_OpenPrinter(), "Plugin_OpenPrinter");
    check(plugin.Plugin_StartDoc(run.title), "Plugin_StartDoc");
    if (run.spotCalls) run.spotCalls(plugin);
    for (int pass = run.firstPass; pass <= run.lastPass; ++pass) {
        if (run.beforePass) run.beforePass(plugin, pass);
        check(plugin.Plugin_StartPage(pass), "Plugin_StartPage");
        const bool cancelled = !SendRows(plugin, run, pass);
        if (plugin.Plugin_Status() == 1 || cancelled) break;
        plugin.Plugin_EndPage();
    }
    if (run.cut) {
        check(plugin.Plugin_StartCut(), "Plugin_StartCut");
        run.cut(plugin);
    }
    plugin.Plugin_EndCut();
    plugin.Plugin_EndDoc();
    plugin.Plugin_ClosePrinter();
    plugin.Finalize_PrintJob();
}

void SetDriverSettings(TPluginObject& plugin, const std::string& lines) {
    plugin.Set_Plugin_Data(lines.data(), static_cast<std::int32_t>(lines.size()));
}

}  // namespace corvan::test
