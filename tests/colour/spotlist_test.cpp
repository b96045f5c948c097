#include "colour/spotlist.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

TEST(SpotLine, RoundTripsThroughWriting) {
    struct Case {
        const char* line;
        const char* written;  // nullptr: the line itself
    };
    const Case cases[] = {
        {"$00000000,0,0,0,0,0,\"\"", nullptr},
        {"$00FF8000,128,54,-37,50,2,\"2. Cyan\"", nullptr},
        {"$00123456,4,100,-128,127,19,\"a, b \"\"c\"\"\"", nullptr},
        {" $ff , 7 , 1 , 2 , 3 , 0 , \"x\" ", "$000000FF,7,1,2,3,0,\"x\""},
        {"$FF,1,2,3,4,5", "$000000FF,1,2,3,4,5,\"\""},
        {"255,$10,2,3,4,5,\"line\nbreak\"", "$000000FF,16,2,3,4,5,\"line break\""},
    };
    for (const Case& c : cases) {
        const auto spot = ParseSpotLine(c.line);
        ASSERT_TRUE(spot) << c.line;
        const std::string written = FormatSpotLine(*spot);
        EXPECT_EQ(written, c.written ? c.written : c.line);
        const auto again = ParseSpotLine(written);
        ASSERT_TRUE(again) << written;
        EXPECT_EQ(FormatSpotLine(*again), written);
    }
}

TEST(SpotEditor, MalformedLinesShowZerosAndSpotNumbersAreClamped) {
    struct Case {
        const char* line;
        std::uint32_t colour;
        int tolerance, L, spot;
        const char* name;
    };
    const Case cases[] = {
        {"", 0, 0, 0, 0, ""},
        {"$FF,1,2", 0, 0, 0, 0, ""},
        {"red,1,2,3,4,5,\"x\"", 0, 0, 0, 0, ""},
        {"$FF,1,2,3,4,five,\"x\"", 0, 0, 0, 0, ""},
        {"$FF,1,2,3,4,20,\"x\"", 0xFF, 1, 2, 0, "x"},
        {"$FF,1,2,3,4,-3,\"x\"", 0xFF, 1, 2, -1, "x"},
        {"$FF,1,2,3,4,19,\"x\"", 0xFF, 1, 2, 19, "x"},
    };
    for (const Case& c : cases) {
        const SpotEditorValues v = LoadSpotEditor(c.line);
        EXPECT_EQ(v.colour, c.colour) << c.line;
        EXPECT_EQ(v.tolerance, c.tolerance) << c.line;
        EXPECT_EQ(v.L, c.L) << c.line;
        EXPECT_EQ(v.spot, c.spot) << c.line;
        EXPECT_EQ(v.name, c.name) << c.line;
    }
}

SpotEditorValues Rule(std::uint32_t colour, int L, const char* name) {
    SpotEditorValues v;
    v.colour = colour;
    v.tolerance = 10;
    v.L = L;
    v.name = name;
    return v;
}

TEST(SpotEditor, ApplyUpdatesCopiesAppendsAndDeletes) {
    const std::vector<std::string> start = {"$000000FF,10,50,0,0,0,\"one\"",
                                            "$0000FF00,10,60,0,0,0,\"two\"",
                                            "$000000FF,10,70,0,0,0,\"three\""};
    struct Case {
        const char* what;
        int selected;
        bool copy, agree;
        SpotEditorValues values;
        SpotApplyOutcome outcome;
        int index;
        std::size_t size;
    };
    const Case cases[] = {
        {"same colour, nothing selected: last such line", -1, false, true, Rule(0xFF, 5, "n"),
         SpotApplyOutcome::Updated, 2, 3},
        {"operator says No", -1, false, false, Rule(0xFF, 5, "n"), SpotApplyOutcome::Declined, -1,
         3},
        {"selected line", 1, false, true, Rule(0xFF, 5, "n"), SpotApplyOutcome::Updated, 1, 3},
        {"copy always appends", -1, true, true, Rule(0xFF, 5, "n"), SpotApplyOutcome::Appended, 3,
         4},
        {"new colour", -1, false, true, Rule(0xFF0000, 5, "n"), SpotApplyOutcome::Appended, 3, 4},
        {"new colour without target", -1, false, true, Rule(0xFF0000, 0, "n"),
         SpotApplyOutcome::NoColourInformation, -1, 3},
        {"selection past the list", 9, false, true, Rule(0xFF0000, 5, "n"),
         SpotApplyOutcome::Appended, 3, 4},
    };
    for (const Case& c : cases) {
        auto list = start;
        const auto r = ApplySpotRule(list, c.selected, c.copy, c.values, [&] { return c.agree; });
        EXPECT_EQ(r.outcome, c.outcome) << c.what;
        EXPECT_EQ(r.index, c.index) << c.what;
        ASSERT_EQ(list.size(), c.size) << c.what;
        if (r.index >= 0) {
            EXPECT_EQ(list[static_cast<std::size_t>(r.index)], FormatSpotEditor(c.values));
        }
    }
    auto list = start;
    EXPECT_FALSE(DeleteSpotRule(list, 3));
    EXPECT_FALSE(DeleteSpotRule(list, -1));
    EXPECT_TRUE(DeleteSpotRule(list, 0));
    EXPECT_EQ(list, std::vector<std::string>(start.begin() + 1, start.end()));
}

TEST(SpotEditor, MatchingAndColourNames) {
    EXPECT_TRUE(SpotMatches(0x0A0B0C, 0x0A0B0C, 0));
    EXPECT_FALSE(SpotMatches(0x0A0B0D, 0x0A0B0C, 0));
    EXPECT_TRUE(SpotMatches(0x000000, 0x000304, 5));  // 3-4-5
    EXPECT_FALSE(SpotMatches(0x000000, 0x000304, 4));
    EXPECT_EQ(ColorDisplayName(0xFFCC00), "Sky Blue");
    EXPECT_EQ(ColorDisplayName(0xFFFFFF), "White");
    EXPECT_EQ(ColorDisplayName(0x000000), "Black");
    EXPECT_EQ(ColorDisplayName(0x030201), "Custom: ( 1,2,3 )");
    EXPECT_EQ(ColorDisplayName(-1), "Custom: ( 255,255,255 )");
}

}  // namespace
}  // namespace corvan
