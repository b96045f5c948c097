// The manual built with the program: every chapter starts on the page its
// page list names, and every page a help topic or Help button opens is the
// first page of a chapter (read back from the PDF with pdftotext).
#include "platform/folders.h"
#include "shell/helptopics.h"
#include "shell/ui/helpmanual.h"
#include "support/tempdirs.h"

#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <map>

namespace corvan {
namespace {

// The first line of text on a page of the manual.
std::string FirstLineOfPage(const std::string& pdf, int page) {
    QProcess p;
    const QString n = QString::number(page);
    p.start("pdftotext", {"-f", n, "-l", n, QString::fromStdString(pdf), "-"});
    p.waitForFinished(30000);
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n'))
        if (!line.trimmed().isEmpty()) return line.trimmed().toStdString();
    return {};
}

TEST(Manual, ChaptersStartWhereHelpOpensIt) {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty()) {
        if (qEnvironmentVariable("CI") == "true") FAIL() << "pdftotext (poppler-utils) is missing";
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
    test::ScratchHome home;
    const std::string pdf = ManualFile();
    ASSERT_FALSE(pdf.empty()) << "the manual was not built";
    std::map<int, std::string> chapters;
    for (const char* chapter :
         {"Getting started", "Making a banner", "A print-and-cut sticker", "A billboard in tiles",
          "Spot colours", "Colour charts", "Settings", "Drivers and printers",
          "Output preview and export", "The command-line tool"}) {
        const auto page = ManualChapterPage(chapter);
        ASSERT_TRUE(page) << chapter;
        EXPECT_EQ(FirstLineOfPage(pdf, *page), chapter);
        chapters[*page] = chapter;
    }
    for (const char* topic :
         {"Crop Marks", "Contour Cutting", "Tile Properties", "Spot Color Editing",
          "Printer Options", "Flatten Image", "Job Size", "Autotrace"}) {
        const auto t = LoadHelpTopic(topic);
        ASSERT_TRUE(t) << topic;
        const auto page = ManualPageOf(t->pdf);
        ASSERT_TRUE(page) << topic << " names no page";
        EXPECT_TRUE(chapters.count(*page))
            << topic << " opens page " << *page << ", which starts no chapter";
    }
}

}  // namespace
}  // namespace corvan
