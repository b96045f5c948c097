// The crop-and-tile dialog reached from the main window: the grid an
// operator sets up becomes the job's crop section, marks go to the saved
// project, and the dialog's controls follow its mode.
#include "window_fixture.h"

#include "job/projectfile.h"
#include "placement/ui/cropdialog.h"
#include "placement/ui/mmnumedit.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace corvan::test {
namespace {

class Billboard : public WindowTest {
protected:
    static void Enter(QDialog* dlg, const char* edit, const char* text) {
        auto* e = In<TmmNumEdit>(dlg, edit);
        e->setText(QString::fromUtf8(text));
        Q_EMIT e->editingFinished();
    }
};

TEST_F(Billboard, TilesChosenInTheDialogBecomeTheCropSectionAndTheirMarksAreSaved) {
    const std::string path = OpenOnRoll("board.RIP", 3000);
    TemfFile& job = *Core().CurrentJob;
    Core().UseMetric = true;
    job.PageHeight = 1000;
    job.CheckCrop(false);
    bool seen = false;
    WhenModal<TFcrop>([&](TFcrop* dlg) {
        seen = true;
        EXPECT_TRUE(In<QRadioButton>(dlg, "cmultitiles")->isChecked());
        EXPECT_FALSE(In<TmmNumEdit>(dlg, "mmleft")->isEnabled());
        // Roll 1000 mm wide less two 20 mm marks: tiles 960 mm wide.
        EXPECT_EQ(In<QListWidget>(dlg, "tilelist")->count(), 4);
        ui.AnswerInput("4");
        ui.AnswerInput("2");
        In<QPushButton>(dlg, "dnumtiles")->click();
        EXPECT_EQ(In<QListWidget>(dlg, "tilelist")->count(), 8);
        In<QSpinBox>(dlg, "spintileno")->setValue(3);
        In<QListWidget>(dlg, "tilelist")->item(0)->setCheckState(Qt::Checked);
        dlg->accept();
    });
    window->findChild<QAction*>(QStringLiteral("BillboardTiles1"))->trigger();
    ASSERT_TRUE(seen);
    EXPECT_TRUE(job.CropSection);
    EXPECT_TRUE(job.MultiTiles);
    EXPECT_EQ(job.TileNo, 3);
    EXPECT_EQ(job.TileCount, 8);
    EXPECT_NEAR(job.CropLeft, 1500.05, 1e-2);
    EXPECT_NEAR(job.CropRight, 2250.075, 1e-2);
    EXPECT_NEAR(job.CropBottom, 500.05, 1e-2);
    EXPECT_FALSE(job.Rotate);  // 750 wide: fits across the roll
    EXPECT_TRUE(job.Modified);
    const PrintedTiles marks = ReadPrintedTiles(path);
    EXPECT_TRUE(marks[1]);
    EXPECT_FALSE(marks[3]);
    EXPECT_EQ(Find<QLabel>("label_tileno")->text(), "Tile: 3.");
}

TEST_F(Billboard, CropAreaOpensInSingleModeAndOnlyAcceptChangesTheJob) {
    OpenOnRoll("sign.RIP", 2000);
    TemfFile& job = *Core().CurrentJob;
    Core().UseMetric = true;
    job.PageHeight = 800;
    job.CheckCrop(false);
    // The crop area button needs the crop section on.
    EXPECT_FALSE(Find<QPushButton>("dcroparea")->isEnabled());
    Find<QCheckBox>("check_cropselection")->click();
    ASSERT_TRUE(Find<QPushButton>("dcroparea")->isEnabled());
    int seen = 0;
    WhenModal<TFcrop>([&](TFcrop* dlg) {
        ++seen;
        EXPECT_TRUE(In<QRadioButton>(dlg, "rsingle")->isChecked());
        EXPECT_FALSE(In<QWidget>(dlg, "tilelist")->isVisibleTo(dlg));
        EXPECT_FALSE(In<QPushButton>(dlg, "dnumtiles")->isEnabled());
        Enter(dlg, "mmright", "1500");
        EXPECT_EQ(In<QLabel>(dlg, "label_croppercent")->text(), "75.0 % x 100.0 %");
        dlg->reject();
    });
    Find<QPushButton>("dcroparea")->click();
    EXPECT_FLOAT_EQ(job.CropRight, 2000);

    WhenModal<TFcrop>([&](TFcrop* dlg) {
        ++seen;
        Enter(dlg, "mmleft", "100");
        Enter(dlg, "mmright", "2100");  // held to the page
        dlg->accept();
    });
    Find<QPushButton>("dcroparea")->click();
    ASSERT_EQ(seen, 2);
    EXPECT_TRUE(job.CropSection);
    EXPECT_FLOAT_EQ(job.CropLeft, 100);
    EXPECT_FLOAT_EQ(job.CropRight, 2000);
    // 1900 x 800 on a 1000 mm roll with 20 mm marks: landscape and wider, so turned.
    EXPECT_TRUE(job.Rotate);
}

}  // namespace
}  // namespace corvan::test
