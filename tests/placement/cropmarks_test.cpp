#include "placement/cropmarks.h"

#include "platform/bmpfile.h"
#include "platform/folders.h"
#include "platform/paths.h"
#include "support/fixtures.h"
#include "support/tempdirs.h"
#include "support/test_frontend.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace corvan {
namespace {

void WriteMark(const std::string& path, float size, std::uint8_t marker) {
    CropMarkFile f;
    f.size = size;
    for (int i = 0; i < 4; ++i)
        f.corners[i] = test::TinyMetafile(static_cast<std::uint8_t>(marker + i));
    auto preview = Bitmap24::Create(40, 40);
    preview->Fill(0xFFFFFF);
    f.preview = *EncodeBmp(*preview);
    const auto bytes = BuildCropMarkFile(f);
    test::WriteFileBytes(path, std::string(bytes.begin(), bytes.end()));
}

class CropMarks : public ::testing::Test {
protected:
    void SetUp() override {
        data = ReadPath("DataDir");
        // The folder starts with the marks we ship; these cases list their own.
        for (const QString& name :
             QDir(QString::fromStdString(data)).entryList({"*.mrk"}, QDir::Files))
            QFile::remove(QString::fromStdString(data) + name);
        WriteMark(data + "b.mrk", 10, 10);
        WriteMark(data + "a.mrk", 25, 20);
        test::WriteFileBytes(data + "c.mrk", "not a crop mark file");
        auto cut = test::ReadFileBytes(data + "a.mrk");
        test::WriteFileBytes(data + "d.mrk", cut.substr(0, 200));  // signature right, body cut
        library.LoadCropMarks();
    }
    test::ScratchHome home;
    std::string data;
    CropMarkLibrary library;
};

TEST_F(CropMarks, ListsValidFilesWithPreviews) {
    EXPECT_EQ(library.Items(), (std::vector<std::string>{data + "a.mrk", data + "b.mrk"}));
    ASSERT_EQ(library.Previews().size(), 2u);
    ASSERT_TRUE(library.Previews()[0]);
    EXPECT_EQ(library.Previews()[0]->Width(), 40);
    EXPECT_EQ(library.SelectedIndex(), 0);
    EXPECT_TRUE(library.Corners()[0].empty());  // selecting at start applies nothing
    // The list's first entry is only shown: the output draws the built-in
    // marks, so a project saved now must not name the file.
    EXPECT_EQ(library.SelectedFileName(), "");
}

TEST_F(CropMarks, ApplyingReadsTheCornersByNameFromTheDataFolder) {
    auto size = library.ApplyCropMark("/some/other/place/b.mrk");
    ASSERT_TRUE(size);
    EXPECT_EQ(*size, 10);
    EXPECT_EQ(library.Corners()[3][60], 13);

    EXPECT_FALSE(library.ApplyCropMark("/x/missing.mrk"));
    EXPECT_EQ(library.Corners()[3][60], 13);  // a missing file changes nothing

    EXPECT_FALSE(library.ApplyCropMark("c.mrk"));
    EXPECT_TRUE(library.Corners()[0].empty());  // wrong signature: crosses from now on
}

TEST_F(CropMarks, AProjectsFileNameIsKeptEvenWhereTheFileIsMissing) {
    library.SelectCropMarkFile("/elsewhere/not here.mrk");
    EXPECT_FALSE(library.Applied());
    EXPECT_EQ(library.SelectedFileName(), "not here.mrk");
}

TEST_F(CropMarks, ProjectSelectionAndComboChoice) {
    library.SelectCropMarkFile("/moved/elsewhere/b.mrk");
    EXPECT_EQ(library.SelectedFileName(), "b.mrk");
    EXPECT_EQ(*library.LastAppliedSize(), 10);

    test::TestApp appSession;

    AppCore& app = appSession.app;
    app.CurrentJob = std::make_unique<TemfFile>();
    ChooseCropMark(app, library, 0);
    EXPECT_EQ(app.CurrentJob->CropmarkSize, 25);
    EXPECT_TRUE(app.CurrentJob->Modified);
    EXPECT_EQ(library.SelectedFileName(), "a.mrk");
}

}  // namespace
}  // namespace corvan
