// The HP-GL cutter's cut options (blade offset, overcut, cut order, weeding
// border), checked on the HP-GL it writes against geometry worked out here,
// and its dialog and settings blob.
#include "driver_fixture.h"
#include "printrun.h"

#include "plugins/pluginobject.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>

namespace corvan {
namespace {

struct Xy {
    double x = 0, y = 0;
};
Xy operator+(Xy a, Xy b) { return {a.x + b.x, a.y + b.y}; }
Xy operator-(Xy a, Xy b) { return {a.x - b.x, a.y - b.y}; }
Xy operator*(double k, Xy a) { return {k * a.x, k * a.y}; }
double Length(Xy a) { return std::hypot(a.x, a.y); }
Xy Unit(Xy a) { return (1 / Length(a)) * a; }

struct Stroke {
    bool down = false;
    Xy at;  // mm
};

// The PU/PD points of the HP-GL text, in mm (40 units a mm).
std::vector<Stroke> Strokes(const std::string& hpgl) {
    std::vector<Stroke> out;
    std::istringstream in(hpgl);
    std::string line;
    while (std::getline(in, line)) {
        if (line.size() < 4 || (line.rfind("PU", 0) != 0 && line.rfind("PD", 0) != 0)) continue;
        long x = 0, y = 0;
        if (std::sscanf(line.c_str() + 2, "%ld,%ld", &x, &y) != 2) continue;
        out.push_back({line[1] == 'D', {x / 40.0, y / 40.0}});
    }
    return out;
}

// Half a plotter unit of rounding plus a little.
constexpr double kTol = 0.02;

class HpglCutOptions : public ::testing::Test {
protected:
    test::DriverHome home;
    TPluginObject plugin{home.Path("Data/hpglcutter.drv")};
    std::string out = home.Path("Cutfiles/cut.plt");
    std::unique_ptr<Bitmap24> raster = Bitmap24::Create(8, 8);

    // Cuts the figures (first point a move; closed ones end on their start)
    // unrotated with the given options.
    std::vector<Stroke> Cut(const std::vector<std::vector<Xy>>& figures, const std::string& options) {
        test::SetDriverSettings(plugin, "OutputFile=" + out + "\nRotate=0\n" + options);
        auto run = test::PrintRun::Of(*raster, 16, 16);
        run.cut = [&](TPluginObject& p) {
            for (const auto& f : figures)
                for (std::size_t i = 0; i < f.size(); ++i) p.Plugin_PrintVector(i == 0 ? 6 : 2, f[i].x, f[i].y);
        };
        test::Print(plugin, run);
        EXPECT_TRUE(run.problems.empty());
        return Strokes(test::ReadFileBytes(out));
    }
    std::string CutText(const std::vector<std::vector<Xy>>& figures, const std::string& options) {
        Cut(figures, options);
        return test::ReadFileBytes(out);
    }
};

const std::vector<Xy> kSquare{{10, 10}, {20, 10}, {20, 20}, {10, 20}, {10, 10}};

TEST_F(HpglCutOptions, OptionsAtZeroLeaveTheOutputAsItWas) {
    ASSERT_TRUE(plugin.Valid);
    const std::vector<std::vector<Xy>> figures{kSquare, {{30, 5}, {40, 8}}};
    EXPECT_EQ(CutText(figures, "BladeOffset=0\nOvercut=0\nCutOrder=0\nWeedBorder=0\n"), CutText(figures, ""));
}

// An open path with a sharp corner (about 160 degrees of turn) and an
// obtuse one: the axis runs each segment pushed forward by the offset and
// swivels on a circle of that radius about each corner, the short way.
TEST_F(HpglCutOptions, BladeOffsetShiftsSegmentsAndSwivelsAboutCorners) {
    const double r = 0.5;
    const std::vector<Xy> q{{10, 10}, {40, 10}, {20, 17}, {20, 40}};
    const auto strokes = Cut({q}, "BladeOffset=0.5\n");
    ASSERT_GE(strokes.size(), 6u);
    std::vector<Xy> u;
    for (std::size_t i = 0; i + 1 < q.size(); ++i) u.push_back(Unit(q[i + 1] - q[i]));
    // The fixed points: start and end of every shifted segment.
    std::vector<Xy> keys;
    for (std::size_t i = 0; i < u.size(); ++i) {
        keys.push_back(q[i] + r * u[i]);
        keys.push_back(q[i + 1] + r * u[i]);
    }
    EXPECT_FALSE(strokes.front().down);
    std::size_t k = 0;
    for (std::size_t s = 0; s < strokes.size(); ++s) {
        const Xy p = strokes[s].at;
        if (k < keys.size() && Length(p - keys[k]) < kTol) {
            ++k;
            continue;
        }
        // Between the end of segment i and the start of segment i + 1: on
        // the circle about corner q[i + 1], turning the short way.
        ASSERT_TRUE(k % 2 == 0 && k > 0 && k < keys.size()) << "point " << s << " off the path: " << p.x << "," << p.y;
        const Xy corner = q[k / 2];
        EXPECT_NEAR(Length(p - corner), r, kTol) << "point " << s;
        const Xy in = u[k / 2 - 1], outDir = u[k / 2], d = Unit(p - corner);
        const double turn = std::acos(in.x * outDir.x + in.y * outDir.y);
        const double fromIn = std::acos(std::clamp(in.x * d.x + in.y * d.y, -1.0, 1.0));
        const double toOut = std::acos(std::clamp(outDir.x * d.x + outDir.y * d.y, -1.0, 1.0));
        EXPECT_NEAR(fromIn + toOut, turn, 1e-2) << "point " << s << " lies on the short arc";
    }
    EXPECT_EQ(k, keys.size()) << "every shifted segment is cut, in order";
}

// A closed square cut on past its start: along the first edge, and round
// the corner when the overcut is longer than the edge.
TEST_F(HpglCutOptions, OvercutRunsOnAlongTheStartOfClosedPaths) {
    struct Case {
        const char* options;
        std::vector<Xy> tail;
    };
    for (const Case& c : {Case{"Overcut=2\n", {{10, 10}, {12, 10}}},
                          Case{"Overcut=12\n", {{10, 10}, {20, 10}, {20, 12}}}}) {
        const auto strokes = Cut({kSquare}, c.options);
        ASSERT_EQ(strokes.size(), kSquare.size() + c.tail.size() - 1) << c.options;
        for (std::size_t i = 0; i < kSquare.size(); ++i) {
            EXPECT_NEAR(strokes[i].at.x, kSquare[i].x, kTol);
            EXPECT_NEAR(strokes[i].at.y, kSquare[i].y, kTol);
        }
        for (std::size_t i = 1; i < c.tail.size(); ++i) {
            const Stroke& s = strokes[kSquare.size() + i - 1];
            EXPECT_TRUE(s.down);
            EXPECT_NEAR(s.at.x, c.tail[i].x, kTol) << c.options;
            EXPECT_NEAR(s.at.y, c.tail[i].y, kTol) << c.options;
        }
    }
    // An open path gets none.
    EXPECT_EQ(Cut({{{5, 5}, {15, 5}}}, "Overcut=2\n").size(), 2u);
}

// With blade offset and overcut a closed square starts by swivelling at its
// first corner from the direction of the closing edge.
TEST_F(HpglCutOptions, ClosedPathSwivelsIntoItsFirstEdge) {
    const auto strokes = Cut({kSquare}, "BladeOffset=0.5\n");
    ASSERT_GE(strokes.size(), 3u);
    EXPECT_NEAR(strokes[0].at.x, 10, kTol) << "the axis ahead of the corner along the closing edge";
    EXPECT_NEAR(strokes[0].at.y, 9.5, kTol);
    EXPECT_NEAR(strokes.back().at.x, 10, kTol) << "and back there at the end";
    EXPECT_NEAR(strokes.back().at.y, 9.5, kTol);
}

std::vector<Xy> Square(double left, double top, double side) {
    return {{left, top}, {left + side, top}, {left + side, top + side}, {left, top + side}, {left, top}};
}

// Figures nested three deep and one apart, sent outermost first: the
// innermost is cut first, each container only after what it holds, every
// closed figure from its corner nearest the knife.
TEST_F(HpglCutOptions, CutOrderInnerFirstAndNearestStart) {
    const std::vector<std::vector<Xy>> figures{Square(0, 0, 100), Square(150, 150, 10), Square(20, 20, 20),
                                               Square(25, 25, 10)};
    const auto strokes = Cut(figures, "CutOrder=1\n");
    std::vector<Xy> starts;
    for (const Stroke& s : strokes)
        if (!s.down) starts.push_back(s.at);
    const std::vector<Xy> expected{{25, 25}, {20, 20}, {0, 0}, {150, 150}};
    ASSERT_EQ(starts.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(starts[i].x, expected[i].x, kTol) << "figure " << i;
        EXPECT_NEAR(starts[i].y, expected[i].y, kTol) << "figure " << i;
    }
    EXPECT_EQ(strokes.size(), 4 * kSquare.size()) << "every figure whole, once";
    // A ring's hole (wound the other way) still goes before the ring.
    std::vector<Xy> hole = Square(40, 40, 20);
    std::reverse(hole.begin(), hole.end());
    const auto ring = Cut({Square(30, 30, 40), hole}, "CutOrder=1\n");
    ASSERT_FALSE(ring.empty());
    EXPECT_NEAR(ring.front().at.x, 40, kTol);
}

TEST_F(HpglCutOptions, WeedingBorderGoesRoundEverythingLast) {
    const auto strokes = Cut({kSquare, {{30, 12}, {35, 18}}}, "WeedBorder=5\n");
    ASSERT_EQ(strokes.size(), kSquare.size() + 2 + 5);
    const std::vector<Xy> border{{5, 5}, {40, 5}, {40, 25}, {5, 25}, {5, 5}};
    for (std::size_t i = 0; i < border.size(); ++i) {
        const Stroke& s = strokes[kSquare.size() + 2 + i];
        EXPECT_EQ(s.down, i > 0);
        EXPECT_NEAR(s.at.x, border[i].x, kTol);
        EXPECT_NEAR(s.at.y, border[i].y, kTol);
    }
}

class HpglDialog : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::EnsureWidgetApplication(); }
    void SetUp() override {
        host.show();
        SetHostWindowId(host.winId());
        plugin = std::make_unique<TPluginObject>(home.Path("Data/hpglcutter.drv"));
        ASSERT_TRUE(plugin->Valid);
    }
    void TearDown() override {
        plugin.reset();
        SetHostWindowId(0);
    }
    std::string Blob() {
        const std::int32_t n = plugin->Get_Plugin_Data(nullptr);
        std::string blob(static_cast<std::size_t>(n), '\0');
        plugin->Get_Plugin_Data(blob.data());
        return blob;
    }
    test::DriverHome home;
    QWidget host;
    std::unique_ptr<TPluginObject> plugin;
};

TEST_F(HpglDialog, CutOptionsReachTheSettingsBlobOnlyWhenAccepted) {
    for (bool accept : {false, true}) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!box) return;
            seen = true;
            box->findChild<QDoubleSpinBox*>("BladeOffset")->setValue(0.25);
            box->findChild<QDoubleSpinBox*>("Overcut")->setValue(1.5);
            box->findChild<QCheckBox*>("CutOrder")->setChecked(true);
            box->findChild<QDoubleSpinBox*>("WeedBorder")->setValue(5);
            accept ? box->accept() : box->reject();
        });
        EXPECT_EQ(plugin->Choose_Plugin_Data(1), accept);
        EXPECT_TRUE(seen);
        const std::string blob = Blob();
        for (const char* line : {"BladeOffset=0.25\n", "Overcut=1.5\n", "CutOrder=1\n", "WeedBorder=5\n"})
            EXPECT_EQ(blob.find(line) != std::string::npos, accept) << line;
    }
    // The blob brings them back after the defaults.
    const std::string blob = Blob();
    plugin->Set_Plugin_Data("", 0);
    EXPECT_EQ(Blob().find("BladeOffset=0.25\n"), std::string::npos);
    plugin->Set_Plugin_Data(blob.data(), static_cast<std::int32_t>(blob.size()));
    EXPECT_EQ(Blob(), blob);
}

}  // namespace
}  // namespace corvan
