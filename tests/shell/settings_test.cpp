#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/registry.h"
#include "platform/paths.h"
#include "platform/preferences.h"
#include "support/tempdirs.h"

#include <QDir>
#include <gtest/gtest.h>

namespace corvan {
namespace {

TEST(Registry, ReadWritesTheDefaultFirstWhenAbsent) {
    test::ScratchHome home;
    EXPECT_FALSE(RegValueExists("DoQuickStart"));
    EXPECT_TRUE(ReadRegBool("DoQuickStart", true));
    EXPECT_EQ(ReadRegRaw("DoQuickStart"), "1");
    EXPECT_EQ(ReadRegInteger("Maximum  Tiles", 20), 20);
    WriteRegInteger("Maximum  Tiles", 35);
    EXPECT_EQ(ReadRegInteger("Maximum  Tiles", 20), 35);
    WriteRegString("ImageFiles", "/x/y/");
    EXPECT_EQ(ReadRegString("ImageFiles", ""), "/x/y/");
}

TEST(Registry, SubkeysBecomeSections) {
    test::ScratchHome home;
    WriteRegInteger("SpotColors\\01_Black", 42);
    IniFile ini(RegistryFile());
    ASSERT_TRUE(ini.Load());
    EXPECT_EQ(ini.ReadInteger("SpotColors", "01_Black", 0), 42);
    EXPECT_EQ(ReadRegInteger("SpotColors\\01_Black", 0), 42);
}

TEST(Paths, DefaultsFollowTheProgramFolder) {
    test::ScratchHome home;
    EXPECT_EQ(ReadPath("ImageDir"), home.Path("Images/"));
    // Without its subfolder a default is the program folder itself.
    QDir(QString::fromStdString(home.Path("Images"))).removeRecursively();
    EXPECT_EQ(ReadPath("ImageDir"), home.Home());
    EXPECT_EQ(ReadPath("TempDir"), SystemTempFolder());
    for (const char* name : kFolderValueNames) {
        const std::string p = ReadPath(name);
        EXPECT_FALSE(p.empty()) << name;
        EXPECT_EQ(p.back(), '/') << name;
    }
}

TEST(Paths, WritePathAddsSlashCreatesFolderAndFallsBack) {
    test::ScratchHome home;
    const std::string folder = home.Path("work/docs");
    WritePath("DocumentDir", folder);
    EXPECT_EQ(ReadRegRaw("DocumentDir"), folder + "/");
    EXPECT_TRUE(FolderExists(folder));
    EXPECT_EQ(ReadPath("DocumentDir"), folder + "/");

    // A folder that cannot be created is stored empty; reads fall back.
    WritePath("RipDir", "/proc/no/such/place");
    EXPECT_EQ(ReadRegRaw("RipDir"), "");
    EXPECT_EQ(ReadPath("RipDir"), DefaultPath("RipDir"));

    // A stored folder that disappeared reads as its default; the text stays.
    QDir(QString::fromStdString(folder)).removeRecursively();
    EXPECT_EQ(ReadPath("DocumentDir"), DefaultPath("DocumentDir"));
    EXPECT_EQ(ReadRegRaw("DocumentDir"), folder + "/");
}

TEST(Paths, StoringEveryDefaultFillsTheKey) {
    test::ScratchHome home;
    for (const char* name : kFolderValueNames) WritePath(name, DefaultPath(name));
    for (const char* name : kFolderValueNames) EXPECT_FALSE(ReadRegRaw(name).empty()) << name;
}

TEST(Preferences, ReadsCheckedAndValueKeys) {
    test::ScratchHome home;
    test::WriteFileBytes(PreferencesFile(),
                         "[settings]\r\nuse_metric_Checked=True\r\nRIP_Smooth_checked=yes\r\n"
                         "save_printersettings_checked=1\r\nmax_preview_Value=750\r\nRIP_DPI_value=abc\r\n");
    EXPECT_TRUE(ReadPrefBool("use_metric", false));
    EXPECT_FALSE(ReadPrefBool("RIP_Smooth", true));  // any other text is false
    EXPECT_TRUE(ReadPrefBool("save_printersettings", false));
    EXPECT_TRUE(ReadPrefBool("missing", true));
    EXPECT_EQ(ReadPrefNumber("max_preview", 0), 750);
    EXPECT_EQ(ReadPrefNumber("RIP_DPI", 360), 360);
}

TEST(ProgramFolder, SeedsMissingDefaultFilesOnly) {
    test::ScratchHome home;
    QTemporaryDir data;
    QDir(data.path()).mkpath("Data");
    test::WriteFileBytes(data.path().toStdString() + "/Data/marks.mrk", "new");
    test::WriteFileBytes(data.path().toStdString() + "/helpfile.ini", "[x]");
    test::WriteFileBytes(home.Path("helpfile.ini"), "mine");
    setenv("CORVANRIP_DATA", data.path().toStdString().c_str(), 1);
    const std::string folder = ProgramFolder();
    unsetenv("CORVANRIP_DATA");
    EXPECT_EQ(folder, home.Home());
    EXPECT_EQ(test::ReadFileBytes(home.Path("Data/marks.mrk")), "new");
    EXPECT_EQ(test::ReadFileBytes(home.Path("helpfile.ini")), "mine");
}

}  // namespace
}  // namespace corvan
