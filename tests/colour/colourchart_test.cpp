// Colour chart files: which charts are listed, which colours load, and what
// each change and an import leave in the file.
#include "colour/colourchart.h"
#include "platform/inifile.h"
#include "support/tempdirs.h"

#include <QDir>

#include <gtest/gtest.h>

namespace corvan {
namespace {

using test::ReadFileBytes;
using test::WriteFileBytes;

class ColourChartTest : public ::testing::Test {
protected:
    std::string Folder() const { return home.Path("charts/"); }
    std::string Chart(const std::string& file, const std::string& body) {
        QDir().mkpath(QString::fromStdString(Folder()));
        WriteFileBytes(Folder() + file, body);
        return Folder() + file;
    }
    std::string Vinyl() {
        return Chart("vinyl.ini",
                     "[ColorChart Info]\r\nChartName=Vinyl\r\n[Colors]\r\n"
                     "Red=50.000,70.000,60.000\r\n");
    }
    test::ScratchHome home;
};

TEST_F(ColourChartTest, ListsNamedChartsByNameThenPath) {
    EXPECT_TRUE(ListColourCharts(Folder()).empty());  // no folder yet
    Chart("b.INI", "[ColorChart Info]\nChartName=Vinyl\n");
    Chart("a.ini", "[colorchart info]\nchartname = Vinyl\n");
    Chart("z.ini", "[ColorChart Info]\nChartName=apex\n");
    Chart("noname.ini", "[Colors]\nRed=1,2,3\n");
    Chart("empty.ini", "[ColorChart Info]\nChartName=\n");
    Chart("notes.txt", "[ColorChart Info]\nChartName=Notes\n");
    QDir().mkpath(QString::fromStdString(Folder() + "folder.ini"));
    const auto charts = ListColourCharts(Folder());
    ASSERT_EQ(charts.size(), 3u);
    EXPECT_EQ(charts[0].name, "apex");
    EXPECT_EQ(charts[0].path, Folder() + "z.ini");
    EXPECT_EQ(charts[1].name, "Vinyl");
    EXPECT_EQ(charts[1].path, Folder() + "a.ini");
    EXPECT_EQ(charts[2].path, Folder() + "b.INI");
}

TEST(ChartValue, ParsesThreeNumbersWithinRange) {
    struct Case {
        const char* text;
        bool ok;
        Lab lab;
    };
    const Case cases[] = {
        {"50.000,70.000,60.000", true, {50, 70, 60}},
        {" 0 , -128 , 128 ", true, {0, -128, 128}},
        {"100,1e1,\"-2.5\"", true, {100, 10, -2.5}},
        {"100.001,0,0", false, {}},
        {"-0.5,0,0", false, {}},
        {"50,128.5,0", false, {}},
        {"50,0,-129", false, {}},
        {"50,0", false, {}},
        {"50,0,0,", false, {}},
        {"50,0,0,0", false, {}},
        {"50,,0", false, {}},
        {"fifty,0,0", false, {}},
        {"", false, {}},
    };
    for (const Case& c : cases) {
        const auto lab = ParseChartValue(c.text);
        ASSERT_EQ(lab.has_value(), c.ok) << c.text;
        if (!lab) continue;
        EXPECT_DOUBLE_EQ(lab->L, c.lab.L) << c.text;
        EXPECT_DOUBLE_EQ(lab->a, c.lab.a) << c.text;
        EXPECT_DOUBLE_EQ(lab->b, c.lab.b) << c.text;
    }
    EXPECT_EQ(FormatChartValue({50, -0.0004, 12.3456}), "50.000,-0.000,12.346");
}

TEST_F(ColourChartTest, LoadsValidColoursInFileOrderAndLeavesTheFileAlone) {
    const std::string body =
        "[ColorChart Info]\r\nChartName=Mixed\r\n[Colors]\r\nZinc=80,0,0\r\nBad=80,0\r\n"
        "Apple=50,-40,40\r\nFar=50,200,0\r\nWord=red\r\nApricot=70.5,20,60\r\n";
    const std::string path = Chart("mixed.ini", body);
    const auto colours = LoadColourChart(path);
    ASSERT_TRUE(colours) << colours.Error();
    std::vector<std::string> names;
    for (const auto& c : *colours) names.push_back(c.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Zinc", "Apple", "Apricot"}));
    EXPECT_DOUBLE_EQ((*colours)[2].lab.L, 70.5);
    EXPECT_EQ(ReadFileBytes(path), body);
    EXPECT_EQ(ReadChartValue(path, "bad"), "80,0");
    EXPECT_FALSE(ReadChartValue(path, "Missing"));
    EXPECT_FALSE(LoadColourChart(Folder()));  // a folder is not a chart
}

TEST_F(ColourChartTest, ChangesAreWrittenAtOnce) {
    const std::string path = Vinyl();
    ASSERT_TRUE(WriteChartColour(path, "Blue", {30, 10, -60}));
    // The same name in other letter case is the same key: overwritten in place.
    ASSERT_TRUE(WriteChartColour(path, "red", {51, 71, 61}));
    EXPECT_EQ(GetProfileString(path, "Colors", "Red"), "51.000,71.000,61.000");
    ASSERT_TRUE(ReplaceChartColour(path, "Blue", "Navy", {20, 5, -40.25}));
    EXPECT_EQ(ReadFileBytes(path),
              "[ColorChart Info]\r\nChartName=Vinyl\r\n[Colors]\r\nRed=51.000,71.000,61.000\r\n"
              "Navy=20.000,5.000,-40.250\r\n");
    ASSERT_TRUE(DeleteChartColour(path, "RED"));
    EXPECT_FALSE(ReadChartValue(path, "Red"));
    EXPECT_EQ(ReadChartValue(path, "Navy"), "20.000,5.000,-40.250");
}

TEST_F(ColourChartTest, RefusesNamesTheFileCouldNotGiveBack) {
    const std::string path = Vinyl();
    const std::string before = ReadFileBytes(path);
    for (const char* name : {"", "   ", "a=b", "[Colors]", "; note"}) {
        const Status s = WriteChartColour(path, name, {50, 0, 0});
        EXPECT_FALSE(s) << name;
        if (std::string(name).find_first_not_of(' ') == std::string::npos) {
            EXPECT_EQ(s.Error(), "No Color Name!");
        }
    }
    EXPECT_EQ(ReadFileBytes(path), before);
    // A chart whose file went away is not made again by a change.
    EXPECT_FALSE(WriteChartColour(Folder() + "gone.ini", "Red", {50, 0, 0}));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Folder() + "gone.ini")));
}

TEST_F(ColourChartTest, AFailedSaveKeepsTheOldFile) {
    std::string body = "[ColorChart Info]\r\nChartName=Big\r\n[Colors]\r\n";
    for (int i = 0; i < 200; ++i) body += "Colour " + std::to_string(i) + "=50,0,0\r\n";
    const std::string path = Chart("big.ini", body);
    {
        test::FileSizeLimit limit(1024);
        EXPECT_FALSE(WriteChartColour(path, "One more", {1, 2, 3}));
    }
    EXPECT_EQ(ReadFileBytes(path), body);
}

TEST(ChartFile, NamesBecomeSafeFileNames) {
    EXPECT_EQ(ChartFileName("Oracal 651"), "Oracal_651.ini");
    EXPECT_EQ(ChartFileName("a*b,c.d:e\\f|g/h"), "a_b_c_d_e_f_g_h.ini");
    EXPECT_EQ(ChartFileName("../up"), "___up.ini");
}

TEST_F(ColourChartTest, NewChartsStartEmptyAndReplaceAnOldFile) {
    const std::string path = Folder() + "new/" + ChartFileName("House colours");
    ASSERT_TRUE(CreateColourChart(path, "House colours"));
    EXPECT_EQ(ReadFileBytes(path), "[ColorChart Info]\r\nChartName=House colours\r\n");
    ASSERT_TRUE(WriteChartColour(path, "Red", {50, 70, 60}));
    ASSERT_TRUE(CreateColourChart(path, "House colours"));
    EXPECT_TRUE(LoadColourChart(path)->empty());
}

TEST_F(ColourChartTest, ImportTakesNameAndThreeNumbersPerLine) {
    const std::string path = Vinyl();
    const auto r = ImportChartColours(path,
                                      "Red 1, 50, 70, 60\r\n"
                                      "Only three, 1, 2\r\n"
                                      "\"Quoted, name\",10,20,30,ignored\n"
                                      ", 1, 2, 3\n"
                                      "\n"
                                      "Too far,50,300,0\r"
                                      "red, 40.5, 1, 2\n");
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.count, 4);
    EXPECT_EQ(ReadChartValue(path, "Red 1"), "50.000,70.000,60.000");
    EXPECT_FALSE(ReadChartValue(path, "Only three"));
    EXPECT_EQ(ReadChartValue(path, "Quoted, name"), "10.000,20.000,30.000");
    // Written as given; the load leaves the out-of-range colour out.
    EXPECT_EQ(ReadChartValue(path, "Too far"), "50.000,300.000,0.000");
    EXPECT_EQ(ReadChartValue(path, "Red"), "40.500,1.000,2.000");
    const auto loaded = LoadColourChart(path);
    ASSERT_TRUE(loaded);
    std::vector<std::string> names;
    for (const auto& c : *loaded) names.push_back(c.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Red", "Red 1", "Quoted, name"}));
}

TEST_F(ColourChartTest, ABadNumberStopsTheImportKeepingTheLinesBefore) {
    const std::string path = Vinyl();
    const auto r = ImportChartColours(path, "One,1,2,3\nTwo,2,x2,3\nThree,3,4,5\n");
    EXPECT_EQ(r.count, 1);
    EXPECT_EQ(r.error, "Line 2: 'x2' is not a valid floating point value.");
    EXPECT_TRUE(ReadChartValue(path, "One"));
    EXPECT_FALSE(ReadChartValue(path, "Two"));
    EXPECT_FALSE(ReadChartValue(path, "Three"));

    const auto missing = ImportChartColoursFromFile(path, Folder() + "missing.txt");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.Error(), "Unable to open file!\r" + Folder() + "missing.txt");
    WriteFileBytes(Folder() + "list.txt", "Four, 4, 4, 4\n");
    const auto fromFile = ImportChartColoursFromFile(path, Folder() + "list.txt");
    ASSERT_TRUE(fromFile);
    EXPECT_EQ(fromFile->count, 1);
}

}  // namespace
}  // namespace corvan
