#include "job/emffile.h"
#include "job/units.h"
#include "platform/inifile.h"
#include "platform/debuglog.h"
#include "support/tempdirs.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

TEST(TemfFile, NewJobIsAnA4PageWithDefaults) {
    TemfFile job;
    EXPECT_EQ(job.PageWidth, 210);
    EXPECT_EQ(job.PageHeight, 297);
    EXPECT_EQ(job.BackgroundColor, 0xFFFFFFu);
    EXPECT_TRUE(job.Layers.empty());
    EXPECT_EQ(job.Copies, 1);
    EXPECT_EQ(job.XGap, 25);
    EXPECT_EQ(job.YGap, 25);
    EXPECT_EQ(job.CropLeft, 0);
    EXPECT_EQ(job.CropRight, 210);
    EXPECT_EQ(job.CropBottom, 297);
    EXPECT_EQ(job.RenderDPI, 360);
    EXPECT_TRUE(job.Interpolate);
    EXPECT_EQ(job.Interpolation, 10);
    EXPECT_EQ(job.CutColor, 0xC0C0C0u);
    EXPECT_TRUE(job.CutLines);
    EXPECT_EQ(job.CropmarkSize, 20);
    EXPECT_TRUE(job.AutoSize);
    EXPECT_TRUE(job.PreviewDirty);
    EXPECT_FALSE(job.Modified);
}

TEST(TemfFile, ResetKeepsContentAndRestoresSettings) {
    TemfFile job;
    job.Layers = {"/a.emf"};
    job.SpotColorList = {"spot"};
    job.BackgroundColor = 0x123456;
    job.JobText = "text";
    job.FileName = "/j.RIP";
    job.Copies = 5;
    job.CropSection = true;
    job.CropLeft = 10;
    job.TileNo = 4;
    job.GmaMethod = 3;
    job.Reset(500, 100);
    EXPECT_EQ(job.Layers.size(), 1u);
    EXPECT_EQ(job.SpotColorList.size(), 1u);
    EXPECT_EQ(job.BackgroundColor, 0x123456u);
    EXPECT_EQ(job.JobText, "text");
    EXPECT_EQ(job.FileName, "/j.RIP");
    EXPECT_EQ(job.Copies, 1);
    EXPECT_FALSE(job.CropSection);
    EXPECT_EQ(job.CropLeft, 0);
    EXPECT_EQ(job.CropRight, 500);
    EXPECT_EQ(job.CropBottom, 100);
    EXPECT_EQ(job.TileNo, 0);
    EXPECT_EQ(job.GmaMethod, 0);
}

TEST(TemfFile, CropBlockCopiesAsAUnit) {
    TemfFile job;
    TCropTileBlock block = job.CropBlock();
    block.TileWidth = 1000;
    block.TextSize = 12;
    block.ThickText = true;
    job.CropBlock() = block;
    EXPECT_EQ(job.TileWidth, 1000);
    EXPECT_EQ(job.TextSize, 12);
    EXPECT_TRUE(job.ThickText);
}

TEST(TemfFile, RecordPrintedTileOnlyForSavedJobs) {
    test::ScratchHome home;
    TemfFile job;
    job.TileNo = 7;
    job.RecordPrintedTile();  // never saved: nothing to write, no crash

    job.FileName = home.Path("job.RIP");
    test::WriteFileBytes(job.FileName, "[Job]\r\nJobText=x\r\n");
    job.RecordPrintedTile();
    IniFile ini(job.FileName);
    ASSERT_TRUE(ini.Load());
    EXPECT_TRUE(ini.ReadBool("Printed Tiles", "7", false));
    EXPECT_EQ(ini.ReadString("Job", "JobText"), "x");
}

TEST(Tcolorlist, KeepsFirstSeenDistinctColours) {
    Tcolorlist list;
    EXPECT_TRUE(list.AddColour(0x0000FF));
    EXPECT_TRUE(list.AddColour(0x00FF00));
    EXPECT_FALSE(list.AddColour(0x0000FF));
    EXPECT_EQ(list.Items, (std::vector<std::string>{"$000000FF", "$0000FF00"}));
}

TEST(Units, LengthsSizesAndColours) {
    EXPECT_EQ(FormatLength(25.4f, true), "25.4mm");
    EXPECT_EQ(FormatLength(0, true), "0.0mm");
    EXPECT_EQ(FormatSize(210, 297, true), "210.0mm x 297.0mm");
    EXPECT_EQ(FormatLength(25.4f, false), "1.000in");
    EXPECT_EQ(FormatLength(0, false), "0.000in");
    EXPECT_EQ(FormatSize(25.4f, 50.8f, false), "1.000in x 2.000in");
    EXPECT_EQ(FormatRGB(0x0000FF), "255,0,0");
    EXPECT_EQ(FormatRGB(0xC0C0C0), "192,192,192");
}

}  // namespace
}  // namespace corvan
