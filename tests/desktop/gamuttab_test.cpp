// The gamut mapping tab with the real TIFF driver: the method chosen in the
// list goes into the job and the driver draws the job preview through its
// profile with it; the driver's own dialog takes the choice over.
#include "window_fixture.h"

#include "display/ui/jobview.h"
#include "platform/folders.h"
#include "shell/loading.h"
#include "shell/ui/gamuttab.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPixmap>

#include <gtest/gtest.h>

namespace corvan::test {
namespace {

class GamutMapping : public WindowTest {
protected:
    void OpenDemoOnTiffDriver() {
        MakeWindow();
        window->show();
        Find<QAction>("UpdateDrivers1")->trigger();
        auto* drivers = Find<QComboBox>("comboPrinters");
        const int tiff = drivers->findText("TIFF Raster Printer");
        ASSERT_GE(tiff, 0);
        Q_EMIT drivers->activated(tiff);
        LoadAnything(Core(), ProgramFolder() + "samples/demo.RIP");
        ASSERT_NE(Core().CurrentJob, nullptr);
        window->EnableByState();
        QApplication::processEvents();
        window->View()->SettlePreview();
        Core().CurrentJob->Modified = false;
    }
    QImage Shown() {
        const QPixmap pm = Find<QLabel>("imageGMA")->pixmap();
        return pm.toImage();
    }
};

TEST_F(GamutMapping, MethodFromTheListIsDrawnByTheDriver) {
    OpenDemoOnTiffDriver();
    auto* methods = Find<QComboBox>("comboGMA");
    EXPECT_EQ(methods->currentIndex(), Core().CurrentJob->GmaMethod);
    ASSERT_TRUE(methods->isEnabled());
    if (!Core().PreviewImage) GTEST_SKIP() << "no job preview was built";
    methods->setCurrentIndex(2);
    Q_EMIT methods->activated(2);
    EXPECT_EQ(Core().CurrentJob->GmaMethod, 2);
    EXPECT_TRUE(Core().CurrentJob->Modified);
    ASSERT_TRUE(ui.messages.empty()) << ui.Texts().front();
    const QImage saturation = Shown();
    // The demo page is 300 x 200 mm: 330 x 220 pixels.
    EXPECT_EQ(saturation.size(), QSize(330, 220));
    int white = 0;
    for (int y = 0; y < saturation.height(); y += 5)
        for (int x = 0; x < saturation.width(); x += 5)
            white += saturation.pixel(x, y) == qRgb(255, 255, 255);
    EXPECT_LT(white, (saturation.width() / 5) * (saturation.height() / 5) / 2)
        << "the job is drawn";

    // A device change takes the picture away.
    Find<QAction>("UpdateDrivers1")->trigger();
    EXPECT_TRUE(Find<QLabel>("imageGMA")->pixmap().isNull());
}

TEST_F(GamutMapping, WithoutAJobNothingIsChosen) {
    MakeWindow();
    EXPECT_EQ(Find<QComboBox>("comboGMA")->currentIndex(), -1);
    EXPECT_FALSE(Find<QComboBox>("comboGMA")->isEnabled());
    EXPECT_FALSE(Find<QAction>("SelectGMA1")->isEnabled());
}

}  // namespace
}  // namespace corvan::test
