// The image library's rules: histories, size limits and texts, and copying
// a picture into the library folder.
#include "shell/imagelibrary.h"

#include "platform/folders.h"
#include "support/scripted_ui.h"
#include "support/tempdirs.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

using Lines = std::vector<std::string>;

TEST(ImageLibrary, HistoriesKeepOneEntryNewestFirstAndSixteenAtMost) {
    test::ScratchHome home;
    LibraryHistory h;
    h.AddDir(LibraryMode::Images, "/pics/a");
    h.AddDir(LibraryMode::Images, "/pics/b/");
    h.AddDir(LibraryMode::Images, "/PICS/A/");
    EXPECT_EQ(h.dirs[0], (Lines{"/PICS/A/", "/pics/b/"}));
    for (int i = 0; i < 20; ++i) h.AddFile(LibraryMode::Layers, "/l/" + std::to_string(i) + ".emf");
    EXPECT_EQ(h.files[1].size(), 16u);
    EXPECT_EQ(h.files[1].front(), "/l/19.emf");
    h.rememberLast = false;
    ASSERT_TRUE(h.Store());
    const LibraryHistory back = LibraryHistory::Load();
    EXPECT_EQ(back.dirs[0], h.dirs[0]);
    EXPECT_EQ(back.files[1], h.files[1]);
    EXPECT_TRUE(back.dirs[1].empty());
    EXPECT_FALSE(back.rememberLast);
}

TEST(ImageLibrary, SizeLimitsAndTexts) {
    EXPECT_TRUE(ThumbnailAllowed(5242880, false));
    EXPECT_FALSE(ThumbnailAllowed(5242881, false));
    EXPECT_TRUE(ThumbnailAllowed(6 << 20, true));
    EXPECT_TRUE(PreviewAllowed(5243903, false));   // 5120 whole kilobytes
    EXPECT_FALSE(PreviewAllowed(5243904, false));  // 5121
    EXPECT_TRUE(PreviewAllowed(5243904, true));
    EXPECT_EQ(LibrarySizeText(1536), "1.50 Kb");
    EXPECT_EQ(LibrarySizeText(3 * 1048576), "3.00 mb");
}

TEST(ImageLibrary, CopyIntoTheLibraryAsksWhereAndWhether) {
    test::ScratchHome home;
    test::ScriptedUi ui;
    ASSERT_TRUE(ForceFolders(home.Path("in/")));
    const std::string photo = home.Path("in/photo.jpg");
    test::WriteFileBytes(photo, "jpeg bytes");
    const std::string library = home.Path("library/");
    ASSERT_TRUE(ForceFolders(library));
    // No library yet: the warning, then the folder question; No to copying.
    ui.Answer(ButtonNo);
    EXPECT_FALSE(CopyToImageFiles(ui, photo, [&] { return std::optional<std::string>(library); }));
    EXPECT_EQ(ImageFilesFolder(), WithTrailingSlash(library));
    EXPECT_EQ(ui.Texts().front(), "You Need to specify the Location for you Image Files...");
    // Yes: copied, and the copy is what the job will name.
    ui.Answer(ButtonYes);
    const auto copied = CopyToImageFiles(ui, photo, [] { return std::optional<std::string>(); });
    ASSERT_TRUE(copied);
    EXPECT_EQ(*copied, WithTrailingSlash(library) + "photo.jpg");
    EXPECT_EQ(test::ReadFileBytes(*copied), "jpeg bytes");
    EXPECT_EQ(ui.Texts().back(), "File copied to \r\r" + *copied);
    // A library folder that went away counts as none.
    SetImageFilesFolder(home.Path("gone/"));
    EXPECT_EQ(ImageFilesFolder(), "");
}

}  // namespace
}  // namespace corvan
