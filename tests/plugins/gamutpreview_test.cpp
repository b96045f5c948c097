// The picture the driver is given for its gamut preview.
#include "plugins/gamutpreview.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

TEST(GamutPreview, JobPreviewFittedInto330PixelsNeverEnlargedBeyondThePage) {
    auto preview = Bitmap24::Create(600, 200);
    preview->Fill(0x336699);
    const struct {
        float w, h;
        int pw, ph;
    } cases[] = {{3000, 1000, 330, 110}, {2, 2, 200, 200}, {300, 200, 330, 220}};
    for (const auto& c : cases) {
        TemfFile job;
        job.Reset(c.w, c.h);
        const auto source = GamutPreviewSource(job, *preview);
        ASSERT_TRUE(source);
        EXPECT_EQ(source->Width(), c.pw) << c.w << " x " << c.h;
        EXPECT_EQ(source->Height(), c.ph) << c.w << " x " << c.h;
        EXPECT_EQ(source->Pixel(source->Width() / 2, source->Height() / 2), 0x336699u);
    }
}

}  // namespace
}  // namespace corvan
