// Printing on the system printer: block geometry and the trace through a
// recording canvas, and a real page through the CUPS PDF queue.
#include "driver_fixture.h"

#include "plugins/printsupport/qtprintercanvas.h"
#include "plugins/printsupport/qtsystemprinter.h"
#include "raster/printstrips.h"
#include "shell/appcore.h"

#include "support/test_frontend.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QFile>
#include <QImage>

namespace corvan {
namespace {

class RecordingCanvas : public PrinterCanvas {
public:
    int dpi = 0;
    std::vector<IntRect> targets;
    std::vector<std::pair<int, int>> imageSizes;
    bool begun = false, ended = false;
    int DpiX() const override { return dpi; }
    int DpiY() const override { return dpi; }
    bool BeginDocument(const std::string&, double, double) override { return begun = true; }
    void StretchToCanvas(const IntRect& r, const Bitmap24& image) override {
        targets.push_back(r);
        imageSizes.emplace_back(image.Width(), image.Height());
    }
    void EndDocument() override { ended = true; }
};

std::unique_ptr<Bitmap24> WhiteStrip(const IntRect& r, float) {
    auto b = Bitmap24::Create(r.right - r.left + 1, r.bottom - r.top + 1);
    b->Fill(0xFFFFFF);
    return b;
}

class PrintStripsTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.CurrentJob = std::make_unique<TemfFile>();
        app.CurrentJob->RenderDPI = 254;  // 10 pixels per mm
    }
    void Size(float w, float h) {
        app.CurrentJob->Reset(w, h);
        app.CurrentJob->RenderDPI = 254;
        app.CurrentJob->ComputeLayout();
    }
    test::DriverHome home;
    test::TestApp appSession;
    AppCore& app = appSession.app;
};

TEST_F(PrintStripsTest, BlocksOfAboutHalfAMillionPixels) {
    Size(100, 100);  // 1000 x 1000 render pixels: blocks of 480 rows
    RecordingCanvas canvas;
    canvas.dpi = 254;
    ASSERT_TRUE(PrintStrips(*app.CurrentJob, app.Ui(), canvas, WhiteStrip));
    EXPECT_EQ(canvas.targets,
              (std::vector<IntRect>{{0, 0, 1000, 480}, {0, 480, 1000, 960}, {0, 960, 1000, 1440}}));
    EXPECT_EQ(canvas.imageSizes[0], (std::pair<int, int>{1001, 481}));
    EXPECT_TRUE(canvas.ended);
    const auto log = home.CriticalLines();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0], "Print Strips: 100.000,100.000  1000,1000->1000,1000");
    EXPECT_TRUE(
        test::InOrder(log, {"1\tStrip 0  BlockH: 480", "2\t -Render Strip 0,0->1000,480",
                            "3\t -Stretch Strip 0,0->1000,480", "10\tEnd of loop", "11\tFinally"}));

    // A higher printer resolution scales the rows: 508 dpi doubles them.
    canvas = RecordingCanvas{};
    canvas.dpi = 508;
    Size(100, 10);  // one block only
    ASSERT_TRUE(PrintStrips(*app.CurrentJob, app.Ui(), canvas, WhiteStrip));
    EXPECT_EQ(canvas.targets, (std::vector<IntRect>{{0, 0, 2000, 960}}));
    EXPECT_EQ(home.ui.progress.front(), (std::pair<int, int>{0, 0}));
}

// A strip that cannot be rendered ends the print with a message instead of
// leaving a blank band in a print that is reported as done.
TEST_F(PrintStripsTest, AFailedStripEndsThePrintAndSaysSo) {
    Size(200, 200);  // 2000 x 2000 pixels: 240 rows a block, 9 blocks
    RecordingCanvas canvas;
    canvas.dpi = 254;
    int calls = 0;
    EXPECT_FALSE(PrintStrips(*app.CurrentJob, app.Ui(), canvas, [&](const IntRect& r, float s) {
        return ++calls == 3 ? nullptr : WhiteStrip(r, s);
    }));
    EXPECT_EQ(canvas.targets.size(), 2u);
    EXPECT_TRUE(canvas.ended);  // the spooler gets what was done
    ASSERT_FALSE(home.ui.messages.empty());
    EXPECT_EQ(home.ui.messages.back().kind, MessageKind::Error);
    EXPECT_EQ(home.ui.messages.back().text,
              "Part of the job could not be rendered; the print is incomplete.");
}

TEST_F(PrintStripsTest, UnprintableSizesAreRefusedWithAMessage) {
    const struct {
        float w, h;
        int dpi;
    } cases[] = {{48001, 10, 254}, {100, 100, 0}, {0, 100, 254}};
    for (const auto& c : cases) {
        Size(c.w, c.h);
        RecordingCanvas canvas;
        canvas.dpi = c.dpi;
        home.ui.messages.clear();
        EXPECT_FALSE(PrintStrips(*app.CurrentJob, app.Ui(), canvas, WhiteStrip)) << c.w;
        EXPECT_FALSE(canvas.begun);
        ASSERT_EQ(home.ui.messages.size(), 1u);
        EXPECT_EQ(home.ui.messages[0].kind, MessageKind::Error);
    }
}

TEST_F(PrintStripsTest, RealPageThroughTheCupsPdfQueue) {
    test::EnsureWidgetApplication();
    QtSystemPrinter printers;
    const auto names = printers.PrinterNames();
    if (std::find(names.begin(), names.end(), "PDF") == names.end())
        GTEST_SKIP() << "no CUPS queue named PDF";
    Size(120, 80);
    app.CurrentJob->FileName =
        "/jobs/corvan-strips-" + std::to_string(QCoreApplication::applicationPid()) + ".RIP";
    QtPrinterCanvas canvas("PDF");
    ASSERT_TRUE(canvas.Usable());
    const auto before = test::SpooledPdfs();
    ASSERT_TRUE(PrintStrips(*app.CurrentJob, app.Ui(), canvas, [](const IntRect& r, float s) {
        auto b = WhiteStrip(r, s);
        for (int y = 0; y < b->Height(); ++y)
            for (int x = 0; x < b->Width() / 2; ++x) b->SetPixel(x, y, 0x0000FF);
        return b;
    }));
    QByteArray info;
    const QString pdf = test::WaitForSpooledPdf(
        "corvan-strips-" + std::to_string(QCoreApplication::applicationPid()), before, &info);
    ASSERT_FALSE(pdf.isEmpty()) << "no PDF came out of the queue";
    // 120 x 80 mm is 340.2 x 226.8 points; custom sizes come out in whole points.
    const QString text = QString::fromUtf8(info).simplified();
    EXPECT_TRUE(text.contains("Pages: 1")) << info.toStdString();
    EXPECT_TRUE(text.contains("Page size: 340 x 226 pts") ||
                text.contains("Page size: 340 x 227 pts"))
        << info.toStdString();
    // The left half red, the right half white, as the strips were drawn.
    const QString png = QString::fromStdString(home.Path("page"));
    test::RunTool("pdftoppm", {"-r", "72", "-png", "-singlefile", pdf, png});
    const QImage page(png + ".png");
    ASSERT_FALSE(page.isNull());
    // Ghostscript's colour conversion moves colours a little.
    auto near = [](QColor a, QColor b) {
        return std::abs(a.red() - b.red()) < 40 && std::abs(a.green() - b.green()) < 40 &&
               std::abs(a.blue() - b.blue()) < 40;
    };
    EXPECT_TRUE(near(page.pixelColor(page.width() / 4, page.height() / 2), QColor(255, 0, 0)));
    EXPECT_TRUE(
        near(page.pixelColor(3 * page.width() / 4, page.height() / 2), QColor(255, 255, 255)));
    QFile::remove(pdf);
}

}  // namespace
}  // namespace corvan
