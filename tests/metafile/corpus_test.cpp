// Every metafile of the shared corpus (real-world, synthetic and damaged
// files) plays without a crash; damaged ones stop with a reason or pass over
// their damaged records with one. The ctest time limit catches a hang.
// Skipped when the corpus is not there (a failure under CI).
#include "support/corpus.h"
#include "support/gui_app.h"
#include "support/metafile_fixture.h"

#include <QDirIterator>

#include <cmath>

namespace corvan::test {
namespace {

using namespace corvan::emf;

std::vector<std::string> CorpusFiles() {
    std::vector<std::string> files;
    QDirIterator it(QString(CORVAN_SHARED_DIR) + "/corpus/emf", {"*.emf", "*.EMF"}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) files.push_back(it.next().toStdString());
    std::sort(files.begin(), files.end());
    return files;
}

// A picture of at most 200 pixels on the longer side with the frame's shape.
QSize PictureSize(const EmfHeader& h) {
    const double fw = std::max(1.0, double(h.frame.right) - h.frame.left);
    const double fh = std::max(1.0, double(h.frame.bottom) - h.frame.top);
    const double s = 200 / std::max(fw, fh);
    return QSize(std::max(1, int(fw * s)), std::max(1, int(fh * s)));
}

TEST(MetafileCorpus, EveryFilePlays) {
    const auto files = CorpusFiles();
    CORVAN_REQUIRE_CORPUS(!files.empty(), "corpus at " << CORVAN_SHARED_DIR);
    EnsureGuiApp();  // so that text records are played too
    int refused = 0, stopped = 0, skipping = 0, brokenSeen = 0;
    for (const std::string& path : files) {
        SCOPED_TRACE(path);
        std::string error;
        auto reader = EmfReader::OpenFile(path, &error);
        const bool broken = path.find("/corrupted/") != std::string::npos;
        brokenSeen += broken;
        if (!reader) {
            EXPECT_FALSE(error.empty());
            ++refused;
            continue;
        }
        const QSize size = PictureSize(reader->Header());
        auto image = Bitmap24::Create(size.width(), size.height());
        ASSERT_TRUE(image);
        image->Fill(0xFFFFFF);
        GdiDevice dc(*image);
        const auto result = PlayMetafile(dc, *reader, QRect(QPoint(0, 0), size));
        if (!result.complete) {
            EXPECT_FALSE(result.reason.empty());
            ++stopped;
        }
        for (const std::string& why : result.skipped) EXPECT_FALSE(why.empty());
        skipping += !result.skipped.empty();
    }
    // The deliberately damaged files must not all slip through as sound.
    if (brokenSeen) {
        EXPECT_GE(refused + stopped + skipping, brokenSeen / 2);
    }
    std::printf("%zu files: %d refused, %d stopped early, %d with records skipped\n", files.size(),
                refused, stopped, skipping);
}

}  // namespace
}  // namespace corvan::test
