#include "placement/ui/jobsizedialog.h"

#include "job/units.h"
#include "support/scripted_ui.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace corvan {
namespace {

class JobSizeDialogTest : public ::testing::Test {
protected:
    // Most cases read millimetres, so the session is metric unless told.
    void Open(float w, float h, bool pixels, bool metric = true) {
        dlg = std::make_unique<Tfsize>(JobSizeRequest{nullptr, pixels, w, h, metric});
    }
    template <typename T>
    T* Get(const char* name) {
        T* w = dlg->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString Text(const char* label) { return Get<QLabel>(label)->text(); }
    void Enter(const char* edit, double value) {
        auto* e = Get<QDoubleSpinBox>(edit);
        e->setValue(value);
        Q_EMIT e->editingFinished();
    }
    void ExpectSize(float w, float h) {
        auto size = dlg->Result();
        ASSERT_TRUE(size);
        EXPECT_NEAR(size->width, w, 1e-3);
        EXPECT_NEAR(size->height, h, 1e-3);
    }
    std::unique_ptr<Tfsize> dlg;
};

TEST_F(JobSizeDialogTest, ImageOfThreeThousandByTwoThousandPixels) {
    Open(3000, 2000, true);
    // Reset Size: 100 pixels per inch, stretched over the page.
    EXPECT_EQ(Get<QDoubleSpinBox>("cwidth")->value(), 762.0);
    EXPECT_EQ(Get<QDoubleSpinBox>("cheight")->value(), 508.0);
    EXPECT_EQ(Text("label_dpi"), "100  (3000 x 2000 pixels)");
    EXPECT_EQ(Get<QComboBox>("combosize")->currentText(), "Custom Size");

    dlg->SelectPreset(6);  // ISO A4
    EXPECT_TRUE(Get<QRadioButton>("RadioButton1")->isChecked());
    EXPECT_EQ(Text("label_resultwidth"), "210.000 mm");
    EXPECT_EQ(Text("label_resultheight"), "140.000 mm");
    EXPECT_EQ(Text("label_dpi"), "363  (3000 x 2000 pixels)");
    ExpectSize(210, 140);
}

TEST_F(JobSizeDialogTest, StretchWithTwoResolutions) {
    Open(3000, 1000, true);
    Get<QCheckBox>("checkprop")->setChecked(false);
    Enter("cwidth", 300);
    Enter("cheight", 200);
    EXPECT_EQ(Text("label_dpi"), "254 x 127  (3000 x 1000 pixels)");
}

TEST_F(JobSizeDialogTest, UnitsConvertTheEdits) {
    Open(254, 100, false);
    EXPECT_EQ(Text("label_dpi"), "Not applicable.");
    dlg->SelectUnit("inches");
    EXPECT_EQ(Get<QDoubleSpinBox>("cwidth")->text(), "10.000 in");
    dlg->SelectUnit("pixels");
    EXPECT_EQ(Get<QDoubleSpinBox>("cwidth")->text(), "3000 px");
    dlg->SelectUnit("mm");
    EXPECT_NEAR(Get<QDoubleSpinBox>("cwidth")->value(), 254, 0.1);
}

TEST_F(JobSizeDialogTest, SizesDoNotDriftThroughUnitsAndUntouchedEdits) {
    for (const char* unit : {"inches", "pixels", "points", "feet", "C.M."}) {
        SCOPED_TRACE(unit);
        Open(200, 280, false);
        dlg->SelectUnit(QString::fromUtf8(unit));
        // Leaving the edits without typing keeps the size behind their text.
        for (const char* edit : {"cwidth", "cheight"})
            Q_EMIT Get<QDoubleSpinBox>(edit)->editingFinished();
        dlg->SelectUnit("mm");
        const auto size = dlg->Result();
        ASSERT_TRUE(size);
        EXPECT_FLOAT_EQ(size->width, 200);
        EXPECT_FLOAT_EQ(size->height, 280);
    }
    // An entry in pixels is 300 to the inch.
    Open(200, 280, false);
    Get<QCheckBox>("checkprop")->setChecked(false);
    dlg->SelectUnit("pixels");
    Enter("cwidth", 3000);
    EXPECT_FLOAT_EQ(dlg->Result()->width, 254);
    EXPECT_FLOAT_EQ(dlg->Result()->height, 280);
}

TEST_F(JobSizeDialogTest, StartsInInchesWithoutMetricUnits) {
    Open(254, 100, false, false);
    EXPECT_EQ(Get<QComboBox>("combounits")->currentText(), "inches");
    EXPECT_EQ(Get<QDoubleSpinBox>("cwidth")->text(), "10.000 in");
}

TEST_F(JobSizeDialogTest, LandscapeSwapsThePage) {
    Open(210, 297, false);
    Get<QRadioButton>("Rls")->setChecked(true);
    ExpectSize(297, 210);
}

TEST_F(JobSizeDialogTest, ProportionalEntryFollowsTheSource) {
    Open(200, 100, false);
    Enter("cwidth", 300);
    EXPECT_EQ(Get<QDoubleSpinBox>("cheight")->value(), 150.0);
    Enter("cheight", 40);
    EXPECT_EQ(Get<QDoubleSpinBox>("cwidth")->value(), 80.0);
    EXPECT_EQ(Get<QComboBox>("combosize")->itemText(0), "Custom Size");
}

TEST_F(JobSizeDialogTest, EmptyOrTinyPagesGiveNoSize) {
    Open(200, 100, false);
    Get<QCheckBox>("checkprop")->setChecked(false);
    Enter("cwidth", 0);
    EXPECT_FALSE(dlg->Result());
    Enter("cwidth", 0.5);
    EXPECT_FALSE(dlg->Result());
    Enter("cwidth", 1);
    EXPECT_TRUE(dlg->Result());
}

}  // namespace
}  // namespace corvan
