// The driver wrapper: loading, the guards, the default results and the
// debug-log lines, seen through real driver libraries.
#include "driver_fixture.h"

#include "plugins/currentplugin.h"
#include "plugins/pluginobject.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace corvan {
namespace {

using test::DriverHome;
using test::WithPrefix;

TEST(ShortString, CapacitySweep) {
    for (std::size_t n : {0u, 1u, 35u, 254u, 255u, 256u, 1000u}) {
        const std::string text(n, 'x');
        DrvShortString s;
        std::memset(s, 0xEE, sizeof s);
        MakeShortString(text, s);
        const std::size_t kept = std::min<std::size_t>(n, 255);
        EXPECT_EQ(s[0], kept) << n;
        EXPECT_EQ(ReadShortString(s), std::string(kept, 'x')) << n;
        for (std::size_t i = kept + 1; i < sizeof s; ++i) ASSERT_EQ(s[i], 0) << n;
    }
    // A length byte beyond a small block's room is clamped, never read past.
    std::uint8_t extra[36];
    std::memset(extra, 'y', sizeof extra);
    extra[0] = 200;
    EXPECT_EQ(ReadShortString(extra, sizeof extra), std::string(35, 'y'));
}

struct InvalidCase {
    const char* what;
    std::string (*make)(DriverHome&);
    bool loads;  // the library itself loads (it only lacks Query_Printer)
};

const InvalidCase kInvalid[] = {
    {"not a library",
     [](DriverHome& h) {
         const std::string p = h.Folder("drv") + "text.drv";
         test::WriteFileBytes(p, "this is not a shared library\n");
         return p;
     },
     false},
    {"no Query_Printer",
     [](DriverHome& h) {
         return h.AddRecorder(h.Folder("drv"), "noquery", {}, "recorder_noquery");
     },
     true},
    {"missing file", [](DriverHome& h) { return h.Folder("drv") + "absent.drv"; }, false},
    {"empty path", [](DriverHome&) { return std::string(); }, false},
};

TEST(PluginObject, InvalidLibrariesGiveInvalidObjectsWithoutMessages) {
    for (const auto& c : kInvalid) {
        DriverHome home;
        const std::string path = c.make(home);
        {
            TPluginObject plugin(path, 0);
            EXPECT_FALSE(plugin.Valid) << c.what;
            EXPECT_EQ(plugin.LibHandle != nullptr, c.loads) << c.what;
            EXPECT_EQ(plugin.FileName, c.loads ? path : "") << c.what;
            TPrinterInfo info{};
            plugin.Query_Printer(info);
            EXPECT_EQ(info.Reserved, -1) << c.what;
        }
        const auto log = home.LogLines();
        EXPECT_EQ(WithPrefix(log, " Create Plugin: "),
                  std::vector<std::string>{" Create Plugin: " + path})
            << c.what;
        EXPECT_TRUE(WithPrefix(log, " Valid").empty()) << c.what;
        EXPECT_EQ(WithPrefix(log, "PI: QUERY PRINTER").size(), 1u) << c.what;
        EXPECT_EQ(WithPrefix(log, "PI: SET DATATYPE").size(), 0u) << c.what;
        EXPECT_TRUE(home.ui.messages.empty()) << c.what;
    }
}

TEST(PluginObject, LoadingLogsHandleValidityAndTellsTheWindow) {
    DriverHome home;
    const std::string path = home.AddRecorder(home.Folder("drv"), "rec");
    {
        TPluginObject plugin(path, 0);
        ASSERT_TRUE(plugin.Valid);
        EXPECT_EQ(plugin.FileName, path);
    }
    const auto log = home.LogLines();
    EXPECT_TRUE(test::InOrder(log, {" Create Plugin: " + path, " Valid", "PI: SET DATATYPE 23 0",
                                    "PI: DESTROY", "PI: SET DATATYPE 23 "}));
    ASSERT_EQ(WithPrefix(log, " LoadLib: ").size(), 1u);
    EXPECT_NE(WithPrefix(log, " LoadLib: ")[0], " LoadLib: 0");
    const auto init = WithPrefix(log, "-@Initialize_Plugin= ");
    ASSERT_EQ(init.size(), 1u);
    EXPECT_GE(init[0].size(), std::string("-@Initialize_Plugin= ").size() + 8);
    EXPECT_EQ(home.Calls(),
              (std::vector<std::string>{"rec load", "rec Set_Plugin_Datatype 23 0",
                                        "rec Set_Plugin_Datatype 23 ", "rec unload"}));
}

TEST(PluginObject, QueryOnlyDriverRunsEveryCommandWithDefaults) {
    DriverHome home;
    const std::string path =
        home.AddRecorder(home.Folder("drv"), "qonly", {"name=Only Query"}, "recorder_queryonly");
    TPluginObject p(path, 0);
    ASSERT_TRUE(p.Valid);
    EXPECT_EQ(p.Query_Printer().Name, "Only Query");
    auto preview = Bitmap24::Create(4, 4);
    p.Initialize_Plugin();
    p.Plugin_Load_Profile();
    p.Plugin_Free_Profile();
    p.Set_Plugin_Preview(*preview, 500);
    std::uint8_t blob[4] = {1, 2, 3, 4};
    p.Set_Plugin_Data(blob, 4);
    EXPECT_EQ(p.Get_Plugin_Data(nullptr), 0);
    EXPECT_FALSE(p.Choose_Plugin_Data(1));
    EXPECT_EQ(p.Set_Plugin_Datatype(14, "x"), 0);
    EXPECT_EQ(p.Get_Plugin_Datatype(17), "");
    EXPECT_EQ(p.Get_GMA_Data(10, 10), nullptr);
    EXPECT_EQ(p.Get_Plugin_Settings(), 0);
    EXPECT_FALSE(p.Prepare_PrintJob(10, 10, 10, 10, "job"));
    p.Insert_SpotColor(1, 2, 3, 4, 50, 0, 0);
    EXPECT_FALSE(p.Force_InkColor(1, 1, 0, 0, 0, 4));
    EXPECT_EQ(p.Plugin_SpoolPrintJob("/tmp/x"), 0);
    EXPECT_FALSE(p.Plugin_OpenPrinter());
    EXPECT_FALSE(p.Plugin_StartDoc("doc"));
    EXPECT_FALSE(p.Plugin_StartPage(1));
    std::uint8_t plane[10] = {};
    EXPECT_FALSE(p.Plugin_PrintRow(plane, plane, plane, 10, 10, -1));
    EXPECT_EQ(p.Plugin_Status(), 0);
    p.Plugin_EndPage();
    EXPECT_FALSE(p.Plugin_StartCut());
    EXPECT_FALSE(p.Plugin_PrintVector(6, 1.0, 2.0));
    p.Plugin_EndCut();
    p.Plugin_EndDoc();
    p.Plugin_ClosePrinter();
    p.Finalize_PrintJob();
    p.Finalize_Plugin();
    // The guards of a valid object log as if the calls were made.
    const auto log = home.LogLines();
    EXPECT_TRUE(test::InOrder(
        log, {"PI: INITIALIZE PLUGIN", "PI: LOAD PROFILE", "PI: SET DATA", "PI: GET DATA",
              "PI: CHOOSE DATA", "PI: SET DATATYPE 14 x", "PI: GET DATATYPE 17",
              "PI: GET GMADATA 2", "PI: GET SETTINGS", "PI: PREPARE PRINTJOB ", "PI: OPEN PRINTER",
              "PI: FINALIZE PRINTJOB", "PI: FINALIZE PLUGIN"}));
    // Entry-guarded calls without an entry point leave no line.
    EXPECT_TRUE(WithPrefix(log, "PI: FREE PROFILE").empty());
    EXPECT_TRUE(WithPrefix(log, "PI: SET PREVIEW").empty());
    EXPECT_TRUE(WithPrefix(log, "PI: SPOOL PRINTJOB").empty());
    EXPECT_EQ(home.Calls(), (std::vector<std::string>{"qonly load", "qonly Query_Printer"}));
}

TEST(PluginObject, InvalidObjectSkipsValidGuardedCallsButStillLogsDataReads) {
    DriverHome home;
    SelectPlugin("\"c:\\temp\\nothere.drv\",\"Windows Printer\",\"Windows Printer Driver\"", 0);
    TPluginObject& p = CurrentPlugin();
    EXPECT_FALSE(p.Valid);
    EXPECT_EQ(p.Get_Plugin_Datatype(19), "");
    EXPECT_FALSE(p.Choose_Plugin_Data(1));
    EXPECT_EQ(p.Get_Plugin_Data(nullptr), 0);
    const auto log = home.LogLines();
    EXPECT_TRUE(test::InOrder(
        log,
        {"Select Plugin: \"c:\\temp\\nothere.drv\",\"Windows Printer\",\"Windows Printer Driver\"",
         " Create Plugin: c:\\temp\\nothere.drv", "PI: GET DATATYPE 19"}));
    EXPECT_TRUE(WithPrefix(log, "PI: CHOOSE DATA").empty());
    EXPECT_EQ(std::count(log.begin(), log.end(), "PI: GET DATA"), 0);
    EXPECT_TRUE(WithPrefix(log, "PI: INITIALIZE PLUGIN").empty());
}

TEST(PluginObject, BooleanResultsReadTheLowByteOnly) {
    struct Case {
        const char* answer;
        bool accepted;
    } cases[] = {{"1", true},   {"0", false},    {"256", false},
                 {"257", true}, {"-256", false}, {"255", true}};
    for (const auto& c : cases) {
        DriverHome home;
        TPluginObject p(
            home.AddRecorder(home.Folder("drv"), "rec", {std::string("choose=") + c.answer}), 0);
        EXPECT_EQ(p.Choose_Plugin_Data(1), c.accepted) << c.answer;
    }
}

TEST(PluginObject, GamutBitmapIsCopiedAndReleasedToTheDriver) {
    DriverHome home;
    TPluginObject p(home.AddRecorder(home.Folder("drv"), "rec", {"gma=1"}), 0);
    auto bmp = p.Get_GMA_Data(7, 3);
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->Width(), 7);
    EXPECT_EQ(bmp->Height(), 3);
    EXPECT_EQ(bmp->Pixel(6, 2), 0x808080u);
    EXPECT_EQ(p.Get_GMA_Data(0, 3), nullptr);  // the driver answers null
}

TEST(PluginObject, SettingsBlockGivesPassCount) {
    DriverHome home;
    TPluginObject p(home.AddRecorder(home.Folder("drv"), "rec", {"passcount=3"}), 0);
    EXPECT_EQ(p.Get_Plugin_Settings(), 3);
}

}  // namespace
}  // namespace corvan

namespace corvan {
namespace {

// The recording driver answers as its configuration says: the RIP tests
// build their scenarios on this.
TEST(RecordingDriver, AnswersAsConfigured) {
    DriverHome home;
    TPluginObject p(
        home.AddRecorder(home.Folder("drv"), "rec",
                         {"problem=Plugin_OpenPrinter,Plugin_StartPage", "status_after=2",
                          "ink.1=1", "ink.3=1", "passcount=4", "data.17=720"}),
        0);
    EXPECT_FALSE(p.Prepare_PrintJob(10, 10, 20, 20, "job"));
    EXPECT_TRUE(p.Plugin_OpenPrinter());
    EXPECT_FALSE(p.Plugin_StartDoc("t"));
    EXPECT_TRUE(p.Plugin_StartPage(1));
    EXPECT_TRUE(p.Force_InkColor(1, 11, 0, 0, 255, 4));
    EXPECT_FALSE(p.Force_InkColor(2, 11, 0, 0, 255, 4));
    EXPECT_TRUE(p.Force_InkColor(3, 11, 0, 0, 255, 4));
    EXPECT_EQ(p.Get_Plugin_Settings(), 4);
    EXPECT_EQ(p.Get_Plugin_Datatype(17), "720");
    std::uint8_t plane[10] = {7};
    EXPECT_FALSE(p.Plugin_PrintRow(plane, plane, plane, 10, 20, -1));
    EXPECT_EQ(p.Plugin_Status(), 0);
    p.Plugin_PrintRow(plane, plane, plane, 10, 20, 0);
    EXPECT_EQ(p.Plugin_Status(), 0);
    p.Plugin_PrintRow(plane, plane, plane, 10, 20, 1);
    EXPECT_EQ(p.Plugin_Status(), 1);
    EXPECT_FALSE(p.Plugin_PrintVector(6, 1.25, 2.5));
    const auto calls = home.Calls();
    EXPECT_TRUE(test::InOrder(
        calls, {"rec Prepare_PrintJob 10 10 20 20 1 job", "rec Plugin_StartDoc t",
                "rec Force_InkColor 1 11 0 0 255 4", "rec Plugin_PrintRow 0 10 20 -1 7 7 7",
                "rec Plugin_PrintVector 6 1.250 2.500"}));
}

}  // namespace
}  // namespace corvan
