#include "window_fixture.h"

#include "job/projectfile.h"
#include "placement/ui/mmnumedit.h"

namespace corvan::test {

std::string WindowTest::Project(const std::string& name, float width) {
    const std::string path = home.Path(name);
    AppCore other;
    other.CurrentJob = std::make_unique<TemfFile>();
    other.CurrentJob->PageWidth = width;
    EXPECT_TRUE(SaveProject(other, path));
    ui.statusTexts.clear();
    return path;
}

std::string WindowTest::OpenOnRoll(const std::string& name, float width) {
    const std::string path = Project(name, width);
    MakeWindow();
    core.CurrentPlotter.MediaWidth = core.CurrentPlotter.PrintableWidth = 1000;
    core.CurrentPlotter.PrintableLength = 0;
    window->FirstShow(path);
    QApplication::processEvents();
    EXPECT_TRUE(core.CurrentJob);
    if (core.CurrentJob) core.CurrentJob->Modified = false;
    core.SaveEnabled = false;
    return path;
}

void WindowTest::EnterLength(const char* edit, const char* text) {
    auto* e = Find<TmmNumEdit>(edit);
    e->setText(QString::fromUtf8(text));
    Q_EMIT e->editingFinished();
}

}  // namespace corvan::test
