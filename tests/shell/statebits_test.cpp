#include "shell/statebits.h"

#include "shell/appcore.h"

#include "support/test_frontend.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace corvan {
namespace {

TEST(StateBits, FollowTheJobAndTheDevice) {
    test::TestApp appSession;
    AppCore& app = appSession.app;
    EXPECT_EQ(StateBits(app), 0u);
    app.CurrentPlotter.IsPlugin = true;
    EXPECT_EQ(StateBits(app), 1u);
    // Job flags count only with a job.
    app.CurrentJob = std::make_unique<TemfFile>();
    TemfFile& job = *app.CurrentJob;
    EXPECT_EQ(StateBits(app), 3u);
    job.ContourCut = job.SpotColors = job.CropSection = job.HasImage = true;
    EXPECT_EQ(StateBits(app), 63u);
    app.CurrentPlotter.IsPlugin = false;
    job.ContourCut = job.CropSection = false;
    EXPECT_EQ(StateBits(app), 2u + 8u + 32u);
}

TEST(StateBits, TagRule) {
    struct Case {
        int tag;
        std::uint32_t bits;
        TagEffect want;
    };
    const Case cases[] = {
        {0, 63, {false, false, false}},   {5, 63, {false, false, false}},
        {-512, 0, {true, false, true}},   {-514, 0, {true, false, false}},
        {-514, 2, {true, false, true}},   {-515, 2, {true, false, false}},
        {-515, 3, {true, false, true}},   {-1034, 2, {false, true, false}},
        {-1034, 10, {false, true, true}}, {-1554, 18, {true, true, true}},
        {-1554, 2, {true, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tag);
        const TagEffect e = EvaluateTag(c.tag, c.bits);
        EXPECT_EQ(e.setsEnabled, c.want.setsEnabled);
        EXPECT_EQ(e.setsVisible, c.want.setsVisible);
        if (c.want.setsEnabled || c.want.setsVisible) {
            EXPECT_EQ(e.ok, c.want.ok);
        }
    }
}

TEST(StateBits, TableIsCompleteAndUnique) {
    std::map<int, int> perTag;
    std::set<std::string_view> names;
    for (const TagEntry& e : MainWindowTags()) {
        ++perTag[e.tag];
        EXPECT_TRUE(names.insert(e.component).second) << e.component;
    }
    const std::map<int, int> expected = {{-512, 2},   {-514, 85}, {-515, 5},  {-518, 11},
                                         {-522, 15},  {-530, 6},  {-546, 6},  {-1025, 1},
                                         {-1026, 22}, {-1027, 2}, {-1030, 7}, {-1034, 3},
                                         {-1538, 4},  {-1546, 1}, {-1554, 1}};
    EXPECT_EQ(perTag, expected);
}

TEST(StateBits, NoJobDisablesEveryJobControlButKeepsTheMediaWidth) {
    test::TestApp appSession;
    AppCore& app = appSession.app;
    for (const TagEntry& e : MainWindowTags()) {
        const TagEffect eff = EvaluateTag(e.tag, StateBits(app));
        const bool free = e.component == "SpeedButton22" || e.component == "mmMediaWidth";
        EXPECT_EQ(eff.ok, free) << e.component;
    }
}

}  // namespace
}  // namespace corvan
