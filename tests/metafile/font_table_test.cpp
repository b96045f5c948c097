// The font substitution table: its format, and that every face layer files
// name most often in sign work is drawn with its substitute on this machine
// (a missing font package shows here, not as wrong letters in a print).
#include "support/gui_app.h"
#include "support/metafile_fixture.h"

#include "platform/metafile/font_table.h"

#include <QFont>
#include <QFontInfo>
#include <QPainterPath>
#include <QProcess>

namespace corvan::test {
namespace {

using namespace corvan::emf;

TEST(MetafileFontTable, ParsesRowsAndLeavesOutCommentsAndShortLines) {
    const auto rows = ParseFontTable(
        "# face\tsubstitute\n"
        "\n"
        "Tahoma\tTahoma\tmetric\t0\tfonts-wine\t/a/tahoma.ttf, /a/tahomabd.ttf\n"
        "Arial Black\tDejaVu Sans\tlook-alike\t900\tfonts-dejavu-core\n"
        "Lonely\n");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].face, "Tahoma");
    EXPECT_EQ(rows[0].files, (QStringList{"/a/tahoma.ttf", "/a/tahomabd.ttf"}));
    EXPECT_EQ(rows[1].substitute, "DejaVu Sans");
    EXPECT_EQ(rows[1].match, "look-alike");
    EXPECT_EQ(rows[1].weight, 900);
    EXPECT_EQ(rows[1].package, "fonts-dejavu-core");
    EXPECT_TRUE(rows[1].files.isEmpty());
}

TEST(MetafileFontTable, SignWorkFacesAreDrawnWithTheirSubstitutes) {
    EnsureGuiApp();
    for (const char* face :
         {"Arial", "Arial Black", "Impact", "Verdana", "Tahoma", "Georgia", "Trebuchet MS",
          "Comic Sans MS", "Times New Roman", "Courier New", "Calibri", "Cambria", "Segoe UI",
          "Segoe UI Light", "Arial Unicode MS", "Symbol", "Wingdings"}) {
        SCOPED_TRACE(face);
        const FontSubstitute* row = FindSubstitute(QString(face).toLower());
        ASSERT_NE(row, nullptr) << "not in the table";
        const QFont font(ResolvedFamily(face));
        EXPECT_EQ(DrawnFamily(font.family()), row->substitute)
            << "install " << row->package.toStdString();
        // Real glyphs, not empty boxes: narrow and wide letters differ in
        // ink (the symbol faces have no letters to compare).
        if (row->substitute == "Symbol" || row->substitute == "Wingdings") continue;
        QPainterPath narrow, wide;
        narrow.addText(0, 0, font, "iiiiiiii");
        wide.addText(0, 0, font, "WWWWWWWW");
        EXPECT_NE(narrow.boundingRect(), wide.boundingRect());
        EXPECT_FALSE(wide.isEmpty());
    }
}

}  // namespace
}  // namespace corvan::test

namespace corvan::test {
namespace {

// The command line lists the table with the family each face is drawn with.
TEST(MetafileFontTable, InfoFontsListsEveryFace) {
    QProcess p;
    p.start(QString(CORVAN_BIN_DIR) + "/corvanrip-cli", {"info", "--fonts"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    for (const emf::FontSubstitute& row : emf::FontTable()) {
        EXPECT_TRUE(out.contains(row.face)) << row.face.toStdString();
        EXPECT_TRUE(out.contains(row.package)) << row.package.toStdString();
    }
    EXPECT_FALSE(out.contains("fallback")) << out.toStdString();
}

}  // namespace
}  // namespace corvan::test
