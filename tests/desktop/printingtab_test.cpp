// The "Printing Options" tab driven through the main window: every control
// reaches the job, marks it modified, changes the layout where it should,
// and comes back from the saved project.
#include "window_fixture.h"

#include "placement/ui/cropmarkpreview.h"
#include "placement/ui/mmnumedit.h"
#include "platform/inifile.h"
#include "shell/loading.h"
#include "shell/ui/helppopup.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTextBrowser>

namespace corvan::test {
namespace {

class PrintingTab : public WindowTest {
protected:
    void OpenJob() {
        path = OpenOnRoll("options.RIP", 200);
        ASSERT_TRUE(Core().CurrentJob);
    }
    void Enter(const char* edit, const char* text) { EnterLength(edit, text); }
    void SaveAndReopen() {
        Find<QAction>("SaveRIPProject1")->trigger();
        QApplication::processEvents();
        ASSERT_FALSE(Core().CurrentJob->Modified);
        // The driver chosen at the first start saved its settings with the job.
        if (!GetProfileString(path, "Printer Settings", "Plugin").empty()) ui.Answer(ButtonNo);
        ASSERT_TRUE(OpenProject(Core(), path));
        QApplication::processEvents();
    }
    std::string path;
};

struct Switch {
    const char* box;
    bool TemfFile::*field;
    const char* section;
    const char* key;
};

TEST_F(PrintingTab, EverySwitchReachesTheJobAndComesBackFromTheProject) {
    const Switch switches[] = {
        {"cCropMarks", &TemfFile::CropMarks, "CropMarks", "Cropmarks"},
        {"cBorder", &TemfFile::Border, "CropMarks", "Border"},
        {"ccropsizeauto", &TemfFile::AutoSize, "CropMarks", "AutoSize"},
        {"cJobText", &TemfFile::PrintJobText, "Job", "PrintJobText"},
        {"cTileText", &TemfFile::TileText, "Crop", "Tile Text"},
        {"cImageSmoothing", &TemfFile::Interpolate, "Rendering", "Interpolate"},
    };
    OpenJob();
    for (const Switch& s : switches) {
        SCOPED_TRACE(s.box);
        auto* box = Find<QCheckBox>(s.box);
        ASSERT_TRUE(box->isEnabled());
        const bool before = Core().CurrentJob.get()->*s.field;
        EXPECT_EQ(box->isChecked(), before);
        box->click();
        EXPECT_EQ(Core().CurrentJob.get()->*s.field, !before);
        EXPECT_TRUE(Core().CurrentJob->Modified);
        SaveAndReopen();
        EXPECT_EQ(GetProfileString(path, s.section, s.key), before ? "0" : "1");
        EXPECT_EQ(Core().CurrentJob.get()->*s.field, !before);
        EXPECT_EQ(Find<QCheckBox>(s.box)->isChecked(), !before);
    }
}

TEST_F(PrintingTab, MarkSizeAndOffsetWidenTheLayoutOnlyWhenIncludedInSize) {
    OpenJob();
    const float plain = Core().CurrentJob->MediaUsedWidth;
    Find<QCheckBox>("cCropMarks")->click();
    Enter("mmcropSize", "10mm");
    Enter("mmCropOffset", "5mm");
    EXPECT_FLOAT_EQ(Core().CurrentJob->CropmarkSize, 10);
    EXPECT_FLOAT_EQ(Core().CurrentJob->CropOffset, 5);
    EXPECT_NEAR(Core().CurrentJob->MediaUsedWidth, plain + 2 * 15, 0.01);
    // The roll's length follows the layout at once.
    EXPECT_NEAR(Core().CurrentPlotter.MediaHeight, Core().CurrentJob->MediaUsedHeight, 0.01);

    Find<QCheckBox>("ccropsizeauto")->click();
    EXPECT_NEAR(Core().CurrentJob->MediaUsedWidth, plain, 0.01);

    // A negative mark size is put back; a negative offset is allowed.
    Enter("mmcropSize", "-3mm");
    EXPECT_FLOAT_EQ(Core().CurrentJob->CropmarkSize, 10);
    EXPECT_FLOAT_EQ(Find<TmmNumEdit>("mmcropSize")->value(), 10);
    Enter("mmCropOffset", "-5mm");
    EXPECT_FLOAT_EQ(Core().CurrentJob->CropOffset, -5);

    SaveAndReopen();
    EXPECT_FLOAT_EQ(Find<TmmNumEdit>("mmcropSize")->value(), 10);
    EXPECT_FLOAT_EQ(Find<TmmNumEdit>("mmCropOffset")->value(), -5);
    EXPECT_FALSE(Find<QCheckBox>("ccropsizeauto")->isChecked());
}

TEST_F(PrintingTab, RenderResolutionAndSmoothing) {
    OpenJob();
    auto* combo = Find<QComboBox>("comboDPI");
    auto* slider = Find<QSlider>("rxRenderDPI");
    EXPECT_EQ(combo->currentText(), "360 DPI");
    Q_EMIT combo->activated(combo->findText("300 DPI"));
    EXPECT_EQ(slider->value(), 300);
    EXPECT_EQ(Core().CurrentJob->RenderDPI, 300);
    EXPECT_TRUE(Core().CurrentJob->Modified);
    slider->setValue(275);
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_EQ(Find<QLabel>("labelDPI")->text(), "275 DPI");
    EXPECT_EQ(Core().CurrentJob->RenderDPI, 275);

    auto* smoothing = Find<QSlider>("rxSmoothing");
    const struct {
        int slider;
        const char* label;
        int level;
    } levels[] = {{40, "100 %", 0}, {0, "0 %", 40}, {15, "38 %", 25}};
    for (const auto& l : levels) {
        smoothing->setValue(l.slider);
        EXPECT_EQ(Find<QLabel>("label_smoothlevel")->text(), l.label);
        EXPECT_EQ(Core().CurrentJob->Interpolation, l.level);
    }
    Find<QCheckBox>("cImageSmoothing")->click();
    EXPECT_TRUE(smoothing->isHidden());

    SaveAndReopen();
    EXPECT_EQ(GetProfileString(path, "Rendering", "RenderDPI"), "275");
    EXPECT_EQ(slider->value(), 275);
    EXPECT_EQ(smoothing->value(), 15);
    EXPECT_TRUE(smoothing->isHidden());
}

TEST_F(PrintingTab, MenuTogglesInvertTheBoxes) {
    OpenJob();
    const struct {
        const char* action;
        const char* box;
        bool TemfFile::*field;
        QKeySequence key;
    } toggles[] = {{"ToggleCropmarks1", "cCropMarks", &TemfFile::CropMarks, QKeySequence("Ctrl+K")},
                   {"ToggleBorder1", "cBorder", &TemfFile::Border, QKeySequence("Ctrl+D")}};
    for (const auto& t : toggles) {
        SCOPED_TRACE(t.action);
        auto* action = Find<QAction>(t.action);
        EXPECT_EQ(action->shortcut(), t.key);
        ASSERT_TRUE(action->isEnabled());
        action->trigger();
        EXPECT_TRUE(Find<QCheckBox>(t.box)->isChecked());
        EXPECT_TRUE(Core().CurrentJob.get()->*t.field);
        action->trigger();
        EXPECT_FALSE(Core().CurrentJob.get()->*t.field);
    }
}

TEST_F(PrintingTab, ChoosingAMarkFileTakesItsSize) {
    OpenJob();
    auto* combo = Find<QComboBox>("combocropmark");
    ASSERT_GE(combo->count(), 1) << "no crop-mark files in the data folder";
    EXPECT_FALSE(combo->itemIcon(0).isNull());
    Enter("mmcropSize", "3mm");
    Core().CurrentJob->Modified = false;
    Q_EMIT combo->activated(0);
    const float size = Core().CurrentJob->CropmarkSize;
    EXPECT_NE(size, 3);
    EXPECT_FLOAT_EQ(Find<TmmNumEdit>("mmcropSize")->value(), size);
    EXPECT_TRUE(Core().CurrentJob->Modified);
    SaveAndReopen();
    EXPECT_EQ(GetProfileString(path, "CropMarks", "CropMarkFile"),
              combo->itemData(0).toString().section('/', -1).toStdString());
}

// Pixels at most `level` grey.
int CountDark(const QImage& picture, int level) {
    int n = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) n += qGray(picture.pixel(x, y)) <= level;
    return n;
}

TEST_F(PrintingTab, CornerPreviewFollowsTheMarksTheBorderAndTheMarkFile) {
    OpenJob();
    auto* preview = Find<CropMarkPreview>("shapeBorder");
    auto set = [&](const char* box, bool on) {
        if (Find<QCheckBox>(box)->isChecked() != on) Find<QCheckBox>(box)->click();
    };
    set("cCropMarks", false);
    set("cBorder", false);
    const QImage bare = preview->Picture();
    EXPECT_EQ(CountDark(bare, 0), 0);  // grey frame, no marks
    set("cBorder", true);
    const int frame = CountDark(preview->Picture(), 0);
    EXPECT_GT(frame, 200);
    set("cCropMarks", true);
    const QImage marked = preview->Picture();
    EXPECT_GT(CountDark(marked, 160), frame + 20);
    auto* combo = Find<QComboBox>("combocropmark");
    ASSERT_GE(combo->count(), 1);
    Q_EMIT combo->activated(combo->count() - 1);
    EXPECT_GT(CountDark(preview->Picture(), 160), frame + 20);
}

TEST_F(PrintingTab, MoreInfoShowsTheHelpTopicBesideItsButton) {
    OpenJob();
    window->show();
    auto* button = Find<QPushButton>("SpeedButton50");
    button->click();
    auto* popup = window->findChild<THelpPopup*>("fhelppopup");
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->windowTitle(), "Crop marks and border  [Crop Marks]");
    EXPECT_EQ(popup->findChild<QLabel*>("label_Shortcut")->text(), "Ctrl+K / Ctrl+D");
    EXPECT_TRUE(popup->findChild<QPushButton*>("dPDFhelp")->isEnabled()) << "the manual has more";
    EXPECT_TRUE(popup->findChild<QTextBrowser*>("helptext")->toPlainText().contains("trim"));
    popup->close();
    ShowHelpTopic(button, ui, "No Such Topic");
    EXPECT_EQ(ui.Texts().back(), "No Such Topic not found!");
}

TEST_F(PrintingTab, UntickingSolidTakesTheColourOutOfTheJob) {
    OpenJob();
    Core().CurrentJob->BackgroundColor = 0x0000FF;
    window->ShowJob();
    Find<QCheckBox>("cSolid")->click();
    EXPECT_EQ(Core().CurrentJob->BackgroundColor, 0xFFFFFFu);
    EXPECT_TRUE(Core().CurrentJob->Modified);
}

}  // namespace
}  // namespace corvan::test
