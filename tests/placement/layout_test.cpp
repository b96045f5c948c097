#include "job/emffile.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

// A job laid out on media of the given width (0 = none) and length (0 = roll).
TemfFile Laid(float pageW, float pageH, float mediaW, float mediaH = 0) {
    TemfFile job;
    job.Reset(pageW, pageH);
    job.MediaWidth = mediaW;
    job.MediaHeight = mediaH;
    return job;
}

TEST(Layout, SingleCopyOnRollMedia) {
    TemfFile job = Laid(200, 280, 1000);
    job.YOffset = 15;
    job.ComputeLayout();
    EXPECT_EQ(job.MediaUsedWidth, 200);
    EXPECT_EQ(job.MediaUsedHeight, 280);
    EXPECT_EQ(job.MediaHeight, 295);
    EXPECT_TRUE(job.FitsMedia);
}

TEST(Layout, RowFillingWithMarginFollowsTheMediaWidth) {
    const struct { float media; int perRow; } cases[] = {{330, 3}, {310, 2}};
    for (const auto& c : cases) {
        TemfFile job = Laid(100, 50, c.media);
        job.CropMarks = true;
        job.CropmarkSize = 10;
        job.XGap = 0;
        job.YGap = 5;
        job.Copies = 4;
        job.ComputeLayout();
        float x1, y1, x2, y2;
        for (int n = 1; n <= 4; ++n) {
            job.GetCopyRect(n, x1, y1, x2, y2);
            const int col = (n - 1) % c.perRow, row = (n - 1) / c.perRow;
            EXPECT_EQ(x1, 10 + 100 * col) << c.media << " copy " << n;
            EXPECT_EQ(y1, 10 + 55 * row) << c.media << " copy " << n;
            EXPECT_EQ(x2 - x1, 100);
        }
        if (c.perRow == 3) {
            EXPECT_EQ(job.MediaUsedWidth, 320);
            EXPECT_EQ(job.MediaUsedHeight, 120 + 5);
        }
        EXPECT_TRUE(job.FitsMedia) << c.media;
    }
}

TEST(Layout, RotationSwapsCopyAndMediaUsed) {
    TemfFile job = Laid(100, 40, 1000);
    job.Rotate = true;
    job.ComputeLayout();
    EXPECT_EQ(job.MediaUsedWidth, 40);
    EXPECT_EQ(job.MediaUsedHeight, 100);
    float x1, y1, x2, y2;
    job.GetCopyRect(1, x1, y1, x2, y2);
    EXPECT_EQ(x2 - x1, 40);
    EXPECT_EQ(y2 - y1, 100);
}

TEST(Layout, FitTestOrder) {
    TemfFile wide = Laid(500, 100, 300);
    wide.Copies = 2;
    wide.ComputeLayout();
    EXPECT_FALSE(wide.FitsMedia);
    float x1, y1, x2, y2;
    wide.GetCopyRect(2, x1, y1, x2, y2);
    EXPECT_EQ(x1, 0);
    EXPECT_EQ(y1, 125);  // a copy wider than the media gets its own row

    TemfFile noMedia = Laid(500, 100, 0);
    noMedia.Copies = 3;
    noMedia.ComputeLayout();
    EXPECT_TRUE(noMedia.FitsMedia);
    EXPECT_EQ(noMedia.MediaUsedWidth, 500);

    TemfFile negative = Laid(10, 10, 1000);
    negative.XOffset = -1;
    negative.ComputeLayout();
    EXPECT_FALSE(negative.FitsMedia);

    TemfFile sheet = Laid(100, 300, 1000, 200);
    sheet.ComputeLayout();
    EXPECT_FALSE(sheet.FitsMedia);
}

TEST(Layout, CropIsClampedOrderedAndResetWithoutSection) {
    TemfFile job = Laid(200, 100, 0);
    job.CropSection = true;
    job.CropLeft = 150;
    job.CropRight = 50;
    job.CropTop = -5;
    job.CropBottom = 400;
    job.TileNo = 3;
    job.ComputeLayout();
    EXPECT_EQ(job.CropLeft, 50);
    EXPECT_EQ(job.CropRight, 150);
    EXPECT_EQ(job.CropTop, 0);
    EXPECT_EQ(job.CropBottom, 100);
    EXPECT_EQ(job.CropWidth, 100);
    EXPECT_EQ(job.TileNo, 3);

    job.CropSection = false;
    job.ComputeLayout();
    EXPECT_EQ(job.CropLeft, 0);
    EXPECT_EQ(job.CropRight, 200);
    EXPECT_EQ(job.TileNo, 0);
}

TEST(Layout, MarginRules) {
    TemfFile job;
    job.CropMarks = true;
    job.CropmarkSize = 10;
    job.CropOffset = 5;
    EXPECT_EQ(job.CopyMargin(), 15);
    job.CropMarks = false;
    job.Border = true;
    EXPECT_EQ(job.CopyMargin(), 5);
    job.AutoSize = false;
    EXPECT_EQ(job.CopyMargin(), 0);
}

}  // namespace
}  // namespace corvan
