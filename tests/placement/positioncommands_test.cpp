#include "placement/positioncommands.h"

#include "shell/appcore.h"
#include "support/scripted_ui.h"
#include "support/test_frontend.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

class PositionCommands : public ::testing::Test {
protected:
    void SetUp() override {
        app.CurrentPlotter.PrintableWidth = 1626;
        app.CurrentPlotter.PrintableLength = 0;
        app.CurrentJob = std::make_unique<TemfFile>();
    }
    test::ScriptedUi ui;
    test::TestApp appSession;
    AppCore& app = appSession.app;
};

TEST_F(PositionCommands, MediaWidthIsClampedWithAWarning) {
    SetMediaWidth(app, 2000);
    EXPECT_FLOAT_EQ(app.CurrentPlotter.MediaWidth, 1626);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(ui.messages[0].text, "The selected size is too big!");
    EXPECT_FLOAT_EQ(app.CurrentJob->MediaWidth, 1626);
    SetMediaWidth(app, 1000);
    EXPECT_FLOAT_EQ(app.CurrentPlotter.MediaWidth, 1000);
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(PositionCommands, MediaLengthOnSheetMedia) {
    app.CurrentPlotter.PrintableLength = 3000;
    SetMediaHeight(app, 5000);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"error, too big!"});
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Plain);
    EXPECT_FLOAT_EQ(app.CurrentPlotter.MediaHeight, 3000);
}

TEST_F(PositionCommands, MediaPresets) {
    struct Case {
        const char* item;
        bool metric;
        float stored;
        bool kept;
    };
    const Case cases[] = {
        {"36\" (915mm)", true, 914.4f, true},
        {"36\" (915mm)", false, 915, true},
        {"72\" (1829mm)", true, 1626, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        EXPECT_EQ(ChooseMediaPreset(app, c.item, c.metric), c.kept);
        EXPECT_NEAR(app.CurrentPlotter.MediaWidth, c.stored, 1e-3);
    }
}

TEST_F(PositionCommands, HandlersIgnoreEntriesWhileFilling) {
    app.Updating = true;
    SetPlacementValue(app, PlacementValue::XOffset, 50);
    SetCropSection(app, true);
    SetMediaWidth(app, 500);
    EXPECT_FLOAT_EQ(app.CurrentJob->XOffset, 0);
    EXPECT_FALSE(app.CurrentJob->CropSection);
    EXPECT_FLOAT_EQ(app.CurrentPlotter.MediaWidth, 0);
    EXPECT_FALSE(app.CurrentJob->Modified);
}

TEST_F(PositionCommands, CropEdgesAreOrderedAndSectionSwitches) {
    app.CurrentJob->PageWidth = 200;
    SetCropSection(app, true);
    EXPECT_EQ(appSession.front.Count("state"), 1);
    SetCropEdge(app, CropEdge::Left, 150);
    SetCropEdge(app, CropEdge::Right, 50);
    EXPECT_FLOAT_EQ(app.CurrentJob->CropLeft, 50);
    EXPECT_FLOAT_EQ(app.CurrentJob->CropRight, 150);
    FullCrop(app);
    EXPECT_FLOAT_EQ(app.CurrentJob->CropRight, 200);
    EXPECT_TRUE(app.CurrentJob->Modified);
}

TEST_F(PositionCommands, ChangeJobSizeTakesTheAnswerOrNothing) {
    app.CurrentJob->CropSection = true;
    app.CurrentJob->CropLeft = 10;
    std::optional<JobSize> answer;
    appSession.front.askJobSize = [&](const JobSizeRequest& r) {
        EXPECT_FLOAT_EQ(r.width, 210);
        EXPECT_FALSE(r.pixelSource);
        return answer;
    };
    ChangeJobSize(app);
    EXPECT_FLOAT_EQ(app.CurrentJob->PageWidth, 210);
    EXPECT_FLOAT_EQ(app.CurrentJob->CropLeft, 10);
    EXPECT_FALSE(app.CurrentJob->Modified);
    answer = JobSize{400, 300};
    ChangeJobSize(app);
    EXPECT_FLOAT_EQ(app.CurrentJob->PageWidth, 400);
    EXPECT_FLOAT_EQ(app.CurrentJob->CropLeft, 0);
    EXPECT_TRUE(app.CurrentJob->PreviewDirty);
    EXPECT_TRUE(app.CurrentJob->Modified);
}

}  // namespace
}  // namespace corvan
