// The regression ratchet of plain playback against the reference renders of
// the shared corpus: every scored file is played at its reference size and
// compared pixel by pixel (a pixel agrees when each channel is within 8 of
// the reference at the same place or one of its eight neighbours). A file in
// fidelity_pass.txt that falls below 99 % fails the test; files that pass but
// are not listed yet are named so that the list can grow.
#include "support/gui_app.h"
#include "support/metafile_fixture.h"

#include <QFile>
#include <QImage>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <set>
#include <thread>

namespace corvan::test {
namespace {

using namespace corvan::emf;

constexpr int kTolerance = 8;
constexpr double kPassShare = 0.99;

const QString kRefDir = QString(CORVAN_SHARED_DIR) + "/corpus/ref600/";
const QString kEmfDir = QString(CORVAN_SHARED_DIR) + "/corpus/emf/";

struct Scored {
    std::string path;  // relative to the corpus folder
    int width = 0, height = 0;
    double share = -1;  // agreeing pixels; negative when not rendered
};

// The files the reference rendered without a known defect of its own
// (a caveat other than "emf+").
std::vector<Scored> ScoredFiles() {
    std::vector<Scored> files;
    QFile index(kRefDir + "index.tsv");
    if (!index.open(QIODevice::ReadOnly)) return files;
    const QStringList lines = QString::fromUtf8(index.readAll()).split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList f = lines[i].split('\t');
        if (f.size() < 4 || f[3] != "0") continue;
        const QStringList caveats = f.value(6).split(',', Qt::SkipEmptyParts);
        if (std::any_of(caveats.begin(), caveats.end(),
                        [](const QString& c) { return c != "emf+"; }))
            continue;
        files.push_back({f[0].toStdString(), f[1].toInt(), f[2].toInt()});
    }
    return files;
}

std::set<std::string> PassList() {
    std::set<std::string> names;
    QFile list(QString(CORVAN_METAFILE_TEST_DIR) + "/fidelity_pass.txt");
    if (!list.open(QIODevice::ReadOnly)) return names;
    for (const QString& line : QString::fromUtf8(list.readAll()).split('\n'))
        if (!line.trimmed().isEmpty() && !line.startsWith('#'))
            names.insert(line.trimmed().toStdString());
    return names;
}

bool Near(const std::uint8_t* a, const std::uint8_t* b) {
    return std::abs(a[0] - b[0]) <= kTolerance && std::abs(a[1] - b[1]) <= kTolerance &&
           std::abs(a[2] - b[2]) <= kTolerance;
}

// The share of reference pixels that ours match at the same place or one
// pixel away (ours clamped at the edges). Both are 3 bytes per pixel.
double AgreeingShare(const QImage& ref, const Bitmap24& ours) {
    const int w = ours.Width(), h = ours.Height();
    std::size_t agree = 0;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* r = ref.constScanLine(y);
        for (int x = 0; x < w; ++x) {
            bool ok = false;
            for (int dy = -1; dy <= 1 && !ok; ++dy) {
                const std::uint8_t* row = ours.Row(std::clamp(y + dy, 0, h - 1));
                for (int dx = -1; dx <= 1 && !ok; ++dx)
                    ok = Near(r + 3 * x, row + 3 * std::clamp(x + dx, 0, w - 1));
            }
            agree += ok;
        }
    }
    return double(agree) / (double(w) * h);
}

double Score(const Scored& file) {
    auto reader = EmfReader::OpenFile((kEmfDir + QString::fromStdString(file.path)).toStdString());
    QString png = QString::fromStdString(file.path);
    png.replace(png.size() - 4, 4, ".png");
    const QImage ref = QImage(kRefDir + png).convertToFormat(QImage::Format_BGR888);
    if (!reader || ref.width() != file.width || ref.height() != file.height) return -1;
    auto image = Bitmap24::Create(file.width, file.height);
    if (!image) return -1;
    image->Fill(0xFFFFFF);
    {
        GdiDevice dc(*image);  // the picture is complete when the context ends
        PlayMetafile(dc, *reader, QRect(0, 0, file.width, file.height));
    }
    return AgreeingShare(ref, *image);
}

// Scores every file on two threads (the files are independent).
void ScoreAll(std::vector<Scored>& files) {
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i; (i = next++) < files.size();) files[i].share = Score(files[i]);
    };
    std::thread other(work);
    work();
    other.join();
}

TEST(MetafileFidelity, ListedFilesKeepAgreeingWithTheReferences) {
    std::vector<Scored> files = ScoredFiles();
    if (files.empty()) {
        const char* ci = std::getenv("CI");
        if (ci && std::string(ci) == "true")
            FAIL() << "no reference renders at " << kRefDir.toStdString();
        GTEST_SKIP() << "no reference renders at " << kRefDir.toStdString();
    }
    const std::set<std::string> listed = PassList();
    ASSERT_FALSE(listed.empty()) << "fidelity_pass.txt is missing or empty";
    EnsureGuiApp();
    ScoreAll(files);
    int passing = 0;
    for (const Scored& f : files) {
        const bool passes = f.share >= kPassShare;
        passing += passes;
        if (listed.count(f.path)) {
            EXPECT_TRUE(passes) << f.path << " agrees on " << f.share * 100 << " % of pixels";
        } else if (passes) {
            std::printf("passes now, add to fidelity_pass.txt: %s\n", f.path.c_str());
        }
    }
    for (const std::string& name : listed) {
        EXPECT_TRUE(std::any_of(files.begin(), files.end(),
                                [&](const Scored& f) { return f.path == name; }))
            << name << " is listed but not scored";
    }
    // CORVAN_FIDELITY_REPORT=1 lists the files below the mark with their share,
    // CORVAN_FIDELITY_REPORT=all every file.
    const char* report = std::getenv("CORVAN_FIDELITY_REPORT");
    const bool all = report && std::string(report) == "all";
    if (report && (all || *report == '1'))
        for (const Scored& f : files)
            if (all || f.share < kPassShare) std::printf("%.4f %s\n", f.share, f.path.c_str());
    std::printf("fidelity: %d/%zu files agree on >= 99 %% of pixels\n", passing, files.size());
}

}  // namespace
}  // namespace corvan::test
