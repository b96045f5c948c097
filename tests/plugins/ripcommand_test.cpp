// The RIP command as the driver sees it, with strips whose pixels tell which
// source row they are.
#include "driver_fixture.h"

#include "job/projectfile.h"
#include "plugins/currentplugin.h"
#include "rip/ripcommand.h"
#include "shell/appcore.h"

#include "support/test_frontend.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace corvan {
namespace {

using test::DriverHome;
using Lines = std::vector<std::string>;

// Strip pixels: blue = source row (mod 256), green = strip number, red 7.
std::unique_ptr<Bitmap24> RowStrip(const IntRect& r, float, int sourceHeight, int* strips) {
    const int h = std::min(r.bottom, sourceHeight - 1) - r.top + 1;
    auto bmp = Bitmap24::Create(r.right - r.left + 1, std::max(h, 0));
    for (int y = 0; y < bmp->Height(); ++y)
        for (int x = 0; x < bmp->Width(); ++x)
            bmp->SetPixel(x, y, MakeColour(7, *strips, (r.top + y) & 0xFF));
    ++*strips;
    return bmp;
}

// Strips whose pixels tell their source row and a cut path set by the test:
// what is checked is the call sequence the driver library sees.
class RowRip final : public RipPort {
public:
    std::unique_ptr<Bitmap24> RenderStrip(const IntRect& r, float s) override {
        return RowStrip(r, s, 10, &strips);
    }
    ContourPath CutPath(float scale) override { return cutPath ? cutPath(scale) : ContourPath{}; }
    bool PrintToSystemPrinter() override { return false; }
    bool Preflight(PreflightData&) override { return true; }
    void RedrawGamutPreview() override {}
    void GamutMethodCleared() override {}
    void ShowMainWindow(bool) override {}
    void RunEnded() override {}

    std::function<ContourPath(float)> cutPath;
    int strips = 0;
};

class RipRun : public ::testing::Test {
protected:
    void SetUp() override {
        profile = home.Path("media.icc");
        test::WriteFileBytes(profile, "icc");
        app.CurrentJob = std::make_unique<TemfFile>();
        TemfFile& job = *app.CurrentJob;
        job.Reset(2, 1);  // 20 x 10 source pixels at 254 DPI
        job.RenderDPI = 254;
        job.FileName = "/jobs/sign.RIP";
        job.ComputeLayout();
        app.CurrentPlotter.IsPlugin = true;
    }
    // Loads a recording driver with these settings (device 254 x 508 DPI by default).
    void Driver(Lines config) {
        config.push_back("data.10=" + profile);
        for (const char* d : {"data.17=254", "data.18=508"})
            if (std::none_of(config.begin(), config.end(), [&](const std::string& c) {
                    return c.substr(0, 7) == std::string(d).substr(0, 7);
                }))
                config.push_back(d);
        LoadPlugin(home.AddRecorder(home.Folder("drv"), "rip", config), 0);
        home.ClearCalls();
    }
    RipResult Rip() {
        home.ui.Answer(ButtonYes);  // "RIP Current Job?"
        return RipNow(app, CurrentPlugin(), hooks);
    }
    Lines Calls(const std::string& prefix = "") const {
        Lines out;
        for (const auto& c : home.Calls()) {
            const std::string call = c.substr(c.find(' ') + 1);
            if (call.rfind(prefix, 0) == 0) out.push_back(call);
        }
        return out;
    }

    DriverHome home;
    // The job-level driver port records instead of asking the library, so
    // the library's log holds exactly what the RIP command sends it.
    test::DriverSession app{home.ui};
    RowRip hooks;
    std::string profile;
    int& strips = hooks.strips;
};

// The calls of a run without the rows and status polls.
Lines Skeleton(const Lines& calls) {
    Lines out;
    for (const auto& c : calls)
        if (c.rfind("Plugin_PrintRow", 0) != 0 && c != "Plugin_Status") out.push_back(c);
    return out;
}

TEST_F(RipRun, DocumentSequenceAndNearestRows) {
    Driver({});
    const RipResult r = Rip();
    EXPECT_TRUE(r.completed);
    EXPECT_EQ(
        Skeleton(Calls()),
        (Lines{"Get_Plugin_Datatype 10", "Choose_Plugin_Data 11", "Get_Plugin_Settings",
               "Set_Plugin_Datatype 14 ", "Get_Plugin_Datatype 17", "Get_Plugin_Datatype 18",
               "Prepare_PrintJob 20 10 20 20 1 sign.RIP", "Plugin_OpenPrinter",
               "Plugin_StartDoc display title", "Plugin_StartPage 1", "Plugin_EndPage",
               "Plugin_EndCut", "Plugin_EndDoc", "Plugin_ClosePrinter", "Finalize_PrintJob"}));
    // Twice as many device rows as source rows: each source row announced once
    // (row -1, its number in the first plane), then printed on two device rows.
    Lines expected;
    for (int d = 0; d < 20; ++d) {
        const int s = SourceRowOf(d, 10, 20);
        if (d == 0 || s != SourceRowOf(d - 1, 10, 20))
            expected.push_back("Plugin_PrintRow 0 20 20 -1 " + std::to_string(s) + " 0 7");
        expected.push_back("Plugin_PrintRow 0 20 20 " + std::to_string(d) + " " +
                           std::to_string(s) + " 0 7");
    }
    EXPECT_EQ(Calls("Plugin_PrintRow"), expected);
    EXPECT_EQ(strips, 1);
    EXPECT_EQ(app.CurrentJob->GmaMethod, -1);
}

TEST(SourceRows, EndRowsAlignAndOneRowMapsToZero) {
    const struct {
        int r, sh, dh, s;
    } cases[] = {{0, 10, 20, 0}, {19, 10, 20, 9}, {10, 10, 20, 5},
                 {0, 10, 1, 0},  {4, 100, 5, 99}, {2, 100, 5, 50}};
    for (const auto& c : cases)
        EXPECT_EQ(SourceRowOf(c.r, c.sh, c.dh), c.s) << c.r << " " << c.sh << " " << c.dh;
}

TEST_F(RipRun, FewerDeviceRowsSkipSourceRows) {
    Driver({"data.18=127"});  // 5 device rows for 10 source rows
    Rip();
    EXPECT_EQ(Calls("Plugin_PrintRow 0 20 20 -1"),
              (Lines{"Plugin_PrintRow 0 20 20 -1 0 0 7", "Plugin_PrintRow 0 20 20 -1 2 0 7",
                     "Plugin_PrintRow 0 20 20 -1 5 0 7", "Plugin_PrintRow 0 20 20 -1 7 0 7",
                     "Plugin_PrintRow 0 20 20 -1 9 0 7"}));
}

// Stops and aborts: which closing calls still reach the driver.
TEST_F(RipRun, StopsAndAbortsStillCloseTheDocument) {
    const struct {
        const char* name;
        Lines config;
        Button answer;  // to the problem question
        Lines present, absent;
    } cases[] = {
        {"status stop",
         {"status_after=5"},
         ButtonNone,
         {"Plugin_EndCut", "Plugin_EndDoc", "Plugin_ClosePrinter", "Finalize_PrintJob"},
         {"Plugin_EndPage"}},
        {"abort at prepare",
         {"problem=Prepare_PrintJob"},
         ButtonAbort,
         {"Plugin_ClosePrinter", "Finalize_PrintJob"},
         {"Plugin_OpenPrinter", "Plugin_EndDoc"}},
        {"abort at open",
         {"problem=Plugin_OpenPrinter"},
         ButtonAbort,
         {"Plugin_EndDoc", "Plugin_ClosePrinter"},
         {"Plugin_StartDoc", "Plugin_EndCut"}},
        {"retry at open",
         {"problem=Plugin_OpenPrinter"},
         ButtonRetry,
         {"Plugin_StartDoc display title", "Plugin_EndPage", "Plugin_EndDoc"},
         {}},
        {"abort at page",
         {"problem=Plugin_StartPage"},
         ButtonAbort,
         {"Plugin_EndDoc", "Finalize_PrintJob"},
         {"Plugin_EndPage", "Plugin_EndCut"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Driver(c.config);
        home.ui.Answer(ButtonYes);
        if (c.answer != ButtonNone) home.ui.Answer(c.answer);
        RipNow(app, CurrentPlugin(), hooks);
        const Lines calls = Skeleton(Calls());
        for (const auto& p : c.present)
            EXPECT_NE(std::find(calls.begin(), calls.end(), p), calls.end()) << p;
        for (const auto& a : c.absent)
            EXPECT_EQ(std::find(calls.begin(), calls.end(), a), calls.end()) << a;
        EXPECT_EQ(calls.back(), "Finalize_PrintJob");
    }
    Driver({"status_after=5"});
    Rip();
    EXPECT_EQ(Calls("Plugin_PrintRow 0 20 20 ").size() - Calls("Plugin_PrintRow 0 20 20 -1").size(),
              5u);
}

TEST_F(RipRun, SpotInksGetExtraPassesAndRaisedTolerances) {
    app.CurrentJob->SpotColors = true;
    app.CurrentJob->SpotColorList = {"$000000FF,2,49,66,53,7,\"Red\"",
                                     "$00FF0000,30,24,21,-52,0,\"Blue\"", "not a spot line"};
    Driver({"passcount=2", "ink.1=1", "ink.2=0"});
    Rip();
    EXPECT_EQ(Calls("Force_InkColor"),
              (Lines{"Force_InkColor 1 7 255 0 0 4", "Force_InkColor 2 7 255 0 0 4",
                     "Force_InkColor 3 0 255 0 0 4", "Force_InkColor 1 0 0 0 255 30",
                     "Force_InkColor 2 0 0 0 255 30", "Force_InkColor 3 0 0 0 255 30",
                     "Force_InkColor 4 7 255 0 0 4", "Force_InkColor 5 7 255 0 0 4",
                     "Force_InkColor 4 0 0 0 255 30", "Force_InkColor 5 0 0 0 255 30"}));
    EXPECT_EQ(Calls("Plugin_StartPage"), (Lines{"Plugin_StartPage 1", "Plugin_StartPage 2",
                                                "Plugin_StartPage 3", "Plugin_StartPage 4"}));
    EXPECT_EQ(strips, 4);  // each strip once per pass

    app.Output.OnlyExtraSpots = true;
    Driver({"passcount=2", "ink.1=1", "ink.2=1"});
    Rip();
    EXPECT_EQ(Calls("Plugin_StartPage"), (Lines{"Plugin_StartPage 3", "Plugin_StartPage 4"}));
}

TEST_F(RipRun, OnlyExtraSpotsWithoutAnyPrintsJustTheCut) {
    app.Output.OnlyExtraSpots = true;
    app.CurrentJob->ContourCut = true;
    hooks.cutPath = [](float scale) {
        EXPECT_EQ(scale, 10.0f);
        ContourPath p;
        p.Add({0, 0}, kPtMoveTo);
        p.Add({15, 5}, kPtLineTo);
        return p;
    };
    Driver({});
    Rip();
    EXPECT_TRUE(Calls("Plugin_StartPage").empty());
    EXPECT_EQ(Calls("Plugin_PrintVector"),
              (Lines{"Plugin_PrintVector 6 0.050 0.050", "Plugin_PrintVector 2 1.550 0.550"}));
    app.Output.DoVector = false;
    Driver({});
    Rip();
    EXPECT_TRUE(Calls("Plugin_StartCut").empty());
    EXPECT_EQ(Calls("Plugin_EndCut").size(), 1u);
}

TEST_F(RipRun, ChecksStopBeforeTheDriverIsTouched) {
    Driver({});
    std::filesystem::remove(profile);
    RipNow(app, CurrentPlugin(), hooks);
    ASSERT_EQ(home.ui.messages.size(), 1u);
    EXPECT_EQ(home.ui.messages[0].text,
              "No Profile Set. You need to select a profile before you can access this feature");
    test::WriteFileBytes(profile, "icc");

    app.Output.RipToFile = true;
    RipNow(app, CurrentPlugin(), hooks);
    EXPECT_EQ(home.ui.messages.back().text, "No filename selected!");
    app.Output.RipToFile = false;

    home.ui.Answer(ButtonNo);
    RipNow(app, CurrentPlugin(), hooks);
    EXPECT_EQ(home.ui.messages.back().text, "RIP Current Job?");

    app.CurrentJob->GmaMethod = 0;
    Driver({"choose=0"});
    RipNow(app, CurrentPlugin(), hooks);
    EXPECT_EQ(Calls("Prepare_PrintJob").size(), 0u);
    EXPECT_EQ(app.CurrentJob->GmaMethod, 0);
}

// The operator's Cancel ends the rows; the knife must not follow and the
// half-done output is not offered for spooling. A tile counts as printed only
// after a complete run.
TEST_F(RipRun, CancelSendsNoCutAndOffersNoSpoolAndRecordsNoTile) {
    TemfFile& job = *app.CurrentJob;
    job.ContourCut = true;
    job.CropSection = job.MultiTiles = true;
    job.TileNo = 3;
    job.FileName = home.Path("tiles.RIP");
    hooks.cutPath = [](float) {
        ContourPath p;
        p.Add({0, 0}, kPtMoveTo);
        p.Add({15, 5}, kPtLineTo);
        return p;
    };
    app.Output.RipToFile = true;
    app.Output.FileName = home.Path("out.prn");
    struct Case {
        const char* name;
        bool cancel;
        bool completed, cut, spoolAsked, tileRecorded;
    };
    const Case cases[] = {
        {"cancelled", true, false, false, false, false},
        {"complete", false, true, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(job.FileName);
        Driver({});
        home.ui.messages.clear();
        home.ui.cancel = c.cancel;
        home.ui.Answer(ButtonYes);  // RIP Current Job?
        if (c.spoolAsked) home.ui.Answer(ButtonNo);
        const RipResult r = RipNow(app, CurrentPlugin(), hooks);
        home.ui.cancel = false;
        EXPECT_EQ(r.completed, c.completed);
        EXPECT_EQ(r.cancelled, c.cancel);
        EXPECT_EQ(Calls("Plugin_StartCut").size(), c.cut ? 1u : 0u);
        EXPECT_EQ(Calls("Plugin_PrintVector").empty(), !c.cut);
        EXPECT_EQ(home.ui.messages.back().text == "Spool this file to printer?", c.spoolAsked);
        EXPECT_EQ(ReadPrintedTiles(job.FileName)[3], c.tileRecorded);
        EXPECT_EQ(Calls().back(), "Finalize_PrintJob");  // the driver is closed either way
    }
}

TEST_F(RipRun, RipToFileAsksToSpoolAfterTheRun) {
    app.Output.RipToFile = true;
    app.Output.FileName = home.Path("out.prn");
    app.Output.DoRaster = false;
    Driver({});
    home.ui.Answer(ButtonYes);
    home.ui.Answer(ButtonYes);  // "Spool this file to printer?"
    RipNow(app, CurrentPlugin(), hooks);
    EXPECT_EQ(home.ui.messages.back().text, "Spool this file to printer?");
    EXPECT_EQ(Calls("Set_Plugin_Datatype 14"),
              Lines{"Set_Plugin_Datatype 14 " + app.Output.FileName});
    EXPECT_EQ(Calls("Plugin_SpoolPrintJob"), Lines{"Plugin_SpoolPrintJob " + app.Output.FileName});
    EXPECT_TRUE(Calls("Plugin_StartPage").empty());
}

TEST(Preflight, WarningsStackWithTheLastOnTop) {
    test::TestApp appSession;
    AppCore& app = appSession.app;
    app.CurrentJob = std::make_unique<TemfFile>();
    TemfFile& job = *app.CurrentJob;
    job.Reset(3000, 100);
    job.RenderDPI = 360;  // 42520 pixels across
    job.CropSection = job.MultiTiles = true;
    job.FitsMedia = false;
    const PreflightData d = BuildPreflight(app);
    ASSERT_GE(d.memo.size(), 3u);
    EXPECT_EQ(d.memo[0], "Warning: Job Size too big!");
    EXPECT_EQ(d.memo[1], "Warning: Render DPI Too High for the size of this job!");
    EXPECT_EQ(d.memo[2], "Warning: Job Not Saved - Tile Status will not be updated");
    EXPECT_EQ(d.status, "Warning: Job Size too big!");
    EXPECT_TRUE(d.statusWarning);
    EXPECT_FALSE(d.printJobTextEnabled);  // no crop marks
    EXPECT_EQ(d.jobText.substr(0, 2), "  ");
    EXPECT_EQ(d.jobText.substr(d.jobText.size() - 15), "  3000 x 100 mm");

    job.JobText = "Front window";
    job.CropMarks = true;
    job.PrintJobText = true;
    job.FitsMedia = true;
    job.MultiTiles = false;
    job.RenderDPI = 72;
    const PreflightData ok = BuildPreflight(app);
    EXPECT_EQ(ok.status, "OK");
    EXPECT_EQ(ok.jobText, "Front window");
    EXPECT_TRUE(ok.printJobText);
    EXPECT_EQ(ok.memo[0], "Filename:\t\t");
}

}  // namespace
}  // namespace corvan
