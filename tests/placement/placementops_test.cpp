#include "placement/placementops.h"
#include "shell/appcore.h"

#include "support/test_frontend.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

struct Fixture {
    Fixture(float pageW, float pageH, float mediaW, float printableLength) {
        app.CurrentJob = std::make_unique<TemfFile>();
        app.CurrentJob->Reset(pageW, pageH);
        app.CurrentPlotter.MediaWidth = mediaW;
        app.CurrentPlotter.PrintableWidth = mediaW;
        app.CurrentPlotter.PrintableLength = printableLength;
        app.CurrentPlotter.MediaHeight = printableLength;
    }
    TemfFile& job() { return *app.CurrentJob; }
    test::TestApp appSession;
    AppCore& app = appSession.app;
    int Layouts() const {
        return appSession.front.Count("layout") + appSession.front.Count("layout+repaint");
    }
};

TEST(UpdateLayout, RollMediaTakesItsLengthFromTheJob) {
    Fixture f(200, 280, 1000, 0);
    f.job().YOffset = 40;
    UpdateLayout(f.app, true);
    EXPECT_EQ(f.app.CurrentPlotter.MediaHeight, 320);
    EXPECT_TRUE(f.job().FitsMedia);
    EXPECT_TRUE(f.job().Modified);
    EXPECT_TRUE(f.app.SaveEnabled);
    EXPECT_EQ(f.Layouts(), 1);
    // Centring on roll media halves the Y offset.
    CenterJob(f.app);
    EXPECT_EQ(f.job().YOffset, 20);
    EXPECT_EQ(f.job().XOffset, 400);
}

TEST(UpdateLayout, StretchToFitFillsTheMediaLessTwoMarkSizes) {
    Fixture f(500, 100, 1000, 0);
    UpdateLayout(f.app, false);
    StretchToFit(f.app);
    EXPECT_FLOAT_EQ(f.job().PageWidth, 960);
    EXPECT_FLOAT_EQ(f.job().PageHeight, 192);
    EXPECT_FLOAT_EQ(f.job().XOffset, 20);
}

TEST(UpdateLayout, PageEditsCopiesAndReset) {
    Fixture f(200, 100, 1000, 0);
    SetPageSize(f.app, PageSide::Width, 400, true);
    EXPECT_EQ(f.job().PageHeight, 200);
    EXPECT_EQ(f.job().CropRight, 400);
    SetPageSize(f.app, PageSide::Height, 50, false);
    EXPECT_EQ(f.job().PageWidth, 400);
    f.job().PageHeight = 0;
    SetPageSize(f.app, PageSide::Width, 10, true);  // zero height: only the entered side
    EXPECT_EQ(f.job().PageHeight, 0);

    SetCopies(f.app, 0);
    EXPECT_EQ(f.job().Copies, 1);
    SetCopies(f.app, 5000);
    EXPECT_EQ(f.job().Copies, 1000);
    f.job().Rotate = f.job().MirrorX = true;
    f.job().XOffset = 5;
    f.job().XGap = 7;
    ResetPosition(f.app);
    EXPECT_EQ(f.job().Copies, 1);
    EXPECT_FALSE(f.job().Rotate);
    EXPECT_FALSE(f.job().MirrorX);
    EXPECT_EQ(f.job().XOffset, 0);
    EXPECT_EQ(f.job().XGap, 7);
}

TEST(UpdateLayout, NothingWithoutAJobOrWhileUpdating) {
    Fixture f(200, 100, 1000, 0);
    f.app.Updating = true;
    CenterJob(f.app);
    SetCopies(f.app, 3);
    EXPECT_EQ(f.job().Copies, 1);
    f.app.CurrentJob.reset();
    UpdateLayout(f.app, true);
    EXPECT_EQ(f.Layouts(), 0);
}

}  // namespace
}  // namespace corvan
