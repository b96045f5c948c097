// Billboard tiles printed one by one must paste up into the whole job: each
// tile's crop section, bleed included, holds the same pixels as that part of
// the job rendered at once, and the tiles without bleed cover the page.
#include "placement/tiling.h"
#include "platform/numbers.h"
#include "raster/stripcomposer.h"
#include "raster/transforms.h"
#include "support/composer_fixture.h"
#include "support/metafile_fixture.h"

#include <gtest/gtest.h>

#include <cstring>

namespace corvan {
namespace {

constexpr float kScale = 2;  // pixels per mm: every tile edge falls on a pixel

std::unique_ptr<Bitmap24> Window(const Bitmap24& whole, const MmRect& r) {
    const int left = RoundToInt(kScale * r.left), top = RoundToInt(kScale * r.top);
    auto part =
        Bitmap24::Create(RoundToInt(kScale * r.right) - left, RoundToInt(kScale * r.bottom) - top);
    for (int y = 0; y < part->Height(); ++y)
        std::memcpy(part->Row(y), whole.Row(top + y) + 3 * left, 3 * std::size_t(part->Width()));
    return part;
}

TEST(BillboardTiles, EachTileIsItsPartOfTheWholeJobAndTheTilesCoverThePage) {
    test::EnsureGuiApp();
    for (const bool rotate : {false, true}) {
        SCOPED_TRACE(rotate ? "turned output" : "upright output");
        auto job = test::DemoJob();
        if (job->Layers.empty()) GTEST_SKIP() << "demo samples not found in " << test::SamplesDir();
        job->CropMarks = job->Border = false;
        job->MediaWidth = 1000;
        job->ComputeLayout();
        const int pageW = RoundToInt(kScale * job->PageWidth);
        const int pageH = RoundToInt(kScale * job->PageHeight);
        const auto whole = RenderStrip(*job, {}, {0, 0, pageW - 1, pageH - 1}, kScale);
        ASSERT_TRUE(whole);
        ASSERT_LT(test::CountColour(*whole, 0xFFFFFF), pageW * pageH / 2) << "the job is drawn";

        TCropTileBlock b = job->CropBlock();
        b.MultiTiles = true;
        b.TileWidth = 110;  // 3 x 3 tiles, the last column and row cut by the page
        b.TileHeight = 80;
        b.BleedX = b.BleedY = 6;
        const TileGrid grid = GridOf(b, job->PageWidth, job->PageHeight);
        ASSERT_EQ(grid.Count(), 9);
        std::vector<int> covered(static_cast<std::size_t>(pageW) * pageH, 0);
        for (int n = 1; n <= grid.Count(); ++n) {
            SCOPED_TRACE(n);
            const MmRect r = TileRect(b, grid, n, job->PageWidth, job->PageHeight);
            job->CropBlock() = b;
            job->CropSection = true;
            job->CropLeft = r.left;
            job->CropTop = r.top;
            job->CropRight = r.right;
            job->CropBottom = r.bottom;
            job->Rotate = rotate;
            job->ComputeLayout();
            const int w = RoundToInt(kScale * job->MediaUsedWidth);
            const int h = RoundToInt(kScale * job->MediaUsedHeight);
            const auto tile = RenderStrip(*job, {}, {0, 0, w - 1, h - 1}, kScale);
            const auto want = TransformBitmap(Window(*whole, r).get(), rotate, false, false);
            ASSERT_TRUE(tile && want);
            ASSERT_EQ(tile->Width(), want->Width());
            ASSERT_EQ(tile->Height(), want->Height());
            for (int y = 0; y < tile->Height(); ++y)
                ASSERT_EQ(std::memcmp(tile->Row(y), want->Row(y), 3 * std::size_t(w)), 0)
                    << "row " << y << "; tile: " << test::DumpPng(*tile, "tile")
                    << " whole: " << test::DumpPng(*whole, "tiles-whole");
            // The tile without its bleed.
            const int column = (n - 1) % grid.columns, row = (n - 1) / grid.columns;
            for (int y = RoundToInt(kScale * row * b.TileHeight);
                 y < std::min(pageH, RoundToInt(kScale * (row + 1) * b.TileHeight)); ++y)
                for (int x = RoundToInt(kScale * column * b.TileWidth);
                     x < std::min(pageW, RoundToInt(kScale * (column + 1) * b.TileWidth)); ++x)
                    ++covered[static_cast<std::size_t>(y) * pageW + x];
        }
        for (std::size_t i = 0; i < covered.size(); ++i)
            ASSERT_EQ(covered[i], 1) << "pixel " << i % pageW << "," << i / pageW;
    }
}

}  // namespace
}  // namespace corvan
