// The "Spot Colors" tab driven through the main window: rules made in the
// editor reach the job, are saved with it and come back.
#include "window_fixture.h"

#include "platform/inifile.h"
#include "shell/loading.h"

#include <QAction>

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>

namespace corvan::test {
namespace {

class SpotTabTest : public WindowTest {
protected:
    void PickColour(const QColor& c) {
        WhenModal<QColorDialog>([c](QColorDialog* dlg) {
            dlg->setCurrentColor(c);
            dlg->accept();
        });
        Find<QPushButton>("spotcolorpicker")->click();
    }
    void ChooseSpot(int index) {
        auto* combo = Find<QComboBox>("combospotno");
        combo->setCurrentIndex(index);
        Q_EMIT combo->activated(index);
    }
};

TEST_F(SpotTabTest, RulesMadeInTheEditorAreSavedAndComeBack) {
    const std::string path = OpenOnRoll("spots.RIP", 200);
    ASSERT_TRUE(Core().CurrentJob);
    Find<QCheckBox>("cspot")->click();
    ASSERT_TRUE(Core().CurrentJob->SpotColors);
    EXPECT_TRUE(Find<QPushButton>("daddspot")->isEnabled());

    PickColour(QColor(255, 0, 0));
    Find<QSlider>("rxToll")->setValue(12);
    Find<QSpinBox>("PBNumEdit1")->setValue(50);
    Find<QSpinBox>("PBNumEdit2")->setValue(-20);
    Find<QSpinBox>("PBNumEdit3")->setValue(30);
    Find<QLineEdit>("Edit1")->setText(QStringLiteral("Logo, red"));
    Find<QPushButton>("daddspot")->click();

    PickColour(QColor(0, 0, 255));
    ChooseSpot(2);
    EXPECT_EQ(Find<QSpinBox>("PBNumEdit2")->value(), -37);
    Find<QPushButton>("daddspot")->click();

    // The same colour again without a selection: asks, and No keeps the list.
    PickColour(QColor(0, 0, 255));
    Find<QSpinBox>("PBNumEdit1")->setValue(10);
    ui.Answer(ButtonNo);
    Find<QPushButton>("daddspot")->click();
    // A new colour without any target is refused.
    Find<QPushButton>("dnewspot")->click();
    PickColour(QColor(0, 255, 0));
    Find<QPushButton>("daddspot")->click();
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().text, "No Color Information to update");

    const std::vector<std::string> expected = {"$000000FF,12,50,-20,30,0,\"Logo, red\"",
                                               "$00FF0000,0,54,-37,50,2,\"2. Cyan\""};
    EXPECT_EQ(Core().CurrentJob->SpotColorList, expected);
    EXPECT_TRUE(Core().CurrentJob->Modified);

    Find<QAction>("SaveRIPProject1")->trigger();
    QApplication::processEvents();
    if (!GetProfileString(path, "Printer Settings", "Plugin").empty()) ui.Answer(ButtonNo);
    ASSERT_TRUE(OpenProject(Core(), path));
    QApplication::processEvents();
    EXPECT_EQ(Core().CurrentJob->SpotColorList, expected);
    EXPECT_TRUE(Find<QCheckBox>("cspot")->isChecked());
    auto* list = Find<QListWidget>("spotlistbox");
    ASSERT_EQ(list->count(), 2);

    // Clicking a line loads it; Delete removes it.
    list->setCurrentRow(0);
    Q_EMIT list->itemClicked(list->item(0));
    EXPECT_EQ(Find<QLineEdit>("Edit1")->text(), QStringLiteral("Logo, red"));
    EXPECT_EQ(Find<QSlider>("rxToll")->value(), 12);
    list->setCurrentRow(0);
    Find<QPushButton>("dremovespot")->click();
    EXPECT_EQ(Core().CurrentJob->SpotColorList, std::vector<std::string>{expected[1]});
    EXPECT_EQ(list->count(), 1);
    // Backspace in the list deletes the selected line too.
    list->setCurrentRow(0);
    QTest::keyClick(list, Qt::Key_Backspace);
    EXPECT_TRUE(Core().CurrentJob->SpotColorList.empty());
    EXPECT_EQ(list->count(), 0);
}

}  // namespace
}  // namespace corvan::test
