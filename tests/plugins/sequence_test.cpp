// What a driver sees, call by call, for each host operation.
#include "driver_fixture.h"

#include "platform/inifile.h"
#include "platform/paths.h"
#include "plugins/currentplugin.h"
#include "plugins/drivercommands.h"
#include "plugins/driverlist.h"
#include "plugins/printersettings.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

using test::DriverHome;
using Lines = std::vector<std::string>;

const Lines kDeviceReads = {"Query_Printer",          "Get_Plugin_Datatype 19",
                            "Get_Plugin_Datatype 20", "Get_Plugin_Datatype 15",
                            "Get_Plugin_Datatype 14", "Get_Plugin_Datatype 17",
                            "Get_Plugin_Datatype 18"};

Lines Tagged(const std::string& tag, const Lines& calls) {
    Lines out;
    for (const auto& c : calls) out.push_back(tag + " " + c);
    return out;
}

Lines Concat(std::initializer_list<Lines> parts) {
    Lines out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

class Sequences : public ::testing::Test {
protected:
    DriverHome home;
    NoDriverWindow noWindow;
    DriverList list{noWindow, home.ui};
    TemfPlotter plotter;
    std::string dir = home.Folder("drv");

    void Select(const std::string& path) {
        list.Lines = GetPrinterList(dir, true);
        list.Lines.push_back(kWindowsPrinterLine);
        for (std::size_t i = 0; i < list.Lines.size(); ++i)
            if (DriverLinePath(list.Lines[i]) == path)
                SelectDriver(list, static_cast<int>(i), plotter);
    }
};

TEST_F(Sequences, ListingLoadsQueriesAndUnloadsEachLibraryWithoutInitialising) {
    const std::string a =
        home.AddRecorder(dir, "a", {"name=Alpha", "description=First, \"quoted\""});
    const std::string bad = dir + "bad.drv";
    test::WriteFileBytes(bad, "MZ not an ELF");
    const auto lines = GetPrinterList(dir, true);
    EXPECT_EQ(lines, Lines{"\"" + a + "\",\"Alpha\",\"First, \"\"quoted\"\"\""});
    EXPECT_EQ(GetPrinterList(dir, false), Lines{a});
    EXPECT_EQ(home.Calls(),
              Concat({Tagged("a", {"load", "Set_Plugin_Datatype 23 0", "Query_Printer",
                                   "Set_Plugin_Datatype 23 ", "unload"}),
                      Tagged("a", {"load", "Set_Plugin_Datatype 23 0", "Query_Printer",
                                   "Set_Plugin_Datatype 23 ", "unload"})}));
    const auto log = home.LogLines();
    EXPECT_TRUE(test::InOrder(log, {std::string(49, '-'), "Get PrinterList: " + dir}));
    EXPECT_EQ(test::WithPrefix(log, "Invalid\t"), (Lines{"Invalid\t" + bad, "Invalid\t" + bad}));
    EXPECT_EQ(test::WithPrefix(log, "Valid\t"), (Lines{"Valid\t" + a, "Valid\t" + a}));
}

TEST_F(Sequences, SelectionFinalisesTheOldDriverBeforeLoadingTheNew) {
    const std::string a = home.AddRecorder(dir, "a");
    const std::string b = home.AddRecorder(dir, "b");
    Select(a);
    home.ClearCalls();
    Select(b);
    const auto calls = home.Calls();
    // Listing b and a again in between is allowed; the selection part is fixed.
    Lines selection;
    bool finalised = false;
    for (const auto& c : calls) {
        if (c == "a Finalize_Plugin") finalised = true;
        if (finalised) selection.push_back(c);
    }
    EXPECT_EQ(selection,
              Concat({Tagged("a", {"Finalize_Plugin", "Set_Plugin_Datatype 23 ", "unload"}),
                      Tagged("b", {"load", "Set_Plugin_Datatype 23 0", "Initialize_Plugin"}),
                      Tagged("b", kDeviceReads)}));
    EXPECT_EQ(CurrentPlugin().FileName, b);
    EXPECT_TRUE(plotter.IsPlugin);
    // Program end: no Finalize_Plugin.
    home.ClearCalls();
    ReleaseCurrentPlugin();
    EXPECT_EQ(home.Calls(), Tagged("b", {"Set_Plugin_Datatype 23 ", "unload"}));
}

TEST_F(Sequences, DeviceRecordComesFromTheDriver) {
    const std::string a =
        home.AddRecorder(dir, "a",
                         {"name=Big Jet", "description=Solvent", "extra=x", "width=1371.6",
                          "length=0", "data.19=1371,6", "data.20=2500.4", "data.15=2",
                          "data.14=/tmp/out.prn", "data.17=720", "data.18=1440"});
    home.ClearLogs();
    Select(a);
    EXPECT_TRUE(plotter.IsPlugin);
    EXPECT_FLOAT_EQ(plotter.PrintableWidth, 1371.6f);
    EXPECT_EQ(plotter.PrintableLength, 0.0f);
    EXPECT_EQ(plotter.MediaWidth, 1372.0f);
    EXPECT_EQ(plotter.MediaHeight, 2500.0f);
    EXPECT_EQ(plotter.QueueIndex, 2);
    EXPECT_EQ(plotter.OutputFile, "/tmp/out.prn");
    EXPECT_EQ(plotter.DpiX, 720);
    EXPECT_EQ(plotter.DpiY, 1440);
    EXPECT_EQ(plotter.PrinterName, "Big Jet");
    EXPECT_EQ(plotter.PrinterDescription, "Solvent");
    EXPECT_TRUE(test::InOrder(home.CriticalLines(),
                              {"1\tSet_Plotter_Size", "2\t-ValidPrinter: " + a,
                               "3\t-Query: Big Jet\rSolvent\rx", "4\t-1", "5\t=ok", "6\t_end"}));
}

TEST_F(Sequences, PrinterOptionsHandTheMediaSizeAndRefreshOnlyWhenAccepted) {
    for (const char* answer : {"1", "0"}) {
        const std::string a =
            home.AddRecorder(dir, std::string("opt") + answer, {std::string("choose=") + answer});
        Select(a);
        plotter.MediaWidth = 610;
        plotter.MediaHeight = 25.4f;
        home.ClearCalls();
        home.ClearLogs();
        const bool accepted = DriverPageDialog(plotter, DRV_DIALOG_PRINTER_OPTIONS, home.ui);
        EXPECT_EQ(accepted, answer[0] == '1');
        const std::string tag = std::string("opt") + answer;
        Lines expected =
            Tagged(tag, {"Set_Plugin_Datatype 19 610", "Set_Plugin_Datatype 20 25.3999996185303",
                         "Choose_Plugin_Data 1"});
        if (accepted) expected = Concat({expected, Tagged(tag, kDeviceReads)});
        EXPECT_EQ(home.Calls(), expected) << answer;
        EXPECT_TRUE(test::InOrder(home.LogLines(),
                                  {"Plugin Setup: 610.000 x 25.400", " - Choose_Plugin_Data"}));
    }
    home.ClearLogs();
    DriverPageDialog(plotter, DRV_DIALOG_SHEET_SIZES, home.ui);
    EXPECT_TRUE(
        test::InOrder(home.LogLines(), {" - Choose_Plugin_Data: PageSize", "PI: CHOOSE DATA"}));
}

TEST_F(Sequences, QueueChoiceTellsTheDriverThenRefreshes) {
    Select(home.AddRecorder(dir, "q"));
    home.ClearCalls();
    ChooseQueue(plotter, 3);
    EXPECT_EQ(home.Calls(),
              Concat({Tagged("q", {"Set_Plugin_Datatype 15 3"}), Tagged("q", kDeviceReads)}));
    EXPECT_EQ(plotter.QueueIndex, 3);  // the driver echoes what it was told
}

TEST_F(Sequences, NewJobAndProjectLoadLoadTheProfileAndResetTheGamutMethod) {
    Select(home.AddRecorder(dir, "j"));
    PluginProjectDriver port(list, plotter);
    home.ClearCalls();
    port.JobLoaded();
    port.JobLoaded();
    EXPECT_EQ(home.Calls(), Tagged("j", {"Plugin_Load_Profile", "Set_Plugin_Datatype 21 0",
                                         "Plugin_Load_Profile", "Set_Plugin_Datatype 21 0"}));
}

TEST_F(Sequences, SavingAsksForTheSizeThenTheBytesAndRestoringReloads) {
    const std::string s = home.AddRecorder(dir, "s", {"blob=5"});
    Select(s);
    home.ClearCalls();
    const std::string pin = home.Path("Profiles/s.pin");
    ASSERT_TRUE(SaveDriverSettings(pin));
    EXPECT_EQ(home.Calls(), Tagged("s", {"Get_Plugin_Data null", "Get_Plugin_Data buffer"}));
    home.ClearCalls();
    LoadDriverSettings(pin, list, plotter);
    const auto calls = home.Calls();
    ASSERT_GE(calls.size(), 8u);
    EXPECT_EQ(Lines(calls.end() - 8, calls.end() - 7)[0].rfind("s Set_Plugin_Data 5 ", 0), 0u);
    EXPECT_EQ(Lines(calls.end() - 7, calls.end()), Tagged("s", kDeviceReads));
    EXPECT_TRUE(test::InOrder(
        calls, Concat({Tagged("s", {"Finalize_Plugin", "Set_Plugin_Datatype 23 ", "unload", "load",
                                    "Set_Plugin_Datatype 23 0", "Initialize_Plugin"})})));
}

TEST_F(Sequences, ProfileManagerNeedsADriver) {
    EXPECT_FALSE(ProfileManager(plotter, home.ui));
    EXPECT_EQ(home.ui.Texts(), Lines{"You must select a Plugin Driver first!"});
    Select(home.AddRecorder(dir, "pm"));
    home.ClearCalls();
    EXPECT_TRUE(ProfileManager(plotter, home.ui));
    EXPECT_EQ(home.Calls(), Tagged("pm", {"Choose_Plugin_Data 24"}));
}

TEST_F(Sequences, PrinterSettingsCommandsAskForAPinFileInTheProfileFolder) {
    SavePrinterSettingsCommand(home.ui);
    EXPECT_EQ(home.ui.Texts(), Lines{"No Printer to Save!"});
    const std::string p = home.AddRecorder(dir, "p", {"blob=3"});
    Select(p);
    const std::string pin = home.Path("shop.pin");
    home.ui.AnswerFile(std::nullopt);  // cancelled: nothing written
    SavePrinterSettingsCommand(home.ui);
    home.ui.AnswerFile(pin);
    SavePrinterSettingsCommand(home.ui);
    ASSERT_EQ(home.ui.fileRequests.size(), 2u);
    const FileDialogRequest& req = home.ui.fileRequests[1];
    EXPECT_EQ(req.title, "Save Printer Settings");
    EXPECT_EQ(req.filter, "Printer Info (*.pin)|*.pin");
    EXPECT_EQ(req.defaultExt, "pin");
    EXPECT_EQ(req.initialDir, ReadPath("ProfileDir"));
    EXPECT_EQ(GetProfileString(pin, "Printer Settings", "Plugin"), p);

    home.ClearCalls();
    home.ui.AnswerFile(std::nullopt);
    EXPECT_FALSE(LoadPrinterSettingsCommand(list, plotter));
    EXPECT_TRUE(home.Calls().empty());
    home.ui.AnswerFile(pin);
    EXPECT_TRUE(LoadPrinterSettingsCommand(list, plotter));
    EXPECT_EQ(home.ui.fileRequests.back().title, "Load Printer Settings");
    EXPECT_TRUE(test::InOrder(home.Calls(), {"p load", "p Initialize_Plugin"}));
}

TEST_F(Sequences, RipFromFileSpoolsAnExistingFileWhenConfirmed) {
    Select(home.AddRecorder(dir, "r"));
    const std::string prn = home.Path("job.prn");
    test::WriteFileBytes(prn, "raster");
    home.ClearCalls();
    home.ui.AnswerFile(home.Path("missing.prn"));
    EXPECT_EQ(RipFromFileCommand("start.prn", home.ui), std::nullopt);
    EXPECT_EQ(home.ui.fileRequests[0].title, "Select Spool File");
    EXPECT_EQ(home.ui.fileRequests[0].fileName, "start.prn");
    EXPECT_EQ(home.ui.fileRequests[0].filter, "Print Files (PRN)|*.prn|All Files (*.*)|*.*");
    home.ui.AnswerFile(prn);
    home.ui.Answer(ButtonNo);
    EXPECT_EQ(RipFromFileCommand("", home.ui), prn);
    EXPECT_TRUE(home.Calls().empty());
    home.ui.AnswerFile(prn);
    home.ui.Answer(ButtonYes);
    EXPECT_EQ(RipFromFileCommand("", home.ui), prn);
    EXPECT_EQ(home.Calls(), Lines{"r Plugin_SpoolPrintJob " + prn});
    EXPECT_EQ(home.ui.Texts(), (Lines{"Spool file?\r\r" + prn, "Spool file?\r\r" + prn}));
}

}  // namespace
}  // namespace corvan
