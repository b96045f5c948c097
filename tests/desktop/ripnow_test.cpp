#include "window_fixture.h"

#include "display/ui/printzoom.h"
#include "rip/ui/preflightdialog.h"

#include "platform/folders.h"
#include "shell/loading.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace corvan::test {
namespace {

TEST(Preflight, ShowsWarningsAndHandsBackTheJobText) {
    PreflightData data;
    data.memo = {"Warning: Job Size too big!", "Job: demo"};
    data.status = "Warning: Job Size too big!";
    data.statusWarning = true;
    data.jobText = "demo  10.12.2026";
    data.printJobTextEnabled = false;
    Tfpreflight dlg(data);
    EXPECT_EQ(dlg.windowTitle(), "Preflight Job Summary");
    EXPECT_TRUE(dlg.findChild<QPlainTextEdit*>("memo")->toPlainText().startsWith(
        "Warning: Job Size too big!\nJob: demo"));
    EXPECT_EQ(dlg.findChild<QLabel*>("labelstatus")->text(), "Warning: Job Size too big!");
    auto* box = dlg.findChild<QCheckBox*>("cPrintJobText");
    auto* text = dlg.findChild<QLineEdit*>("editjobtext");
    // Without crop marks the job text cannot be printed.
    EXPECT_FALSE(box->isEnabled());
    EXPECT_FALSE(text->isEnabled());

    data.printJobTextEnabled = true;
    Tfpreflight usable(data);
    usable.findChild<QCheckBox*>("cPrintJobText")->setChecked(true);
    usable.findChild<QLineEdit*>("editjobtext")->setText("Shop window");
    const PreflightData back = usable.Data();
    EXPECT_TRUE(back.printJobText);
    EXPECT_EQ(back.jobText, "Shop window");
    EXPECT_EQ(back.memo, data.memo);
}

using RipFromWindow = WindowTest;

TEST_F(RipFromWindow, EnabledWithAJob) {
    MakeWindow();
    Core().CurrentJob = std::make_unique<TemfFile>();
    window->EnableByState();
    EXPECT_TRUE(Find<QAction>("RIPNow1")->isEnabled());
    EXPECT_TRUE(Find<QWidget>("dripnow")->isEnabled());
    Core().CurrentJob.reset();
    window->EnableByState();
    EXPECT_FALSE(Find<QAction>("RIPNow1")->isEnabled());
}

TEST_F(RipFromWindow, CancelledPreflightSendsNothing) {
    MakeWindow();
    window->show();
    Core().CurrentJob = std::make_unique<TemfFile>();
    Core().CurrentJob->FileName = home.Path("never.RIP");
    bool sawPreflight = false, sawPreview = false;
    AfterDriverDialogs<Tfpreflight>([&](Tfpreflight* dlg) {
        sawPreflight = true;
        // Its "Preview" opens the output preview over it.
        WhenModal<Tfprintzoom>([&](Tfprintzoom* preview) {
            sawPreview = true;
            preview->reject();
        });
        In<QPushButton>(dlg, "dpreview")->click();
        dlg->reject();
    });
    window->RipNowCommand();
    EXPECT_TRUE(sawPreflight) << "messages: " << ui.messages.size();
    EXPECT_TRUE(sawPreview);
    EXPECT_FALSE(
        FileExists(Core().Output.FileName.empty() ? home.Path("none") : Core().Output.FileName));
    EXPECT_TRUE(window->isVisible());
}

TEST_F(RipFromWindow, TiffDriverRipsTheDemoJobIntoTheRipToFileName) {
    MakeWindow();
    window->show();
    Find<QAction>("UpdateDrivers1")->trigger();
    auto* drivers = Find<QComboBox>("comboPrinters");
    const int tiff = drivers->findText("TIFF Raster Printer");
    ASSERT_GE(tiff, 0) << "the TIFF driver is seeded into every program folder";
    Q_EMIT drivers->activated(tiff);
    LoadAnything(Core(), ProgramFolder() + "samples/demo.RIP");
    ASSERT_NE(Core().CurrentJob, nullptr);
    window->EnableByState();
    const std::string out = home.Path("demo.tif");
    Find<QCheckBox>("cRiptoFile")->setChecked(true);
    Find<QLineEdit>("FilenameEdit1")->setText(QString::fromStdString(out));
    bool sawPreflight = false;
    AfterDriverDialogs<Tfpreflight>([&](Tfpreflight* dlg) {
        sawPreflight = true;
        dlg->accept();
    });
    ui.Answer(ButtonYes);  // RIP Current Job?
    ui.Answer(ButtonNo);   // Spool this file to printer?
    QMetaObject::invokeMethod(Find<QWidget>("dripnow"), "click");
    EXPECT_TRUE(sawPreflight);
    EXPECT_EQ(ui.Texts(),
              (std::vector<std::string>{"RIP Current Job?", "Spool this file to printer?"}));
    const std::string tif = ReadFileBytes(out);
    ASSERT_GT(tif.size(), 1000u);
    EXPECT_EQ(tif.substr(0, 2), "II");
    EXPECT_TRUE(window->isVisible());
}

}  // namespace
}  // namespace corvan::test
