// The dialogs that work on the rendered job, opened from the main window:
// scaling the page, the flattened picture and the high-resolution preview.
#include "window_fixture.h"

#include "display/ui/printzoom.h"
#include "display/ui/saveflatten.h"
#include "imagelib/imageload.h"
#include "placement/ui/mmnumedit.h"
#include "placement/ui/scaledialog.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace corvan::test {
namespace {

class OutputDialogs : public WindowTest {
protected:
    static void Percent(QWidget* dlg, const char* edit, double value) {
        auto* e = In<QDoubleSpinBox>(dlg, edit);
        e->setValue(value);
        Q_EMIT e->editingFinished();
    }
};

TEST_F(OutputDialogs, ScaleByPercentKeepsProportionAndResetsTheCrop) {
    OpenOnRoll("scale.RIP", 200);
    TemfFile& job = *Core().CurrentJob;
    Core().UseMetric = true;
    job.PageHeight = 100;
    job.CropRight = 150;
    Find<QCheckBox>("cProportional")->setChecked(true);
    int seen = 0;
    WhenModal<Tfscale>([&](Tfscale* dlg) {
        ++seen;
        EXPECT_EQ(In<TmmNumEdit>(dlg, "mmwidth")->value(), 200);
        Percent(dlg, "swidth", 50);
        EXPECT_FLOAT_EQ(In<TmmNumEdit>(dlg, "mmheight")->value(), 50);
        EXPECT_DOUBLE_EQ(In<QDoubleSpinBox>(dlg, "sheight")->value(), 50);
        dlg->accept();
    });
    Find<QPushButton>("SpeedButton116")->click();
    ASSERT_EQ(seen, 1);
    EXPECT_FLOAT_EQ(job.PageWidth, 100);
    EXPECT_FLOAT_EQ(job.PageHeight, 50);
    EXPECT_FLOAT_EQ(job.CropRight, 100);
    EXPECT_TRUE(job.Modified);

    // Without proportion one side changes; 0 % counts as 100 %; Cancel keeps the page.
    Find<QCheckBox>("cProportional")->setChecked(false);
    WhenModal<Tfscale>([&](Tfscale* dlg) {
        ++seen;
        Percent(dlg, "sheight", 0);
        EXPECT_DOUBLE_EQ(In<QDoubleSpinBox>(dlg, "sheight")->value(), 100);
        auto* w = In<TmmNumEdit>(dlg, "mmwidth");
        w->setText(QStringLiteral("300"));
        Q_EMIT w->editingFinished();
        EXPECT_FLOAT_EQ(In<TmmNumEdit>(dlg, "mmheight")->value(), 50);
        EXPECT_DOUBLE_EQ(In<QDoubleSpinBox>(dlg, "swidth")->value(), 300);
        dlg->reject();
    });
    Find<QPushButton>("SpeedButton116")->click();
    ASSERT_EQ(seen, 2);
    EXPECT_FLOAT_EQ(job.PageWidth, 100);
}

TEST_F(OutputDialogs, FlattenedPictureFromThePresetSizeSavedInGrey) {
    OpenOnRoll("flat.RIP", 1000);
    TemfFile& job = *Core().CurrentJob;
    job.PageHeight = 500;
    job.CheckCrop(false);
    int seen = 0;
    std::string saved;
    WhenModal<Tfsaveflatten>([&](Tfsaveflatten* dlg) {
        ++seen;
        EXPECT_EQ(In<QComboBox>(dlg, "comboSize")->currentText(), "800x600");
        EXPECT_FALSE(In<QPushButton>(dlg, "Button1")->isEnabled());
        auto* sizes = In<QComboBox>(dlg, "comboSize");
        sizes->setCurrentIndex(1);
        Q_EMIT sizes->activated(1);
        EXPECT_NEAR(In<QDoubleSpinBox>(dlg, "rxdpi")->value(), 16.256, 1e-3);
        EXPECT_EQ(In<QSpinBox>(dlg, "rxwidth")->value(), 640);
        EXPECT_EQ(In<QSpinBox>(dlg, "rxheight")->value(), 320);
        EXPECT_EQ(In<QLabel>(dlg, "labelDPI")->text(), "614,400 Bytes (0.59 MB)");

        // A very large picture asks first; No makes nothing.
        In<QSpinBox>(dlg, "rxwidth")->setValue(5000);
        ui.Answer(ButtonNo);
        EXPECT_FALSE(dlg->Create());
        EXPECT_EQ(dlg->Image(), nullptr);
        EXPECT_NE(ui.Texts().back().find("5000 x 2500 pixels"), std::string::npos);

        In<QSpinBox>(dlg, "rxwidth")->setValue(640);
        In<QCheckBox>(dlg, "CheckBox2")->setChecked(false);  // BMP
        In<QCheckBox>(dlg, "CheckBox3")->setChecked(true);   // web-safe names
        In<QRadioButton>(dlg, "RadioButton2")->setChecked(true);
        In<QPushButton>(dlg, "Button4")->click();
        ASSERT_NE(dlg->Image(), nullptr);
        EXPECT_EQ(dlg->Image()->Width(), 640);
        EXPECT_TRUE(In<QPushButton>(dlg, "dcopy")->isEnabled());
        ui.AnswerFile(home.Path("my sign (1)"));
        In<QPushButton>(dlg, "Button1")->click();
        saved = home.Path("my_sign__1_.bmp");
    });
    window->findChild<QAction*>(QStringLiteral("SaveasBitmap1"))->trigger();
    ASSERT_EQ(seen, 1);
    ASSERT_TRUE(QFileInfo::exists(QString::fromStdString(saved))) << saved;
    const auto read = LoadImage24(saved).image;
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Width(), 640);
    EXPECT_EQ(read->Height(), 320);
    EXPECT_FALSE(job.Modified);  // the job is only read
}

// The zoom window shows the output exactly as the RIP renders it: the same
// pixels as the command line renders for that rectangle.
TEST_F(OutputDialogs, ZoomViewEqualsTheRenderedOutputOfItsRectangle) {
    const QDir samples(QStringLiteral(CORVAN_SAMPLES_DIR));
    if (!samples.exists(QStringLiteral("demo.RIP"))) GTEST_SKIP() << "demo samples not found";
    for (const QString& f : samples.entryList(QDir::Files))
        ASSERT_TRUE(
            QFile::copy(samples.filePath(f), QString::fromStdString(home.Path(f.toStdString()))));
    const std::string project = home.Path("demo.RIP");
    MakeWindow();
    Core().CurrentPlotter.MediaWidth = Core().CurrentPlotter.PrintableWidth =
        1625;  // as the CLI lays out
    Core().CurrentPlotter.PrintableLength = 0;
    window->FirstShow(project);
    QApplication::processEvents();
    ASSERT_TRUE(Core().CurrentJob);
    const int renderDpi = Core().CurrentJob->RenderDPI;
    QImage zoom;
    IntRect rect;
    int seen = 0;
    WhenModal<Tfprintzoom>([&](Tfprintzoom* dlg) {
        ++seen;
        EXPECT_EQ(In<QComboBox>(dlg, "comboDPI")->itemText(0),
                  QStringLiteral("%1 DPI*").arg(renderDpi));
        In<QCheckBox>(dlg, "CheckBox3")->click();  // 400 x Zoom off: 1:1 at the chosen DPI
        auto* dpi = In<QComboBox>(dlg, "comboDPI");
        dpi->setCurrentIndex(4);
        Q_EMIT dpi->activated(4);
        EXPECT_EQ(dlg->PreviewDpi(), 100);
        dlg->Settle();
        ASSERT_FALSE(dlg->OverviewImage().isNull());
        EXPECT_TRUE(dlg->ZoomImage().isNull()) << "no picture before a click";
        dlg->ZoomAt(QPoint(dlg->OverviewImage().width() / 8, dlg->OverviewImage().height() / 3));
        dlg->Settle();
        zoom = dlg->ZoomImage();
        rect = dlg->ZoomRect();
        dlg->reject();
    });
    window->findChild<QAction*>(QStringLiteral("Preview2"))->trigger();
    ASSERT_EQ(seen, 1);
    EXPECT_EQ(Core().CurrentJob->RenderDPI, renderDpi) << "Cancel keeps the job's resolution";
    ASSERT_FALSE(zoom.isNull());
    ASSERT_EQ(zoom.width(), rect.right - rect.left + 1);

    const QString out = QString::fromStdString(home.Path("rect.png"));
    QProcess cli;
    cli.start(QStringLiteral(CORVAN_BIN_DIR "/corvanrip-cli"),
              {QStringLiteral("render-job"), QString::fromStdString(project), QStringLiteral("-o"),
               out, QStringLiteral("--dpi"), QStringLiteral("100"), QStringLiteral("--rect"),
               QStringLiteral("%1,%2,%3,%4")
                   .arg(rect.left)
                   .arg(rect.top)
                   .arg(rect.right)
                   .arg(rect.bottom)});
    ASSERT_TRUE(cli.waitForFinished(60000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    const QImage want = QImage(out).convertToFormat(QImage::Format_BGR888);
    const QImage got = zoom.convertToFormat(QImage::Format_BGR888);
    ASSERT_EQ(want.size(), got.size());
    int differing = 0;
    for (int y = 0; y < got.height(); ++y)
        differing += std::memcmp(got.constScanLine(y), want.constScanLine(y),
                                 3 * std::size_t(got.width())) != 0;
    EXPECT_EQ(differing, 0) << "rows differ; window " << rect.left << "," << rect.top;
    int white = 0;
    for (int y = 0; y < got.height(); y += 4)
        for (int x = 0; x < got.width(); x += 4) white += got.pixel(x, y) == qRgb(255, 255, 255);
    EXPECT_LT(white, got.width() * got.height() / 16 / 2) << "the window shows the artwork";

    // Apply takes the resolution and the smoothing into the job.
    WhenModal<Tfprintzoom>([&](Tfprintzoom* dlg) {
        ++seen;
        auto* dpi = In<QComboBox>(dlg, "comboDPI");
        dpi->setCurrentIndex(7);  // 150 DPI
        Q_EMIT dpi->activated(7);
        In<QSpinBox>(dlg, "BMSpinEdit1")->setValue(50);
        dlg->accept();
    });
    Core().CurrentJob->Modified = false;
    window->findChild<QAction*>(QStringLiteral("Preview2"))->trigger();
    ASSERT_EQ(seen, 2);
    EXPECT_EQ(Core().CurrentJob->RenderDPI, 150);
    EXPECT_EQ(Core().CurrentJob->Interpolation, 20);
    EXPECT_TRUE(Core().CurrentJob->Modified);
    EXPECT_EQ(Find<QSlider>("rxRenderDPI")->value(), 150);
}

}  // namespace
}  // namespace corvan::test
