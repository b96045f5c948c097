#include "platform/folders.h"
#include "platform/debuglog.h"
#include "support/scripted_ui.h"
#include "support/tempdirs.h"

#include <QFile>
#include <gtest/gtest.h>

#include <sstream>

namespace corvan {
namespace {

std::vector<std::string> Lines(const std::string& path) {
    std::vector<std::string> lines;
    std::string all = test::ReadFileBytes(path);
    std::size_t pos = 0;
    while (pos < all.size()) {
        std::size_t end = all.find("\r\n", pos);
        if (end == std::string::npos) end = all.size();
        lines.push_back(all.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

TEST(DebugLogOff, WithoutMarkerNothingIsWritten) {
    test::ScratchHome home;
    test::ScriptedUi ui;
    test::WriteFileBytes(home.Path("critical.log"), "old trace");
    OpenLog(ui);
    LogLine("hello");
    CriticalReset("FormCreate");
    CriticalLine("a");
    EXPECT_FALSE(LogEnabled());
    EXPECT_FALSE(FileExists(DebugLogPath()));
    EXPECT_EQ(test::ReadFileBytes(home.Path("critical.log")), "old trace");
    CloseLog();
}

TEST(DebugLogOn, HeaderDashesAndNumbering) {
    test::ScratchHome home;
    test::ScriptedUi ui;
    test::WriteFileBytes(home.Path("Debug.txt"), "");
    test::WriteFileBytes(home.Path("critical.log"), "kept until reset");
    OpenLog(ui);
    ASSERT_TRUE(LogEnabled());
    EXPECT_EQ(DebugLogPath(), home.Home() + ExecutableBaseName() + ".log");
    EXPECT_EQ(test::ReadFileBytes(home.Path("critical.log")), "kept until reset");
    LogLine("Create Form1");
    LogLine("-");
    LogLine("--");
    const auto lines = Lines(DebugLogPath());
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[1], std::string(49, '-'));
    EXPECT_EQ(lines[2].rfind("System Log File.  Email to: ", 0), 0u);
    EXPECT_EQ(lines[3], " ");
    EXPECT_EQ(lines[4], "Path: " + ExecutablePath());
    EXPECT_EQ(lines[5].rfind("Load.. ", 0), 0u);
    EXPECT_EQ(lines[6].rfind("Memory Used - ", 0), 0u);
    EXPECT_EQ(lines[7].rfind("Total Memory - ", 0), 0u);
    EXPECT_EQ(lines[8].rfind("Memory  Free - ", 0), 0u);
    EXPECT_EQ(lines[9], std::string(49, '-'));
    EXPECT_EQ(lines[10], "Create Form1");
    EXPECT_EQ(lines[12], "--");

    CriticalReset("FormCreate01");
    CriticalLine("a");
    CriticalLine("b");
    EXPECT_EQ(test::ReadFileBytes(home.Path("critical.log")), "FormCreate01\r\n1\ta\r\n2\tb\r\n");
    EXPECT_TRUE(ui.messages.empty());
    CloseLog();
}

TEST(DebugLogOn, FailedAppendSwitchesLoggingOffOnce) {
    test::ScratchHome home;
    test::ScriptedUi ui;
    test::WriteFileBytes(home.Path("Debug.txt"), "");
    OpenLog(ui);
    ASSERT_TRUE(LogEnabled());
    // Replace the log with a folder so that appending fails even for root.
    QFile::remove(QString::fromStdString(DebugLogPath()));
    ASSERT_TRUE(ForceFolders(DebugLogPath()));
    LogLine("one");
    LogLine("two");
    EXPECT_FALSE(LogEnabled());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Unable to append to Debug Log.");
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Plain);
    CloseLog();
}

TEST(DebugLogOn, UncreatableLogIsReportedAndStaysOff) {
    test::ScratchHome home;
    test::ScriptedUi ui;
    test::WriteFileBytes(home.Path("Debug.txt"), "");
    ForceFolders(home.Home() + ExecutableBaseName() + ".log");  // a folder in the way
    OpenLog(ui);
    EXPECT_FALSE(LogEnabled());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Unable to Create a log file: \r" + DebugLogPath());
    CloseLog();
}

TEST(DebugLogOn, CriticalFailurePropagates) {
    test::ScratchHome home;
    test::ScriptedUi ui;
    test::WriteFileBytes(home.Path("Debug.txt"), "");
    OpenLog(ui);
    ForceFolders(CriticalLogPath());
    EXPECT_THROW(CriticalReset("x"), CriticalLogError);
    CloseLog();
}

}  // namespace
}  // namespace corvan
