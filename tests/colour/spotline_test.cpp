#include "colour/spotline.h"
#include "platform/registry.h"
#include "support/tempdirs.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

TEST(SpotLine, ParsesTheWrittenFormAndHex) {
    auto s = ParseSpotLine("$000080FF,12,54,-37,50,2,\"Cyan, \"\"bright\"\"\"");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->red, 0xFF);
    EXPECT_EQ(s->green, 0x80);
    EXPECT_EQ(s->blue, 0);
    EXPECT_EQ(s->tolerance, 12);
    EXPECT_EQ(s->a, -37);
    EXPECT_EQ(s->spot, 2);
    EXPECT_EQ(s->name, "Cyan, \"bright\"");
    EXPECT_EQ(FormatSpotLine(*s), "$000080FF,12,54,-37,50,2,\"Cyan, \"\"bright\"\"\"");
    EXPECT_TRUE(ParseSpotLine(kEmptySpotLine));
    EXPECT_EQ(FormatSpotLine(*ParseSpotLine(kEmptySpotLine)), kEmptySpotLine);
}

TEST(SpotLine, BadNumbersOrMissingFieldsFail) {
    for (const char* bad : {"", "$FF,1,2", "red,1,2,3,4,5,\"x\"", "$FF,1,2,3,4,five,\"x\""})
        EXPECT_FALSE(ParseSpotLine(bad)) << bad;
    auto noName = ParseSpotLine("$FF,1,2,3,4,5");
    ASSERT_TRUE(noName);
    EXPECT_EQ(noName->name, "");
}

TEST(SpotLine, DefaultTargetsArePackedSettings) {
    test::ScratchHome home;
    auto cyan = SpotDefaultTarget(2);
    ASSERT_TRUE(cyan);
    EXPECT_EQ(cyan->L, 54);
    EXPECT_EQ(cyan->a, -37);
    EXPECT_EQ(cyan->b, 50);
    EXPECT_EQ(ReadRegInteger("SpotColors\\02_Cyan", 0), 54 * 65536 + (219 << 8) + 50);
    WriteRegInteger("SpotColors\\12_Custom_1", 80 * 65536 + (0xF6 << 8) + 10);
    EXPECT_EQ(SpotDefaultTarget(12)->a, -10);
    EXPECT_FALSE(SpotDefaultTarget(0));
    EXPECT_FALSE(SpotDefaultTarget(20));
    EXPECT_EQ(SpotListText(19), "19. Custom-8");
    EXPECT_EQ(SpotSettingName(19), "SpotColors\\19_Custom_8");
}

}  // namespace
}  // namespace corvan
