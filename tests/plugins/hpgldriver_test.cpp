// The HP-GL cutter driver: cut vectors become exactly the HP-GL a vinyl
// cutter reads; raster calls are accepted and ignored.
#include "driver_fixture.h"
#include "printrun.h"

#include "platform/folders.h"
#include "plugins/pluginobject.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

using test::DriverHome;

class HpglDriver : public ::testing::Test {
protected:
    DriverHome home;
    TPluginObject plugin{home.Path("Data/hpglcutter.drv"), 0};
    std::string out = home.Path("Cutfiles/square.plt");
    std::unique_ptr<Bitmap24> raster = Bitmap24::Create(8, 8);

    // A 10 mm square at (10, 10) as the cut path sends it: move, three
    // lines, and a closing line back to the start.
    std::string CutSquare(const std::string& settings) {
        test::SetDriverSettings(plugin, settings);
        auto run = test::PrintRun::Of(*raster, 16, 16);
        run.cut = [](TPluginObject& p) {
            EXPECT_FALSE(p.Plugin_PrintVector(6, 10.0, 10.0));
            EXPECT_FALSE(p.Plugin_PrintVector(2, 20.0, 10.0));
            EXPECT_FALSE(p.Plugin_PrintVector(2, 20.0, 20.0));
            EXPECT_FALSE(p.Plugin_PrintVector(2, 10.0, 20.0));
            EXPECT_FALSE(p.Plugin_PrintVector(3, 10.0, 10.0));
        };
        test::Print(plugin, run);
        EXPECT_TRUE(run.problems.empty());
        return test::ReadFileBytes(out);
    }
};

TEST_F(HpglDriver, SquareAlongTheFeed) {
    ASSERT_TRUE(plugin.Valid);
    EXPECT_EQ(CutSquare("OutputFile=" + out + "\n"),
              "IN;\nSP1;\nVS20;\n"
              "PU400,400;\nPD400,800;\nPD800,800;\nPD800,400;\nPD400,400;\n"
              "PU;\nSP0;\n");
}

TEST_F(HpglDriver, SquareUnrotatedWithToolSpeedAndForce) {
    EXPECT_EQ(CutSquare("OutputFile=" + out + "\nRotate=0\nTool=2\nSpeed=5\nForce=80\n"),
              "IN;\nSP2;\nVS5;\nFS80;\n"
              "PU400,400;\nPD800,400;\nPD800,800;\nPD400,800;\nPD400,400;\n"
              "PU;\nSP0;\n");
}

TEST_F(HpglDriver, OpenFigureIsClosedByTheCloseFlagAndUnitsRound) {
    test::SetDriverSettings(plugin, "OutputFile=" + out + "\nRotate=0\n");
    auto run = test::PrintRun::Of(*raster, 1, 1);
    run.cut = [](TPluginObject& p) {
        p.Plugin_PrintVector(6, 0.0125, 0.0375);  // 0.5 and 1.5 units: to even
        p.Plugin_PrintVector(4, 5.0, 0.0);        // a curve point is cut as a line
        p.Plugin_PrintVector(3, 5.0, 5.0);
        p.Plugin_PrintVector(6, -1.0, 2.0);  // nothing left of the origin
    };
    test::Print(plugin, run);
    EXPECT_EQ(test::ReadFileBytes(out),
              "IN;\nSP1;\nVS20;\nPU0,2;\nPD200,0;\nPD200,200;\nPD0,2;\nPU0,80;\nPU;\nSP0;\n");
}

TEST_F(HpglDriver, DevicePathWhenNoOutputFile) {
    const std::string device = home.Path("fake-lp0");
    test::WriteFileBytes(device, "");
    EXPECT_EQ(plugin.Get_Plugin_Datatype(14), "");
    out = device;
    EXPECT_EQ(CutSquare("Device=" + device + "\n").substr(0, 4), "IN;\n");
    // A missing device is a problem at the start of the cut; nothing is made.
    test::SetDriverSettings(plugin, "Device=" + home.Path("no-such-device") + "\n");
    EXPECT_TRUE(plugin.Plugin_StartCut());
    plugin.Plugin_EndCut();
    EXPECT_FALSE(FileExists(home.Path("no-such-device")));
}

TEST_F(HpglDriver, RasterOnlyRunWritesNoCutFile) {
    test::SetDriverSettings(plugin, "OutputFile=" + out + "\n");
    auto run = test::PrintRun::Of(*raster, 8, 8);
    test::Print(plugin, run);
    EXPECT_TRUE(run.problems.empty());
    EXPECT_FALSE(FileExists(out));
    EXPECT_FALSE(plugin.Get_Plugin_Datatype(10).empty());
    EXPECT_TRUE(
        FileExists(plugin.Get_Plugin_Datatype(10)));  // the RIP asks for an existing profile
}

}  // namespace
}  // namespace corvan
