#include "display/ui/ripdialog.h"

#include "platform/base64.h"
#include "platform/bmpfile.h"
#include "shell/ui/qtuserinterface.h"
#include "support/tempdirs.h"
#include "window_fixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QThread>

#include <gtest/gtest.h>

namespace corvan {
namespace {

// A project file of 254 x 127 mm, with a green thumbnail of w x h unless
// either is 0.
std::string WriteProject(const std::string& path, int w, int h) {
    std::string text = "[Size]\r\nPage Width(mm)=254\r\nPage Height(mm)=127\r\n";
    if (w > 0 && h > 0) {
        auto thumb = Bitmap24::Create(w, h);
        thumb->Fill(0x00FF00);
        const auto lines = Base64EncodeLines(*EncodeBmp(*thumb));
        text += "[Preview]\r\nCount=" + std::to_string(lines.size()) + "\r\n";
        for (std::size_t i = 0; i < lines.size(); ++i)
            text += std::to_string(i) + "=" + lines[i] + "\r\n";
    }
    test::WriteFileBytes(path, text);
    return path;
}

// The file list of a shown dialog once it lists at least `atLeast` entries
// of its folder (it reads folders in the background).
QListView* FileList(QFileDialog& dlg, int atLeast) {
    dlg.setViewMode(QFileDialog::List);
    auto* list = dlg.findChild<QListView*>("listView");
    for (int i = 0; i < 300 && list->model()->rowCount(list->rootIndex()) < atLeast; ++i) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
    return list;
}

class RipDialog : public ::testing::Test {
protected:
    void SetUp() override {
        dlg.resize(800, 500);
        dlg.setDirectory(QString::fromStdString(home.Home()));
    }
    // Highlights the file as the file list does.
    void Highlight(const std::string& path) {
        Q_EMIT dlg.currentChanged(QString::fromStdString(path));
    }
    QString Label() const { return dlg.findChild<QLabel*>("PictureLabel")->text(); }
    QImage Box() const { return dlg.findChild<QWidget*>("PaintBox")->grab().toImage(); }
    // Pixels of the box that are not its background.
    static int Painted(const QImage& box, QRect area) {
        const QRgb background = box.pixel(0, box.height() - 1);
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) n += box.pixel(x, y) != background;
        return n;
    }

    test::ScratchHome home;
    TopenRipDialog dlg;
};

TEST_F(RipDialog, PanelSitsRightOfTheFileList) {
    EXPECT_TRUE(dlg.testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(dlg.windowTitle(), "Load RIP Project File");
    EXPECT_EQ(dlg.nameFilters(), QStringList{"RIP Project File (*.RIP)"});
    EXPECT_EQ(dlg.defaultSuffix(), "RIP");
    dlg.show();
    QApplication::processEvents();
    auto* panel = dlg.findChild<QWidget*>("PicturePanel");
    auto* files = dlg.findChild<QWidget*>("splitter");  // the folder and file lists
    ASSERT_TRUE(panel && files);
    EXPECT_GE(panel->mapTo(&dlg, QPoint(0, 0)).x(),
              files->mapTo(&dlg, QPoint(files->width(), 0)).x());
    ASSERT_TRUE(dlg.findChild<QWidget*>("PaintPanel"));
    EXPECT_EQ(Label(), "Picture:");
    dlg.hide();
}

TEST_F(RipDialog, ShowsThumbnailOneToOneCentredWithThePageSize) {
    Highlight(WriteProject(home.Path("a4.RIP"), 45, 64));
    EXPECT_EQ(Label(), "10.00 x 5.00 in.");
    const QImage box = Box();
    ASSERT_GE(box.width(), 45);
    ASSERT_GE(box.height(), 64);
    const QRect at = PictureRect(QSize(45, 64), box.size());
    EXPECT_EQ(at, QRect((box.width() - 45) / 2, (box.height() - 64) / 2, 45, 64));
    EXPECT_EQ(box.pixel(at.topLeft()), qRgb(0, 255, 0));
    EXPECT_EQ(box.pixel(at.bottomRight()), qRgb(0, 255, 0));
    EXPECT_NE(box.pixel(at.left() - 1, at.top()), qRgb(0, 255, 0));
    EXPECT_NE(box.pixel(at.right() + 1, at.bottom()), qRgb(0, 255, 0));
    EXPECT_EQ(Painted(box, box.rect()), 45 * 64);
}

TEST_F(RipDialog, WithoutThumbnailOrProjectTheBoxSaysNone) {
    const std::string letter = home.Path("letter.txt");
    test::WriteFileBytes(letter, "Dear operator,\n");
    const struct {
        std::string path;
        const char* label;
    } cases[] = {
        {WriteProject(home.Path("bare.RIP"), 0, 0), "10.00 x 5.00 in."},
        {letter, "Picture:"},
        {home.Path("gone.RIP"), "Picture:"},
    };
    for (const auto& c : cases) {
        Highlight(WriteProject(home.Path("first.RIP"), 45, 64));  // a picture to replace
        Highlight(c.path);
        EXPECT_EQ(Label(), c.label) << c.path;
        EXPECT_TRUE(dlg.Picture().isNull()) << c.path;
        // "(None)" is written in the middle and nothing else is drawn.
        const QImage box = Box();
        const QRect middle(0, box.height() / 2 - 8, box.width(), 16);
        EXPECT_GT(Painted(box, middle), 20) << c.path;
        EXPECT_EQ(Painted(box, box.rect()), Painted(box, middle)) << c.path;
    }
}

TEST_F(RipDialog, LargerPicturesAreScaledFromTheTopLeft) {
    const struct {
        QSize picture, box;
        QRect at;
    } cases[] = {
        {{45, 64}, {120, 100}, {37, 18, 45, 64}},    // fits: 1:1, centred
        {{120, 100}, {120, 100}, {0, 0, 120, 100}},  // fits exactly
        {{300, 100}, {120, 100}, {0, 0, 120, 40}},   // wider: full width
        {{100, 300}, {120, 100}, {0, 0, 33, 100}},   // higher: full height, truncated width
        {{121, 121}, {120, 100}, {0, 0, 100, 100}},  // square counts as high
    };
    for (const auto& c : cases) EXPECT_EQ(PictureRect(c.picture, c.box), c.at) << c.at.width();

    Highlight(WriteProject(home.Path("big.RIP"), 640, 320));
    const QImage box = Box();
    ASSERT_LT(box.width(), 640);
    EXPECT_EQ(box.pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_EQ(box.pixel(box.width() - 1, box.width() * 320 / 640 - 1), qRgb(0, 255, 0));
    EXPECT_NE(box.pixel(0, box.width() * 320 / 640 + 1), qRgb(0, 255, 0));
}

TEST_F(RipDialog, HighlightingAFileInTheListShowsItsPreview) {
    WriteProject(home.Path("list.RIP"), 45, 64);
    dlg.show();
    QListView* list = FileList(dlg, 1);
    ASSERT_EQ(list->model()->rowCount(list->rootIndex()), 1);
    list->setCurrentIndex(list->model()->index(0, 0, list->rootIndex()));
    EXPECT_EQ(dlg.Picture().size(), QSize(45, 64));
    EXPECT_EQ(Label(), "10.00 x 5.00 in.");
    dlg.hide();
}

// The window's file questions for projects come up in these dialogs; the
// list offers project files whatever the case of their suffix.
TEST_F(RipDialog, WindowAsksForProjectsInTheseDialogs) {
    WriteProject(home.Path("upper.RIP"), 0, 0);
    WriteProject(home.Path("lower.rip"), 0, 0);
    test::WriteFileBytes(home.Path("other.txt"), "x");
    QtUserInterface ui;
    FileDialogRequest req;
    req.title = "Load RIP Project File";
    req.initialDir = home.Home();
    req.filter = "RIP Project File (*.RIP)|*.RIP";
    req.projectPreview = true;
    QStringList listed;
    test::WhenModal<TopenRipDialog>([&](TopenRipDialog* open) {
        EXPECT_EQ(open->windowTitle(), "Load RIP Project File");
        QListView* list = FileList(*open, 2);
        for (int r = 0; r < list->model()->rowCount(list->rootIndex()); ++r) {
            const QModelIndex index = list->model()->index(r, 0, list->rootIndex());
            if (index.flags() & Qt::ItemIsEnabled) listed << index.data().toString();
        }
        open->findChild<QLineEdit*>("fileNameEdit")->setText("lower.rip");
        static_cast<QDialog*>(open)->accept();
    });
    EXPECT_EQ(ui.ChooseFile(req), home.Path("lower.rip"));
    listed.sort();
    EXPECT_EQ(listed, (QStringList{"lower.rip", "upper.RIP"}));

    req.mode = FileDialogRequest::Mode::Save;
    req.title = "Save RIP Project File";
    test::WhenModal<TopenRipDialog>([&](TopenRipDialog* save) {
        EXPECT_NE(qobject_cast<TsaveRipDialog*>(save), nullptr);
        EXPECT_EQ(save->windowTitle(), "Save RIP Project File");
        save->findChild<QLineEdit*>("fileNameEdit")->setText("new");
        static_cast<QDialog*>(save)->accept();
    });
    EXPECT_EQ(ui.ChooseFile(req), home.Path("new.RIP"));
}

}  // namespace
}  // namespace corvan
