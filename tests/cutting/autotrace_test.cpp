// Autotrace: generated pictures traced into closed contours near their
// true edges, small regions dropped, the written layer read back through
// the metafile player, and the Tdot smoothing rules on their own.
#include "cutting/autotrace.h"

#include "layer_playback.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace corvan {
namespace {

struct P {
    double x, y;
};
using Contour = std::vector<P>;

// A picture whose pixel (x, y) takes the colour of its centre (x + 0.5, y + 0.5).
std::unique_ptr<Bitmap24> Picture(int w, int h, const std::function<Colour(double, double, int, int)>& at) {
    auto image = Bitmap24::Create(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image->SetPixel(x, y, at(x + 0.5, y + 0.5, x, y));
    return image;
}

double Dist(P a, P b) { return std::hypot(a.x - b.x, a.y - b.y); }

// The layer's lines played back at ten pixels per picture pixel, as our
// player collects them, in picture pixels.
std::vector<Contour> PlayBack(const std::string& file, int w, int h, Colour colour) {
    std::vector<Contour> out;
    for (const auto& figure : test::CollectLayerFigures(file, 10 * w, 10 * h, colour)) {
        out.emplace_back();
        for (const IntPoint p : figure) out.back().push_back({p.x / 10.0, p.y / 10.0});
    }
    return out;
}

struct Traced {
    QTemporaryDir dir;
    std::string file;
    AutotraceResult result;
    std::vector<Contour> contours;

    Traced(const Bitmap24& picture, const AutotraceSettings& s) : file(dir.filePath("trace.LYR").toStdString()) {
        const auto r = AutotraceToLayer(picture, s, file);
        EXPECT_TRUE(r.Ok()) << r.Error();
        if (r) result = *r;
        contours = PlayBack(file, picture.Width(), picture.Height(), s.contourColour);
    }
};

// Every contour closed, and every point within `tol` of the edge that
// `edgeDistance` measures.
void ExpectOnEdge(const std::vector<Contour>& contours, const std::function<double(P)>& edgeDistance,
                  const char* name, double tol = 1.0) {
    for (std::size_t c = 0; c < contours.size(); ++c) {
        ASSERT_GE(contours[c].size(), 4u) << name;
        EXPECT_LT(Dist(contours[c].front(), contours[c].back()), 0.15) << name << " contour " << c << " is closed";
        double worst = 0;
        P at{};
        for (const P p : contours[c])
            if (edgeDistance(p) > worst) worst = edgeDistance(p), at = p;
        EXPECT_LE(worst, tol) << name << " contour " << c << " at " << at.x << "," << at.y;
    }
}

constexpr Colour kWhite = 0xFFFFFF, kBlack = 0;

TEST(Autotrace, DiscAndItsGrownOutline) {
    const P c{100.3, 97.6};
    const double r = 60;
    const auto picture = Picture(200, 200, [&](double x, double y, int, int) {
        return Dist({x, y}, c) <= r ? kBlack : kWhite;
    });
    for (int offset : {0, 2}) {
        AutotraceSettings s;
        s.offset = offset;
        Traced t(*picture, s);
        ASSERT_EQ(t.contours.size(), 1u) << "offset " << offset;
        EXPECT_EQ(t.result.contours, 1);
        ExpectOnEdge(t.contours, [&](P p) { return std::abs(Dist(p, c) - (r + offset)); }, "disc");
    }
}

TEST(Autotrace, RingGivesItsOuterEdgeAndItsHole) {
    const P c{100, 100};
    const auto picture = Picture(200, 200, [&](double x, double y, int, int) {
        const double d = Dist({x, y}, c);
        return d <= 70 && d >= 35 ? kBlack : kWhite;
    });
    Traced t(*picture, {});
    ASSERT_EQ(t.contours.size(), 2u);
    std::vector<double> radii;
    for (const Contour& k : t.contours) radii.push_back(Dist(k.front(), c));
    ExpectOnEdge(t.contours, [&](P p) { return std::min(std::abs(Dist(p, c) - 70), std::abs(Dist(p, c) - 35)); },
                 "ring");
    EXPECT_NEAR(std::max(radii[0], radii[1]), 70, 1.5);
    EXPECT_NEAR(std::min(radii[0], radii[1]), 35, 1.5);
}

double RectEdgeDistance(P p, double l, double t, double r, double b) {
    const double dx = std::max({l - p.x, 0.0, p.x - r}), dy = std::max({t - p.y, 0.0, p.y - b});
    if (dx > 0 || dy > 0) return std::hypot(dx, dy);
    return std::min({p.x - l, r - p.x, p.y - t, b - p.y});
}

// A red and a blue square meeting at a corner: one region, walked once.
TEST(Autotrace, TwoSquaresTouchingAtACorner) {
    const auto picture = Picture(200, 200, [](double x, double y, int, int) {
        if (x > 40 && x < 100 && y > 40 && y < 100) return Colour(0x0000FF);
        if (x > 100 && x < 160 && y > 100 && y < 160) return Colour(0xFF0000);
        return kWhite;
    });
    Traced t(*picture, {});
    ASSERT_EQ(t.contours.size(), 1u);
    ExpectOnEdge(t.contours, [](P p) {
        return std::min(RectEdgeDistance(p, 40, 40, 100, 100), RectEdgeDistance(p, 100, 100, 160, 160));
    }, "squares");
}

// A photo-like picture: a shaded, noisy background, a noisy disc, lone
// dark pixels and small dark clusters: only the disc is traced.
TEST(Autotrace, NoisyPictureTracesOnlyTheSubject) {
    std::uint32_t seed = 12345;
    const auto noise = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 16) % 25) - 12;
    };
    const P c{150.5, 90.5};
    const auto picture = Picture(300, 200, [&](double x, double y, int px, int py) {
        const bool speck = (px % 37 == 5 && py % 23 == 8) ||                                   // lone pixels
                           (px >= 20 && px < 23 && py >= 151 && py < 154) ||                   // 3 x 3
                           (px >= 250 && px < 255 && py >= 30 && py < 35);                     // 5 x 5
        if (speck || Dist({x, y}, c) <= 50)
            return MakeColour(unsigned(60 + noise()), unsigned(40 + noise()), unsigned(140 + noise()));
        const int shade = 200 + int(x / 10);  // 200 .. 230
        return MakeColour(unsigned(shade + noise()), unsigned(shade + noise()), unsigned(shade + noise()));
    });
    AutotraceSettings s;
    s.traceColour = MakeColour(215, 215, 215);
    s.tolerance = 64;
    Traced t(*picture, s);
    ASSERT_EQ(t.contours.size(), 1u);
    ExpectOnEdge(t.contours, [&](P p) { return std::abs(Dist(p, c) - 50); }, "noisy disc");
}

// Contours whose box is no larger than the minimum size in both directions
// are dropped: a 5 x 5 pixel block (4 x 4 between its pixels) goes, a
// 7 x 3 bar (6 x 2) stays.
TEST(Autotrace, RegionsBelowTheMinimumSizeGiveNoContour) {
    struct Case {
        int w, h;
        std::size_t contours;
    };
    for (const Case& k : {Case{5, 5, 0}, Case{7, 3, 1}, Case{3, 7, 1}, Case{1, 1, 0}, Case{2, 1, 0}}) {
        const auto picture = Picture(40, 40, [&](double, double, int x, int y) {
            return x >= 18 && x < 18 + k.w && y >= 15 && y < 15 + k.h ? kBlack : kWhite;
        });
        Traced t(*picture, {});
        EXPECT_EQ(t.contours.size(), k.contours) << k.w << " x " << k.h;
    }
}

// Reversed off: only the pixels near the trace colour are foreground.
TEST(Autotrace, ToleranceWithoutReversedKeepsTheNearColours) {
    const auto picture = Picture(100, 60, [](double x, double, int, int) {
        if (x < 30) return Colour(0x0000F0);  // near red (distance 15)
        if (x < 60) return Colour(0x0040A0);  // farther than 48 from red
        return kWhite;
    });
    AutotraceSettings s;
    s.traceColour = 0x0000FF;
    s.tolerance = 48;
    s.reversed = false;
    Traced t(*picture, s);
    ASSERT_EQ(t.contours.size(), 1u);
    for (const P p : t.contours.front()) EXPECT_LT(p.x, 31) << "only the near-red band";
}

// The layer holds the smoothed points, moved half a pixel from the centres
// of the boundary pixels out to their edges, ten units a pixel: played
// back at ten times the picture size they come back so.
TEST(Autotrace, LayerPlaysBackIntoTheSmoothedContours) {
    const auto picture = Picture(80, 60, [](double x, double y, int, int) {
        return std::hypot(x - 40, y - 30) <= 20 ? kBlack : kWhite;
    });
    AutotraceSettings s;
    s.contourColour = 0x00FF00;
    TraceMask mask = MakeTraceMask(*picture, s);
    const auto traced = TraceContours(mask);
    ASSERT_TRUE(traced.Ok());
    const auto smoothed = SmoothContours(*traced, s);
    ASSERT_TRUE(smoothed.Ok());
    Traced t(*picture, s);
    ASSERT_EQ(t.contours.size(), smoothed->size());
    for (std::size_t c = 0; c < t.contours.size(); ++c) {
        const TdotList& dots = (*smoothed)[c];
        ASSERT_EQ(t.contours[c].size(), dots.size());
        for (std::size_t i = 0; i < dots.size(); ++i)
            EXPECT_NEAR(Dist(t.contours[c][i], {dots[i].X + 0.5, dots[i].Y + 0.5}), 0.5, 0.08) << "point " << i;
    }
}

TEST(Autotrace, CancelLeavesNoFile) {
    struct Stop : AutotraceProgress {
        bool Step(int) override { return false; }
    } stop;
    QTemporaryDir dir;
    const std::string file = dir.filePath("x.LYR").toStdString();
    const auto picture = Picture(40, 40, [](double x, double y, int, int) {
        return std::hypot(x - 20, y - 20) < 10 ? kBlack : kWhite;
    });
    const auto r = AutotraceToLayer(*picture, {}, file, &stop);
    EXPECT_FALSE(r.Ok());
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(file)));
}

TEST(Tdot, TurnAnglesAndThinning) {
    struct Angle {
        Tdot p, q, r;
        double degrees;
    };
    for (const Angle& a : {Angle{{0, 0}, {1, 0}, {2, 0}, 0}, Angle{{0, 0}, {1, 0}, {1, 1}, 90},
                           Angle{{0, 0}, {1, 0}, {0, 0}, 180}, Angle{{0, 0}, {0, 0}, {1, 1}, 90}})
        EXPECT_NEAR(TurnAngle(a.p, a.q, a.r), a.degrees, 1e-9);
    TdotList straight{{0, 0}, {5, 0}, {10, 0}};
    ThinContour(straight, 3);
    EXPECT_EQ(straight.size(), 2u) << "the collinear middle point goes";
    TdotList corner{{0, 0}, {5, 0}, {5, 5}};
    ThinContour(corner, 3);
    EXPECT_EQ(corner.size(), 3u) << "a right angle stays";
}

TEST(Tdot, TooLargeOrEmptyTracesAreNotSmoothed) {
    TracedContours none;
    EXPECT_EQ(SmoothContours(none, {}).Error(), "No valid metafile to smooth!");
    TracedContours big;
    big.width = 3200;
    big.height = 10;
    EXPECT_EQ(SmoothContours(big, {}).Error(), "Image too large to smooth");
}

}  // namespace
}  // namespace corvan
