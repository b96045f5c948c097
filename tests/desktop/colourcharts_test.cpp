// The colour chart manager opened from the "Spot Colors" tab of the main
// window: a colour taken from a shipped chart becomes the spot target, and
// charts are made, changed and imported into through the window.
#include "window_fixture.h"

#include "colour/colourchart.h"
#include "colour/ui/colourchartdialog.h"
#include "platform/inifile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

namespace corvan::test {
namespace {

class ColourChartsTest : public WindowTest {
protected:
    // Opens the manager from the spot tab and runs `act` in it.
    void InManager(std::function<void(ColourChartDialog*)> act) {
        WhenModal<ColourChartDialog>(std::move(act));
        Find<QPushButton>("dcolorcharts")->click();
    }
    static QStringList Names(QListWidget* list) {
        QStringList names;
        for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
        return names;
    }
    static void ClickRow(QListWidget* list, int row) {
        const QRect r = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    }
    static void Type(QWidget* w, const char* text) {
        w->setFocus();
        QTest::keyClicks(w, QString::fromUtf8(text));
    }
};

TEST_F(ColourChartsTest, AColourFromAShippedChartBecomesTheSpotTarget) {
    OpenOnRoll("charts.RIP", 200);
    Find<QCheckBox>("cspot")->click();
    bool ran = false;
    InManager([&](ColourChartDialog* dlg) {
        ran = true;
        auto* charts = In<QComboBox>(dlg, "combocharts");
        // A fresh user has the two charts that come with the program.
        ASSERT_EQ(charts->count(), 2);
        EXPECT_EQ(charts->itemText(0), QStringLiteral("Grey Ramp L* 0 to 100"));
        EXPECT_EQ(charts->itemText(1), QStringLiteral("Sign Vinyl Basics"));
        charts->setCurrentIndex(1);
        const QString path = charts->currentData().toString();
        EXPECT_TRUE(path.startsWith(QString::fromStdString(ColourChartFolder())));
        EXPECT_EQ(dlg->windowTitle(), path);
        auto* list = In<QListWidget>(dlg, "ListBox1");
        EXPECT_EQ(list->item(0)->text(), QStringLiteral("White"));
        EXPECT_EQ(In<QLabel>(dlg, "statuscount")->text(),
                  QString::number(list->count()) + QStringLiteral(" Items."));
        EXPECT_EQ(In<QLabel>(dlg, "statuspath")->text(), path);

        // Two lower-case letters and Down find the first name starting so.
        auto* search = In<QLineEdit>(dlg, "Edit1");
        Type(search, "si");
        QTest::keyClick(search, Qt::Key_Down);
        EXPECT_EQ(In<QLineEdit>(dlg, "editName")->text(), QStringLiteral("Signal Red"));
        EXPECT_EQ(search->text(), QStringLiteral("Signal Red"));
        EXPECT_EQ(In<QSpinBox>(dlg, "pbred")->value(), 190);
        QTest::keyClick(search, Qt::Key_Down);
        EXPECT_EQ(list->currentItem()->text(), QStringLiteral("Cherry Red"));
        QTest::keyClick(search, Qt::Key_Up);
        EXPECT_EQ(list->currentItem()->text(), QStringLiteral("Signal Red"));
        EXPECT_EQ(In<QPushButton>(dlg, "dupdate")->text(), QStringLiteral("Update"));
        EXPECT_FALSE(In<QPushButton>(dlg, "dupdate")->isEnabled());

        // Sorted A to Z and back to file order; the search text stays.
        auto* sort = In<QPushButton>(dlg, "dsort");
        sort->click();
        EXPECT_EQ(list->item(0)->text(), QStringLiteral("Beige"));
        EXPECT_EQ(list->currentItem()->text(), QStringLiteral("Signal Red"));
        sort->click();
        EXPECT_EQ(list->item(0)->text(), QStringLiteral("White"));
        In<QPushButton>(dlg, "dapply")->click();
    });
    ASSERT_TRUE(ran);
    EXPECT_EQ(Find<QLineEdit>("Edit1")->text(), QStringLiteral("Signal Red"));
    EXPECT_EQ(Find<QSpinBox>("PBNumEdit1")->value(), 41);
    EXPECT_EQ(Find<QSpinBox>("PBNumEdit2")->value(), 60);
    EXPECT_EQ(Find<QSpinBox>("PBNumEdit3")->value(), 32);
    EXPECT_EQ(Find<QComboBox>("combospotno")->currentIndex(), 0);
    Find<QPushButton>("daddspot")->click();
    ASSERT_EQ(Core().CurrentJob->SpotColorList.size(), 1u);
    EXPECT_EQ(Core().CurrentJob->SpotColorList[0], "$00000000,0,41,60,32,0,\"Signal Red\"");

    // Cancel hands nothing back.
    InManager([](ColourChartDialog* dlg) {
        In<QListWidget>(dlg, "ListBox1")->setCurrentRow(3);
        In<QPushButton>(dlg, "dcancel")->click();
    });
    EXPECT_EQ(Find<QLineEdit>("Edit1")->text(), QStringLiteral(""));
}

TEST_F(ColourChartsTest, ChartsAreMadeChangedAndImportedThroughTheWindow) {
    OpenOnRoll("charts.RIP", 200);
    Find<QCheckBox>("cspot")->click();
    const std::string textFile = home.Path("colours.txt");
    WriteFileBytes(textFile, "Red 1, 50, 70, 60\r\nOnly three, 1, 2\r\n");
    std::string chart;
    InManager([&](ColourChartDialog* dlg) {
        ui.AnswerInput("House colours");
        In<QPushButton>(dlg, "dnewchart")->click();
        auto* charts = In<QComboBox>(dlg, "combocharts");
        EXPECT_EQ(charts->currentText(), QStringLiteral("House colours"));
        chart = charts->currentData().toString().toStdString();
        EXPECT_EQ(chart, ColourChartFolder() + "House_colours.ini");
        auto* list = In<QListWidget>(dlg, "ListBox1");
        EXPECT_EQ(list->count(), 0);

        // A colour typed as RGB, confirmed with Enter, then added.
        auto* update = In<QPushButton>(dlg, "dupdate");
        Type(In<QLineEdit>(dlg, "editName"), "Logo Red");
        EXPECT_TRUE(update->isEnabled());
        In<QSpinBox>(dlg, "pbred")->setValue(200);
        In<QSpinBox>(dlg, "pbgreen")->setValue(30);
        auto* blue = In<QSpinBox>(dlg, "pbblue");
        blue->setValue(60);
        QTest::keyClick(blue, Qt::Key_Return);
        EXPECT_TRUE(dlg->isVisible());  // Enter converts; it does not close
        EXPECT_EQ(In<QDoubleSpinBox>(dlg, "pbL")->value(), 43.0);
        EXPECT_EQ(In<QDoubleSpinBox>(dlg, "pbmagenta")->value(), 66.67);
        EXPECT_EQ(update->text(), QStringLiteral("Add"));
        ui.Answer(ButtonYes);
        update->click();
        EXPECT_EQ(ui.messages.back().text, "Add New Color?\r\rLogo Red");
        EXPECT_EQ(GetProfileString(chart, "Colors", "Logo Red"), "43.363,63.538,24.755");
        EXPECT_EQ(Names(list), QStringList{QStringLiteral("Logo Red")});
        EXPECT_EQ(update->text(), QStringLiteral("Update"));

        // Renamed and given a new L*: the old key goes.
        Type(In<QLineEdit>(dlg, "editName"), " 2");
        auto* L = In<QDoubleSpinBox>(dlg, "pbL");
        L->setValue(45);
        QTest::keyClick(L, Qt::Key_Enter);
        ui.Answer(ButtonYes);
        update->click();
        EXPECT_EQ(ui.messages.back().text, "Update Current Color?\r\rLogo Red 2");
        EXPECT_EQ(GetProfileString(chart, "Colors", "Logo Red"), "");
        EXPECT_EQ(GetProfileString(chart, "Colors", "Logo Red 2"), "45.000,63.538,24.755");

        // An empty name is refused.
        In<QPushButton>(dlg, "dnew")->click();
        In<QDoubleSpinBox>(dlg, "pbL")->setValue(10);
        update->click();
        EXPECT_EQ(ui.messages.back().text, "No Color Name!");

        ui.Answer(ButtonYes);
        ui.AnswerFile(textFile);
        In<QPushButton>(dlg, "dimport")->click();
        ASSERT_FALSE(ui.fileRequests.empty());
        EXPECT_EQ(ui.fileRequests.back().title, "Select File to Import");
        EXPECT_EQ(ui.messages.back().text, "1 colors where imported into current color chart.");
        EXPECT_EQ(Names(list),
                  (QStringList{QStringLiteral("Logo Red 2"), QStringLiteral("Red 1")}));

        // No keeps the colour; Yes deletes it and selects the one now there.
        ClickRow(list, 0);
        ui.Answer(ButtonNo);
        In<QPushButton>(dlg, "ddelete")->click();
        EXPECT_EQ(ui.messages.back().text,
                  "Delete this Color from current Color Chart?\rLogo Red 2");
        EXPECT_EQ(list->count(), 2);
        ui.Answer(ButtonYes);
        In<QPushButton>(dlg, "ddelete")->click();
        EXPECT_EQ(Names(list), QStringList{QStringLiteral("Red 1")});
        EXPECT_EQ(In<QLineEdit>(dlg, "editName")->text(), QStringLiteral("Red 1"));
        EXPECT_EQ(In<QDoubleSpinBox>(dlg, "pba")->value(), 70.0);
        EXPECT_EQ(GetProfileString(chart, "Colors", "Logo Red 2"), "");
        EXPECT_EQ(In<QLabel>(dlg, "statuscount")->text(), QStringLiteral("1 Items."));

        // A name that is already there: the file keeps one key with the new
        // value, the list shows both until the chart is loaded again.
        In<QPushButton>(dlg, "dnew")->click();
        Type(In<QLineEdit>(dlg, "editName"), "Red 1");
        auto* lightness = In<QDoubleSpinBox>(dlg, "pbL");
        lightness->setValue(20);
        QTest::keyClick(lightness, Qt::Key_Return);
        ui.Answer(ButtonYes);
        update->click();
        EXPECT_EQ(Names(list), (QStringList{QStringLiteral("Red 1"), QStringLiteral("Red 1")}));
        EXPECT_EQ(GetProfileString(chart, "Colors", "Red 1"), "20.000,0.000,0.000");

        // The same chart name again asks before replacing the file.
        ui.AnswerInput("House colours");
        ui.Answer(ButtonNo);
        In<QPushButton>(dlg, "dnewchart")->click();
        EXPECT_EQ(ui.messages.back().text,
                  "Replace existing file?\rA file already exists with the name:\r" + chart);
        EXPECT_EQ(list->count(), 2);
        EXPECT_EQ(charts->count(), 3);
        In<QPushButton>(dlg, "dapply")->click();
    });
    EXPECT_EQ(Find<QLineEdit>("Edit1")->text(), QStringLiteral("Red 1"));
    EXPECT_EQ(Find<QSpinBox>("PBNumEdit1")->value(), 20);
    EXPECT_EQ(Find<QSpinBox>("PBNumEdit2")->value(), 0);
}

}  // namespace
}  // namespace corvan::test
