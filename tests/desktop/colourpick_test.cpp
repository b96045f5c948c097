// Picking the spot rule's source colour out of the job from the spot tab:
// the vector-colour dialog by mode, and the pixel dialog's zoom and pick.
#include "window_fixture.h"

#include "cutting/ui/getline.h"
#include "cutting/ui/grabcol.h"
#include "platform/metafile/emf_records.h"
#include "support/metafile_fixture.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

namespace corvan::test {
namespace {

using namespace emf;

class ColourPicking : public WindowTest {
protected:
    // A spot job whose layer strokes red around a blue fill, then fills green.
    void OpenSpotJob() {
        OpenOnRoll("pick.RIP", 100);
        const std::string layer = WriteThreeColourLayer(dir.filePath("shapes.emf").toStdString());
        TemfFile& job = *Core().CurrentJob;
        job.PageHeight = 50;
        job.Layers = {layer};
        job.SpotColors = true;
        window->ShowJob();
        window->EnableByState();
        // The selected-pixels picture is made from the view's job preview.
        window->show();
        QApplication::processEvents();
    }
    QString PickerHint() { return Find<QPushButton>("spotcolorpicker")->toolTip(); }
    QTemporaryDir dir;
};

TEST_F(ColourPicking, VectorDialogListsTheColoursOfEachModeAndHandsOneBack) {
    OpenSpotJob();
    int seen = 0;
    WhenModal<Tfgetline>([&](Tfgetline* dlg) {
        ++seen;
        auto* list = In<QListWidget>(dlg, "ListBox1");
        auto* status = In<QLabel>(dlg, "StatusText");
        const auto colours = [list] {
            QStringList out;
            for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
            return out;
        };
        EXPECT_EQ(status->text(), "Select only Filled Objects.");
        EXPECT_EQ(colours(), (QStringList{"$00FF0000", "$0000FF00"}));
        In<QToolButton>(dlg, "dline")->click();
        EXPECT_EQ(status->text(), "Select both Lines and Filled Objects.");
        EXPECT_EQ(colours(), (QStringList{"$000000FF", "$00FF0000", "$0000FF00"}));
        In<QToolButton>(dlg, "dfill")->click();
        EXPECT_EQ(status->text(), "Select Lines Only.");
        EXPECT_EQ(colours(), QStringList{"$000000FF"});
        In<QToolButton>(dlg, "dline")->click();
        EXPECT_EQ(status->text(), "No Contours Selected.");
        EXPECT_EQ(list->count(), 0);
        In<QToolButton>(dlg, "dfill")->click();
        Q_EMIT list->itemClicked(list->item(1));
        EXPECT_EQ(In<QLabel>(dlg, "Label1")->text(), "Bright Green");
        EXPECT_FALSE(In<QLabel>(dlg, "PaintBox1")->pixmap().isNull());
        dlg->accept();
    });
    Find<QPushButton>("SpeedButton52")->click();
    ASSERT_EQ(seen, 1);
    EXPECT_EQ(PickerHint(), "RGB Value: 0,255,0");
    EXPECT_FALSE(Find<QLabel>("imagespotpreview")->pixmap().isNull());
}

TEST_F(ColourPicking, PixelDialogZoomsWithinItsLimitAndPicksAColourButWhite) {
    OpenSpotJob();
    Find<QSlider>("rxToll")->setValue(20);
    int seen = 0;
    WhenModal<Tfgrabcol>([&](Tfgrabcol* dlg) {
        ++seen;
        EXPECT_EQ(dlg->Tolerance(), 20);
        QSize size = dlg->PictureSize();
        ASSERT_GT(size.width(), 0);
        for (int step = 0; step < 8; ++step) {
            const QSize next = size * 3 / 2;
            dlg->ZoomIn();
            const bool allowed = std::int64_t(next.width()) * next.height() <= 6'000'000;
            EXPECT_EQ(dlg->PictureSize(), allowed ? next : size) << step;
            size = dlg->PictureSize();
        }
        dlg->ZoomToAll();
        const QSize all = dlg->PictureSize();
        // The green square's centre, then white paper: white is not taken.
        const QPoint green(all.width() * 75 / 100, all.height() / 2);
        dlg->PointerAt(green, true);
        dlg->PointerAt(QPoint(2, 2), true);
        EXPECT_EQ(dlg->PickedColour(), 0x00FF00u);
        In<QSlider>(dlg, "RxSlider1")->setValue(32);
        dlg->accept();
    });
    Find<QPushButton>("SpeedButton29")->click();
    ASSERT_EQ(seen, 1);
    EXPECT_EQ(PickerHint(), "RGB Value: 0,255,0");
    EXPECT_EQ(Find<QSlider>("rxToll")->value(), 32);
}

}  // namespace
}  // namespace corvan::test
