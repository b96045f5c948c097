// The layer operations behind the project tab's lists, on a plain engine core.
#include "shell/layercommands.h"

#include "shell/appcore.h"
#include "support/metafile_fixture.h"
#include "support/scripted_ui.h"
#include "support/tempdirs.h"
#include "support/test_frontend.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

class LayerCommands : public ::testing::Test {
protected:
    void SetUp() override {
        app.CurrentJob = std::make_unique<TemfFile>();
        for (const char* name : {"a.emf", "b.emf"})
            files.push_back(test::WriteThreeColourLayer(home.Path(name)));
        app.CurrentJob->Layers = files;
    }
    test::ScratchHome home;
    test::ScriptedUi ui;
    test::TestApp session;
    AppCore& app = session.app;
    std::vector<std::string> files;
};

TEST_F(LayerCommands, NothingHappensOutsideTheLayers) {
    struct Case {
        int index, step;
    };
    for (const Case c : {Case{0, -1}, Case{1, +1}, Case{-1, +1}, Case{2, -1}})
        EXPECT_EQ(MoveLayer(app, c.index, c.step), -1) << c.index << " by " << c.step;
    EXPECT_FALSE(DeleteLayer(app, 2));
    std::vector<std::string> stored;
    EXPECT_FALSE(ParkLayer(app, -1, stored));
    EXPECT_FALSE(UnparkLayer(app, 0, stored));
    EXPECT_FALSE(AddLayer(app, home.Path("gone.emf")));
    EXPECT_EQ(app.CurrentJob->Layers, files);
    EXPECT_FALSE(app.CurrentJob->Modified);
    EXPECT_TRUE(session.front.calls.empty());
}

TEST_F(LayerCommands, StoredLayersWaitForAJob) {
    std::vector<std::string> stored;
    ASSERT_TRUE(ParkLayer(app, 0, stored));
    EXPECT_EQ(stored, std::vector<std::string>{files[0]});
    app.CurrentJob.reset();
    EXPECT_FALSE(UnparkLayer(app, 0, stored));
    EXPECT_EQ(stored, std::vector<std::string>{files[0]}) << "kept for the next job";
    app.CurrentJob = std::make_unique<TemfFile>();
    ASSERT_TRUE(UnparkLayer(app, 0, stored));
    EXPECT_TRUE(stored.empty());
    EXPECT_EQ(app.CurrentJob->Layers, std::vector<std::string>{files[0]});
    EXPECT_TRUE(app.CurrentJob->PreviewDirty);
    EXPECT_TRUE(app.EmfHist.empty()) << "a layer coming back is no new choice";
}

TEST_F(LayerCommands, InformationLineOfAFileThatIsNoLayerCountsNothing) {
    EXPECT_EQ(LayerInfoLine(4, home.Path("gone.emf")), "Layer #5  (Objects: 0)  Size: 0 Kb.");
    const std::string big = test::WriteLayerOfSize(home.Path("big.emf"), 10, 4096);
    EXPECT_EQ(LayerInfoLine(0, big), "Layer #1  (Objects: 10)  Size: 4 Kb.");
}

}  // namespace
}  // namespace corvan
