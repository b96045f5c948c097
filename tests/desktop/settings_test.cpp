// "Settings" through the main window: the values a fresh program shows, the
// page controls, OK with its question, and the preferences applied at once.
#include "window_fixture.h"

#include "placement/ui/mmnumedit.h"
#include "platform/folders.h"
#include "platform/preferences.h"
#include "shell/ui/settingsdialog.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>

namespace corvan::test {
namespace {

using Settings = WindowTest;

TEST_F(Settings, FreshValuesPageControlsAndTheQuestion) {
    MakeWindow();
    Tfproperties dlg(Core(), 1, window.get());
    EXPECT_EQ(dlg.Page(), 1);
    EXPECT_EQ(In<QListWidget>(&dlg, "sidebar")->currentItem()->text(), "Advanced");
    EXPECT_FALSE(In<QCheckBox>(&dlg, "use_metric")->isChecked());
    EXPECT_TRUE(In<QCheckBox>(&dlg, "save_printersettings")->isChecked());
    EXPECT_FLOAT_EQ(In<TmmNumEdit>(&dlg, "def_jobwidth")->value(), 300);
    EXPECT_EQ(In<QSpinBox>(&dlg, "max_preview")->value(), 600);
    EXPECT_EQ(In<QSpinBox>(&dlg, "RIP_DPI")->value(), 150);

    In<QSpinBox>(&dlg, "max_preview")->setValue(800);
    EXPECT_EQ(In<QLabel>(&dlg, "label_maxpreview")->text(), "800 pixels (1.83 Mb)");
    auto* list = In<QComboBox>(&dlg, "combo_dpi");
    Q_EMIT list->textActivated("300 dpi");
    EXPECT_EQ(In<QSpinBox>(&dlg, "RIP_DPI")->value(), 300);
    In<QCheckBox>(&dlg, "RIP_Smooth")->setChecked(false);
    EXPECT_FALSE(In<QSlider>(&dlg, "RIP_smoothLevel")->isEnabled());

    ui.Answer(ButtonNo);
    dlg.Confirm();
    EXPECT_EQ(dlg.result(), 0) << "No returns to the dialog";
    EXPECT_FALSE(FileExists(PreferencesFile()));
    ui.Answer(ButtonYes);
    dlg.Confirm();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(ReadPrefNumber("max_preview", 0), 800);
    EXPECT_EQ(ReadPrefNumber("RIP_DPI", 0), 300);
    EXPECT_FALSE(ReadPrefBool("RIP_Smooth", true));
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"Update Settings?", "Update Settings?"}));
}

TEST_F(Settings, OkFromTheMenuAppliesThePreferencesAtOnce) {
    MakeWindow();
    WhenModal<Tfproperties>([](Tfproperties* dlg) {
        dlg->findChild<QCheckBox*>("use_metric")->setChecked(true);
        dlg->findChild<QSpinBox*>("max_preview")->setValue(1200);
        auto* width = dlg->findChild<TmmNumEdit*>("def_jobwidth");
        width->setText("500");
        Q_EMIT width->editingFinished();
        dlg->Confirm();
    });
    ui.Answer(ButtonYes);
    Find<QAction>("Settings1")->trigger();
    EXPECT_TRUE(Core().UseMetric);
    EXPECT_EQ(Core().MaxPreview, 1200);
    // Entered in inches (the unit before metric went on): 500 in.
    EXPECT_NEAR(ReadPrefNumber("def_jobwidth", 0), 12700, 0.01);

    // Reopened, the dialog shows what was stored; Restore undoes edits.
    Tfproperties again(Core(), 0, window.get());
    auto* metric = again.findChild<QCheckBox*>("use_metric");
    EXPECT_TRUE(metric->isChecked());
    metric->setChecked(false);
    again.Restore();
    EXPECT_TRUE(metric->isChecked());
}

}  // namespace
}  // namespace corvan::test
