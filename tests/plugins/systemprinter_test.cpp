// The system printer: the device record from a CUPS printer through Qt
// Print Support, its fallback, and the TIFF driver printing to a CUPS
// queue. The CUPS tests need a running cupsd with a queue named "PDF"
// (test.sh sets one up) and skip without it.
#include "driver_fixture.h"
#include "printrun.h"

#include "platform/folders.h"
#include "plugins/currentplugin.h"
#include "plugins/plottersize.h"
#include "plugins/printsupport/qtsystemprinter.h"
#include "plugins/systemprinter.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <chrono>
#include <thread>

namespace corvan {
namespace {

using test::DriverHome;

class FakePrinters : public SystemPrinterPort {
public:
    std::vector<std::string> names;
    std::optional<SystemPrinterCaps> caps;
    std::vector<std::string> PrinterNames() override { return names; }
    int DefaultPrinterIndex() override { return names.empty() ? -1 : 0; }
    std::optional<SystemPrinterCaps> Capabilities(const std::string&) override { return caps; }
};

class SystemPrinter : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::EnsureWidgetApplication(); }
    void TearDown() override {
        SetSystemPrinterPort(nullptr);
    }
    static int PdfIndex(const std::vector<std::string>& names) {
        const auto it = std::find(names.begin(), names.end(), "PDF");
        return it == names.end() ? -1 : static_cast<int>(it - names.begin());
    }
    DriverHome home;
    TemfPlotter plotter;
};

TEST_F(SystemPrinter, ValuesFromThePrinterOrThePrinterErrorFallback) {
    FakePrinters fake;
    SetSystemPrinterPort(&fake);
    struct Case {
        std::vector<std::string> names;
        std::optional<SystemPrinterCaps> caps;
        int selected;
        const char* name;
    } cases[] = {
        {{"A", "B"}, SystemPrinterCaps{600, 300, 4800, 3000}, 1, "B"},
        {{"A", "B"}, SystemPrinterCaps{600, 300, 4800, 3000}, 7, "A"},  // out of range: the default
        {{"A"}, std::nullopt, 0, "Printer Error"},
        {{}, SystemPrinterCaps{600, 600, 100, 100}, -1, "Printer Error"},
        {{"A"}, SystemPrinterCaps{0, 600, 100, 100}, 0, "Printer Error"},
    };
    for (const auto& c : cases) {
        fake.names = c.names;
        fake.caps = c.caps;
        plotter = TemfPlotter{};
        plotter.SystemPrinterChoice = c.selected;
        plotter.OutputFile = "stale";
        Set_Plotter_Size(plotter);
        EXPECT_EQ(plotter.PrinterName, c.name);
        EXPECT_FALSE(plotter.IsPlugin);
        EXPECT_EQ(plotter.OutputFile, "");
        if (std::string(c.name) == "Printer Error") {
            test::ExpectPrinterError(plotter);
        } else {
            EXPECT_EQ(plotter.PrinterDescription, "CUPS Printer.");
            EXPECT_EQ(plotter.DpiX, 600);
            EXPECT_EQ(plotter.DpiY, 300);
            EXPECT_FLOAT_EQ(plotter.PrintableWidth, 203.2f);
            EXPECT_FLOAT_EQ(plotter.PrintableLength, 254.0f);
            EXPECT_FLOAT_EQ(plotter.MediaWidth, 203.2f);
            EXPECT_FLOAT_EQ(plotter.MediaHeight, 254.0f);
            EXPECT_EQ(plotter.QueueIndex, c.name[0] - 'A');
        }
    }
    const auto critical = home.CriticalLines();
    EXPECT_TRUE(test::InOrder(
        critical, {"1\tSet_Plotter_Size", "2\t_Windows Printer", "3\tOK: B", "4\t_end"}));
    EXPECT_NE(std::find_if(critical.begin(), critical.end(),
                           [](const std::string& l) {
                               return l.find("\t-Error with Windows Printer") != std::string::npos;
                           }),
              critical.end());
}

TEST_F(SystemPrinter, CupsPdfQueueThroughQtPrintSupport) {
    InstallQtSystemPrinter();
    const auto names = CurrentSystemPrinterPort()->PrinterNames();
    const int pdf = PdfIndex(names);
    if (pdf < 0) GTEST_SKIP() << "no CUPS queue named PDF";
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    plotter.SystemPrinterChoice = pdf;
    LoadPlugin("", 0);
    Set_Plotter_Size(plotter);
    EXPECT_FALSE(plotter.IsPlugin);
    EXPECT_EQ(plotter.PrinterName, "PDF");
    EXPECT_EQ(plotter.PrinterDescription, "CUPS Printer.");
    EXPECT_EQ(plotter.QueueIndex, pdf);
    EXPECT_GT(plotter.DpiX, 0);
    EXPECT_GT(plotter.DpiY, 0);
    // A4 or Letter, less the margins the queue reports.
    EXPECT_GT(plotter.PrintableWidth, 150.0f);
    EXPECT_LE(plotter.PrintableWidth, 216.0f);
    EXPECT_GT(plotter.PrintableLength, 200.0f);
    EXPECT_LE(plotter.PrintableLength, 298.0f);
    EXPECT_EQ(plotter.MediaWidth, plotter.PrintableWidth);
    EXPECT_TRUE(test::InOrder(home.CriticalLines(), {"2\t_Windows Printer", "3\tOK: PDF"}));
}

TEST_F(SystemPrinter, TiffDriverPrintsToTheCupsQueueWhenNoFileIsSet) {
    InstallQtSystemPrinter();
    const int pdf = PdfIndex(CurrentSystemPrinterPort()->PrinterNames());
    if (pdf < 0) GTEST_SKIP() << "no CUPS queue named PDF";
    const auto before = test::SpooledPdfs();
    TPluginObject tiff(home.Path("Data/tiffraster.drv"), 0);
    test::SetDriverSettings(tiff, "DpiX=72\nDpiY=72\nQueue=" + std::to_string(pdf) + "\n");
    EXPECT_EQ(tiff.Get_Plugin_Datatype(14), "");
    auto src = Bitmap24::Create(72, 36);
    src->Fill(MakeColour(200, 40, 40));
    auto run = test::PrintRun::Of(*src, 144, 72);  // 2 x 1 inch
    run.title = "corvan-tiff-" + std::to_string(QCoreApplication::applicationPid());
    test::Print(tiff, run);
    EXPECT_TRUE(run.problems.empty());
    QByteArray pdfInfo;
    const QString made = test::WaitForSpooledPdf(run.title, before, &pdfInfo);
    ASSERT_FALSE(made.isEmpty()) << "no PDF came out of the queue";
    EXPECT_NE(pdfInfo.indexOf("Pages:           1"), -1) << pdfInfo.toStdString();
    QFile::remove(made);
}

}  // namespace
}  // namespace corvan
