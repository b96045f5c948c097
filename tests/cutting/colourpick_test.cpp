// Picking a colour out of the job: the layer colours by mode and in the
// order they are first used, the shapes of one colour, and the tolerance mask.
#include "cutting/colourpick.h"

#include "platform/metafile/emf_records.h"
#include "support/gui_app.h"
#include "support/metafile_fixture.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace corvan {
namespace {

using namespace emf;

constexpr Colour kRed = 0x0000FF, kBlue = 0xFF0000, kGreen = 0x00FF00;

std::string TwoShapeLayer(const QTemporaryDir& dir) {
    return test::WriteThreeColourLayer(dir.filePath("shapes.emf").toStdString());
}

TEST(ColourPick, LayerColoursByModeInFirstSeenOrder) {
    QTemporaryDir dir;
    TemfFile job;
    job.Reset(100, 50);
    job.Layers = {TwoShapeLayer(dir)};
    const struct {
        bool lines, fills;
        std::vector<std::string> colours;
    } cases[] = {{true, false, {"$000000FF"}},
                 {false, true, {"$00FF0000", "$0000FF00"}},
                 {true, true, {"$000000FF", "$00FF0000", "$0000FF00"}},
                 {false, false, {}}};
    for (const auto& c : cases)
        EXPECT_EQ(LayerColorList(&job, c.lines, c.fills), c.colours) << c.lines << c.fills;
    EXPECT_TRUE(LayerColorList(nullptr, true, true).empty());
}

TEST(ColourPick, MatchedShapesAloneInTheirColourOrBlack) {
    test::EnsureGuiApp();
    QTemporaryDir dir;
    TemfFile job;
    job.Reset(100, 50);
    job.Layers = {TwoShapeLayer(dir)};
    const auto fills = RenderMatched(&job, 100, 50, false, kGreen, false, true);
    ASSERT_TRUE(fills);
    EXPECT_EQ(fills->Pixel(75, 25), kGreen);
    EXPECT_EQ(fills->Pixel(25, 25), 0xFFFFFFu) << "the blue shape is left out";
    const auto black = RenderMatched(&job, 100, 50, true, kRed, true, false);
    EXPECT_EQ(black->Pixel(10, 25), 0u) << "the red outline, in black";
    EXPECT_EQ(black->Pixel(75, 25), 0xFFFFFFu);
    EXPECT_EQ(RenderMatched(nullptr, 10, 10, true, kRed, false, true), nullptr);
}

TEST(ColourPick, ToleranceMaskBlackensOnlyColoursWithinTheDistance) {
    auto picture = Bitmap24::Create(3, 1);
    picture->SetPixel(0, 0, MakeColour(100, 100, 100));
    picture->SetPixel(1, 0, MakeColour(101, 100, 100));
    picture->SetPixel(2, 0, MakeColour(103, 104, 100));  // distance 5
    const Colour grey = MakeColour(100, 100, 100);
    const auto exact = ToleranceMask(picture.get(), 3, 1, 0, grey);
    EXPECT_EQ(exact->Pixel(0, 0), 0u);
    EXPECT_EQ(exact->Pixel(1, 0), MakeColour((101 + 1020) / 5, 224, 224));
    const auto five = ToleranceMask(picture.get(), 3, 1, 5, grey);
    EXPECT_EQ(five->Pixel(2, 0), 0u);
    const auto four = ToleranceMask(picture.get(), 3, 1, 4, grey);
    EXPECT_NE(four->Pixel(2, 0), 0u);
    // Sampling to another size: column i reads i * (3 - 1) / (5 - 1).
    const auto wide = ToleranceMask(picture.get(), 5, 1, 0, grey);
    EXPECT_EQ(wide->Pixel(1, 0), 0u);
    EXPECT_NE(wide->Pixel(2, 0), 0u);
    EXPECT_EQ(ToleranceMask(nullptr, 5, 5, 0, grey), nullptr);
}

}  // namespace
}  // namespace corvan
