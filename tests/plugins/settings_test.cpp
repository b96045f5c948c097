// Printer settings records: the blob as text, .pin files, the project
// file's keys, and restoring.
#include "driver_fixture.h"

#include "platform/debuglog.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "plugins/currentplugin.h"
#include "plugins/driverlist.h"
#include "plugins/printersettings.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

using test::DriverHome;
using Bytes = std::vector<std::uint8_t>;

TEST(DriverDataText, HexDecodeCases) {
    struct Case {
        const char* text;
        std::optional<Bytes> bytes;
    } cases[] = {
        {"", Bytes{}},
        {"0a", Bytes{0x0A}},
        {"0A1", Bytes{0x0A}},  // an odd last character is ignored
        {"FFff00", Bytes{0xFF, 0xFF, 0x00}},
        {"0G", std::nullopt},
        {"zz", std::nullopt},
        {"00 1", std::nullopt},
        {"+1", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(HexDecode(c.text), c.bytes) << c.text;
    const Bytes all = [] {
        Bytes b;
        for (int i = 0; i < 256; ++i) b.push_back(static_cast<std::uint8_t>(i));
        return b;
    }();
    const std::string text = HexEncode(all.data(), all.size());
    EXPECT_EQ(text.substr(0, 8), "00010203");
    EXPECT_EQ(text.substr(text.size() - 4), "FEFF");
    EXPECT_EQ(HexDecode(text), all);
    // The decoder refuses more than the largest blob a driver may have.
    EXPECT_FALSE(HexDecode(std::string(2 * kMaxDriverBlob + 2, '0')));
    EXPECT_TRUE(HexDecode(std::string(2 * kMaxDriverBlob + 1, '0')));
}

class Settings : public ::testing::Test {
protected:
    DriverHome home;
    NoDriverWindow noWindow;
    DriverList list{noWindow, home.ui};
    TemfPlotter plotter;
    std::string dir = home.Folder("drv");

    void Rescan() {
        list.Lines = GetPrinterList(dir, true);
        list.Lines.push_back(kWindowsPrinterLine);
    }
    void Select(const std::string& path) {
        Rescan();
        for (std::size_t i = 0; i < list.Lines.size(); ++i)
            if (DriverLinePath(list.Lines[i]) == path)
                SelectDriver(list, static_cast<int>(i), plotter);
        ASSERT_EQ(CurrentPlugin().FileName, path);
    }
    // The driver's next load starts from a different blob, so a restored
    // blob can only come from Set_Plugin_Data.
    void ReconfigureBlob(const std::string& name, int size) {
        test::WriteFileBytes(dir + name + ".drv.cfg", "log=" + home.Path("calls.log") +
                                                          "\ntag=" + name +
                                                          "\nblob=" + std::to_string(size) + "\n");
    }
    std::vector<std::string> DataCalls() const {
        return test::WithPrefix(home.Calls(), "r Set_Plugin_Data ");
    }
};

TEST_F(Settings, MillionByteBlobRoundTripsThroughAPinFile) {
    const std::string path = home.AddRecorder(dir, "r", {"blob=1000000"});
    Select(path);
    const std::string text = DriverDataHex();
    ASSERT_EQ(text.size(), 2000000u);
    const std::string pin = home.Path("Profiles/big.pin");
    ASSERT_TRUE(SaveDriverSettings(pin));
    IniFile ini(pin);
    ASSERT_TRUE(ini.Load());
    EXPECT_EQ(ini.ReadString("Printer Settings", "Plugin"), path);
    EXPECT_EQ(ini.ReadString("Printer Settings", "Data"), text);

    ReconfigureBlob("r", 3);
    LoadDriverSettings(pin, list, plotter);
    EXPECT_EQ(DriverDataHex(), text);
    ASSERT_EQ(DataCalls().size(), 1u);
    EXPECT_EQ(DataCalls()[0].substr(0, 26), "r Set_Plugin_Data 1000000 ");
}

TEST_F(Settings, MillionByteBlobRoundTripsThroughAProjectFile) {
    const std::string path = home.AddRecorder(dir, "r", {"blob=1000000"});
    Select(path);
    PluginProjectDriver port(list, plotter);
    ASSERT_TRUE(port.IsValidDriver());
    const std::string text = port.SettingsText();
    const std::string project = home.Path("Documents/job.RIP");
    {
        IniFile ini(project);
        ini.WriteString("Job", "JobText", "a job");
        ini.WriteString("Printer Settings", "Plugin", port.DriverPath());
        ini.WriteString("Printer Settings", "Data", text);
        ini.WriteInteger("Preview", "Count", 0);
        ASSERT_TRUE(ini.Save());
    }
    ReconfigureBlob("r", 3);
    LoadPlugin("", 0);
    IniFile ini(project);
    ASSERT_TRUE(ini.Load());
    port.RestoreSettings(ini.ReadString("printer settings", "plugin"),
                         ini.ReadString("PRINTER SETTINGS", "DATA"));
    EXPECT_EQ(CurrentPlugin().FileName, path);
    EXPECT_EQ(port.SettingsText(), text);
}

TEST_F(Settings, WriteDriverSettingsFillsTheSectionOnlyForAValidDriverWithData) {
    IniFile ini(home.Path("x.RIP"));
    EXPECT_FALSE(WriteDriverSettings(ini));
    EXPECT_FALSE(ini.HasSection("Printer Settings"));
    const std::string path = home.AddRecorder(dir, "r", {"blob=0"});
    Select(path);
    EXPECT_FALSE(WriteDriverSettings(ini));
    Select(home.AddRecorder(dir, "r2", {"blob=2"}));
    EXPECT_TRUE(WriteDriverSettings(ini));
    EXPECT_EQ(ini.ReadString("Printer Settings", "Data"), "0209");
}

TEST_F(Settings, RestoreDataCases) {
    struct Case {
        const char* data;
        const char* received;  // Set_Plugin_Data size, or null when not called
        bool deviceRead;
        bool invalidLogged;
    } cases[] = {
        {"0A0B0", "2", true, false},
        {"", nullptr, true, false},
        {"0A0G", nullptr, false, true},
        {"A", "0", true, false},
    };
    const std::string path = home.AddRecorder(dir, "r");
    Rescan();
    for (const auto& c : cases) {
        home.ClearCalls();
        home.ClearLogs();
        RestoreDriverSettings(path, c.data, list, plotter);
        const auto calls = home.Calls();
        EXPECT_TRUE(
            test::InOrder(calls, {"r load", "r Set_Plugin_Datatype 23 0", "r Initialize_Plugin"}))
            << c.data << "\n"
            << testing::PrintToString(calls);
        const auto sets = DataCalls();
        if (c.received) {
            ASSERT_EQ(sets.size(), 1u) << c.data;
            EXPECT_EQ(sets[0].rfind(std::string("r Set_Plugin_Data ") + c.received + " ", 0), 0u)
                << c.data;
        } else {
            EXPECT_TRUE(sets.empty()) << c.data;
        }
        EXPECT_EQ(test::WithPrefix(calls, "r Query_Printer").size(), c.deviceRead ? 1u : 0u)
            << c.data;
        const auto invalid = test::WithPrefix(home.LogLines(), "-Set PluginData: Invalid Data: ");
        EXPECT_EQ(
            invalid,
            c.invalidLogged
                ? std::vector<std::string>{std::string("-Set PluginData: Invalid Data: ") + c.data}
                : std::vector<std::string>{})
            << c.data;
        EXPECT_EQ(test::WithPrefix(home.LogLines(), "Restore Printer Settings "),
                  std::vector<std::string>{"Restore Printer Settings " + path});
    }
}

TEST_F(Settings, RestoreSelectsTheLastMatchingLineAndIgnoresUnknownDrivers) {
    const std::string path = home.AddRecorder(dir, "r");
    Rescan();
    list.Lines.insert(list.Lines.begin(), MakeDriverLine(path, "Old name", "Old"));
    list.Index = 2;
    RestoreDriverSettings(path, "", list, plotter);
    EXPECT_EQ(list.Index, 1);
    EXPECT_EQ(plotter.PrinterName, "Recorder");

    home.ClearCalls();
    RestoreDriverSettings(dir + "gone.drv", "00", list, plotter);
    EXPECT_EQ(list.Index, 1);
    EXPECT_EQ(CurrentPlugin().FileName, path);
    EXPECT_TRUE(home.Calls().empty());
    // Letter case matters in paths.
    std::string upper = path;
    upper[upper.size() - 5] = 'R';
    RestoreDriverSettings(upper, "", list, plotter);
    EXPECT_TRUE(home.Calls().empty());
}

TEST_F(Settings, PinWithoutPluginReloadsTheCurrentDriverWithTheData) {
    const std::string path = home.AddRecorder(dir, "r");
    Select(path);
    const std::string pin = home.Path("Profiles/noplugin.pin");
    test::WriteFileBytes(pin, "[Printer Settings]\r\nData=010203\r\n");
    home.ClearCalls();
    LoadDriverSettings(pin, list, plotter);
    ASSERT_EQ(DataCalls().size(), 1u);
    EXPECT_EQ(DataCalls()[0].rfind("r Set_Plugin_Data 3 ", 0), 0u);
    EXPECT_EQ(DriverDataHex(), "010203");
}

TEST_F(Settings, SavingWithoutDataOrDriverWritesNothing) {
    const std::string pin = home.Path("Profiles/s.pin");
    test::WriteFileBytes(pin, "old");
    EXPECT_TRUE(SaveDriverSettings(pin));  // no driver: nothing happens
    EXPECT_EQ(test::ReadFileBytes(pin), "old");
    Select(home.AddRecorder(dir, "r", {"blob=2097153"}));
    EXPECT_EQ(DriverDataHex(), "");
    EXPECT_TRUE(SaveDriverSettings(pin));
    EXPECT_FALSE(FileExists(pin));  // too large counts as no data: the old file goes
    EXPECT_TRUE(home.ui.messages.empty());
}

TEST_F(Settings, LargestBlobIsKept) {
    Select(home.AddRecorder(dir, "r", {"blob=2097152"}));
    EXPECT_EQ(DriverDataHex().size(), 4194304u);
}

TEST_F(Settings, FailedSaveKeepsThePreviousFile) {
    Select(home.AddRecorder(dir, "r", {"blob=100000"}));
    const std::string pin = home.Path("Profiles/keep.pin");
    test::WriteFileBytes(pin, "[Printer Settings]\r\nPlugin=old\r\n");
    CloseLog();  // the size limit would stop the debug log too
    {
        test::FileSizeLimit limit(1000);
        EXPECT_FALSE(SaveDriverSettings(pin));
    }
    EXPECT_EQ(test::ReadFileBytes(pin), "[Printer Settings]\r\nPlugin=old\r\n");
}

}  // namespace
}  // namespace corvan
