// The layer lists of the project tab in the main window: the buttons reorder
// and delete layers, lines move between the active and the stored list by
// dragging, the keys delete, the information line reads the layer's header,
// the layer preview opens from the list, and files dropped from a file
// manager become layers, backgrounds or the open project.
#include "window_fixture.h"

#include "display/ui/emfshow.h"
#include "shell/jobcommands.h"
#include "shell/loading.h"
#include "shell/ui/layerlists.h"
#include "support/metafile_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

namespace corvan::test {
namespace {

class LayerLists : public WindowTest {
protected:
    // A job on the project tab with layers a, b and c, back to front.
    void OpenThreeLayers() {
        OpenOnRoll("layers.RIP", 100);
        for (const char* name : {"a.emf", "b.emf", "c.emf"})
            layers.push_back(WriteThreeColourLayer(home.Path(name)));
        Core().CurrentJob->Layers = layers;
        window->ShowJob();
        window->EnableByState();
    }
    LayerListBox* Active() const { return Find<LayerListBox>("emflistbox"); }
    LayerListBox* Stored() const { return Find<LayerListBox>("ListBox1"); }
    std::vector<std::string> Job() const { return Core().CurrentJob->Layers; }
    static std::vector<std::string> Lines(const QListWidget* list) {
        std::vector<std::string> out;
        for (int i = 0; i < list->count(); ++i) out.push_back(list->item(i)->text().toStdString());
        return out;
    }
    bool Enabled(const char* name) const { return Find<QWidget>(name)->isEnabled(); }
    // Drags the selected line of `from` onto `to`; true when `to` took it.
    static bool Drag(LayerListBox* from, LayerListBox* to) {
        std::unique_ptr<QMimeData> mime(from->LineMime());
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, mime.get(), Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(to->viewport(), &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(to->viewport(), &drop);
        return enter.isAccepted() && drop.isAccepted();
    }

    std::vector<std::string> layers;
};

TEST_F(LayerLists, ButtonsMoveAndDeleteTheSelectedLayer) {
    OpenThreeLayers();
    EXPECT_EQ(Lines(Active()), layers);
    for (const char* name : {"dkillemf", "dShoveUp", "dShoveDown", "demfpreview"})
        EXPECT_FALSE(Enabled(name)) << name << " without a selection";
    EXPECT_TRUE(Enabled("SpeedButton110"));

    Active()->setCurrentRow(1);
    window->ShowJob();  // a change elsewhere in the job keeps the selection
    EXPECT_EQ(Active()->currentRow(), 1);
    for (const char* name : {"dkillemf", "dShoveUp", "dShoveDown", "demfpreview"})
        EXPECT_TRUE(Enabled(name)) << name;
    Find<QPushButton>("dShoveUp")->click();
    EXPECT_EQ(Job(), (std::vector<std::string>{layers[1], layers[0], layers[2]}));
    EXPECT_EQ(Active()->currentRow(), 0);
    EXPECT_TRUE(Core().CurrentJob->Modified);
    EXPECT_TRUE(Core().CurrentJob->PreviewDirty);
    // At the back already: the button is off and a press changes nothing.
    EXPECT_FALSE(Enabled("dShoveUp"));
    Find<QPushButton>("dShoveUp")->click();
    EXPECT_EQ(Job(), (std::vector<std::string>{layers[1], layers[0], layers[2]}));

    Active()->setCurrentRow(1);
    Find<QPushButton>("dShoveDown")->click();
    EXPECT_EQ(Job(), (std::vector<std::string>{layers[1], layers[2], layers[0]}));
    EXPECT_EQ(Active()->currentRow(), 2);
    EXPECT_FALSE(Enabled("dShoveDown")) << "on top already";

    Find<QPushButton>("dkillemf")->click();
    EXPECT_EQ(Job(), (std::vector<std::string>{layers[1], layers[2]}));
    EXPECT_EQ(Lines(Active()), Job());
    EXPECT_TRUE(Active()->selectedItems().isEmpty());
    EXPECT_FALSE(Enabled("dkillemf"));
}

TEST_F(LayerLists, LinesMoveBetweenTheListsOnlyAndTheKeysDelete) {
    OpenThreeLayers();
    Active()->setCurrentRow(2);
    EXPECT_FALSE(Drag(Active(), Active())) << "a list does not take its own lines";
    EXPECT_EQ(Job(), layers);

    ASSERT_TRUE(Drag(Active(), Stored()));
    EXPECT_EQ(Job(), (std::vector<std::string>{layers[0], layers[1]}));
    EXPECT_EQ(Lines(Stored()), std::vector<std::string>{layers[2]});
    Stored()->setCurrentRow(0);
    EXPECT_FALSE(Drag(Stored(), Stored()));
    EXPECT_EQ(Lines(Stored()), std::vector<std::string>{layers[2]});

    Active()->setCurrentRow(0);
    ASSERT_TRUE(Drag(Active(), Stored()));
    Stored()->setCurrentRow(0);
    ASSERT_TRUE(Drag(Stored(), Active()));
    EXPECT_EQ(Job(), (std::vector<std::string>{layers[1], layers[2]})) << "back on top";
    EXPECT_EQ(Active()->currentRow(), 1);
    EXPECT_EQ(Lines(Stored()), std::vector<std::string>{layers[0]});

    Stored()->setCurrentRow(0);
    QTest::keyClick(Stored(), Qt::Key_Delete);
    EXPECT_EQ(Stored()->count(), 0);
    EXPECT_EQ(Job(), (std::vector<std::string>{layers[1], layers[2]})) << "only the line goes";

    Active()->setCurrentRow(0);
    QTest::keyClick(Active(), Qt::Key_Backspace);
    EXPECT_EQ(Job(), std::vector<std::string>{layers[2]});
}

TEST_F(LayerLists, StoredLinesOutliveTheJob) {
    OpenThreeLayers();
    window->Front().SetUnattended(true);
    Active()->setCurrentRow(1);
    ASSERT_TRUE(Drag(Active(), Stored()));
    ui.Answer(ButtonNo);  // the parked layer changed the job: not saved
    Find<QAction>("CloseCurrent1")->trigger();
    ASSERT_FALSE(Core().CurrentJob);
    EXPECT_EQ(Active()->count(), 0);
    EXPECT_EQ(Lines(Stored()), std::vector<std::string>{layers[1]});

    ASSERT_TRUE(OpenProject(Core(), Project("other.RIP", 120)));
    EXPECT_EQ(Lines(Stored()), std::vector<std::string>{layers[1]});
    Stored()->setCurrentRow(0);
    ASSERT_TRUE(Drag(Stored(), Active()));
    EXPECT_EQ(Job(), std::vector<std::string>{layers[1]});
}

TEST_F(LayerLists, InformationLineReadsTheLayerHeader) {
    OpenThreeLayers();
    layers[2] = WriteLayerOfSize(home.Path("big.emf"), 1000, 51200);
    Core().CurrentJob->Layers = layers;
    window->ShowJob();
    auto* label = Find<QLabel>("label_layerprops");
    EXPECT_TRUE(label->text().isEmpty());
    Active()->setCurrentRow(2);
    EXPECT_EQ(label->text(), "Layer #3  (Objects: 1000)  Size: 50 Kb.");
    Active()->clearSelection();
    EXPECT_TRUE(label->text().isEmpty());
}

TEST_F(LayerLists, HistoryPopupOffersTheLayersThatStillExist) {
    OpenThreeLayers();
    Core().EmfHist = {layers[0], home.Path("gone.emf")};
    auto* popup = Find<QMenu>("PopupEMFhist");
    Find<QPushButton>("SpeedButton110")->click();
    QList<QAction*> items = popup->actions();
    popup->close();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0]->text(), "Load Vector Layer");
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_TRUE(items[2]->isEnabled());
    EXPECT_FALSE(items[3]->isEnabled());
    EXPECT_EQ(items[3]->text().toStdString(), home.Path("gone.emf"));
    items[2]->trigger();
    EXPECT_EQ(Job().back(), layers[0]);
    EXPECT_EQ(Active()->currentRow(), 3);
    Find<QPushButton>("SpeedButton110")->click();
    EXPECT_EQ(popup->actions().size(), 4) << "filled afresh each time it opens";
    popup->close();
}

TEST_F(LayerLists, PreviewShowsTheLayerAndItsChoiceBecomesTheSelection) {
    OpenThreeLayers();
    Active()->setCurrentRow(0);
    QString status;
    WhenModal<TFemfShow>([&status](TFemfShow* dlg) {
        EXPECT_EQ(dlg->windowTitle(), "Layer Preview");
        EXPECT_GE(dlg->width(), 345);
        EXPECT_GE(dlg->height(), 403);
        auto* combo = In<QComboBox>(dlg, "ComboBox1");
        EXPECT_EQ(combo->count(), 3);
        EXPECT_EQ(combo->itemText(2), "c.emf");
        combo->setCurrentIndex(2);
        Q_EMIT combo->activated(2);
        status = In<QStatusBar>(dlg, "StatusBar1")->currentMessage();
        EXPECT_FALSE(In<QLabel>(dlg, "Image1")->pixmap().isNull());
        In<QPushButton>(dlg, "Button1")->click();
    });
    Find<QPushButton>("demfpreview")->click();
    EXPECT_EQ(status.toStdString(), layers[2]);
    EXPECT_EQ(Active()->currentRow(), 2);
    EXPECT_FALSE(Enabled("dShoveDown"));
}

TEST(LayerPreviewWindow, FitsTheLayerIntoTheFrameAndFollowsTheColour) {
    ScratchHome home;
    const std::string layer = WriteFramedLayer(home.Path("wide.emf"), 300, 100);
    TFemfShow dlg(QStringList{QString::fromStdString(layer)}, 0);
    auto* frame = dlg.findChild<QFrame*>("Shape1");
    frame->resize(351, 319);
    dlg.RenderLayerPreview();
    auto* image = dlg.findChild<QLabel*>("Image1");
    EXPECT_EQ(image->geometry(), QRect(10, 104, 331, 110));
    dlg.SetBackground(0x0000FF);
    const QImage shown = image->pixmap().toImage();
    EXPECT_EQ(shown.size(), QSize(331, 110));
    EXPECT_EQ(shown.pixelColor(100, 50), QColor(255, 0, 0));
    // Dotted light grey around it: three dots on, three off.
    EXPECT_EQ(shown.pixelColor(2, 0), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(shown.pixelColor(4, 0), QColor(255, 0, 0));
    EXPECT_EQ(frame->palette().color(QPalette::Window), QColor(255, 0, 0));
}

class FileDrops : public LayerLists {
protected:
    void DropOn(QWidget* target, const std::vector<std::string>& files) {
        auto mime = std::make_unique<QMimeData>();
        QList<QUrl> urls;
        for (const std::string& f : files) urls << QUrl::fromLocalFile(QString::fromStdString(f));
        mime->setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, mime.get(), Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        EXPECT_TRUE(drop.isAccepted());
        QApplication::processEvents();
    }
    std::string Picture(const char* name) {
        QImage img(40, 20, QImage::Format_RGB32);
        img.fill(Qt::red);
        EXPECT_TRUE(img.save(QString::fromStdString(home.Path(name))));
        return home.Path(name);
    }
};

TEST_F(FileDrops, EachKindOfFileGoesWhereItBelongs) {
    OpenThreeLayers();
    window->Front().SetUnattended(true);
    const std::string lyr = WriteThreeColourLayer(home.Path("d.LYR"));
    const std::string emf = WriteThreeColourLayer(home.Path("e.emf"));
    DropOn(window.get(), {lyr, home.Path("missing.emf"), emf});
    EXPECT_EQ(Job(), (std::vector<std::string>{layers[0], layers[1], layers[2], lyr, emf}));
    EXPECT_EQ(Lines(Active()), Job());

    const std::string png = Picture("bg.png");
    DropOn(Stored(), {png});
    EXPECT_EQ(Core().CurrentJob->BackgroundFile, png);
    ASSERT_TRUE(Core().CurrentJob->BackgroundImage);
    EXPECT_EQ(Stored()->count(), 0) << "a file is no stored line";

    // A document dropped by mistake keeps the background.
    const std::string text = home.Path("notes.txt");
    WriteFileBytes(text, "not a picture");
    DropOn(window.get(), {text});
    EXPECT_EQ(Core().CurrentJob->BackgroundFile, png);
    ASSERT_FALSE(ui.messages.empty());
    // The name, then the decoder's reason on the next line.
    const std::string said = ui.messages.back().text;
    EXPECT_EQ(said.substr(0, said.find('\r')), "Unable to load image: " + text);
    EXPECT_GT(said.size(), said.find('\r') + 1) << said;

    const std::string other = Project("other.RIP", 140);
    ui.Answer(ButtonNo);  // the drops changed the job: not saved
    DropOn(window.get(), {other});
    ASSERT_TRUE(Core().CurrentJob);
    EXPECT_EQ(Core().CurrentJob->FileName, other);
    EXPECT_TRUE(Job().empty());
}

TEST_F(FileDrops, WithoutAJobTheFirstFileStartsOne) {
    MakeWindow();
    window->Front().SetUnattended(true);
    const std::string a = WriteThreeColourLayer(home.Path("a.emf"));
    const std::string b = WriteThreeColourLayer(home.Path("b.emf"));
    DropOn(window.get(), {a, b});
    ASSERT_TRUE(Core().CurrentJob);
    EXPECT_EQ(Job(), (std::vector<std::string>{a, b}));

    Core().CurrentJob.reset();
    window->ShowJob();
    const std::string png = Picture("start.png");
    DropOn(Find<QWidget>("emflistbox"), {png});
    ASSERT_TRUE(Core().CurrentJob);
    EXPECT_EQ(Core().CurrentJob->BackgroundFile, png);
}

}  // namespace
}  // namespace corvan::test
