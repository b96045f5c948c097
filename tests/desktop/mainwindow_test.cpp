#include "window_fixture.h"

#include "plugins/customforms.h"

#include "job/units.h"
#include "placement/ui/jobsizedialog.h"
#include "placement/ui/mmnumedit.h"
#include "platform/debuglog.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/preferences.h"
#include "platform/registry.h"
#include "shell/startup.h"
#include "shell/ui/application.h"
#include "shell/ui/pathseditor.h"
#include "shell/ui/startwizard.h"
#include "shell/ui/tagapply.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTabWidget>
#include <QToolButton>

#include <cstdio>

namespace corvan::test {
namespace {

const char* const kPathsMessage =
    "The Default CorvanRIP Paths are not set.\rYou will need to set the Paths so that other\r"
    "Programs can talk to CorvanRIP correctly.";

using MainWindow = WindowTest;

TEST_F(MainWindow, FirstStartOnAFreshSystem) {
    MakeWindow();
    // Path editor: OK and Yes to storing; no quick start guide (none installed); wizard: new job,
    // accepted at its proposed size. Each dialog is the real one, operated
    // when it is up; the next is waited for after the previous one closed.
    WhenModal<Tfpaths>([](Tfpaths* dlg) {
        dlg->Confirm();
        QTimer::singleShot(0, [] {
            WhenModal<Tfhello>([](Tfhello* w) {
                w->Choose(3);
                QTimer::singleShot(0,
                                   [] { WhenModal<Tfsize>([](Tfsize* size) { size->accept(); }); });
            });
        });
    });
    ui.Answer(ButtonYes);
    window->FirstShow("");
    // The start checks run from the event loop once the window is up.
    for (int i = 0; i < 50 && !Core().StartupDone; ++i) QApplication::processEvents();
    for (int i = 0; i < 50 && !Core().CurrentJob; ++i) QApplication::processEvents();
    std::vector<std::string> texts = ui.Texts();
    // A machine without print queues is told so first; that is not this test's concern.
    if (!texts.empty() && texts[0].rfind("Before you can Print", 0) == 0)
        texts.erase(texts.begin());
    // No quick start guide is installed, so none is offered.
    EXPECT_EQ(texts, (std::vector<std::string>{kPathsMessage, "Update System Paths?"}));
    EXPECT_FALSE(ReadRegRaw("DocumentDir").empty());
    ASSERT_TRUE(Core().CurrentJob);
    EXPECT_NEAR(Core().CurrentJob->PageWidth, 200, 0.01);
    EXPECT_NEAR(Core().CurrentJob->PageHeight, 280, 0.01);
    EXPECT_FALSE(Core().CurrentJob->Modified);
    EXPECT_TRUE(Find<QWidget>("mmDocWidth")->isEnabled());
}

TEST_F(MainWindow, WizardRecentChoiceWithAnEmptyList) {
    MakeWindow();
    WhenModal<Tfhello>([](Tfhello* w) {
        // The pointer over an area shows its description first.
        EXPECT_EQ(w->AreaAt(w->AreaRect(5).center()), 5);
        w->Choose(5);
    });
    RunWizardChoice(Core(), ShowStartWizard(window.get()));
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"No Recent Jobs to open!"});
}

TEST_F(MainWindow, StartWithAProjectAskesNothing) {
    const std::string path = Project("start.RIP", 321);
    MakeWindow();
    // A wizard would be a modal dialog: none may come up.
    QTimer::singleShot(
        0, [] { EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "a dialog came up"; });
    window->FirstShow(path);
    QApplication::processEvents();
    ASSERT_TRUE(Core().CurrentJob);
    EXPECT_FLOAT_EQ(Core().CurrentJob->PageWidth, 321);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(window->PageControl()->currentWidget()->objectName(), "tab_documentinfo");
    EXPECT_EQ(Core().DocHist, std::vector<std::string>{path});
    EXPECT_EQ(Find<QMenu>("Recent1")->actions().size(), 1);
}

TEST_F(MainWindow, TagTableWithoutAJob) {
    MakeWindow();
    for (const char* name :
         {"dsave", "mmDocWidth", "mmxos", "dcenter", "emflistbox", "ListBox1", "dchangedocsize"})
        EXPECT_FALSE(Find<QWidget>(name)->isEnabled()) << name;
    EXPECT_TRUE(Find<QWidget>("mmMediaWidth")->isEnabled());
    for (const char* name :
         {"dviewpage", "dviewprinter", "dviewNone", "label_docsize1", "mmMediaHeight"})
        EXPECT_TRUE(Find<QWidget>(name)->isHidden()) << name;
    for (const char* name : {"SaveRIPProject1", "SaveAs1", "CloseCurrent1", "LoadImage2"})
        EXPECT_FALSE(Find<QAction>(name)->isVisible()) << name;
    EXPECT_FALSE(Find<QAction>("CenterJob1")->isEnabled());
    // Unusable lists are drawn in the button-face colour.
    auto* list = Find<QListWidget>("emflistbox");
    EXPECT_EQ(list->palette().color(QPalette::Base), list->palette().color(QPalette::Button));
}

TEST_F(MainWindow, TagTableForAJobWithSpotColoursOnTheSystemPrinter) {
    MakeWindow();
    Core().CurrentJob = std::make_unique<TemfFile>();
    Core().CurrentJob->SpotColors = true;
    window->EnableByState();
    // The rule itself, applied to every control the window has.
    ApplyTagTable(window.get(), 2 | 8);
    for (const char* name :
         {"spotlistbox", "daddspot", "dremovespot", "cspot", "mmDocWidth", "dcenter"})
        EXPECT_TRUE(Find<QWidget>(name)->isEnabled()) << name;
    for (const char* name :
         {"comboGMA", "dsetgma", "mmtopx", "dfullcrop", "dKillBG", "cPrintContours"})
        EXPECT_FALSE(Find<QWidget>(name)->isEnabled()) << name;
    EXPECT_FALSE(Find<QWidget>("cRiptoFile")->isVisibleTo(window.get()));
    EXPECT_FALSE(Find<QWidget>("spotlistbox")->isHidden());
    auto* list = Find<QListWidget>("emflistbox");
    EXPECT_EQ(list->palette().color(QPalette::Base), QColor(Qt::white));

    // The window itself keeps commands without their engine part disabled.
    window->EnableByState();
    EXPECT_FALSE(Find<QWidget>("dkillemf")->isEnabled());
    EXPECT_TRUE(Find<QWidget>("daddspot")->isEnabled());
    EXPECT_TRUE(Find<QWidget>("dcolorcharts")->isEnabled());
    EXPECT_TRUE(Find<QWidget>("dcenter")->isEnabled());
    EXPECT_TRUE(window->Unavailable().contains("ScanNewImage1"));
    EXPECT_FALSE(window->Unavailable().contains("daddspot"));
    EXPECT_FALSE(window->Unavailable().contains("dcolorcharts"));
}

TEST_F(MainWindow, PreviewSizeFiveIsAppliedAsTenWithTheDraftView) {
    WriteFileBytes(PreferencesFile(), "[settings]\nmax_preview_value=5\n");
    MakeWindow();
    EXPECT_EQ(Core().MaxPreview, 10);
    EXPECT_TRUE(Core().Views.DraftView);
    EXPECT_TRUE(Find<QToolButton>("dviewNone")->isChecked());
    EXPECT_TRUE(Find<QAction>("DraftView1")->isChecked());
}

TEST_F(MainWindow, CloseWithUnsavedChanges) {
    struct Case {
        const char* name;
        std::vector<Button> answers;
        bool saveDialog;
        bool closes;
    };
    const Case cases[] = {
        {"no", {ButtonNo}, false, true},
        {"cancel", {ButtonCancel}, false, false},
        {"yes, saved", {ButtonYes}, true, true},
        {"yes, save cancelled, continue", {ButtonYes, ButtonYes}, true, true},
        {"yes, save cancelled, stay", {ButtonYes, ButtonNo}, true, false},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeWindow();
        window->show();
        Core().CurrentJob = std::make_unique<TemfFile>();
        Core().MarkModified();
        for (Button b : c.answers) ui.Answer(b);
        const bool saves = c.answers.size() == 1 && c.answers[0] == ButtonYes;
        if (c.saveDialog)
            ui.AnswerFile(saves ? std::optional<std::string>(
                                      home.Path("close" + std::to_string(n++) + ".RIP"))
                                : std::nullopt);
        ui.messages.clear();
        EXPECT_EQ(window->close(), c.closes);
        EXPECT_EQ(Core().CurrentJob == nullptr, c.closes);
        EXPECT_EQ(ui.Texts().front(), "Save changes to current job?");
        window.reset();
    }
}

TEST_F(MainWindow, OpenWhileModifiedThenCancelTheSaveDialog) {
    const std::string path = Project("other.RIP", 99);
    MakeWindow();
    Core().CurrentJob = std::make_unique<TemfFile>();
    Core().MarkModified();
    window->EnableByState();
    TemfFile* old = Core().CurrentJob.get();
    ui.AnswerFile(path);          // the open dialog
    ui.Answer(ButtonYes);         // save changes?
    ui.AnswerFile(std::nullopt);  // the save dialog, cancelled
    ui.Answer(ButtonNo);          // do you wish to continue?
    Find<QAction>("OpenRIPProject1")->trigger();
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"Save changes to current job?",
                                                    "Do you wish to continue?"}));
    EXPECT_EQ(Core().CurrentJob.get(), old);
    EXPECT_TRUE(old->Modified);
    EXPECT_TRUE(Find<QWidget>("dsave")->isEnabled());
}

TEST_F(MainWindow, CancelInTheJobSizeDialogLeavesEverything) {
    const std::string path = Project("keep.RIP", 150);
    MakeWindow();
    window->FirstShow(path);
    const float width = Core().CurrentJob->PageWidth, height = Core().CurrentJob->PageHeight;
    WhenModal<Tfsize>([](Tfsize* dlg) {
        dlg->findChild<QDoubleSpinBox*>("cwidth")->setValue(999);
        dlg->reject();
    });
    Find<QAction>("SetJobSize1")->trigger();
    EXPECT_FLOAT_EQ(Core().CurrentJob->PageWidth, width);
    EXPECT_FLOAT_EQ(Core().CurrentJob->PageHeight, height);
    EXPECT_FALSE(Core().CurrentJob->Modified);
    EXPECT_FALSE(Find<QWidget>("dsave")->isEnabled());
}

TEST_F(MainWindow, PositionEditsHoldMillimetresAndShowTheUnit) {
    const std::string path = Project("units.RIP", 200);
    MakeWindow();
    window->FirstShow(path);
    auto* xos = Find<TmmNumEdit>("mmxos");
    xos->setText("25.4mm");
    Q_EMIT xos->editingFinished();
    EXPECT_FLOAT_EQ(Core().CurrentJob->XOffset, 25.4f);
    EXPECT_EQ(xos->text(), "1.000 in");
    Find<QAction>("MetricUnits1")->trigger();
    EXPECT_TRUE(Core().UseMetric);
    EXPECT_EQ(xos->text(), "25.4 mm");
    xos->setText("2in");
    Q_EMIT xos->editingFinished();
    EXPECT_FLOAT_EQ(Core().CurrentJob->XOffset, 50.8f);
    xos->setText("rubbish");
    Q_EMIT xos->editingFinished();
    EXPECT_FLOAT_EQ(Core().CurrentJob->XOffset, 50.8f);
    EXPECT_EQ(xos->text(), "50.8 mm");
    Find<QAction>("MetricUnits1")->trigger();
    EXPECT_FALSE(Core().UseMetric);
}

TEST_F(MainWindow, MediaWidthPresetsOnADeviceOfLimitedWidth) {
    MakeWindow();
    Core().CurrentPlotter.PrintableWidth = 1626;
    window->SetMetric(true);
    auto* width = Find<TmmNumEdit>("mmMediaWidth");
    width->setText("2000");
    Q_EMIT width->editingFinished();
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"The selected size is too big!"});
    EXPECT_FLOAT_EQ(Core().CurrentPlotter.MediaWidth, 1626);
    EXPECT_EQ(width->text(), "1626.0 mm");
    auto* presets = Find<QComboBox>("ComboBox1");
    ASSERT_EQ(presets->count(), 38);
    const int item72 = presets->findText("72\" (1829mm)");
    presets->setCurrentIndex(item72);
    Q_EMIT presets->activated(item72);
    EXPECT_EQ(presets->currentIndex(), -1);
    const int item36 = presets->findText("36\" (915mm)");
    presets->setCurrentIndex(item36);
    Q_EMIT presets->activated(item36);
    EXPECT_EQ(presets->currentIndex(), item36);
    EXPECT_NEAR(Core().CurrentPlotter.MediaWidth, 914.4f, 1e-3);
}

TEST_F(MainWindow, CustomPaperSizesAreOfferedAsMediaPresets) {
    ASSERT_TRUE(CreateCustomForm("Wide banner", 1200000, 5000000));
    MakeWindow();
    Core().CurrentPlotter.PrintableWidth = 1626;
    auto* presets = Find<QComboBox>("ComboBox1");
    const int item = presets->findText("Wide banner (1200 x 5000 mm)");
    ASSERT_GE(item, 0);
    presets->setCurrentIndex(item);
    Q_EMIT presets->activated(item);
    EXPECT_NEAR(Core().CurrentPlotter.MediaWidth, 1200, 1e-3);
    EXPECT_EQ(presets->currentIndex(), item);
}

TEST_F(MainWindow, ExpertAndStandardModeAndNavigation) {
    MakeWindow();
    QTabWidget* tabs = window->PageControl();
    window->SetExpert(true);
    ASSERT_EQ(tabs->count(), 7);
    EXPECT_EQ(tabs->tabText(1), "Position and Crop Tools");
    window->SetExpert(false);
    EXPECT_EQ(tabs->count(), 3);
    EXPECT_FALSE(Find<QToolButton>("doptions")->isEnabled());
    EXPECT_EQ(Find<QToolButton>("dexpert")->text(), "Standard");
    Find<QToolButton>("dposition")->click();
    EXPECT_EQ(tabs->currentWidget()->objectName(), "tab_sizeposition");
    Find<QToolButton>("lbright")->click();
    EXPECT_EQ(tabs->currentWidget()->objectName(), "tab_outputoptions");
    EXPECT_TRUE(Find<QToolButton>("doutput")->isChecked());
    Find<QToolButton>("lbright")->click();  // already the last
    EXPECT_EQ(tabs->currentWidget()->objectName(), "tab_outputoptions");
    window->SetExpert(true);
    EXPECT_EQ(tabs->count(), 7);
    EXPECT_EQ(tabs->currentWidget()->objectName(), "tab_outputoptions");
}

TEST_F(MainWindow, WindowStateIsStoredOnCloseAndRestored) {
    MakeWindow();
    window->show();
    window->SetExpert(false);
    Find<QCheckBox>("cProportional")->setChecked(true);
    Core().DocHist = {"/x/a.RIP"};
    Core().EmfHist = {"/x/l.emf"};
    ASSERT_TRUE(window->close());
    window.reset();
    EXPECT_EQ(GetProfileString(WindowStateFile(), "Cache.strDocHist_Strings", "Item0"), "/x/a.RIP");

    QtUserInterface otherUi;
    TForm1 restored(ui, otherUi);
    AppCore& again = restored.Core();
    EXPECT_EQ(again.DocHist, std::vector<std::string>{"/x/a.RIP"});
    EXPECT_EQ(again.EmfHist, std::vector<std::string>{"/x/l.emf"});
    EXPECT_FALSE(restored.Expert());
    EXPECT_TRUE(restored.findChild<QCheckBox*>("cProportional")->isChecked());
}

TEST_F(MainWindow, ExceptionsAreReportedAndTheProgramGoesOn) {
    MakeWindow();
    ui.AnswerInput(std::string("quibl"));
    QMetaObject::invokeMethod(Find<QAction>("bitmapdir1"), "trigger", Qt::QueuedConnection);
    QApplication::processEvents();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(ui.messages[0].text.rfind("Division by zero, Addr: 0x", 0), 0u)
        << ui.messages[0].text;
    EXPECT_EQ(ui.prompts, std::vector<std::string>{"Enter Bitmap Dir"});

    window->RunDiagnostics("zephyx");
    EXPECT_EQ(Core().RipTrace, 10);
    EXPECT_TRUE(Find<QCheckBox>("CheckBox1")->isHidden());
}

TEST_F(MainWindow, LoadSaveAndCloseCleanly) {
    const std::string path = Project("demo.RIP", 180);
    WriteFileBytes(home.Path("Debug.txt"), "");
    OpenLog(ui);
    MakeWindow();
    window->show();
    window->FirstShow(path);
    auto* xos = Find<TmmNumEdit>("mmxos");
    xos->setText("12mm");
    Q_EMIT xos->editingFinished();
    QApplication::processEvents();
    EXPECT_TRUE(Find<QWidget>("dsave")->isEnabled());
    Find<QAction>("SaveRIPProject1")->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(Find<QWidget>("dsave")->isEnabled());
    EXPECT_EQ(GetProfileString(path, "Size", "X-offset(mm)"), "12");
    EXPECT_TRUE(window->close());
    window.reset();
    const std::string log = ReadFileBytes(DebugLogPath());
    CloseLog();
    for (const char* line :
         {"Create RipDLG", "Form1 Created OK.", "Form1 Close", "form1 -Destroy", "-done"})
        EXPECT_NE(log.find(line), std::string::npos) << line;
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MainWindow, DriverChoiceFollowsTheListAndIsKept) {
    MakeWindow();
    Find<QAction>("UpdateDrivers1")->trigger();
    auto* combo = Find<QComboBox>("comboPrinters");
    ASSERT_GE(combo->count(), 1);
    EXPECT_EQ(combo->itemText(combo->count() - 1), "CUPS Printer");
    Q_EMIT combo->activated(combo->count() - 1);
    EXPECT_FALSE(Core().CurrentPlotter.IsPlugin);
    EXPECT_EQ(window->findChild<QWidget*>("DevicePanel")->toolTip(), "CUPS Printer");
    if (combo->count() > 1) {
        Q_EMIT combo->activated(0);
        EXPECT_TRUE(Core().CurrentPlotter.IsPlugin);
        EXPECT_EQ(window->findChild<QWidget*>("DevicePanel")->toolTip().toStdString(),
                  Core().CurrentPlotter.PrinterName);
    }
    const int count = combo->count();
    window.reset();
    EXPECT_EQ(GetProfileString(WindowStateFile(), "Cache.strprinters_Strings", "Count"),
              std::to_string(count));
}

void SomeCode() {}

TEST(ExceptionText, ShowsTheAddressAndItsOffsetInTheModule) {
    EXPECT_EQ(CorvanApplication::ExceptionText("Boom", nullptr), "Boom, Addr: (nil) 0");
    const void* code = reinterpret_cast<const void*>(&SomeCode);
    const std::string text = CorvanApplication::ExceptionText("Boom", code);
    char expected[64];
    std::snprintf(expected, sizeof expected, "Boom, Addr: %p ", code);
    EXPECT_EQ(text.rfind(expected, 0), 0u) << text;
    EXPECT_GT(text.size(), std::string(expected).size());
}

}  // namespace
}  // namespace corvan::test
