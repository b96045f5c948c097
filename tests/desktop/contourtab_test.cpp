// The "Contour Cut" tab in the main window: each control reaches the job and
// comes back from the saved project, the job's colours choose the cut colour,
// and "Create Cutfile" writes the next numbered cut file for the spooler.
#include "window_fixture.h"

#include "cutting/cutfile.h"
#include "cutting/ui/autocut.h"
#include "platform/folders.h"
#include "platform/metafile/emf_records.h"
#include "platform/paths.h"
#include "shell/loading.h"
#include "support/metafile_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdlib>

namespace corvan::test {
namespace {

using namespace emf;

class ContourCut : public WindowTest {
protected:
    // A job whose layer strokes red around a blue fill, then fills green.
    std::string OpenCutJob() {
        const std::string path = OpenOnRoll("cut.RIP", 100);
        const std::string layer = WriteThreeColourLayer(dir.filePath("shapes.emf").toStdString());
        TemfFile& job = *Core().CurrentJob;
        job.PageHeight = 50;
        job.Layers = {layer};
        window->ShowJob();
        window->EnableByState();
        return path;
    }
    QStringList Colours() {
        auto* list = Find<QListWidget>("ColorCheckList");
        QStringList out;
        for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
        return out;
    }
    QTemporaryDir dir;
};

TEST_F(ContourCut, ControlsReachTheJobAndComeBackFromTheSavedProject) {
    const std::string path = OpenCutJob();
    EXPECT_FALSE(Find<QCheckBox>("cLines")->isEnabled()) << "cut controls wait for contour cutting";
    Find<QCheckBox>("cCanCut")->click();
    EXPECT_TRUE(Core().CurrentJob->ContourCut);
    ASSERT_TRUE(Find<QCheckBox>("cLines")->isEnabled());
    ASSERT_TRUE(Find<QCheckBox>("cLines")->isChecked()) << "a new job cuts lines";
    EXPECT_EQ(Colours(), QStringList{"$000000FF"});
    Find<QCheckBox>("cFill")->click();
    EXPECT_EQ(Colours(), (QStringList{"$000000FF", "$00FF0000", "$0000FF00"}));
    // A colour of the list becomes the cut colour, its name and its picture.
    auto* list = Find<QListWidget>("ColorCheckList");
    Q_EMIT list->itemClicked(list->item(2));
    const TemfFile& job = *Core().CurrentJob;
    EXPECT_EQ(job.CutColor, 0x00FF00u);
    EXPECT_EQ(Find<QLabel>("labelcutcolor")->text(), "Bright Green");
    EXPECT_EQ(Find<QPushButton>("CutColorPicker")->toolTip(), "RGB Value: 0,255,0");
    const QImage cut = Find<QLabel>("ImageCutPreview")->pixmap().toImage();
    ASSERT_FALSE(cut.isNull());
    EXPECT_EQ(cut.pixel(cut.width() * 3 / 4, cut.height() / 2), qRgb(0, 255, 0));
    EXPECT_EQ(cut.pixel(cut.width() / 4, cut.height() / 2), qRgb(255, 255, 255))
        << "only the cut colour's shapes";
    Find<QCheckBox>("cPrintContours")->click();
    Find<QCheckBox>("cBoxaroundTile")->click();
    Find<QCheckBox>("cDeviceCropmarks")->click();
    EXPECT_FALSE(job.DeviceCM) << "the box has no handler of its own";
    Find<QCheckBox>("cBoxaroundTile")->click();  // ... it comes in with the next option
    EXPECT_TRUE(job.DeviceCM);
    EXPECT_FALSE(job.TileBox);
    EXPECT_TRUE(job.Modified);

    EXPECT_TRUE(window->isWindowModified());
    Find<QAction>("SaveRIPProject1")->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(window->isWindowModified()) << "saved: the title drops its change mark";
    ui.Answer(ButtonNo);  // Update Printer Settings?
    ASSERT_TRUE(OpenProject(Core(), path));
    window->ShowJob();
    const TemfFile& reopened = *Core().CurrentJob;
    EXPECT_TRUE(reopened.ContourCut && reopened.CutLines && reopened.CutSolid);
    EXPECT_EQ(reopened.CutColor, 0x00FF00u);
    EXPECT_TRUE(reopened.PrintContours && reopened.DeviceCM);
    EXPECT_FALSE(reopened.TileBox);
    for (const char* box : {"cCanCut", "cLines", "cFill", "cPrintContours", "cDeviceCropmarks"})
        EXPECT_TRUE(Find<QCheckBox>(box)->isChecked()) << box;
    EXPECT_FALSE(Find<QCheckBox>("cBoxaroundTile")->isChecked());
    EXPECT_EQ(Find<QListWidget>("ColorCheckList")->currentRow(), 2);
}

TEST_F(ContourCut, CreateCutfileTakesTheNextFreeNumberAndStartsTheSpooler) {
    OpenCutJob();
    Find<QCheckBox>("cCanCut")->click();
    const QDir cuts(QString::fromStdString(ReadPath("CutDir")));
    for (const char* taken : {"0001.tcf", "0003.tcf"}) {
        QFile f(cuts.filePath(QString::fromUtf8(taken)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QString started = dir.filePath("spooler-started");
    const QString spooler = dir.filePath("spooler.sh");
    {
        QFile f(spooler);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(("#!/bin/sh\ntouch '" + started + "'\n").toUtf8());
    }
    QFile::setPermissions(spooler, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("CORVANRIP_VINYL_SPOOLER", spooler.toUtf8());
    Find<QPushButton>("dcutfile")->click();
    const QString written = cuts.filePath(QStringLiteral("0002.tcf"));
    ASSERT_TRUE(QFile::exists(written));
    QFile f(written);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    std::string reason;
    const auto parsed =
        ParseCutFile(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                               std::size_t(bytes.size())),
                     &reason);
    EXPECT_TRUE(parsed) << reason;
    for (int i = 0; i < 200 && !QFile::exists(started); ++i) QThread::msleep(10);
    EXPECT_TRUE(QFile::exists(started)) << "the spooler was started";

    // Without a spooler the operator is told.
    qputenv("CORVANRIP_VINYL_SPOOLER", dir.filePath("none").toUtf8());
    ui.Answer(ButtonOk);
    Find<QAction>("VinylSpooler1")->trigger();
    qunsetenv("CORVANRIP_VINYL_SPOOLER");
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().text, "Unable to locate Vinyl Spooler!");
}

TEST_F(ContourCut, AutoTraceButtonOpensTheTraceWindowForAVectorJob) {
    OpenCutJob();
    Find<QCheckBox>("cCanCut")->click();
    int seen = 0;
    WhenModal<Tfautocut>([&](Tfautocut* dlg) {
        ++seen;
        dlg->reject();
    });
    Find<QPushButton>("dautotrace")->click();
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(Core().CurrentJob->Layers.size(), 1u) << "Cancel adds no layer";
}

}  // namespace
}  // namespace corvan::test
