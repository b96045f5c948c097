// The main window with its real ports, driven as an operator: a driver
// chosen in the list gets the window for its dialogs, its settings travel
// with a saved project, and what the RIP sends follows the window's choices.
#include "window_fixture.h"

#include "job/projectfile.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "rip/ui/preflightdialog.h"
#include "shell/loading.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace corvan::test {
namespace {

class Wiring : public WindowTest {
protected:
    // Installs a recording driver into the program's driver folder, makes the
    // window scan the folder and selects it in the driver list.
    void ChooseRecorder(const std::vector<std::string>& config = {}) {
        const std::string drv = ProgramFolder() + "Data/recorder.drv";
        QFile::remove(QString::fromStdString(drv));
        ASSERT_TRUE(QFile::copy(CORVAN_TESTDRIVERS "recorder.drv", QString::fromStdString(drv)));
        std::string cfg = "log=" + home.Path("calls.log") +
                          "\ntag=rec\nname=Recorder\ndata.10=" + Profile() +
                          "\ndata.17=100\ndata.18=100\nblob=5\n";
        for (const std::string& line : config) cfg += line + "\n";
        WriteFileBytes(drv + ".cfg", cfg);
        Find<QAction>("UpdateDrivers1")->trigger();
        auto* drivers = Find<QComboBox>("comboPrinters");
        const int index = drivers->findText("Recorder");
        ASSERT_GE(index, 0);
        Q_EMIT drivers->activated(index);
    }
    std::string Profile() {
        const std::string icc = home.Path("media.icc");
        if (!FileExists(icc)) WriteFileBytes(icc, "icc");
        return icc;
    }
    std::vector<std::string> Calls(const std::string& prefix = "") const {
        std::vector<std::string> out;
        std::istringstream in(ReadFileBytes(home.Path("calls.log")));
        for (std::string line; std::getline(in, line);) {
            const std::string call = line.substr(line.find(' ') + 1);
            if (call.rfind(prefix, 0) == 0) out.push_back(call);
        }
        return out;
    }
    // A small job with a cut path, saved so tiles and settings have a file.
    std::string DemoJob() {
        LoadAnything(Core(), ProgramFolder() + "samples/demo.RIP");
        EXPECT_TRUE(Core().CurrentJob);
        return Core().CurrentJob ? Core().CurrentJob->FileName : std::string();
    }
    // The non-white pixels of every printed device row, added up.
    long Ink() const {
        long total = 0;
        for (const std::string& call : Calls("Plugin_PrintRow")) {
            const auto at = call.find(" ink ");
            if (at != std::string::npos && call.find(" -1 ") == std::string::npos)
                total += std::stol(call.substr(at + 5));
        }
        return total;
    }
    // Runs "RIP Now" with the preflight accepted and "RIP Current Job?" answered Yes.
    void RipNow() {
        AfterDriverDialogs<Tfpreflight>([](Tfpreflight* dlg) { dlg->accept(); });
        ui.Answer(ButtonYes);
        window->RipNowCommand();
    }
};

TEST_F(Wiring, DriversGetTheWindowForTheirDialogs) {
    MakeWindow();
    window->show();
    ChooseRecorder();
    const std::string id = std::to_string(static_cast<std::uint64_t>(window->winId()));
    ASSERT_NE(id, "0");
    const auto windowCalls = Calls("Set_Plugin_Datatype 23");
    ASSERT_FALSE(windowCalls.empty());
    EXPECT_EQ(windowCalls.back(), "Set_Plugin_Datatype 23 " + id);
    Find<QAction>("PrinterOptions1")->trigger();
    EXPECT_FALSE(Calls("Choose_Plugin_Data").empty());
}

TEST_F(Wiring, ANewJobAsksTheDriverForItsProfile) {
    MakeWindow();
    ChooseRecorder();
    WriteFileBytes(home.Path("calls.log"), "");
    WhenModal<QDialog>([](QDialog* dlg) { dlg->accept(); });  // the job size
    Find<QAction>("NewJob1")->trigger();
    ASSERT_TRUE(Core().CurrentJob);
    EXPECT_EQ(Calls("Plugin_Load_Profile").size(), 1u);
    EXPECT_EQ(Calls("Set_Plugin_Datatype 21"),
              std::vector<std::string>{"Set_Plugin_Datatype 21 0"});
}

TEST_F(Wiring, SavedProjectCarriesAndRestoresThePrinterSettings) {
    MakeWindow();
    ChooseRecorder();
    DemoJob();
    const std::string path = home.Path("with settings.RIP");
    ASSERT_TRUE(SaveProject(Core(), path));
    IniFile ini(path);
    ASSERT_TRUE(ini.Load());
    EXPECT_EQ(ini.ReadString("Printer Settings", "Plugin"), ProgramFolder() + "Data/recorder.drv");
    const std::string data = ini.ReadString("Printer Settings", "Data");
    EXPECT_FALSE(data.empty());

    WriteFileBytes(home.Path("calls.log"), "");
    ui.Answer(ButtonYes);  // Update Printer Settings?
    ASSERT_TRUE(OpenProject(Core(), path));
    EXPECT_EQ(ui.messages.back().text.rfind("Update Printer Settings?", 0), 0u);
    EXPECT_FALSE(Calls("Set_Plugin_Data").empty()) << "the stored settings reach the driver";
}

TEST_F(Wiring, CancelledRipSendsNoCutVectors) {
    MakeWindow();
    window->show();
    ChooseRecorder();
    DemoJob();
    ASSERT_TRUE(Core().CurrentJob->ContourCut);
    WriteFileBytes(home.Path("calls.log"), "");
    ui.cancel = true;  // the operator presses Cancel at once
    RipNow();
    ui.cancel = false;
    EXPECT_FALSE(Calls("Prepare_PrintJob").empty());
    EXPECT_TRUE(Calls("Plugin_StartCut").empty());
    EXPECT_TRUE(Calls("Plugin_PrintVector").empty());
    EXPECT_FALSE(Calls("Finalize_PrintJob").empty());
    EXPECT_TRUE(window->isVisible());

    // Without Cancel the knife follows.
    WriteFileBytes(home.Path("calls.log"), "");
    RipNow();
    EXPECT_FALSE(Calls("Plugin_PrintVector").empty());
}

// What the window's switches say reaches the driver's rows: crop marks add
// ink around the copies, and unticking "Solid" takes the colour away.
TEST_F(Wiring, PrintingSwitchesShowInTheRippedRows) {
    MakeWindow();
    window->show();
    ChooseRecorder({"count_ink=1", "data.17=25", "data.18=25"});
    DemoJob();
    TemfFile& job = *Core().CurrentJob;
    job.PrintJobText = false;
    job.DrawImage = false;
    job.Border = false;
    // Marks outside the size, so turning them on changes no layout.
    Find<QCheckBox>("ccropsizeauto")->setChecked(false);
    auto* marks = Find<QCheckBox>("cCropMarks");
    auto ripInk = [&] {
        WriteFileBytes(home.Path("calls.log"), "");
        RipNow();
        return Ink();
    };
    marks->setChecked(false);
    const long withoutMarks = ripInk();
    marks->setChecked(true);
    EXPECT_TRUE(Core().CurrentJob->CropMarks);
    const long withMarks = ripInk();
    EXPECT_GT(withMarks, withoutMarks);

    marks->setChecked(false);
    Core().CurrentJob->BackgroundColor = 0x0000C0;  // a dark red page
    window->ShowJob();
    auto* solid = Find<QCheckBox>("cSolid");
    ASSERT_TRUE(solid->isChecked());
    const long solidInk = ripInk();
    EXPECT_GT(solidInk, withoutMarks);
    solid->setChecked(false);
    EXPECT_EQ(Core().CurrentJob->BackgroundColor, 0xFFFFFFu);
    EXPECT_EQ(ripInk(), withoutMarks);
}

}  // namespace
}  // namespace corvan::test
