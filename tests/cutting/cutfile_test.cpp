#include "cutting/cutfile.h"
#include "job/emffile.h"
#include "platform/folders.h"
#include "shell/appcore.h"
#include "support/scripted_ui.h"
#include "support/tempdirs.h"
#include "support/test_frontend.h"

#include <gtest/gtest.h>

#include <cstring>

namespace corvan {
namespace {

ContourPath Pentagon() {
    ContourPath p;
    p.Add({0, 0}, kPtMoveTo);
    p.Add({100, 0}, kPtLineTo);
    p.Add({100, 50}, kPtLineTo);
    p.Add({0, 50}, kPtLineTo);
    p.Add({0, 0}, kPtLineTo);
    return p;
}

TEST(CutFile, RecordsPerCopyMirroredAcrossTheMedia) {
    TemfFile job;
    job.Reset(100, 50);
    job.CropMarks = true;
    job.CropmarkSize = 10;  // copy 1 at (10, 10)
    job.Copies = 2;
    job.XGap = 0;
    job.MediaWidth = 1000;
    job.ComputeLayout();
    job.MediaUsedWidth = 500;
    const auto records = CutPointRecords(job, Pentagon());
    ASSERT_EQ(records.size(), 10u);
    EXPECT_FLOAT_EQ(records[0].y, 10.5f);
    EXPECT_FLOAT_EQ(records[0].x, 489.5f);
    EXPECT_EQ(records[0].pen, 1);
    EXPECT_EQ(records[1].pen, 2);
    EXPECT_FLOAT_EQ(records[1].x, 489.5f - 10);   // 100 units of 0.1 mm further across
    EXPECT_FLOAT_EQ(records[5].x, 489.5f - 100);  // copy 2 starts 100 mm further across
    EXPECT_EQ(records[5].pen, 1);

    ContourPath lineFirst;
    lineFirst.Add({0, 0}, kPtLineTo);
    lineFirst.Add({5, 5}, kPtLineTo);
    const auto r2 = CutPointRecords(job, lineFirst);
    EXPECT_EQ(r2[0].pen, 0);
    EXPECT_EQ(r2[1].pen, 2);
}

TEST(CutFile, HeaderFieldsAndRoundTrip) {
    CutFileContents c;
    SetCutFileSize(c, 1234.5f, 20 + 480);
    EXPECT_EQ(c.lengthField, 1235);  // 1234.5 rounds to even, plus one
    EXPECT_EQ(c.widthField, 501);
    c.created = 46000.25;
    c.thumbnail = {'B', 'M', 0, 1, 2};
    for (int i = 0; i < 1000; ++i)
        c.points.push_back({i * 0.5f, 100 - i * 0.1f, static_cast<std::int16_t>(i ? 2 : 1)});
    const auto bytes = BuildCutFile(c);
    std::uint16_t first;
    std::memcpy(&first, bytes.data(), 2);
    EXPECT_EQ(first, 568);
    EXPECT_EQ(bytes[12], 7);
    EXPECT_EQ(std::string(bytes.begin() + 13, bytes.begin() + 20), "Contour");
    EXPECT_EQ(bytes[62], 9);
    EXPECT_EQ(std::string(bytes.begin() + 63, bytes.begin() + 72), "CorvanRIP");
    EXPECT_EQ(bytes[121], 1);
    EXPECT_EQ(std::string(bytes.begin() + 172 + 5 + 4, bytes.begin() + 172 + 5 + 8), "!HZL");

    std::string reason;
    auto back = ParseCutFile(bytes, &reason);
    ASSERT_TRUE(back) << reason;
    EXPECT_EQ(back->lengthField, 1235);
    EXPECT_EQ(back->created, 46000.25);
    EXPECT_EQ(back->thumbnail, c.thumbnail);
    EXPECT_EQ(back->points, c.points);

    for (std::size_t n : {std::size_t{0}, std::size_t{100}, std::size_t{180}, bytes.size() - 3}) {
        std::vector<std::uint8_t> cut(bytes.begin(),
                                      bytes.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_FALSE(ParseCutFile(cut, &reason)) << n;
    }
    CutFileContents huge;
    SetCutFileSize(huge, 70000, -5);
    EXPECT_EQ(huge.lengthField, 0xFFFF);
    EXPECT_EQ(huge.widthField, 0);
}

TEST(CutFile, NamesTakeTheLowestFreeNumber) {
    test::ScratchHome home;
    const std::string dir = home.Path("cut/");
    ForceFolders(dir);
    test::WriteFileBytes(dir + "0001.tcf", "x");
    test::WriteFileBytes(dir + "0003.tcf", "x");
    EXPECT_EQ(NextCutFileName(dir), dir + "0002.tcf");
    for (int n = 1; n <= 200; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "%04d.tcf", n);
        test::WriteFileBytes(dir + name, "x");
    }
    EXPECT_EQ(NextCutFileName(dir), "");
}

}  // namespace
}  // namespace corvan

namespace corvan {
namespace {

TEST(CutFile, WritesTheJobsFileWholeOrNotAtAll) {
    test::ScratchHome home;
    test::ScriptedUi ui;
    test::TestApp appSession;
    AppCore& app = appSession.app;
    app.CurrentJob = std::make_unique<TemfFile>();
    app.CurrentJob->Reset(100, 50);
    app.CurrentJob->Copies = 3;
    app.CurrentJob->MediaWidth = 1000;
    app.CurrentJob->ComputeLayout();
    auto thumb = Bitmap24::Create(30, 12);
    thumb->Fill(0x808080);
    const std::string path = home.Path("0001.tcf");
    ASSERT_TRUE(WriteCutFile(app, path, thumb.get(), Pentagon()));
    const std::string bytes = test::ReadFileBytes(path);
    std::string reason;
    auto back = ParseCutFile(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), &reason);
    ASSERT_TRUE(back) << reason;
    EXPECT_EQ(back->points.size(), 15u);
    EXPECT_EQ(back->widthField, 100 * 3 + 2 * 25 + 1);
    EXPECT_EQ(back->thumbnail[0], 'B');
    EXPECT_TRUE(ui.messages.empty());

    EXPECT_FALSE(WriteCutFile(app, home.Path("no/such/folder/0001.tcf"), thumb.get(), Pentagon()));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Error);
}

TEST(VinylSpooler, MissingSpoolerIsReported) {
    test::ScriptedUi ui;
    test::TestApp appSession;
    AppCore& app = appSession.app;
    setenv("CORVANRIP_VINYL_SPOOLER", "/nonexistent/spooler", 1);
    StartVinylSpooler(app);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Unable to locate Vinyl Spooler!");
    setenv("CORVANRIP_VINYL_SPOOLER", "/bin/true", 1);
    StartVinylSpooler(app);
    EXPECT_EQ(ui.messages.size(), 1u);
    unsetenv("CORVANRIP_VINYL_SPOOLER");
}

}  // namespace
}  // namespace corvan
