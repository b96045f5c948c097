// The dialogs that work on the rendered job, opened from the main window:
// scaling the page, the flattened picture and the high-resolution preview.
#include "window_fixture.h"

#include "placement/ui/mmnumedit.h"
#include "placement/ui/scaledialog.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
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

}  // namespace
}  // namespace corvan::test
