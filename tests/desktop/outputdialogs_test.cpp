// The dialogs that work on the rendered job, opened from the main window:
// scaling the page, the flattened picture and the high-resolution preview.
#include "window_fixture.h"

#include "display/ui/saveflatten.h"
#include "imagelib/imageload.h"
#include "placement/ui/mmnumedit.h"
#include "placement/ui/scaledialog.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace corvan::test {
namespace {

class OutputDialogs : public WindowTest {
protected:
    template <typename T>
    static T* In(QWidget* dlg, const char* name) {
        T* w = dlg->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
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

}  // namespace
}  // namespace corvan::test
