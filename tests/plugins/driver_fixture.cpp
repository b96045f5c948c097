#include "driver_fixture.h"

#include "platform/folders.h"
#include "plugins/currentplugin.h"
#include "platform/debuglog.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <chrono>
#include <thread>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace corvan::test {

namespace {
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}
}  // namespace

DriverHome::DriverHome() {
    ProgramFolder();  // seed the folders first
    WriteFileBytes(Path("Debug.txt"), "");
    OpenLog(ui);
}

DriverHome::~DriverHome() {
    ReleaseCurrentPlugin();
    CloseLog();
}

std::string DriverHome::Folder(const std::string& name) {
    const std::string dir = Path(name + "/");
    ForceFolders(dir);
    return dir;
}

std::string DriverHome::AddRecorder(const std::string& dir, const std::string& name,
                                    const std::vector<std::string>& config,
                                    const std::string& variant) {
    const std::string path = dir + name + ".drv";
    QFile::remove(QString::fromStdString(path));
    QFile::copy(QString::fromStdString(std::string(CORVAN_TESTDRIVERS) + variant + ".drv"),
                QString::fromStdString(path));
    std::string cfg = "log=" + Path("calls.log") + "\ntag=" + name + "\n";
    for (const auto& line : config) cfg += line + "\n";
    WriteFileBytes(path + ".cfg", cfg);
    return path;
}

std::vector<std::string> DriverHome::Calls() const {
    return SplitLines(ReadFileBytes(Path("calls.log")));
}
void DriverHome::ClearCalls() const {
    WriteFileBytes(Path("calls.log"), "");
}
std::vector<std::string> DriverHome::LogLines() const {
    return SplitLines(ReadFileBytes(DebugLogPath()));
}
std::vector<std::string> DriverHome::CriticalLines() const {
    return SplitLines(ReadFileBytes(CriticalLogPath()));
}
void DriverHome::ClearLogs() const {
    WriteFileBytes(DebugLogPath(), "");
    WriteFileBytes(CriticalLogPath(), "");
}

void EnsureWidgetApplication() {
    if (QCoreApplication::instance()) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "test_plugins";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // lives as long as the process, as in a program
}

QByteArray RunTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
    return p.readAllStandardOutput();
}

std::vector<QString> SpooledPdfs() {
    std::vector<QString> files;
    QDirIterator it("/var/spool/cups-pdf", {"*.pdf"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) files.push_back(it.next());
    return files;
}

QString WaitForSpooledPdf(const std::string& title, const std::vector<QString>& before, QByteArray* info) {
    QString made;
    QByteArray pdfInfo;
    for (int i = 0; i < 300 && pdfInfo.isEmpty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        for (const auto& f : SpooledPdfs())
            if (f.contains(QString::fromStdString(title)) && std::find(before.begin(), before.end(), f) == before.end())
                made = f;
        if (made.isEmpty() || !RunTool("lpstat", {"-o", "PDF"}).trimmed().isEmpty()) continue;
        pdfInfo = RunTool("pdfinfo", {made});
    }
    if (info) *info = pdfInfo;
    return pdfInfo.isEmpty() ? QString() : made;
}

void ExpectPrinterError(const TemfPlotter& p) {
    EXPECT_FALSE(p.IsPlugin);
    EXPECT_EQ(p.PrinterName, "Printer Error");
    EXPECT_EQ(p.PrinterDescription, "Trouble with Printer.");
    EXPECT_EQ(p.DpiX, 96);
    EXPECT_EQ(p.DpiY, 96);
    for (float v : {p.PrintableWidth, p.PrintableLength, p.MediaWidth, p.MediaHeight})
        EXPECT_EQ(v, 300.0f);
    EXPECT_EQ(p.QueueIndex, -1);
    EXPECT_EQ(p.OutputFile, "");
}

std::vector<std::string> WithPrefix(const std::vector<std::string>& all,
                                    const std::string& prefix) {
    std::vector<std::string> out;
    for (const auto& l : all)
        if (l.rfind(prefix, 0) == 0) out.push_back(l);
    return out;
}

bool InOrder(const std::vector<std::string>& all, const std::vector<std::string>& wanted) {
    std::size_t w = 0;
    for (const auto& l : all)
        if (w < wanted.size() && l == wanted[w]) ++w;
    return w == wanted.size();
}

}  // namespace corvan::test

// Read by LeakSanitizer in sanitizer builds: fontconfig, loaded by the
// widget application of the dialog tests, keeps its configuration for the
// life of the process on purpose.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
