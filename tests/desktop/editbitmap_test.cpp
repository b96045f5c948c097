// "Edit Image" through the main window, with a script standing in for the
// image editor: it replaces the picture with one of another size, and the
// job takes the edited picture, saved beside the original; Cancel changes
// nothing.
#include "window_fixture.h"

#include "platform/bmpfile.h"
#include "platform/folders.h"
#include "platform/registry.h"
#include "shell/loading.h"
#include "shell/ui/editbitmap.h"

#include <QFile>
#include <QPushButton>

namespace corvan::test {
namespace {

class EditImage : public WindowTest {
protected:
    void SetUp() override {
        // "~temp.bmp" has one name per temporary folder: each test its own,
        // as tests run side by side.
        const std::string tmp = home.Path("tmp/");
        ASSERT_TRUE(ForceFolders(tmp));
        oldTmp_ = qgetenv("TMPDIR");
        qputenv("TMPDIR", QByteArray::fromStdString(tmp));
        MakeWindow();
        LoadAnything(Core(), ProgramFolder() + "samples/demo.RIP");
        ASSERT_TRUE(Core().CurrentJob && Core().CurrentJob->BackgroundImage);
        ASSERT_TRUE(Find<QPushButton>("deditimage")->isEnabled())
            << "a project's background has its commands";
        Core().CurrentJob->Modified = false;
        // The "editor": overwrites the file it is given with a 30 x 20 picture.
        auto edited = Bitmap24::Create(30, 20);
        edited->Fill(MakeColour(0, 128, 255));
        ASSERT_TRUE(WriteBmpFile(*edited, home.Path("edited.bmp")).Ok());
        const std::string script = home.Path("editor.sh");
        WriteFileBytes(script, "#!/bin/sh\ncp '" + home.Path("edited.bmp") + "' \"$1\"\n");
        QFile::setPermissions(QString::fromStdString(script),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        WriteRegString("ImageEditor", script);
    }
    void TearDown() override {
        WindowTest::TearDown();
        qputenv("TMPDIR", oldTmp_);
    }
    QByteArray oldTmp_;
};

// Presses "Apply" as soon as the dialog offers it (within ten seconds).
void ApplyWhenOffered(TFeditbitmap* dlg, int triesLeft = 400) {
    if (dlg->ApplyEnabled()) return dlg->findChild<QPushButton*>("dapply")->click();
    if (triesLeft == 0) {
        ADD_FAILURE() << "Apply was never offered";
        return dlg->reject();
    }
    QTimer::singleShot(25, dlg, [dlg, triesLeft] { ApplyWhenOffered(dlg, triesLeft - 1); });
}

TEST_F(EditImage, TheEditedPictureBecomesTheBackground) {
    const std::string original = Core().CurrentJob->BackgroundFile;
    WhenModal<TFeditbitmap>([](TFeditbitmap* dlg) { ApplyWhenOffered(dlg); });
    Find<QPushButton>("deditimage")->click();
    const TemfFile& job = *Core().CurrentJob;
    ASSERT_EQ(job.BackgroundImage->Width(), 30);
    EXPECT_EQ(job.BackgroundImage->Height(), 20);
    EXPECT_EQ(job.BackgroundImage->Pixel(5, 5), MakeColour(0, 128, 255));
    EXPECT_NE(job.BackgroundFile, original);
    EXPECT_NE(job.BackgroundFile.find("_edited.png"), std::string::npos);
    EXPECT_TRUE(FileExists(job.BackgroundFile));
    EXPECT_TRUE(FileExists(original)) << "the original picture is kept";
    EXPECT_TRUE(job.Modified);
}

TEST_F(EditImage, CancelKeepsThePicture) {
    const Bitmap24* before = Core().CurrentJob->BackgroundImage.get();
    const std::string file = Core().CurrentJob->BackgroundFile;
    WhenModal<TFeditbitmap>([](TFeditbitmap* dlg) { dlg->reject(); });
    Find<QPushButton>("deditimage")->click();
    EXPECT_EQ(Core().CurrentJob->BackgroundImage.get(), before);
    EXPECT_EQ(Core().CurrentJob->BackgroundFile, file);
}

}  // namespace
}  // namespace corvan::test
