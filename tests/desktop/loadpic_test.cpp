// The image library window on a folder of generated pictures: thumbnails
// made off the GUI thread, the choice with its details, Load with the file
// history, the remembered folder, and "Load Image..." in the main window.
#include "window_fixture.h"

#include "platform/folders.h"
#include "shell/ui/loadpic.h"

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace corvan::test {
namespace {

class ImageLibraryWindow : public WindowTest {
protected:
    void SetUp() override {
        folder = home.Path("pictures/");
        ASSERT_TRUE(ForceFolders(folder));
        for (int i = 0; i < 5; ++i) {
            QImage img(40 + 10 * i, 30, QImage::Format_RGB32);
            img.fill(QColor(40 * i, 100, 200));
            img.save(QString::fromStdString(folder + "p" + std::to_string(i) + ".png"));
        }
        WriteFileBytes(folder + "notes.txt", "not a picture");
    }
    std::string folder;
};

TEST_F(ImageLibraryWindow, ThumbnailsChoiceLoadAndTheRememberedFolder) {
    {
        TFloadpic dlg(ui, LibraryMode::Images, folder, nullptr);
        EXPECT_EQ(dlg.CurrentFolder(), folder);
        QSignalSpy done(&dlg, &TFloadpic::ThumbnailsDone);
        dlg.SetThumbnails(true);
        ASSERT_TRUE(done.wait(10000));
        EXPECT_EQ(dlg.ThumbnailCount(), 5) << "only pictures, every one";

        dlg.ChooseName("nothing.png");
        EXPECT_FALSE(dlg.ChoiceValid());
        EXPECT_FALSE(dlg.findChild<QPushButton*>("dload")->isEnabled());
        dlg.ChooseName("p2.png");
        EXPECT_TRUE(dlg.ChoiceValid());
        EXPECT_TRUE(dlg.findChild<QPlainTextEdit*>("memodetails")
                        ->toPlainText()
                        .startsWith("File:\tp2.png"));
        dlg.Load();
        ASSERT_TRUE(dlg.Result());
        EXPECT_EQ(*dlg.Result(), folder + "p2.png");
        EXPECT_EQ(dlg.History().files[0].front(), folder + "p2.png");
    }
    // Reopened elsewhere, it goes back to the folder used last.
    TFloadpic again(ui, LibraryMode::Images, home.Home(), nullptr);
    EXPECT_EQ(again.CurrentFolder(), folder);
}

TEST_F(ImageLibraryWindow, PreviewFullPreviewNewFolderAndLayers) {
    TFloadpic dlg(ui, LibraryMode::Images, folder, nullptr);
    dlg.ChooseName("p2.png");
    auto* full = dlg.findChild<QCheckBox*>("cfullpreview");
    ASSERT_TRUE(QTest::qWaitFor([&] { return full->isEnabled(); }, 5000))
        << "the delayed preview never ran";
    EXPECT_TRUE(dlg.findChild<QPlainTextEdit*>("memodetails")
                    ->toPlainText()
                    .contains("Size:\t60 x 30 Pixels"));
    full->setChecked(true);
    EXPECT_FALSE(dlg.findChild<QWidget*>("FullPreview")->isHidden());
    dlg.findChild<QPushButton*>("dnewfolder")->click();
    EXPECT_TRUE(QDir(QString::fromStdString(folder + "New Folder")).exists());

    TFloadpic layers(ui, LibraryMode::Layers, InstalledDataFolder() + "samples/", nullptr);
    layers.ChooseName("sign.emf");
    ASSERT_TRUE(layers.ChoiceValid());
    auto* details = layers.findChild<QPlainTextEdit*>("memodetails");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return details->toPlainText().contains("Size:\t800 x 800 Pixels"); }, 5000));
}

TEST_F(ImageLibraryWindow, LoadImageInTheWindowUsesTheLibrary) {
    OpenOnRoll("library.RIP", 100);
    WhenModal<TFloadpic>([this](TFloadpic* dlg) {
        dlg->GoTo(folder);
        dlg->ChooseName("p4.png");
        dlg->Load();
    });
    Find<QPushButton>("dloadImage")->click();
    ASSERT_TRUE(Core().CurrentJob->BackgroundImage);
    EXPECT_EQ(Core().CurrentJob->BackgroundFile, folder + "p4.png");
    EXPECT_EQ(Core().CurrentJob->BackgroundImage->Width(), 80);
}

}  // namespace
}  // namespace corvan::test
