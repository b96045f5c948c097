// The "Output Options" tab and the Printer menu as the operator uses them.
#include "window_fixture.h"

#include "plugins/currentplugin.h"
#include "plugins/printsupport/qtsystemprinter.h"
#include "plugins/systemprinter.h"
#include "plugins/ui/outputtab.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>

namespace corvan::test {
namespace {

using OutputOptionsTab = WindowTest;

TEST_F(OutputOptionsTab, RipToFileFollowsTheDriversOutputFile) {
    MakeWindow();
    auto* ripToFile = Find<QCheckBox>("cRiptoFile");
    auto* edit = Find<QLineEdit>("FilenameEdit1");
    const std::string file = home.Path("out.prn");
    Core().CurrentPlotter.OutputFile = file;
    window->ShowDevice();
    // The name is shown, but the box is only checked once the file exists.
    EXPECT_EQ(edit->text().toStdString(), file);
    EXPECT_FALSE(ripToFile->isChecked());
    EXPECT_FALSE(edit->isEnabled());
    WriteFileBytes(file, "x");
    window->ShowDevice();
    EXPECT_TRUE(ripToFile->isChecked());
    EXPECT_TRUE(edit->isEnabled());

    Find<QCheckBox>("cDoRaster")->setChecked(false);
    edit->setText("/tmp/other.prn");
    window->findChild<OutputTab*>()->StoreOutputOptions();
    EXPECT_FALSE(Core().Output.DoRaster);
    EXPECT_TRUE(Core().Output.RipToFile);
    EXPECT_EQ(Core().Output.FileName, "/tmp/other.prn");
    // Without a job "Cut Contours" cannot be used.
    EXPECT_FALSE(Core().Output.VectorEnabled);
}

TEST_F(OutputOptionsTab, DriverLinesShowTheDeviceNameWithTheLineAsData) {
    MakeWindow();
    Find<QAction>("UpdateDrivers1")->trigger();
    auto* combo = Find<QComboBox>("comboPrinters");
    ASSERT_GE(combo->count(), 1);
    const int last = combo->count() - 1;
    EXPECT_EQ(combo->itemText(last), "Windows Printer");
    EXPECT_EQ(combo->itemData(last).toString(),
              "\"c:\\temp\\nothere.drv\",\"Windows Printer\",\"Windows Printer Driver\"");
    EXPECT_EQ(combo->itemData(last, Qt::ToolTipRole).toString(), "Windows Printer Driver");
    EXPECT_FALSE(combo->itemIcon(last).isNull());
}

TEST_F(OutputOptionsTab, PrinterMenuCommandsWithoutADriver) {
    MakeWindow();
    Find<QAction>("UpdateDrivers1")->trigger();
    auto* combo = Find<QComboBox>("comboPrinters");
    Q_EMIT combo->activated(combo->count() - 1);  // the system printer
    ui.messages.clear();
    EXPECT_EQ(Find<QAction>("PrinterOptions1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_EQ(Find<QAction>("RIPSpooledFile1")->shortcut(),
              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    Find<QAction>("UninstallDriver1")->trigger();
    Find<QAction>("SavePrinterSettings1")->trigger();
    Find<QAction>("ProfileManager1")->trigger();
    EXPECT_EQ(ui.Texts(),
              (std::vector<std::string>{"No Plugin Driver Selected!", "No Printer to Save!",
                                        "You must select a Plugin Driver first!"}));
}

TEST_F(OutputOptionsTab, SystemPrinterOptionsRefreshTheDeviceOnlyWhenAccepted) {
    MakeWindow();
    Find<QAction>("UpdateDrivers1")->trigger();
    auto* combo = Find<QComboBox>("comboPrinters");
    Q_EMIT combo->activated(combo->count() - 1);
    auto* info = Find<QLabel>("label_pinfo");
    for (const bool accept : {false, true}) {
        SCOPED_TRACE(accept ? "accepted" : "cancelled");
        info->setText("stale");
        WhenModal<QPageSetupDialog>([accept](QPageSetupDialog* dlg) {
            if (accept)
                dlg->accept();
            else
                dlg->reject();
        });
        Find<QAction>("PrinterOptions1")->trigger();
        EXPECT_EQ(info->text() == "stale", !accept);
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(OutputOptionsTab, PropertiesOfAQueueCupsDoesNotKnow) {
    MakeWindow();
    auto* queues = Find<QComboBox>("combospooler");
    queues->clear();
    QMetaObject::invokeMethod(Find<QWidget>("dproperties"), "click");
    EXPECT_TRUE(ui.messages.empty());  // no queue chosen: nothing to show
    queues->addItem("NoSuchQueue on nowhere");
    queues->setCurrentIndex(0);
    QMetaObject::invokeMethod(Find<QWidget>("dproperties"), "click");
    EXPECT_EQ(ui.Texts(),
              std::vector<std::string>{"\"Printer Properties\" for NoSuchQueue are not available"});
}

TEST_F(OutputOptionsTab, PropertiesOfTheCupsPdfQueueOfferItsPaperSizes) {
    InstallQtSystemPrinter();
    struct Uninstall {
        ~Uninstall() { SetSystemPrinterPort(nullptr); }
    } uninstall;
    MakeWindow();
    auto* queues = Find<QComboBox>("combospooler");
    const int pdf = queues->findText("PDF");
    if (pdf < 0) GTEST_SKIP() << "no CUPS queue named PDF";
    queues->setCurrentIndex(pdf);
    QStringList media;
    WhenModal<QDialog>([&](QDialog* dlg) {
        if (auto* combo = dlg->findChild<QComboBox*>("media"))
            for (int i = 0; i < combo->count(); ++i) media << combo->itemText(i);
        dlg->reject();  // leave the queue's defaults alone
    });
    QMetaObject::invokeMethod(Find<QWidget>("dproperties"), "click");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(media.isEmpty());
    EXPECT_TRUE(media.join(",").contains("A4")) << media.join(",").toStdString();
}

}  // namespace
}  // namespace corvan::test
