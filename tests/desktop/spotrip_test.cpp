// Spot colours from the editor to the printed file: two rules made on the
// spot tab (a brand red matched to a target colour, the yellow of the sun
// printed with an extra ink), saved, reopened and RIPped through the TIFF
// driver; the rules' areas come out in the target colour and on the ink's
// own channel.
#include "window_fixture.h"

#include "cutting/ui/getline.h"
#include "platform/folders.h"
#include "raster/stripcomposer.h"
#include "rip/ui/preflightdialog.h"
#include "shell/loading.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <lcms2.h>
#include <tiffio.h>
#include <cmath>

namespace corvan::test {
namespace {

constexpr Colour kCardRed = MakeColour(192, 32, 32), kSunYellow = MakeColour(255, 192, 0);
constexpr double kL = 35, kA = 50, kB = 10;  // a raspberry, far from the card red

class SpotRip : public WindowTest {
protected:
    void ChooseTiffDriver() {
        Find<QAction>("UpdateDrivers1")->trigger();
        auto* drivers = Find<QComboBox>("comboPrinters");
        const int tiff = drivers->findText("TIFF Raster Printer");
        ASSERT_GE(tiff, 0);
        Q_EMIT drivers->activated(tiff);
    }
    // Picks the colour line in the vector dialog, then fills the target.
    void MakeRule(Colour source, int tolerance, int spot, const char* name) {
        WhenModal<Tfgetline>([source](Tfgetline* dlg) {
            auto* list = In<QListWidget>(dlg, "ListBox1");
            const auto found = list->findItems(
                QString::fromStdString(Tcolorlist::ColourText(source)), Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1);
            Q_EMIT list->itemClicked(found.front());
            dlg->accept();
        });
        Find<QPushButton>("SpeedButton52")->click();
        Find<QSlider>("rxToll")->setValue(tolerance);
        auto* spots = Find<QComboBox>("combospotno");
        spots->setCurrentIndex(spot);
        Q_EMIT spots->activated(spot);
        if (spot == 0) {
            Find<QSpinBox>("PBNumEdit1")->setValue(int(kL));
            Find<QSpinBox>("PBNumEdit2")->setValue(int(kA));
            Find<QSpinBox>("PBNumEdit3")->setValue(int(kB));
        }
        Find<QLineEdit>("Edit1")->setText(QString::fromUtf8(name));
        Find<QPushButton>("daddspot")->click();
    }
    // A point of the page (mm) well inside an area of the colour, near the
    // area's middle (a shape may have a hole, as the card has its star).
    static QPointF InsideOf(const TemfFile& job, Colour colour) {
        auto page = RenderJobWindow(job, int(job.PageWidth), int(job.PageHeight),
                                    {0, 0, int(job.PageWidth), int(job.PageHeight)});
        const auto all = [&](int x, int y) {
            for (int dy = -3; dy <= 3; ++dy)
                for (int dx = -3; dx <= 3; ++dx)
                    if (page->Pixel(x + dx, y + dy) != colour) return false;
            return true;
        };
        double sx = 0, sy = 0, n = 0;
        for (int y = 0; y < page->Height(); ++y)
            for (int x = 0; x < page->Width(); ++x)
                if (page->Pixel(x, y) == colour) sx += x, sy += y, ++n;
        EXPECT_GT(n, 100) << "colour not on the page";
        QPointF best(-1, -1);
        double bestDistance = 1e9;
        for (int y = 3; y < page->Height() - 3; ++y)
            for (int x = 3; x < page->Width() - 3; ++x) {
                const double d = std::hypot(x - sx / n, y - sy / n);
                if (d < bestDistance && all(x, y))
                    bestDistance = d, best = QPointF(x + 0.5, y + 0.5);
            }
        return best;
    }
};

TEST_F(SpotRip, RulesMadeInTheEditorPrintAsTargetAndAsExtraInk) {
    MakeWindow();
    window->show();
    ChooseTiffDriver();
    LoadAnything(Core(), ProgramFolder() + "samples/demo.RIP");
    ASSERT_NE(Core().CurrentJob, nullptr);
    window->EnableByState();
    QApplication::processEvents();
    Find<QCheckBox>("cspot")->click();
    ASSERT_TRUE(Core().CurrentJob->SpotColors);
    MakeRule(kCardRed, 8, 0, "Brand red");
    MakeRule(kSunYellow, 8, 11, "11. White");
    ASSERT_EQ(Find<QListWidget>("spotlistbox")->count(), 2);
    const std::vector<std::string> rules = Core().CurrentJob->SpotColorList;

    const std::string project = home.Path("spots.RIP");
    ui.AnswerFile(project);
    Find<QAction>("SaveAs1")->trigger();
    ui.Answer(ButtonYes);  // Update Printer Settings?
    ASSERT_TRUE(OpenProject(Core(), project));
    ASSERT_NE(Core().CurrentJob, nullptr);
    EXPECT_EQ(Core().CurrentJob->SpotColorList, rules);
    EXPECT_TRUE(Core().CurrentJob->SpotColors);
    window->EnableByState();

    const std::string out = home.Path("spots.tif");
    Find<QCheckBox>("cRiptoFile")->setChecked(true);
    Find<QLineEdit>("FilenameEdit1")->setText(QString::fromStdString(out));
    AfterDriverDialogs<Tfpreflight>([](Tfpreflight* dlg) { dlg->accept(); });
    ui.Answer(ButtonYes);  // RIP Current Job?
    ui.Answer(ButtonNo);   // Spool this file to printer?
    QMetaObject::invokeMethod(Find<QWidget>("dripnow"), "click");

    TIFF* tif = TIFFOpen(out.c_str(), "r");
    ASSERT_TRUE(tif) << "no TIFF written; messages: " << ui.Texts().size();
    std::uint16_t samples = 0, photometric = 0;
    float dpi = 0;
    TIFFGetField(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetField(tif, TIFFTAG_XRESOLUTION, &dpi);
    ASSERT_EQ(photometric, PHOTOMETRIC_SEPARATED);
    ASSERT_EQ(samples, 5) << "CMYK and one extra ink";
    const TemfFile& job = *Core().CurrentJob;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Core().CurrentJob->GetCopyRect(1, x1, y1, x2, y2);
    const auto devicePoint = [&](QPointF pageMm) {
        return QPoint(int((job.XOffset + x1 + pageMm.x()) * dpi / 25.4),
                      int((job.YOffset + y1 + pageMm.y()) * dpi / 25.4));
    };
    const QPoint redAt = devicePoint(InsideOf(job, kCardRed));
    const QPoint sunAt = devicePoint(InsideOf(job, kSunYellow));
    // Compressed strips are read in order.
    std::vector<std::uint8_t> row(static_cast<std::size_t>(TIFFScanlineSize(tif)));
    std::vector<std::uint8_t> red, sun;
    for (int y = 0; y <= std::max(redAt.y(), sunAt.y()); ++y) {
        ASSERT_EQ(TIFFReadScanline(tif, row.data(), std::uint32_t(y)), 1) << "row " << y;
        if (y == redAt.y())
            red.assign(row.begin() + 5 * redAt.x(), row.begin() + 5 * redAt.x() + 5);
        if (y == sunAt.y())
            sun.assign(row.begin() + 5 * sunAt.x(), row.begin() + 5 * sunAt.x() + 5);
    }
    TIFFClose(tif);

    // The red card: the target through the printer's profile.
    EXPECT_EQ(red[4], 0);
    cmsHPROFILE cmyk =
        cmsOpenProfileFromFile((ProgramFolder() + "Profiles/CorvanCMYK.icc").c_str(), "r");
    ASSERT_TRUE(cmyk);
    cmsHPROFILE lab = cmsCreateLab4Profile(nullptr);
    cmsHTRANSFORM toLab =
        cmsCreateTransform(cmyk, TYPE_CMYK_8, lab, TYPE_Lab_DBL, INTENT_RELATIVE_COLORIMETRIC, 0);
    cmsCIELab printed{};
    cmsDoTransform(toLab, red.data(), &printed, 1);
    const cmsCIELab target{kL, kA, kB};
    EXPECT_LE(cmsCIE2000DeltaE(&target, &printed, 1, 1, 1), 3.0)
        << "printed L*a*b* " << printed.L << ", " << printed.a << ", " << printed.b;
    cmsDeleteTransform(toLab);
    cmsCloseProfile(lab);
    cmsCloseProfile(cmyk);
    // The sun: no process ink, full extra ink.
    EXPECT_EQ(sun, (std::vector<std::uint8_t>{0, 0, 0, 0, 255}));
}

}  // namespace
}  // namespace corvan::test
