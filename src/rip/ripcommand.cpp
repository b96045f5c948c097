#include "rip/ripcommand.h"

#include "colour/spotline.h"
#include "job/jobreport.h"
#include "job/jobsession.h"
#include "platform/debuglog.h"
#include "platform/folders.h"
#include "platform/numbers.h"
#include "plugins/pluginobject.h"

#include <QDate>
#include <QLocale>

#include <algorithm>
#include <cstring>

namespace corvan {

namespace {

constexpr int kOutputFileDatatype = 14;
constexpr int kDpiXDatatype = 17;
constexpr int kDpiYDatatype = 18;
constexpr int kStripPixels = 1000000;

// Asks the problem question; true means go on (Retry), false end the job (Abort).
bool GoOnAfterProblem(UserInterface& ui) {
    return ui.Message(MessageKind::Confirmation, kProblemPrompt, ButtonAbort | ButtonRetry) !=
           ButtonAbort;
}

std::string JobSizeText(const TemfFile& job) {
    return std::to_string(RoundToInt(job.PageWidth)) + " x " +
           std::to_string(RoundToInt(job.PageHeight)) + " mm";
}

// Everything one driver run needs, computed once at its start.
struct RunGeometry {
    float scale = 0;
    int sourceWidth = 0, sourceHeight = 0;
    int deviceWidth = 0, deviceHeight = 0;
    int stripRows = 0;
};

class DriverRun {
public:
    DriverRun(JobSession& app, TPluginObject& plugin, RipPort& port)
        : app_(app), job_(*app.CurrentJob), plugin_(plugin), port_(port), ui_(app.Ui()) {}

    RipResult Run();
    // After the driver was closed: "Spool this file to printer?" for output
    // that was neither cancelled nor abandoned.
    void AskSpool();

private:
    bool ComputeGeometry(std::string& failure);
    bool SendSpotColours();    // false: the operator chose to abort
    bool PrintPass(int pass);  // false: end the document now
    bool SendRows();           // false: abort; sets stopped_ on a status stop
    bool SendCut();
    void Finish();
    bool Trace() const { return app_.RipTrace == 10; }
    // The driver's stop or the operator's Cancel; sets the flags.
    bool StopRequested();

    JobSession& app_;
    TemfFile& job_;
    TPluginObject& plugin_;
    RipPort& port_;
    UserInterface& ui_;
    RunGeometry g_;
    std::int32_t passCount_ = 0;
    std::vector<std::string> extraPasses_;
    std::vector<std::uint8_t> planes_[3];
    std::unique_ptr<Bitmap24> strip_;
    bool stopped_ = false;
    bool cancelled_ = false;  // by the operator, not by the driver
    bool mayOfferSpool_ = false;
    RipProgress progress_;
};

bool DriverRun::ComputeGeometry(std::string& failure) {
    const float W = job_.MediaUsedWidth + job_.XOffset;
    const float H = job_.MediaUsedHeight + job_.YOffset;
    g_.scale = static_cast<float>(job_.RenderDPI) / 25.4f;
    g_.sourceWidth = RoundToInt(static_cast<long double>(g_.scale) * W);
    g_.sourceHeight = RoundToInt(static_cast<long double>(g_.scale) * H);
    const int dpiX = ParseInteger(plugin_.Get_Plugin_Datatype(kDpiXDatatype)).value_or(0);
    const int dpiY = ParseInteger(plugin_.Get_Plugin_Datatype(kDpiYDatatype)).value_or(0);
    g_.deviceWidth = RoundToInt(static_cast<long double>(dpiX) * W / 25.4L);
    g_.deviceHeight = RoundToInt(static_cast<long double>(dpiY) * H / 25.4L);
    g_.stripRows = g_.sourceWidth > 0 ? kStripPixels / g_.sourceWidth : 0;
    const struct {
        bool ok;
        const char* what;
    } checks[] = {
        {g_.deviceWidth >= 1, "device width"}, {g_.deviceHeight >= 1, "device height"},
        {g_.sourceWidth >= 1, "source width"}, {g_.sourceHeight >= 1, "source height"},
        {g_.stripRows >= 1, "rows per strip"},
    };
    for (const auto& c : checks) {
        if (!c.ok) {
            failure = std::string("Cannot RIP this job: the ") + c.what + " is out of range.";
            return false;
        }
    }
    return true;
}

bool DriverRun::SendSpotColours() {
    if (!job_.SpotColors) return true;
    for (const std::string& line : job_.SpotColorList) {
        auto spot = ParseSpotLine(line);
        if (!spot) continue;
        const int tol = std::max(spot->tolerance, 4);
        const int r = spot->red, g = spot->green, b = spot->blue;
        if (!plugin_.Force_InkColor(1, spot->spot, r, g, b, tol)) {
            plugin_.Insert_SpotColor(r, g, b, tol, spot->L, spot->a, spot->b);
            continue;
        }
        if (plugin_.Force_InkColor(2, spot->spot, r, g, b, tol) && !app_.Output.OnlyExtraSpots) {
            plugin_.Force_InkColor(3, spot->spot, r, g, b, tol);
            continue;
        }
        if (passCount_ > 1) {
            plugin_.Force_InkColor(3, 0, r, g, b, tol);
            extraPasses_.push_back(line);
            continue;
        }
        const std::string question =
            "The printer is not using a profile that allows printing the requested spot color " +
            spot->name + "\r" + "Do you wish to abort printing?";
        if (ui_.Message(MessageKind::Error, question, YesNo) == ButtonYes) return false;
        plugin_.Insert_SpotColor(r, g, b, tol, spot->L, spot->a, spot->b);
    }
    return true;
}

bool DriverRun::StopRequested() {
    if (plugin_.Plugin_Status() == 1) {
        stopped_ = true;
    } else if (ui_.CancelRequested()) {
        stopped_ = cancelled_ = true;
    }
    return stopped_;
}

bool DriverRun::SendRows() {
    int previousSource = -1, previousStrip = -1;
    const int sw = g_.sourceWidth;
    for (int r = 0; r < g_.deviceHeight; ++r) {
        const int s = SourceRowOf(r, g_.sourceHeight, g_.deviceHeight);
        if (Trace()) LogLine(std::to_string(r) + " " + std::to_string(s));
        if (s != previousSource) {
            const int stripNo = s / g_.stripRows, rowInStrip = s % g_.stripRows;
            if (stripNo != previousStrip) {
                strip_.reset();
                const int top = stripNo * g_.stripRows;
                strip_ = port_.RenderStrip({0, top, sw, top + g_.stripRows}, g_.scale);
                previousStrip = stripNo;
            }
            if (strip_ && rowInStrip < strip_->Height()) {
                const std::uint8_t* px = strip_->Row(rowInStrip);
                const int n = std::min(sw, strip_->Width());
                for (int x = 0; x < n; ++x) {
                    planes_[0][static_cast<std::size_t>(x)] = px[3 * x];
                    planes_[1][static_cast<std::size_t>(x)] = px[3 * x + 1];
                    planes_[2][static_cast<std::size_t>(x)] = px[3 * x + 2];
                }
                previousSource = s;
                plugin_.Plugin_PrintRow(planes_[0].data(), planes_[1].data(), planes_[2].data(), sw,
                                        g_.deviceWidth, -1);
            }
        }
        if (plugin_.Plugin_PrintRow(planes_[0].data(), planes_[1].data(), planes_[2].data(), sw,
                                    g_.deviceWidth, r) &&
            !GoOnAfterProblem(ui_))
            return false;
        progress_.row = r + 1;
        if ((r & 63) == 0 || r + 1 == g_.deviceHeight) {
            const int percent = static_cast<int>(100LL * (r + 1) / g_.deviceHeight);
            ui_.Progress(1, percent,
                         "Pass " + std::to_string(progress_.pass) + " of " +
                             std::to_string(progress_.lastPass) + ", row " + std::to_string(r + 1) +
                             " of " + std::to_string(g_.deviceHeight));
            ui_.ProcessMessages();
        }
        if (StopRequested()) break;
    }
    return true;
}

bool DriverRun::PrintPass(int pass) {
    if (Trace()) LogLine("Render pass " + std::to_string(pass));
    progress_.pass = pass;
    if (pass > passCount_) {
        const std::size_t index = static_cast<std::size_t>(pass - passCount_ - 1);
        if (index < extraPasses_.size()) {
            if (auto spot = ParseSpotLine(extraPasses_[index])) {
                const int tol = std::max(spot->tolerance, 4);
                plugin_.Force_InkColor(4, spot->spot, spot->red, spot->green, spot->blue, tol);
                plugin_.Force_InkColor(5, spot->spot, spot->red, spot->green, spot->blue, tol);
            }
        }
    }
    if (plugin_.Plugin_StartPage(pass) && !GoOnAfterProblem(ui_)) return false;
    if (Trace()) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "sh: %d  dh: %d", g_.sourceHeight, g_.deviceHeight);
        LogLine(buf);
    }
    if (!SendRows()) return false;
    strip_.reset();
    // Asked again even after a stop within the rows: drivers expect the call.
    const bool stopNow = StopRequested();
    if (stopped_ || stopNow) {
        stopped_ = true;
        return true;
    }
    plugin_.Plugin_EndPage();
    return true;
}

bool DriverRun::SendCut() {
    if (plugin_.Plugin_StartCut() && !GoOnAfterProblem(ui_)) return false;
    const ContourPath path = port_.CutPath(10.0f);
    for (int n = 1; n <= job_.Copies; ++n) {
        float x1, y1, x2, y2;
        job_.GetCopyRect(n, x1, y1, x2, y2);
        for (std::size_t i = 0; i < path.points.size(); ++i) {
            const double x = (path.points[i].x + 0.5) * 0.1 + x1 + job_.XOffset;
            const double y = (path.points[i].y + 0.5) * 0.1 + y1 + job_.YOffset;
            if (plugin_.Plugin_PrintVector(path.types[i], x, y) && !GoOnAfterProblem(ui_))
                return false;
        }
    }
    return true;
}

void DriverRun::Finish() {
    plugin_.Plugin_ClosePrinter();
    plugin_.Finalize_PrintJob();
    ui_.SetBusy(false);
    extraPasses_.clear();
    for (auto& p : planes_) std::vector<std::uint8_t>().swap(p);
    strip_.reset();
    ui_.Progress(2, 100, {});
    port_.RunEnded();
    port_.ShowMainWindow(true);
    ui_.ProcessMessages();
}

// Only output that was not cancelled or abandoned after a problem is offered:
// the driver holds no finished file for those.
void DriverRun::AskSpool() {
    if (mayOfferSpool_ && app_.Output.RipToFile &&
        ui_.Message(MessageKind::Confirmation, "Spool this file to printer?", YesNo) == ButtonYes)
        plugin_.Plugin_SpoolPrintJob(app_.Output.FileName);
}

RipResult DriverRun::Run() {
    RipResult result;
    passCount_ = plugin_.Get_Plugin_Settings();
    const bool rasterWanted = app_.Output.DoRaster;
    const bool cutWanted = app_.Output.DoVector && app_.Output.VectorEnabled && job_.ContourCut;
    plugin_.Set_Plugin_Datatype(kOutputFileDatatype,
                                app_.Output.RipToFile ? app_.Output.FileName : std::string());
    if (!ComputeGeometry(result.error)) {
        LogLine("Error " + result.error);
        ui_.ShowError(result.error);
        return result;
    }
    for (auto& p : planes_) p.assign(static_cast<std::size_t>(g_.sourceWidth), 0xFF);
    result.ran = true;

    // Whatever happens from here on, the driver gets its closing calls.
    struct FinishGuard {
        DriverRun* run;
        ~FinishGuard() { run->Finish(); }
    } guard{this};

    if (plugin_.Prepare_PrintJob(g_.sourceWidth, g_.sourceHeight, g_.deviceWidth, g_.deviceHeight,
                                 FileNamePart(job_.FileName)) &&
        !GoOnAfterProblem(ui_))
        return result;
    bool ok = !(plugin_.Plugin_OpenPrinter() && !GoOnAfterProblem(ui_));
    if (ok) ok = !(plugin_.Plugin_StartDoc("display title") && !GoOnAfterProblem(ui_));
    if (ok && rasterWanted) {
        ok = SendSpotColours();
        const int first = app_.Output.OnlyExtraSpots ? passCount_ + 1 : 1;
        const int last = passCount_ + static_cast<int>(extraPasses_.size());
        progress_.lastPass = last;
        for (int pass = first; ok && !stopped_ && pass <= last; ++pass) ok = PrintPass(pass);
        if (ok && Trace()) LogLine("Printed OK");
    }
    // After the operator's Cancel the knife stays still: cutting around a
    // print that was never finished wastes media. (A driver that stops the
    // raster itself still gets the cut part.)
    if (ok && !cancelled_ && cutWanted) ok = SendCut();
    if (ok) plugin_.Plugin_EndCut();
    plugin_.Plugin_EndDoc();
    result.completed = ok && !stopped_;
    result.cancelled = cancelled_;
    mayOfferSpool_ = ok && !cancelled_;
    return result;
}

}  // namespace

int SourceRowOf(int deviceRow, int sourceHeight, int deviceHeight) {
    if (deviceHeight <= 1) return 0;
    return MulDiv(deviceRow, sourceHeight - 1, deviceHeight - 1);
}

PreflightData BuildPreflight(JobSession& app) {
    PreflightData d;
    const TemfFile& job = *app.CurrentJob;
    d.memo = JobReport(app, 0);
    auto warn = [&](const std::string& memoLine, const std::string& label) {
        d.memo.insert(d.memo.begin(), memoLine);
        d.status = label;
        d.statusWarning = true;
    };
    if (job.CropSection && job.MultiTiles && job.FileName.empty()) {
        warn("Warning: Job Not Saved - Tile Status will not be updated",
             "Warning: Job Not Saved -Tile Status!");
        d.statusHint =
            "If the Job has not been saved, a record of this tile being printed will not be saved.";
    }
    if (job.RenderDPI * static_cast<double>(job.PageWidth) / 25.4 > 30000 ||
        job.RenderDPI * static_cast<double>(job.PageHeight) / 25.4 > 30000)
        warn("Warning: Render DPI Too High for the size of this job!",
             "Warning: The Render DPI is too high!");
    if (!job.FitsMedia) warn("Warning: Job Size too big!", "Warning: Job Size too big!");
    d.jobText = job.JobText;
    if (d.jobText.empty())
        d.jobText =
            FileNamePart(job.FileName) + "  " +
            QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString() +
            "  " + JobSizeText(job);
    d.printJobText = job.PrintJobText;
    if (!job.CropMarks) {
        d.printJobText = false;
        d.printJobTextEnabled = false;
    }
    return d;
}

RipResult RipNow(JobSession& app, TPluginObject& plugin, RipPort& port) {
    RipResult result;
    if (!app.CurrentJob) return result;
    TemfFile& job = *app.CurrentJob;
    UserInterface& ui = app.Ui();
    const bool toDriver = app.CurrentPlotter.IsPlugin;
    if (!job.FitsMedia && ui.Message(MessageKind::Warning,
                                     "Warning: The Selected Job Size does not fit current media "
                                     "size.\rDo you wish to correct this "
                                     "issue before you continue?",
                                     YesNo) == ButtonYes)
        return result;
    if (toDriver && !FileExists(plugin.Get_Plugin_Datatype(kProfileDatatype))) {
        ui.ShowWarning(
            "No Profile Set. You need to select a profile before you can access this feature");
        return result;
    }
    if (app.Output.RipToFile && app.Output.FileName.empty()) {
        ui.ShowWarning("No filename selected!");
        return result;
    }
    port.RedrawGamutPreview();
    if (toDriver) {
        if (!plugin.Choose_Plugin_Data(kColourDialog)) return result;
        job.GmaMethod = -1;
        port.GamutMethodCleared();
    }
    PreflightData preflight = BuildPreflight(app);
    if (!port.Preflight(preflight)) return result;
    job.JobText = preflight.jobText;
    job.PrintJobText = preflight.printJobText;
    if (!ui.AskYesNo("RIP Current Job?")) return result;

    port.ShowMainWindow(false);
    ui.ProcessMessages();
    struct ShowAgain {
        UserInterface& ui;
        RipPort& port;
        ~ShowAgain() {
            ui.SetBusy(false);
            port.ShowMainWindow(true);
        }
    } showAgain{ui, port};
    if (toDriver) {
        if (plugin.Valid) {
            DriverRun run(app, plugin, port);
            result = run.Run();
            run.AskSpool();
        }
    } else {
        ui.SetBusy(true);
        result.ran = result.completed = port.PrintToSystemPrinter();
    }
    // Only a tile that really went to the printer counts as printed.
    if (result.completed && job.CropSection && job.MultiTiles) job.RecordPrintedTile();
    return result;
}

}  // namespace corvan
