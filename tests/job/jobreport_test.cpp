#include "job/jobreport.h"
#include "job/units.h"
#include "shell/appcore.h"

#include "support/scripted_ui.h"
#include "support/test_frontend.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

class JobReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.UseMetric = true;
        app.CurrentJob = std::make_unique<TemfFile>();
        app.CurrentJob->ComputeLayout();
    }
    std::vector<std::string> Report() { return JobReport(app, 0); }
    test::ScriptedUi ui;
    test::DriverSession app{ui};
};

TEST_F(JobReportTest, NewA4JobLinesInOrder) {
    app.CurrentPlotter.PrinterName = "TIFF Raster";
    app.CurrentPlotter.PrinterDescription = "Proof";
    app.CurrentPlotter.DpiX = 720;
    app.CurrentPlotter.DpiY = 360;
    app.CurrentPlotter.MediaWidth = 1000;
    app.CurrentPlotter.IsPlugin = true;
    app.driver.datatypes[10] = "/p/media.icc";
    app.Output.QueueText = "PDF";
    const std::string sep(133, '-');
    const std::vector<std::string> expected = {
        "Filename:\t\t",
        "Job Size:\t\t210.0mm x 297.0mm",
        "Copies:\t\t1",
        "Media Used:\t210.0mm x 297.0mm",
        sep,
        "Raster:\t\tYes",
        "Contours:\t\tNo",
        "Spot Colors: \tNo",
        sep,
        "Cropmarks: \tNo",
        "Border:\t\tNo",
        "Tiled:\t\tNo",
        "Rotated: \t\tNo",
        sep,
        "Render DPI:\t360",
        "Smoothing:\tYes (75)",
        sep,
        "Printer:\t\tTIFF Raster  Proof",
        "Output DPI:\t720 x 360 DPI  Size: 1000.0mm roll",
        "Destination:\tPDF",
        "Profile:\t\t/p/media.icc",
    };
    EXPECT_EQ(Report(), expected);
}

TEST_F(JobReportTest, ContoursOnlyWhenCutVectorsWouldBeSent) {
    const struct {
        bool contourCut, doVector, enabled;
        const char* line;
    } cases[] = {{false, true, true, "Contours:\t\tNo"},
                 {true, true, true, "Contours:\t\tYes"},
                 {true, false, true, "Contours:\t\tNo"},
                 {true, true, false, "Contours:\t\tNo"}};
    for (const auto& c : cases) {
        app.CurrentJob->ContourCut = c.contourCut;
        app.Output.DoVector = c.doVector;
        app.Output.VectorEnabled = c.enabled;
        EXPECT_EQ(Report()[6], c.line);
    }
}

TEST_F(JobReportTest, SheetAndRollSizes) {
    app.CurrentPlotter.DpiX = app.CurrentPlotter.DpiY = 300;
    app.CurrentPlotter.MediaWidth = 610;
    app.CurrentPlotter.MediaHeight = 914;
    app.CurrentPlotter.PrintableLength = 914;
    EXPECT_EQ(DriverInfoText2(app.CurrentPlotter, true), "300 x 300 DPI  Size: 610.0mm x 914.0mm");
    app.CurrentPlotter.PrintableLength = 0;
    EXPECT_EQ(DriverInfoText2(app.CurrentPlotter, true), "300 x 300 DPI  Size: 610.0mm roll");
}

TEST_F(JobReportTest, OptionalSuffixes) {
    TemfFile& job = *app.CurrentJob;
    job.SpotColors = true;
    job.SpotColorList = {"a", "b", "c"};
    job.CropSection = true;
    job.MultiTiles = true;
    job.TileNo = 4;
    job.Rotate = true;
    job.MirrorY = true;
    job.Interpolation = 0;
    app.Output.RipToFile = true;
    app.Output.FileName = "/out/job.prn";
    const auto r = Report();
    EXPECT_EQ(r[7], "Spot Colors: \tYes (3 Colors)");
    EXPECT_EQ(r[11], "Tiled:\t\tYes #4");
    EXPECT_EQ(r[12], "Rotated: \t\tYes MirrorY");
    EXPECT_EQ(r[15], "Smoothing:\tYes (100)");
    EXPECT_EQ(r[19], "Destination:\t/out/job.prn");
    EXPECT_EQ(r[20], "Profile:\t\t");  // the system printer reports no profile

    job.CropSection = true;
    job.MultiTiles = false;
    job.Interpolate = false;
    const auto r2 = Report();
    EXPECT_EQ(r2[11], "Tiled:\t\tYes");
    EXPECT_EQ(r2[15], "Smoothing:\tNo");
}

TEST_F(JobReportTest, EmptyWithoutJobOrForOtherKinds) {
    EXPECT_TRUE(JobReport(app, 1).empty());
    app.CurrentJob.reset();
    EXPECT_TRUE(JobReport(app, 0).empty());
}

}  // namespace
}  // namespace corvan
