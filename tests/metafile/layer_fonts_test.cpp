// Fonts that travel with a layer are registered from the cache folder when
// the system lacks them; faces the system has are left alone.
#include "platform/metafile/layer_fonts.h"
#include "support/gui_app.h"
#include "support/metafile_fixture.h"
#include <QFile>
#include <QTemporaryDir>

namespace corvan::test {
namespace {

TEST(MetafileLayerFonts, MissingFacesComeFromTheCacheFolder) {
    EnsureGuiApp();
    const std::string font = "/usr/share/fonts/truetype/crosextra/Caladea-Regular.ttf";
    if (!QFile::exists(QString::fromStdString(font))) GTEST_SKIP() << "no Caladea";
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    ASSERT_TRUE(QFile::copy(QString::fromStdString(font), QString::fromStdString(folder + "CorvanLayerFace.TTF")));
    ASSERT_TRUE(QFile::copy(QString::fromStdString(font),
                            QString::fromStdString(folder + "CorvanLayerFace_Bold.TTF")));
    auto w = PixelWriter(10, 10);
    w.CreateFont(u"CorvanLayerFace", -10);
    w.CreateFont(u"Arial", -10);
    ASSERT_TRUE(w.Save(folder + "layer.emf"));
    const auto files = emf::InstallLayerFonts(folder + "layer.emf", folder);
    EXPECT_EQ(files, (std::vector<std::string>{folder + "CorvanLayerFace.TTF",
                                               folder + "CorvanLayerFace_Bold.TTF"}));
}

}  // namespace
}  // namespace corvan::test
