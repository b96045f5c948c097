#include "platform/inifile.h"
#include "support/tempdirs.h"

#include <QFile>
#include <gtest/gtest.h>


namespace corvan {
namespace {

TEST(IniFile, ReadsWindowsStyleFilesWhateverTheirCase) {
    IniFile ini;
    ini.Parse("\xEF\xBB\xBF; made by hand\r\n[Size]\r\n page width(mm) = 100.5 \r\nCOPIES=3\r\n"
              "[job]\r\nBackground Image=C:\\pics\\a b.jpg\r\nJobText=a=b\r\n");
    EXPECT_EQ(ini.ReadFloat("SIZE", "Page Width(mm)", 0), 100.5);
    EXPECT_EQ(ini.ReadInteger("size", "copies", 0), 3);
    EXPECT_EQ(ini.ReadString("Job", "background image"), "C:\\pics\\a b.jpg");
    EXPECT_EQ(ini.ReadString("Job", "JobText"), "a=b");  // only the first "=" splits
    EXPECT_EQ(ini.ReadString("Job", "missing", "def"), "def");
    EXPECT_EQ(ini.ReadInteger("Size", "Page Width(mm)", 7), 7);  // not an integer: default
}

TEST(IniFile, EditingKeepsUnknownContentAndOrder) {
    IniFile ini;
    ini.Parse("top line\n[A]\nx=1\n; note\n\n[B]\ny=2\n");
    ini.WriteString("a", "X", "10");
    ini.WriteString("A", "z", "3");
    ini.WriteString("C", "w", "4");
    EXPECT_EQ(ini.Serialise(), "top line\r\n[A]\r\nx=10\r\n; note\r\nz=3\r\n\r\n[B]\r\ny=2\r\n[C]\r\nw=4\r\n");
}

TEST(IniFile, HugeValuesRoundTripWhole) {
    test::ScratchHome home;
    const std::string path = home.Path("big.ini");
    std::string value(4194304, 'A');
    for (std::size_t i = 0; i < value.size(); i += 97) value[i] = static_cast<char>('0' + i % 10);
    IniFile out(path);
    out.WriteString("Printer Settings", "Data", value);
    out.WriteString("Printer Settings", "After", "x");
    ASSERT_TRUE(out.Save());
    IniFile in(path);
    ASSERT_TRUE(in.Load());
    EXPECT_EQ(in.ReadString("printer settings", "data"), value);
    EXPECT_EQ(in.ReadString("Printer Settings", "After"), "x");
}

TEST(IniFile, UnreadableInputsGiveEmptyDocumentsOrErrors) {
    test::ScratchHome home;
    IniFile missing(home.Path("none.ini"));
    EXPECT_TRUE(missing.Load());
    EXPECT_TRUE(missing.SectionNames().empty());

    IniFile folder(home.Home());
    EXPECT_FALSE(folder.Load());
    EXPECT_FALSE(folder.Error().empty());

    IniFile junk;
    junk.Parse(std::string("\x00\x01[\xff\n=\n[]]\n\x7f=\x80", 14));
    const std::string again = junk.Serialise();  // junk survives an edit unchanged
    IniFile reparsed;
    reparsed.Parse(again);
    EXPECT_EQ(reparsed.Serialise(), again);
}

TEST(IniFile, FailedSaveLeavesTheOldFileWhole) {
    test::ScratchHome home;
    const std::string path = home.Path("job.RIP");
    // Larger than any write buffer, and small enough to sit in one until the
    // file is closed.
    for (const std::size_t size : {64 * 1024, 3000}) {
        test::WriteFileBytes(path, "[Job]\r\nJobText=old\r\n");
        IniFile ini(path);
        ini.WriteString("Job", "JobText", std::string(size, 'n'));
        {
            // A file-size limit makes the write fail even for root.
            test::FileSizeLimit limit(1024);
            EXPECT_FALSE(ini.Save()) << size;
        }
        EXPECT_FALSE(ini.Error().empty()) << size;
        EXPECT_EQ(test::ReadFileBytes(path), "[Job]\r\nJobText=old\r\n") << size;
    }
}

TEST(IniFile, ProfileFunctionsOpenWriteAndClose) {
    test::ScratchHome home;
    const std::string path = home.Path("p.ini");
    EXPECT_TRUE(WriteProfileString(path, "Printed Tiles", "3", "1"));
    EXPECT_TRUE(WriteProfileString(path, "printed tiles", "1", "1"));
    EXPECT_EQ(GetProfileString(path, "Printed Tiles", "3"), "1");
    EXPECT_EQ(test::ReadFileBytes(path), "[Printed Tiles]\r\n3=1\r\n1=1\r\n");
}

}  // namespace
}  // namespace corvan
