#include "command.h"

#include "clisession.h"
#include "cliui.h"
#include "heaptuning.h"
#include "jobload.h"
#include "runstats.h"

#include "job/projectfile.h"
#include "placement/placementops.h"
#include "placement/tiling.h"
#include "platform/folders.h"
#include "platform/paths.h"
#include "plugins/currentplugin.h"
#include "plugins/driverlist.h"
#include "plugins/plottersize.h"
#include "plugins/printersettings.h"
#include "rip/ripcommand.h"
#include "shell/appcore.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include <sys/resource.h>

namespace corvan::cli {
namespace {

struct RipArgs {
    std::string job, driver, settings, output;
    bool raster = true, cut = true, onlyExtra = false, spool = false, strict = false, stats = false;
    int threads = DefaultStripThreads();
    int tile = 0;  // 0: the crop the job was saved with
};

int Parse(const std::vector<std::string>& args, RipArgs& a) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& s = args[i];
        if (s == "--driver") {
            if (!TakeValue(args, i, a.driver)) return kUsage;
        } else if (s == "--settings") {
            if (!TakeValue(args, i, a.settings)) return kUsage;
        } else if (s == "--output") {
            if (!TakeValue(args, i, a.output)) return kUsage;
        } else if (s == "--no-raster") {
            a.raster = false;
        } else if (s == "--no-cut") {
            a.cut = false;
        } else if (s == "--only-extra-spots") {
            a.onlyExtra = true;
        } else if (s == "--spool") {
            a.spool = true;
        } else if (s == "--strict") {
            a.strict = true;
        } else if (s == "--stats") {
            a.stats = true;
        } else if (s == "--threads") {
            std::string n;
            if (!TakeValue(args, i, n)) return kUsage;
            a.threads = std::atoi(n.c_str());
            if (a.threads < 1 || a.threads > 64) return UsageError("--threads takes 1 to 64");
        } else if (s == "--tile") {
            std::string n;
            if (!TakeValue(args, i, n)) return kUsage;
            a.tile = std::atoi(n.c_str());
            if (a.tile < 1) return UsageError("--tile takes a tile number from 1");
        } else if (!s.empty() && s[0] == '-') {
            return UsageError("unknown flag " + s);
        } else if (a.job.empty()) {
            a.job = s;
        } else {
            return UsageError("rip takes one job file");
        }
    }
    if (a.job.empty()) return UsageError("rip needs a job file");
    return kOk;
}

std::string Absolute(const std::string& path) {
    return path.empty() ? path
                        : QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString();
}

// Lists the drivers of the data folder and the one named on the command line.
void FillDriverList(DriverList& list, const std::string& extraDriver) {
    list.Lines = GetPrinterList(ReadPath("DataDir"), true);
    if (!extraDriver.empty()) {
        bool listed = false;
        for (const auto& l : list.Lines) listed = listed || DriverLinePath(l) == extraDriver;
        if (!listed) list.Lines.push_back(MakeDriverLine(extraDriver, "", ""));
    }
    list.Lines.push_back(kWindowsPrinterLine);
}

void Answers(CliUi& ui, const RipArgs& a) {
    ui.Answer("RIP Current Job?", ButtonYes);
    ui.Answer("Warning: The Selected Job Size does not fit", a.strict ? ButtonYes : ButtonNo);
    ui.Answer("Update Printer Settings?",
              a.driver.empty() && a.settings.empty() ? ButtonYes : ButtonNo);
    ui.Answer("Spool this file to printer?", a.spool ? ButtonYes : ButtonNo);
    ui.Answer("There was a problem with the current print job.", ButtonAbort);
    ui.Answer("The printer is not using a profile", ButtonYes);
}

long PeakResidentKb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

double DevicePixelsPerSourcePixel(const TemfFile& job) {
    const auto dpi = [](int type) {
        return std::strtod(CurrentPlugin().Get_Plugin_Datatype(type).c_str(), nullptr);
    };
    const double render = job.RenderDPI > 0 ? job.RenderDPI : 1;
    return dpi(17) * dpi(18) / (render * render);
}

int RunRip(const std::vector<std::string>& args) {
    RipArgs a;
    if (int rc = Parse(args, a); rc != kOk) return rc;
    ReuseLargeBlocks();
    a.job = Absolute(a.job);
    a.driver = Absolute(a.driver);
    if (!FileExists(a.job)) return Failure("Unable to find file: " + a.job);
    if (!a.driver.empty() && !FileExists(a.driver)) return Failure("no driver at " + a.driver);

    CliUi ui;
    Answers(ui, a);

    CliSession session(ui);
    AppCore& app = session.app;
    DriverList& list = app.Drivers;
    FillDriverList(list, a.driver);

    std::string error;
    if (!LoadJobForRendering(app, a.job, error)) return Failure(error);
    if (!a.driver.empty()) LoadPlugin(a.driver, list.Host->HostWindowId());
    if (!a.settings.empty()) LoadDriverSettings(Absolute(a.settings), list, app.CurrentPlotter);
    Set_Plotter_Size(app.CurrentPlotter);
    app.Output.DoRaster = a.raster;
    app.Output.DoVector = a.cut;
    app.Output.VectorEnabled = app.CurrentJob->ContourCut;
    app.Output.OnlyExtraSpots = a.onlyExtra;
    app.Output.RipToFile = !a.output.empty();
    app.Output.FileName = Absolute(a.output);
    UpdateLayout(app, false);
    if (a.tile > 0 && !SelectJobTile(app, a.tile, error)) return Failure(a.job + ": " + error);

    const TemfFile& job = *app.CurrentJob;
    std::cerr << "corvanrip: " << job.MediaUsedWidth + job.XOffset << " x "
              << job.MediaUsedHeight + job.YOffset << " mm at " << job.RenderDPI << " DPI to "
              << app.CurrentPlotter.PrinterName << " (" << app.CurrentPlotter.DpiX << " x "
              << app.CurrentPlotter.DpiY << " DPI)\n";
    QElapsedTimer clock;
    clock.start();
    const RunStats run;
    CliRip port(app);
    port.SetStripThreads(a.threads);
    const RipResult result = RipNow(app, CurrentPlugin(), port);
    const double seconds = clock.elapsed() / 1000.0;
    // Each source pixel becomes this many device pixels (per colour pass).
    const double deviceRatio = DevicePixelsPerSourcePixel(job);
    ReleaseCurrentPlugin();
    if (!result.error.empty()) return Failure(result.error);
    if (!result.ran) return Failure("nothing was ripped");
    std::fprintf(stderr,
                 "corvanrip: %.1f s, %.1f source megapixels/s rendered, peak memory %ld MB%s\n",
                 seconds, seconds > 0 ? port.SourcePixels() / 1e6 / seconds : 0.0,
                 PeakResidentKb() / 1024, result.completed ? "" : " (stopped early)");
    if (a.stats) run.Print(port.SourcePixels(), port.SourcePixels() * deviceRatio);
    return result.completed ? kOk : kFailed;
}

CommandRegistrar reg(
    {"rip",
     "JOB.RIP [--driver FILE.drv] [--settings FILE.pin] [--output FILE] [--no-raster] "
     "[--no-cut] [--only-extra-spots] [--spool] [--strict] [--stats] [--threads N] [--tile N]",
     &RunRip});

}  // namespace
}  // namespace corvan::cli
