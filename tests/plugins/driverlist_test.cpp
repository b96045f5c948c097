// The driver list: updating, the combo rule, uninstalling, the new-driver
// marker and custom paper forms.
#include "driver_fixture.h"

#include "platform/folders.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "plugins/currentplugin.h"
#include "plugins/customforms.h"
#include "plugins/drivercommands.h"
#include "plugins/driverlist.h"
#include "support/test_frontend.h"

#include <gtest/gtest.h>
#include <QDir>

namespace corvan {
namespace {

using test::DriverHome;
using Lines = std::vector<std::string>;

TEST(DriverCombo, StoredIndexOutsideTheListSelectsTheFirstLine) {
    struct Case {
        int lines, index, selected;
    } cases[] = {{3, 0, 0}, {3, 2, 2}, {3, 3, 0}, {3, 17, 0}, {3, -1, 0}, {1, 0, 0}, {0, 0, -1}};
    for (const auto& c : cases) {
        NoDriverWindow noWindow;
        ConsoleUserInterface console;
        DriverList list{noWindow, console};
        list.Lines.assign(static_cast<std::size_t>(c.lines), "x");
        list.Index = c.index;
        EXPECT_EQ(FillDriverComboIndex(list), c.selected) << c.lines << " " << c.index;
    }
}

TEST(DriverLine, QuotesEveryFieldAndSplitsBack) {
    EXPECT_EQ(MakeDriverLine("/a b/x.drv", "N", "D, \"E\""),
              "\"/a b/x.drv\",\"N\",\"D, \"\"E\"\"\"");
    EXPECT_EQ(DriverLinePath(MakeDriverLine("/a b/x.drv", "N", "D, \"E\"")), "/a b/x.drv");
    EXPECT_EQ(DriverLinePath("\"/x.drv\",\"N\""), "");  // two fields name no driver
    EXPECT_EQ(DriverLinePath(kWindowsPrinterLine), "c:\\temp\\nothere.drv");
}

class DriverListTest : public ::testing::Test {
protected:
    DriverHome home;
    NoDriverWindow noWindow;
    DriverList list{noWindow, home.ui};
    TemfPlotter plotter;
    std::string data = ReadPath("DataDir");

    void EmptyDataFolder() {
        for (const auto& f : QDir(QString::fromStdString(data)).entryList({"*.drv"}, QDir::Files))
            QFile::remove(QString::fromStdString(data) + f);
    }
};

TEST_F(DriverListTest, FirstUseSeedsTheBuiltDrivers) {
    EXPECT_TRUE(FileExists(data + "tiffraster.drv"));
    EXPECT_TRUE(FileExists(data + "hpglcutter.drv"));
    EXPECT_TRUE(FileExists(home.Path("Profiles/CorvanCMYK.icc")));
}

TEST_F(DriverListTest, EmptyDataFolderListsOnlyTheSystemPrinter) {
    EmptyDataFolder();
    UpdateDrivers(list, plotter);
    EXPECT_EQ(list.Lines, Lines{kWindowsPrinterLine});
    EXPECT_EQ(list.Index, 0);
    EXPECT_FALSE(CurrentPlugin().Valid);
    // No system printer support in this test: the fallback values.
    test::ExpectPrinterError(plotter);
}

TEST_F(DriverListTest, UpdateKeepsTheSelectedLineOnlyWhileItsTextIsUnchanged) {
    EmptyDataFolder();
    const std::string a = home.AddRecorder(data, "a", {"name=Same"});
    const std::string b = home.AddRecorder(data, "b", {"name=Same"});
    UpdateDrivers(list, plotter);
    ASSERT_EQ(list.Lines.size(), 3u);
    EXPECT_EQ(list.Lines.back(), kWindowsPrinterLine);
    // Two drivers with one name: both lines, told apart by the path.
    const int bLine = DriverLinePath(list.Lines[0]) == b ? 0 : 1;
    SelectDriver(list, bLine, plotter);
    EXPECT_EQ(CurrentPlugin().FileName, b);
    UpdateDrivers(list, plotter);
    EXPECT_EQ(DriverLinePath(list.Lines[static_cast<std::size_t>(list.Index)]), b);
    EXPECT_EQ(CurrentPlugin().FileName, b);

    // The stored list is from before the driver's description changed: its
    // old text is not found after the rescan, so line 0 is taken.
    list.Lines[static_cast<std::size_t>(list.Index)] = MakeDriverLine(b, "Same", "Old description");
    UpdateDrivers(list, plotter);
    EXPECT_EQ(list.Index, 0);
    EXPECT_EQ(CurrentPlugin().FileName, DriverLinePath(list.Lines[0]));
    (void)a;
}

TEST_F(DriverListTest, RemoveDriverFilesDeletesTheListedFilesAfterUnloading) {
    const std::string drv = home.AddRecorder(data, "abc");
    const std::string profile = home.Path("Profiles/abc media.INI");
    Lines made = {profile, home.Path("Profiles/abc media.PrvBMP"),
                  home.Path("Profiles/abc media.BMP"), home.Path("Data/abc.dat")};
    for (const auto& f : made) test::WriteFileBytes(f, "x");
    const std::string logName = data + "ABC_FILES.LOG";
    EXPECT_EQ(DriverInstallLogName(drv), logName);
    test::WriteFileBytes(logName,
                         profile + "\r\n" + home.Path("Data/abc.dat") + "\r\n/no/such/file\r\n");
    LoadPlugin(drv, 0);
    home.ClearLogs();
    RemoveDriverFiles(drv);
    EXPECT_FALSE(CurrentPlugin().Valid);
    EXPECT_FALSE(FileExists(drv));
    for (const auto& f : made) EXPECT_FALSE(FileExists(f)) << f;
    const auto log = home.LogLines();
    EXPECT_TRUE(
        test::InOrder(log, {"Remove Plugin: " + logName, "-Delete: " + drv,
                            "...profile:", "kill: " + home.Path("Profiles/abc media.PrvBMP"),
                            "kill: " + home.Path("Profiles/abc media.BMP"), "-Delete: " + profile,
                            "-Delete: " + home.Path("Data/abc.dat")}));
    EXPECT_TRUE(test::WithPrefix(log, "-Delete: /no/such").empty());
    EXPECT_TRUE(home.ui.messages.empty());
}

TEST_F(DriverListTest, UninstallAsksTwiceAndRebuildsTheList) {
    EmptyDataFolder();
    const std::string drv = home.AddRecorder(data, "gone", {"name=Gone"});
    UpdateDrivers(list, plotter);
    ASSERT_TRUE(CurrentPlugin().Valid);
    home.ui.Answer(ButtonYes);
    home.ui.Answer(ButtonYes);  // yes, abort
    EXPECT_FALSE(UninstallDriver(list, plotter, "Gone  Recording test driver"));
    EXPECT_TRUE(FileExists(drv));
    home.ui.Answer(ButtonYes);
    home.ui.Answer(ButtonNo);
    EXPECT_TRUE(UninstallDriver(list, plotter, "Gone  Recording test driver"));
    EXPECT_FALSE(FileExists(drv));
    EXPECT_EQ(list.Lines, Lines{kWindowsPrinterLine});
    EXPECT_EQ(home.ui.Texts(),
              (Lines{"Uninstall this Driver?\r\rDriver: Gone  Recording test driver",
                     "About to Remove Driver\rDo you wish to abort this operation?",
                     "Uninstall this Driver?\r\rDriver: Gone  Recording test driver",
                     "About to Remove Driver\rDo you wish to abort this operation?"}));
    EXPECT_FALSE(UninstallDriver(list, plotter, ""));
    EXPECT_EQ(home.ui.Texts().back(), "No Plugin Driver Selected!");
}

TEST_F(DriverListTest, NewDriverMarkerIsAnnouncedOnce) {
    EXPECT_FALSE(TakeNewDriverMarker(home.ui));
    test::WriteFileBytes(NewDriverMarkerPath(), "");
    EXPECT_TRUE(TakeNewDriverMarker(home.ui));
    EXPECT_FALSE(FileExists(NewDriverMarkerPath()));
    EXPECT_FALSE(TakeNewDriverMarker(home.ui));
    EXPECT_EQ(home.ui.Texts(), Lines{"A New Driver has been Detected!"});
}

TEST(CustomForms, CustomPaperSizeAsksSizeAndNameThenKeepsTheForm) {
    test::ScratchHome home;
    test::ScriptedUi ui;
    test::TestApp t(ui);
    t.app.CurrentPlotter.MediaWidth = 1000;
    ui.AnswerInput(std::string("Banner roll"));
    EXPECT_TRUE(CustomPaperSize(t.app)) << "a fresh user has no settings folder yet";
    ASSERT_EQ(t.front.sizeRequests.size(), 1u);
    EXPECT_EQ(t.front.sizeRequests[0].height, 3000);  // three media widths to start with
    EXPECT_EQ(ui.prompts, Lines{"Enter the name of the Custom Paper Size"});
    const auto forms = CustomForms();
    ASSERT_EQ(forms.size(), 1u);
    EXPECT_EQ(forms[0].Name, "Banner roll");
    EXPECT_EQ(forms[0].Width, 1000000);
    EXPECT_EQ(forms[0].Height, 3000000);

    t.front.askJobSize = [](const JobSizeRequest&) { return std::optional<JobSize>({0.5f, 10}); };
    EXPECT_FALSE(CustomPaperSize(t.app)) << "below 1 mm";
    t.front.askJobSize = nullptr;
    ui.AnswerInput(std::string());
    EXPECT_FALSE(CustomPaperSize(t.app)) << "no name";
    EXPECT_EQ(CustomForms().size(), 1u);

    ui.Answer(ButtonNo);
    EXPECT_FALSE(AskDownloadDriver(ui));
    EXPECT_NE(ui.Texts().back().find(DriverDownloadPage()), std::string::npos);
}

TEST(CustomForms, LargePagesOnceAndReplacingByName) {
    test::ScratchHome home;
    CreateLargePageForms();
    auto forms = CustomForms();
    ASSERT_EQ(forms.size(), 3u);
    EXPECT_EQ(forms[0].Name, "CorvanPRINT ( 36 x 24 inch)");
    EXPECT_EQ(forms[0].Width, 914400);
    EXPECT_EQ(forms[0].Height, 609600);
    EXPECT_EQ(forms[2].Height, 2540000);
    EXPECT_FALSE(ReadRegBool("Make_Large_Page", true));
    EXPECT_TRUE(CreateCustomForm("CorvanPRINT ( 50 x 50 inch)", 5000, 6000));
    EXPECT_FALSE(CreateCustomForm("tiny", 999, 5000));
    EXPECT_FALSE(CreateCustomForm("", 5000, 5000));
    CreateLargePageForms();  // only at the first start
    forms = CustomForms();
    ASSERT_EQ(forms.size(), 3u);
    EXPECT_EQ(forms[1].Width, 5000);
    EXPECT_EQ(forms[1].Height, 6000);
}

}  // namespace
}  // namespace corvan
