// What the shipped CMYK printer profile can reach of a spot target.
#include "colour/gamutcheck.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

const std::string kCmyk = CORVAN_SAMPLES_DIR "../Profiles/CorvanCMYK.icc";

TEST(GamutCheck, NeutralsAreReachedAndColoursBeyondTheInksAreNot) {
    const struct {
        const char* name;
        Lab target;
        bool inGamut;
    } cases[] = {{"mid grey", {50, 0, 0}, true},
                 {"paper white", {100, 0, 0}, true},
                 {"muted red", {50, 30, 15}, true},
                 {"deep ultramarine", {20, 0, -100}, false},
                 {"beyond any ink", {50, 127, -127}, false},
                 {"neon green", {85, -110, 90}, false}};
    for (const auto& c : cases) {
        std::string error;
        const auto check = CheckTargetAgainstProfile(kCmyk, c.target, error);
        ASSERT_TRUE(check) << error;
        EXPECT_EQ(check->inGamut, c.inGamut) << c.name << ": dE " << check->deltaE;
        if (!c.inGamut) {
            // What comes back is a printable colour in the same direction.
            EXPECT_LT(std::abs(check->reachable.b), std::abs(c.target.b)) << c.name;
            EXPECT_EQ(check->reachable.b < 0, c.target.b < 0) << c.name;
        }
    }
}

TEST(GamutCheck, AProfileThatCannotBeReadIsSaidSo) {
    std::string error;
    EXPECT_FALSE(CheckTargetAgainstProfile("/no/such/profile.icc", {50, 0, 0}, error));
    EXPECT_EQ(error, "cannot read the colour profile /no/such/profile.icc");
    // The next question about a good profile is answered again.
    EXPECT_TRUE(CheckTargetAgainstProfile(kCmyk, {50, 0, 0}, error));
}

}  // namespace
}  // namespace corvan
