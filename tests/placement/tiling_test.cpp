#include "placement/tiling.h"

#include "job/projectfile.h"
#include "platform/inifile.h"
#include "shell/appcore.h"

#include "support/scripted_ui.h"
#include "support/tempdirs.h"
#include "support/test_frontend.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

struct GridCase {
    const char* name;
    float pageW, pageH, limitW, limitH, bleed;
    bool rotate;
    int columns, rows;
    int tile;
    MmRect expected;  // the tile's crop, with bleed and clamped
};

TEST(TileGrid, DefaultGridsFromTheMediaAndTheirTiles) {
    const GridCase cases[] = {
        // A tile plus its bleeds fills the media; the last column is cut by the page.
        {"roll, no bleed", 3000, 1000, 1000, 6000, 0, false, 3, 1, 2, {1000, 0, 2000, 1000}},
        {"bleed narrows the tile", 3000, 1000, 1000, 6000, 10, false, 4, 1, 1, {0, 0, 990, 1000}},
        {"bleed at an inner edge",
         3000,
         1000,
         1000,
         6000,
         10,
         false,
         4,
         1,
         2,
         {970, 0, 1970, 1000}},
        {"last tile clamped", 3000, 1000, 1000, 6000, 10, false, 4, 1, 4, {2930, 0, 3000, 1000}},
        {"exact multiple is not one more",
         2000,
         500,
         1000,
         6000,
         0,
         false,
         2,
         1,
         2,
         {1000, 0, 2000, 500}},
        // Turned on the printer: the media limits swap.
        {"rotated sheet", 2500, 2500, 1000, 1200, 0, true, 3, 3, 5, {1200, 1000, 2400, 2000}},
        {"rows down the page", 900, 2500, 1000, 1000, 0, false, 1, 3, 3, {0, 2000, 900, 2500}},
    };
    for (const GridCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::ScriptedUi ui;
        TCropTileBlock b;
        b.MultiTiles = true;
        b.BleedX = b.BleedY = c.bleed;
        b.RotateOnPrinter = c.rotate;
        TileEditor e(ui, b, c.pageW, c.pageH, {c.limitW, c.limitH}, 20, true);
        e.UpdateAll();
        EXPECT_EQ(e.Grid().columns, c.columns);
        EXPECT_EQ(e.Grid().rows, c.rows);
        EXPECT_EQ(e.Block().TileCount, c.columns * c.rows);
        EXPECT_EQ(e.Block().TileNo, 1);  // the first tile is current at start
        e.SelectTile(c.tile);
        EXPECT_FLOAT_EQ(e.Block().CropLeft, c.expected.left);
        EXPECT_FLOAT_EQ(e.Block().CropTop, c.expected.top);
        EXPECT_FLOAT_EQ(e.Block().CropRight, c.expected.right);
        EXPECT_FLOAT_EQ(e.Block().CropBottom, c.expected.bottom);
        EXPECT_TRUE(ui.messages.empty());
    }
}

TEST(TileGrid, TileCountsAndStatusLine) {
    test::ScriptedUi ui;
    TCropTileBlock b;
    b.MultiTiles = true;
    TileEditor e(ui, b, 3000, 1000, {1000, 6000}, 20, true);
    e.UpdateAll();
    ASSERT_TRUE(e.SetTileCounts(4, 2));
    EXPECT_NEAR(e.Block().TileWidth, 750.025, 1e-3);
    EXPECT_NEAR(e.Block().TileHeight, 500.05, 1e-3);
    EXPECT_EQ(e.Block().TileCount, 8);
    e.SelectTile(3);
    EXPECT_EQ(e.StatusText(), "Tile: 3 of 8.  ( 4 x 2 )  [ 3, 1 ]");
    EXPECT_FALSE(e.SetTileCounts(0, 2));
    EXPECT_EQ(e.Block().TileCount, 8);
    // Equal distribution keeps the count and evens the sizes out.
    e.SetTileSize(1100, 600);
    e.EquallyDistribute(true);
    EXPECT_NEAR(e.Block().TileWidth, 1000.0333, 1e-3);
    EXPECT_EQ(e.Grid().columns, 3);
    const auto lines = e.TileListLines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[4], "Tile: 5.  [2,2]  Size: 1000.0mm x 400.0mm");
}

TEST(TileGrid, TooManyTilesWarnsAndFallsBackToOneTile) {
    test::ScriptedUi ui;
    ui.Answer(ButtonOk);
    TCropTileBlock b;
    b.MultiTiles = true;
    b.TileWidth = b.TileHeight = 100;
    TileEditor e(ui, b, 500, 500, {1000, 6000}, 20, true);
    e.UpdateAll();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(ui.messages[0].text,
              "Error, too many tiles!\r\rYour selection would result in 5 x 5 (25) tiles.\r\r"
              "The allowable maximum is 20 tiles");
    EXPECT_FLOAT_EQ(e.Block().TileWidth, 501);
    e.UpdateAll();
    EXPECT_EQ(e.Block().TileCount, 1);
    EXPECT_FLOAT_EQ(e.Block().CropRight, 500);
    EXPECT_FLOAT_EQ(e.Block().CropBottom, 500);
}

TEST(TileGrid, PointsPickTilesAndGridLinesBelongRightAndBelow) {
    TCropTileBlock b;
    b.TileWidth = 750;
    b.TileHeight = 500;
    const TileGrid g = GridOf(b, 3000, 1000);
    const struct {
        float x, y;
        int tile;
    } cases[] = {{0, 0, 1},       {749.9f, 10, 1}, {750, 10, 2},  {750, 500, 6},
                 {3000, 1000, 0}, {-1, 10, 0},     {10, 1001, 0}, {2999, 999, 8}};
    for (const auto& c : cases)
        EXPECT_EQ(TileAtPoint(b, g, 3000, 1000, c.x, c.y), c.tile) << c.x << "," << c.y;
}

TEST(CropSelection, HandlesFitAndRotation) {
    // Crop rectangle 100..200 x 100..160 in pixels.
    const struct {
        int x, y, code;
    } hits[] = {{150, 130, 10}, {95, 130, 0},  {97, 130, 2}, {203, 130, 5},
                {150, 98, 3},   {150, 162, 7}, {98, 98, 1},  {202, 98, 4},
                {100, 160, 8},  {200, 160, 6}, {130, 130, 0}};
    for (const auto& h : hits)
        EXPECT_EQ(HitTest(100, 100, 200, 160, h.x, h.y), h.code) << h.x << "," << h.y;

    // A crop that runs turned across the media fits when its length does.
    const MediaLimits limits{1000, 6000};
    EXPECT_TRUE(CropFits(5000, 900, limits));
    EXPECT_FALSE(CropFits(7000, 900, limits));
    EXPECT_FALSE(CropFits(1200, 1100, limits));

    TemfFile job;
    job.CropmarkSize = 20;
    TemfPlotter device;
    device.MediaWidth = 1000;
    TCropTileBlock b;
    b.CropRight = 2000;
    b.CropBottom = 800;
    EXPECT_TRUE(CropWantsRotation(b, job, device));
    b.CropRight = 900;
    EXPECT_FALSE(CropWantsRotation(b, job, device));
}

TEST(CropSelection, DraggingKeepsTheCropOnThePage) {
    test::ScriptedUi ui;
    TCropTileBlock b;
    TileEditor e(ui, b, 1000, 500, {1000, 6000}, 20, true);
    e.SetCropEdges(100, 50, 400, 250);
    e.DragTo(10, 990, 10);  // the centre follows, the rectangle stops at the edge
    EXPECT_FLOAT_EQ(e.Block().CropLeft, 700);
    EXPECT_FLOAT_EQ(e.Block().CropRight, 1000);
    EXPECT_FLOAT_EQ(e.Block().CropTop, 0);
    e.DragTo(8, -50, 600);  // bottom-left corner, clamped into the page
    EXPECT_FLOAT_EQ(e.Block().CropLeft, 0);
    EXPECT_FLOAT_EQ(e.Block().CropBottom, 500);
    e.SetCropEdges(800, 400, 200, 100);  // edges typed the wrong way round
    EXPECT_FLOAT_EQ(e.Block().CropLeft, 200);
    EXPECT_FLOAT_EQ(e.Block().CropRight, 800);
    EXPECT_EQ(e.CropPercentText(), "60.0 % x 60.0 %");
    e.SetTileSize(2000, 100);  // single mode: the size moves the far edges
    EXPECT_FLOAT_EQ(e.Block().CropRight, 1000);
    EXPECT_FLOAT_EQ(e.Block().CropBottom, 200);
}

TEST(PrintedTiles, MarksSurviveSaveAndReopenAndAGridChangeForgetsThem) {
    test::ScratchHome home;
    const std::string project = home.Path("board.RIP");
    {
        IniFile ini(project);
        ini.WriteString("Job", "Name", "board");
        ASSERT_TRUE(ini.Save());
    }
    test::ScriptedUi ui;
    TCropTileBlock b;
    b.MultiTiles = true;
    TileEditor e(ui, b, 3000, 1000, {1000, 6000}, 20, true);
    e.RememberProject(project);
    e.UpdateAll();
    e.SetPrinted(1, true);
    e.SetPrinted(3, true);
    e.SaveMarks(project);
    const PrintedTiles marks = ReadPrintedTiles(project);
    EXPECT_TRUE(marks[1] && marks[3]);
    EXPECT_FALSE(marks[2]);

    TileEditor reopened(ui, e.Block(), 3000, 1000, {1000, 6000}, 20, true);
    reopened.RememberProject(project);
    reopened.CreateTileList();
    reopened.UpdateAll();
    EXPECT_TRUE(reopened.IsPrinted(1));
    EXPECT_FALSE(reopened.IsPrinted(2));
    EXPECT_TRUE(reopened.IsPrinted(3));
    // A new grid starts unmarked and reads nothing back.
    reopened.SetTileSize(500, 500);
    reopened.CreateTileList();
    EXPECT_FALSE(reopened.IsPrinted(1));
    EXPECT_EQ(reopened.ListSize(), 12u);
}

TEST(PrintedTiles, SelectingAJobTileMakesItTheCropSection) {
    test::TestApp session;
    AppCore& app = session.app;
    app.CurrentJob = std::make_unique<TemfFile>();
    app.CurrentJob->Reset(3000, 1000);
    app.CurrentPlotter.MediaWidth = app.CurrentPlotter.PrintableWidth = 1040;
    TemfFile& job = *app.CurrentJob;
    std::string error;
    EXPECT_FALSE(SelectJobTile(app, 1, error));
    job.MultiTiles = true;
    job.TileWidth = 1000;
    job.TileHeight = 1000;
    EXPECT_FALSE(SelectJobTile(app, 4, error));
    EXPECT_EQ(error, "the job has tiles 1 to 3, not tile 4");
    ASSERT_TRUE(SelectJobTile(app, 3, error));
    EXPECT_TRUE(job.CropSection);
    EXPECT_EQ(job.TileNo, 3);
    EXPECT_FLOAT_EQ(job.CropLeft, 2000);
    EXPECT_FLOAT_EQ(job.CropRight, 3000);
    EXPECT_FALSE(job.Rotate);
}

}  // namespace
}  // namespace corvan
