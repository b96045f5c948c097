#include "job/projectfile.h"
#include "job/jobsession.h"
#include "placement/cropmarks.h"

#include "platform/base64.h"
#include "platform/bmpfile.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/paths.h"
#include "shell/appcore.h"
#include "support/scripted_ui.h"
#include "support/tempdirs.h"
#include "support/test_frontend.h"

#include <gtest/gtest.h>

#include <utility>

namespace corvan {
namespace {

using FakeDriver = test::RecordingDriver;
using DriverSession = test::DriverSession;

class ProjectFile : public ::testing::Test {
protected:
    void SetUp() override { app.CurrentJob = std::make_unique<TemfFile>(); }
    // Section and key of every entry in file order.
    static std::vector<std::pair<std::string, std::string>> Entries(const std::string& path) {
        IniFile ini(path);
        EXPECT_TRUE(ini.Load());
        std::vector<std::pair<std::string, std::string>> out;
        for (const auto& s : ini.SectionNames())
            for (const auto& k : ini.KeyNames(s)) out.emplace_back(s, k);
        return out;
    }
    test::ScratchHome home;
    test::ScriptedUi ui;
    DriverSession app{ui};
};

TEST_F(ProjectFile, WritesEveryKeyInItsOrder) {
    app.driver.valid = true;
    app.CurrentJob->Layers = {"/l/a.emf", "/l/b.emf"};
    app.CurrentJob->SpotColorList = {"spot0"};
    const std::string path = home.Path("order.RIP");
    ASSERT_TRUE(SaveProject(app, path));
    using E = std::pair<std::string, std::string>;
    const std::vector<E> expected = {
        {"Job", "Filename"},
        {"Job", "Time"},
        {"Job", "JobText"},
        {"Job", "PrintJobText"},
        {"Job", "Background Color"},
        {"Job", "Background Image"},
        {"Job", "SpotColors"},
        {"Job", "ContourCut"},
        {"Job", "Draw Image"},
        {"Job", "Crop Section"},
        {"Size", "Page Width(mm)"},
        {"Size", "Page Height(mm)"},
        {"Size", "X-offset(mm)"},
        {"Size", "Y-offset(mm)"},
        {"Size", "X-gap(mm)"},
        {"Size", "Y-gap(mm)"},
        {"Size", "Copies"},
        {"Size", "Rotate"},
        {"Size", "Mirror-X"},
        {"Size", "Mirror-Y"},
        {"Crop", "Left(mm)"},
        {"Crop", "Top(mm)"},
        {"Crop", "Right(mm)"},
        {"Crop", "Bottom(mm)"},
        {"Crop", "Multi-Tiles"},
        {"Crop", "TileWidth(mm)"},
        {"Crop", "TileHeight(mm)"},
        {"Crop", "Bleed-X(mm)"},
        {"Crop", "Bleed-Y(mm)"},
        {"Crop", "Tile No"},
        {"Crop", "Tile Count"},
        {"Crop", "Max Width(mm)"},
        {"Crop", "Max Height(mm)"},
        {"Crop", "RotateOnPrinter"},
        {"Crop", "Tile Text"},
        {"Crop", "Text Size(mm)"},
        {"Crop", "Reverse Text"},
        {"Crop", "Thick Text"},
        {"ContourCut", "CutColor"},
        {"ContourCut", "Cut Lines"},
        {"ContourCut", "Cut Solid"},
        {"ContourCut", "Print Contours"},
        {"ContourCut", "Tile Box"},
        {"ContourCut", "DeviceCM"},
        {"GMA", "Method"},
        {"Rendering", "DrawImage"},
        {"Rendering", "Interpolate"},
        {"Rendering", "Interpolation"},
        {"Rendering", "RenderDPI"},
        {"CropMarks", "Cropmarks"},
        {"CropMarks", "Border"},
        {"CropMarks", "CropmarkSize(mm)"},
        {"CropMarks", "CropOffset"},
        {"CropMarks", "AutoSize"},
        {"CropMarks", "CropMarkFile"},
        {"EMF Layers", "Layer#0"},
        {"EMF Layers", "Layer#1"},
        {"Spot Color", "SpotColor#0"},
        {"Printer Settings", "Plugin"},
        {"Printer Settings", "Data"},
    };
    EXPECT_EQ(Entries(path), expected);

    IniFile ini(path);
    ini.Load();
    EXPECT_EQ(ini.ReadString("Job", "Filename"), path);
    EXPECT_EQ(ini.ReadString("Job", "Background Color"), "16777215");
    EXPECT_EQ(ini.ReadString("Size", "Page Width(mm)"), "210");
    EXPECT_EQ(ini.ReadString("ContourCut", "CutColor"), "12632256");
    EXPECT_EQ(ini.ReadString("Printer Settings", "Data"), "0A0B0C");
    EXPECT_FALSE(ini.HasSection("Preview"));  // no preview rendered yet
    EXPECT_FALSE(app.CurrentJob->Modified);
}

TEST_F(ProjectFile, PrinterSettingsOnlyForAValidDriverWithSettings) {
    const struct {
        bool valid;
        const char* text;
        bool written;
    } cases[] = {{true, "AB", true}, {false, "AB", false}, {true, "", false}};
    for (const auto& c : cases) {
        FakeDriver& driver = app.driver;
        driver = FakeDriver{};
        driver.valid = c.valid;
        driver.settings = c.text;
        const std::string path = home.Path("ps.RIP");
        ASSERT_TRUE(SaveProject(app, path));
        IniFile ini(path);
        ini.Load();
        EXPECT_EQ(ini.HasSection("Printer Settings"), c.written) << c.valid << c.text;
    }
}

TEST_F(ProjectFile, RoundTripsTheJob) {
    TemfFile& job = *app.CurrentJob;
    job.Reset(25.4f, 1000.5f);
    job.JobText = "Shop sign, 2 copies";
    job.BackgroundColor = 0x00336699;
    job.Copies = 2;
    job.Rotate = true;
    job.CropSection = true;
    job.CropLeft = 1.5f;
    job.TileNo = 7;
    job.CutColor = 0x0000FF;
    job.CutSolid = true;
    job.RenderDPI = 300;
    job.CropMarks = true;
    job.CropOffset = 2.5f;
    job.Layers = {home.Path("Layers/a.emf")};
    const std::vector<std::string> layers = job.Layers;
    const std::string path = home.Path("rt.RIP");
    ASSERT_TRUE(SaveProject(app, path));

    LoadProject(app, path);
    const TemfFile& back = *app.CurrentJob;
    EXPECT_EQ(back.FileName, path);
    EXPECT_EQ(back.JobText, "Shop sign, 2 copies");
    EXPECT_EQ(back.PageWidth, 25.4f);
    EXPECT_EQ(back.PageHeight, 1000.5f);
    EXPECT_EQ(back.BackgroundColor, 0x00336699u);
    EXPECT_EQ(back.Copies, 2);
    EXPECT_TRUE(back.Rotate);
    EXPECT_TRUE(back.CropSection);
    EXPECT_EQ(back.CropLeft, 1.5f);
    EXPECT_EQ(back.TileNo, 7);
    EXPECT_EQ(back.CutColor, 0x0000FFu);
    EXPECT_TRUE(back.CutSolid);
    EXPECT_EQ(back.RenderDPI, 300);
    EXPECT_TRUE(back.CropMarks);
    EXPECT_EQ(back.CropOffset, 2.5f);
    EXPECT_EQ(back.Layers, layers);
    EXPECT_FALSE(back.Modified);
    EXPECT_FALSE(app.SaveEnabled);
    EXPECT_TRUE(back.PreviewDirty);
}

TEST_F(ProjectFile, LayerListsAreCappedGappyAndPrefixed) {
    const std::string path = home.Path("layers.RIP");
    std::string text = "[EMF Layers]\r\n";
    for (int i = 0; i < 60; ++i)
        text += "Layer#" + std::to_string(i) + "=/l/" + std::to_string(i) + ".emf\r\n";
    test::WriteFileBytes(path, text);
    LoadProject(app, path);
    ASSERT_EQ(app.CurrentJob->Layers.size(), 51u);
    EXPECT_EQ(app.CurrentJob->Layers.back(), "/l/50.emf");

    test::WriteFileBytes(path,
                         "[EMF Layers]\r\nLayer#5=five.emf\r\nLayer#0=/abs/zero.emf\r\n"
                         "[Job]\r\nBackground Image=photo.jpg\r\n");
    LoadProject(app, path);
    EXPECT_EQ(app.CurrentJob->Layers,
              (std::vector<std::string>{"/abs/zero.emf", ReadPath("EMFDir") + "five.emf"}));
    EXPECT_EQ(app.CurrentJob->BackgroundFile, ReadPath("ImageDir") + "photo.jpg");
    // The missing background is reported by the image loader and leaves no bitmap.
    EXPECT_FALSE(app.CurrentJob->BackgroundImage);
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().text, "Cant find image: " + ReadPath("ImageDir") + "photo.jpg");
}

TEST_F(ProjectFile, HandTypedWindowsFileLoads) {
    const std::string path = home.Path("hand.RIP");
    test::WriteFileBytes(
        path,
        "\xEF\xBB\xBF[job]\r\njobtext = Hello \r\n[SIZE]\r\nPAGE WIDTH(MM)=25.3999996185303\r\n"
        "page height(mm) = 12,5\r\ncopies=$A\r\n[rendering]\r\nrenderdpi=abc\r\n");
    LoadProject(app, path);
    const TemfFile& job = *app.CurrentJob;
    EXPECT_EQ(job.JobText, "Hello");
    EXPECT_EQ(job.PageWidth, 25.4f);
    EXPECT_EQ(job.PageHeight, 12.5f);
    EXPECT_EQ(job.Copies, 10);
    EXPECT_EQ(job.RenderDPI, 360);  // unreadable: the default
}

TEST_F(ProjectFile, UnreadableFilesAreRefusedNeverAnEmptyJob) {
    const std::string binary("\x00\xff\x01[\x80\x00=\n\r\n=[=]\x7f", 14);
    const struct {
        const char* name;
        std::string bytes;
        bool asFolder;
    } cases[] = {
        {"empty.RIP", "", false},
        {"junk.RIP", binary, false},
        {"text.RIP", "This is not a project file at all.\n", false},
        {"folder.RIP", "", true},
        {"missing.RIP", "", false},
    };
    for (const auto& c : cases) {
        const std::string path = home.Path(c.name);
        if (c.asFolder)
            ForceFolders(path);
        else if (std::string(c.name) != "missing.RIP")
            test::WriteFileBytes(path, c.bytes);
        app.CurrentJob.reset();
        const Status loaded = LoadProject(app, path);
        EXPECT_FALSE(loaded.Ok()) << c.name;
        EXPECT_NE(loaded.Error().find(path), std::string::npos) << c.name << ": " << loaded.Error();
        EXPECT_FALSE(app.CurrentJob) << c.name;
    }
}

TEST_F(ProjectFile, OutOfRangeNumbersAreCorrectedWithAMessage) {
    const std::string path = home.Path("bad numbers.RIP");
    test::WriteFileBytes(path,
                         "[Size]\r\nPage Width(mm)=-100\r\nPage Height(mm)=nan\r\nCopies=50000\r\n"
                         "[Rendering]\r\nRenderDPI=5000\r\n");
    ASSERT_TRUE(LoadProject(app, path).Ok());
    const TemfFile& job = *app.CurrentJob;
    EXPECT_EQ(job.Copies, kMaxCopies);
    EXPECT_EQ(job.RenderDPI, kMaxRenderDpi);
    EXPECT_EQ(job.PageWidth, 25.4f);
    EXPECT_EQ(job.PageHeight, 25.4f);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Warning);
    EXPECT_NE(ui.messages[0].text.find("Copies 50000 changed to 1000"), std::string::npos)
        << ui.messages[0].text;

    // Values the window offers load untouched and silently.
    ui.messages.clear();
    test::WriteFileBytes(
        path, "[Size]\r\nPage Width(mm)=120\r\nCopies=3\r\n[Rendering]\r\nRenderDPI=150\r\n");
    ASSERT_TRUE(LoadProject(app, path).Ok());
    EXPECT_EQ(app.CurrentJob->Copies, 3);
    EXPECT_EQ(app.CurrentJob->RenderDPI, 150);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ProjectFile, UndecodableBackgroundIsReportedAndKeptNamed) {
    const std::string image = home.Path("broken.png");
    test::WriteFileBytes(image, std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    const std::string path = home.Path("broken background.RIP");
    test::WriteFileBytes(path, "[Job]\r\nBackground Image=" + image + "\r\nDraw Image=1\r\n");
    const Status loaded = LoadProject(app, path);
    EXPECT_FALSE(loaded.Ok());
    EXPECT_NE(loaded.Error().find(image), std::string::npos) << loaded.Error();
    ASSERT_TRUE(app.CurrentJob);  // the job itself is there, without the picture
    EXPECT_EQ(app.CurrentJob->BackgroundFile, image);
    EXPECT_FALSE(app.CurrentJob->BackgroundImage);
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().kind, MessageKind::Error);
    EXPECT_EQ(ui.messages.back().text.rfind("Unable to load image: " + image, 0), 0u);
}

TEST_F(ProjectFile, PrinterSettingsQuestionDecidesTheMethod) {
    const std::string path = home.Path("gma.RIP");
    test::WriteFileBytes(
        path, "[GMA]\r\nMethod=3\r\n[Printer Settings]\r\nPlugin=/d/x.drv\r\nData=00FF\r\n");
    const std::string question =
        "Update Printer Settings?\r\rThis job contains saved printer settings.\rIf you select Yes, "
        "the current Printer\rsettings will change to match those saved\rin the file.";
    const struct {
        Button answer;
        int method;
        bool restored;
    } cases[] = {{ButtonNo, 0, false}, {ButtonYes, 3, true}};
    for (const auto& c : cases) {
        FakeDriver& driver = app.driver;
        driver = FakeDriver{};
        ui.messages.clear();
        ui.Answer(c.answer);
        LoadProject(app, path);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, question);
        EXPECT_EQ(ui.messages[0].kind, MessageKind::Confirmation);
        EXPECT_EQ(app.CurrentJob->GmaMethod, c.method);
        std::vector<std::string> calls{"JobLoaded"};
        if (c.restored) calls.push_back("Restore /d/x.drv 00FF");
        EXPECT_EQ(driver.calls, calls);
    }
    // Without stored settings nothing is asked and the method is not read.
    test::WriteFileBytes(path, "[GMA]\r\nMethod=3\r\n");
    ui.messages.clear();
    LoadProject(app, path);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(app.CurrentJob->GmaMethod, 0);
}

TEST_F(ProjectFile, PrintedTilesAreCarriedOverLast) {
    const std::string path = home.Path("tiles.RIP");
    test::WriteFileBytes(
        path, "[Printed Tiles]\r\n1=1\r\n2=0\r\n3=1\r\n300=1\r\n[Job]\r\nJobText=old\r\n");
    const PrintedTiles tiles = ReadPrintedTiles(path);
    ASSERT_TRUE(SaveProject(app, path, tiles));
    IniFile ini(path);
    ASSERT_TRUE(ini.Load());
    const auto sections = ini.SectionNames();
    EXPECT_EQ(sections.back(), "Printed Tiles");
    EXPECT_EQ(ini.KeyNames("Printed Tiles"), (std::vector<std::string>{"1", "3"}));
    EXPECT_EQ(ini.ReadString("Job", "JobText"), "");
}

TEST_F(ProjectFile, ThumbnailIsWrittenOnlyWithAPreviewAndReadsBack) {
    app.PreviewImage = Bitmap24::Create(210, 297);
    app.PreviewImage->Fill(0x0000FF);
    const std::string path = home.Path("thumb.RIP");
    ASSERT_TRUE(SaveProject(app, path));
    IniFile ini(path);
    ASSERT_TRUE(ini.Load());
    const int count = ini.ReadInteger("Preview", "Count", 0);
    ASSERT_GT(count, 1);
    for (int i = 0; i + 1 < count; ++i)
        EXPECT_EQ(ini.ReadString("Preview", std::to_string(i)).size(), 60u);
    EXPECT_EQ(ini.SectionNames().back(), "Preview");
    auto thumb = ReadProjectThumbnail(path);
    ASSERT_TRUE(thumb);
    EXPECT_EQ(thumb->Width(), 45);
    EXPECT_EQ(thumb->Height(), 64);
    EXPECT_EQ(thumb->Pixel(20, 30), 0x0000FFu);
    EXPECT_FALSE(ReadProjectThumbnail(home.Path("missing.RIP")));
}

// A project file whose "Preview" section holds `bmp` in Base64 lines under
// the given "Count" text (the real line count when empty).
std::string ThumbnailProject(const std::vector<std::uint8_t>& bmp, const std::string& count = {}) {
    const auto lines = Base64EncodeLines(bmp);
    std::string text = "[Size]\r\nPage Width(mm)=254\r\nPage Height(mm)=127\r\n[Preview]\r\n";
    text += "Count=" + (count.empty() ? std::to_string(lines.size()) : count) + "\r\n";
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += std::to_string(i) + "=" + lines[i] + "\r\n";
    return text;
}

std::vector<std::uint8_t> SmallBmp(int w, int h) {
    auto image = Bitmap24::Create(w, h);
    image->Fill(0x00FF00);
    return *EncodeBmp(*image);
}

// A BMP whose header claims a large RLE picture that a few bytes would fill.
std::vector<std::uint8_t> ClaimsHugeRle() {
    std::vector<std::uint8_t> b(14 + 40 + 8 + 2, 0);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<std::uint32_t>(b.size()));
    put32(10, 14 + 40 + 8);
    put32(14, 40);
    put32(18, 4000);      // width
    put32(22, 4000);      // height
    b[26] = 1;            // planes
    b[28] = 8;            // bits per pixel
    put32(30, 1);         // RLE8
    put32(46, 2);         // two colours
    b[b.size() - 1] = 1;  // end of bitmap
    return b;
}

TEST_F(ProjectFile, DamagedThumbnailsReadAsNone) {
    auto truncated = SmallBmp(45, 64);
    truncated.resize(truncated.size() / 2);
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"no preview section", "[Size]\r\nPage Width(mm)=210\r\n"},
        {"count zero", ThumbnailProject(SmallBmp(4, 4), "0")},
        {"count not a number", ThumbnailProject(SmallBmp(4, 4), "many")},
        {"negative count", ThumbnailProject(SmallBmp(4, 4), "-5")},
        {"not Base64", "[Preview]\r\nCount=2\r\n0=Qk0@@@@\r\n1=AAAA\r\n"},
        {"Base64 of no picture", "[Preview]\r\nCount=1\r\n0=SGVsbG8gd29ybGQh\r\n"},
        {"picture cut short", ThumbnailProject(truncated)},
        {"count short of the lines", ThumbnailProject(SmallBmp(45, 64), "2")},
        {"huge claimed size", ThumbnailProject(ClaimsHugeRle())},
    };
    const std::string path = home.Path("damaged.RIP");
    for (const auto& c : cases) {
        test::WriteFileBytes(path, c.text);
        EXPECT_FALSE(ReadProjectThumbnail(path)) << c.what;
    }
}

TEST_F(ProjectFile, ThumbnailCountBeyondItsLinesStillReads) {
    // Missing lines add nothing: an absurd count neither hangs nor fails.
    const std::string path = home.Path("count.RIP");
    test::WriteFileBytes(path, ThumbnailProject(SmallBmp(45, 64), "2147483647"));
    auto thumb = ReadProjectThumbnail(path);
    ASSERT_TRUE(thumb);
    EXPECT_EQ(thumb->Width(), 45);
    EXPECT_EQ(thumb->Pixel(10, 10), 0x00FF00u);
}

TEST_F(ProjectFile, PreviewOfAHighlightedFile) {
    const std::string withThumb = home.Path("thumb.RIP");
    test::WriteFileBytes(withThumb, ThumbnailProject(SmallBmp(64, 32)));
    auto p = ReadProjectPreview(withThumb);
    ASSERT_TRUE(p);
    ASSERT_TRUE(p->thumbnail);
    EXPECT_EQ(p->thumbnail->Width(), 64);
    EXPECT_FLOAT_EQ(p->pageWidth, 254.0f);
    EXPECT_FLOAT_EQ(p->pageHeight, 127.0f);

    const std::string plain = home.Path("plain.RIP");
    test::WriteFileBytes(plain, "[Job]\r\nJobText=x\r\n");
    p = ReadProjectPreview(plain);
    ASSERT_TRUE(p);
    EXPECT_FALSE(p->thumbnail);
    EXPECT_EQ(p->pageWidth, 0.0f);

    // Not a job, not a file, not there: nothing to show.
    const std::string letter = home.Path("letter.txt");
    test::WriteFileBytes(letter, "Dear operator,\nthe roll is empty.\n");
    for (const std::string& path : {letter, home.Path(""), home.Path("missing.RIP")})
        EXPECT_FALSE(ReadProjectPreview(path)) << path;
}

TEST_F(ProjectFile, FailedSaveKeepsTheOldFileAndTheChanges) {
    const std::string path = home.Path("keep.RIP");
    test::WriteFileBytes(path, "[Job]\r\nJobText=precious\r\n");
    app.CurrentJob->Modified = true;
    app.CurrentJob->JobText = std::string(64 * 1024, 'x');
    {
        test::FileSizeLimit limit(4096);
        EXPECT_FALSE(SaveProject(app, path));
    }
    EXPECT_EQ(test::ReadFileBytes(path), "[Job]\r\nJobText=precious\r\n");
    EXPECT_TRUE(app.CurrentJob->Modified);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Error);
}

TEST_F(ProjectFile, NothingToSaveWithoutJobOrPath) {
    EXPECT_FALSE(SaveProject(app, ""));
    app.CurrentJob.reset();
    EXPECT_FALSE(SaveProject(app, home.Path("x.RIP")));
    EXPECT_FALSE(FileExists(home.Path("x.RIP")));
}

}  // namespace
}  // namespace corvan
