#include "placement/jobsize.h"

#include <gtest/gtest.h>

#include <string>

namespace corvan {
namespace {

TEST(JobSize, PresetListsAsOffered) {
    ASSERT_EQ(PaperPresets().size(), 41u);
    EXPECT_EQ(std::string(PaperPresets()[0]), "Custom\t10 x 10 mm");
    EXPECT_EQ(std::string(PaperPresets()[6]), "ISO A4\t210 X 297 mm");
    EXPECT_EQ(std::string(PaperPresets()[40]), "2A\t1189 X 1682 mm");
    ASSERT_EQ(MediaWidthPresets().size(), 38u);
    EXPECT_EQ(std::string(MediaWidthPresets()[0]), "11\" (280mm)");
    EXPECT_EQ(std::string(MediaWidthPresets()[37]), "196\" (4978mm)");
    ASSERT_EQ(JobSizeUnits().size(), 8u);
    EXPECT_EQ(UnitIndex("C.M."), 6);
    EXPECT_EQ(UnitIndex("furlongs"), 0);
}

TEST(JobSize, PaperPresetsParse) {
    struct Case {
        const char* item;
        bool ok;
        float w, h;
    };
    const Case cases[] = {
        {"ISO A4\t210 X 297 mm", true, 210, 297},
        {"ANSI A\t8.5 X 11.0 in", true, 215.9f, 279.4f},
        {"Arch A\t9.0 x 12.0 in", true, 228.6f, 304.8f},
        {"GA 10\t40 X 50 in", true, 1016, 1270},
        {"Broken\t X mm", false, 0, 0},
        {"no tab 10 x 10 mm", false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        auto s = ParsePaperPreset(c.item);
        ASSERT_EQ(s.has_value(), c.ok);
        if (!s) continue;
        EXPECT_NEAR(s->width, c.w, 1e-3);
        EXPECT_NEAR(s->height, c.h, 1e-3);
    }
}

TEST(JobSize, ImageOfThreeThousandByTwoThousandPixels) {
    const SizeMM reset = SourceSizeMM(3000, 2000, true);
    EXPECT_FLOAT_EQ(reset.width, 762);
    EXPECT_FLOAT_EQ(reset.height, 508);

    JobSizeInput in{reset, false, false, 3000, 2000, true};
    JobSizeResult r = ComputeJobSize(in);
    EXPECT_EQ(r.resolution, "100  (3000 x 2000 pixels)");

    in.page = *ParsePaperPreset("ISO A4\t210 X 297 mm");
    in.fit = true;
    r = ComputeJobSize(in);
    EXPECT_FLOAT_EQ(r.result.width, 210);
    EXPECT_NEAR(r.result.height, 140, 1e-3);
    EXPECT_EQ(r.resolution, "363  (3000 x 2000 pixels)");
}

TEST(JobSize, StretchWithDifferentResolutions) {
    JobSizeInput in{{300, 200}, false, false, 3000, 1000, true};
    EXPECT_EQ(ComputeJobSize(in).resolution, "254 x 127  (3000 x 1000 pixels)");
}

TEST(JobSize, OrientationEmptyPageAndOtherSources) {
    JobSizeInput in{{210, 297}, true, false, 210, 297, false};
    JobSizeResult r = ComputeJobSize(in);
    EXPECT_FLOAT_EQ(r.page.width, 297);
    EXPECT_FLOAT_EQ(r.page.height, 210);
    EXPECT_FLOAT_EQ(r.result.width, 297);
    EXPECT_EQ(r.resolution, "Not applicable.");

    in.page = {0, 297};
    r = ComputeJobSize(in);
    EXPECT_FLOAT_EQ(r.result.width, 0);
    EXPECT_FLOAT_EQ(r.result.height, 0);
}

TEST(JobSize, ProportionalEntryFollowsTheSource) {
    EXPECT_FLOAT_EQ(ProportionalHeight(300, 200, 100), 150);
    EXPECT_FLOAT_EQ(ProportionalWidth(50, 200, 100), 100);
    EXPECT_FLOAT_EQ(ProportionalHeight(300, 0, 100), 0);
}

TEST(JobSize, UnitConversions) {
    const auto units = JobSizeUnits();
    EXPECT_NEAR(254 / units[UnitIndex("inches")].millimetres, 10.0, 1e-4);
    EXPECT_NEAR(254 / units[UnitIndex("pixels")].millimetres, 3000.0, 0.01);
}

TEST(JobSize, MediaPresetWidthByDisplayUnit) {
    EXPECT_NEAR(*MediaPresetWidth("36\" (915mm)", true), 914.4f, 1e-3);
    EXPECT_FLOAT_EQ(*MediaPresetWidth("36\" (915mm)", false), 915);
    EXPECT_FLOAT_EQ(*MediaPresetWidth("150\" (3800mm)", false), 3800);
    EXPECT_FALSE(MediaPresetWidth("wide", true));
    EXPECT_FALSE(MediaPresetWidth("wide", false));
}

}  // namespace
}  // namespace corvan
