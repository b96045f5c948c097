// What the operator sees in the main window: title, media sizes, the marks
// the output adds, units that survive a restart, refused sizes.
#include "window_fixture.h"

#include "display/jobviews.h"
#include "display/ui/jobview.h"
#include "job/units.h"
#include "placement/ui/mmnumedit.h"
#include "platform/preferences.h"
#include "shell/startup.h"
#include "shell/windowstate.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QSplitter>

namespace corvan::test {
namespace {

class Window : public WindowTest {
protected:
    void OpenJob() {
        path = OpenOnRoll("shown.RIP", 200);
        ASSERT_TRUE(Core().CurrentJob);
    }
    void Enter(const char* edit, const char* text) { EnterLength(edit, text); }
    // Pixels of the view in exactly this colour.
    int Count(const QImage& img, QRgb colour) {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += (img.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
        return n;
    }
    QImage ViewPicture() {
        window->View()->resize(600, 600);
        return window->View()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    std::string path;
};

TEST_F(Window, TitleShowsTheJobAndItsUnsavedChanges) {
    MakeWindow();
    EXPECT_EQ(window->windowTitle(), "CorvanRIP SE");
    path = Project("named.RIP", 200);
    window->FirstShow(path);
    QApplication::processEvents();
    EXPECT_EQ(window->windowTitle(), "named.RIP[*]");
    EXPECT_FALSE(window->isWindowModified());
    Enter("mmxos", "12mm");
    QApplication::processEvents();
    EXPECT_TRUE(window->isWindowModified());
}

TEST_F(Window, ARollIsDrawnAsLongAsTheJobNow) {
    OpenJob();
    Find<QWidget>("spincopies")->setProperty("value", 8);
    const float longer = Core().CurrentJob->MediaUsedHeight;
    Find<QWidget>("spincopies")->setProperty("value", 1);
    // A device refresh may bring back the length last sent to the driver.
    Core().CurrentPlotter.MediaHeight = longer;
    const QSizeF shown = SceneSize(*Core().CurrentJob, Core().CurrentPlotter, ViewFlags::Layout);
    EXPECT_NEAR(shown.height(), Core().CurrentJob->MediaUsedHeight, 0.01);
    EXPECT_LT(shown.height(), longer);
}

TEST_F(Window, TheViewDrawsBorderMarksAndJobTextAsTheOutputDoes) {
    OpenJob();
    Core().CurrentJob->CropOffset = 10;
    const QImage plain = ViewPicture();
    const QRgb black = qRgb(0, 0, 0);
    const int before = Count(plain, black);
    Find<QCheckBox>("cBorder")->click();
    EXPECT_GT(Count(ViewPicture(), black), before + 40);
    Find<QCheckBox>("cBorder")->click();

    Find<QCheckBox>("cCropMarks")->click();
    const QImage marks = ViewPicture();
    EXPECT_GT(Count(marks, black), before + 16);
    Core().CurrentJob->JobText = "WWWWWWWW job text";
    Find<QCheckBox>("cJobText")->click();
    EXPECT_NE(ViewPicture(), marks);
}

TEST_F(Window, ARollShowsItsWidthOnTheOutputTab) {
    OpenJob();
    window->ShowDevice();
    const QString text = Find<QLabel>("label_pinfo1")->text();
    EXPECT_TRUE(text.endsWith(" roll")) << text.toStdString();
    EXPECT_FALSE(text.contains("x 0.0")) << text.toStdString();
}

TEST_F(Window, TheViewKeepsTheRoomItWasGiven) {
    MakeWindow();
    window->show();
    auto* split = Find<QSplitter>("Splitter1");
    split->setSizes({700, 580});
    const int view = split->sizes().value(0);
    window.reset();
    QtUserInterface otherUi;
    TForm1 restored(ui, otherUi);
    restored.resize(1280, 800);
    restored.show();
    EXPECT_NEAR(restored.findChild<QSplitter*>("Splitter1")->sizes().value(0), view, 8);
}

TEST_F(Window, MetricUnitsAreKeptForTheNextStart) {
    MakeWindow();
    Find<QAction>("MetricUnits1")->trigger();
    EXPECT_TRUE(Core().UseMetric);
    EXPECT_TRUE(ReadPrefBool("use_metric", false));
    window.reset();
    QtUserInterface otherUi;
    TForm1 restored(ui, otherUi);
    EXPECT_TRUE(restored.Core().UseMetric);
    EXPECT_TRUE(restored.findChild<QAction*>("MetricUnits1")->isChecked());
    restored.findChild<QAction*>("MetricUnits1")->trigger();
    EXPECT_FALSE(ReadPrefBool("use_metric", true));
}

TEST_F(Window, MediaOfNoSizeIsRefused) {
    OpenJob();
    for (const char* entry : {"0mm", "-100mm"}) {
        SCOPED_TRACE(entry);
        ui.messages.clear();
        Enter("mmMediaWidth", entry);
        EXPECT_FLOAT_EQ(Core().CurrentPlotter.MediaWidth, 1000);
        EXPECT_EQ(ui.messages.size(), 1u);
        EXPECT_FLOAT_EQ(Find<TmmNumEdit>("mmMediaWidth")->value(), 1000);
    }
}

TEST_F(Window, StretchToFitNeverMakesAnEmptyPage) {
    OpenJob();
    // Narrower than two crop marks: no room for any page.
    Enter("mmMediaWidth", "30mm");
    ASSERT_FLOAT_EQ(Core().CurrentPlotter.MediaWidth, 30);
    ui.messages.clear();
    Find<QAction>("StretchtoFit1")->trigger();
    EXPECT_FLOAT_EQ(Core().CurrentJob->PageWidth, 200);
    EXPECT_GT(Core().CurrentJob->PageHeight, 0);
    EXPECT_EQ(ui.messages.size(), 1u);
    // With room it stretches as before.
    Enter("mmMediaWidth", "440mm");
    Find<QAction>("StretchtoFit1")->trigger();
    EXPECT_FLOAT_EQ(Core().CurrentJob->PageWidth, 400);
}

TEST(WindowSize, TheDefaultFitsA1280By800ScreenWithItsTitleBar) {
    const WindowPlacement p;
    EXPECT_LE(p.width, 1280);
    EXPECT_LE(p.height + 40, 800);
}

}  // namespace
}  // namespace corvan::test
