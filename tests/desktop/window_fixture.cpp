#include "window_fixture.h"

#include "job/projectfile.h"
#include "placement/ui/mmnumedit.h"
#include "support/test_frontend.h"

namespace corvan::test {

std::string WindowTest::Project(const std::string& name, float width) {
    const std::string path = home.Path(name);
    // Written without a driver, so opening it asks nothing about settings.
    DriverSession other(ui);
    other.CurrentJob = std::make_unique<TemfFile>();
    other.CurrentJob->PageWidth = width;
    EXPECT_TRUE(SaveProject(other, path));
    ui.statusTexts.clear();
    return path;
}

std::string WindowTest::OpenOnRoll(const std::string& name, float width) {
    const std::string path = Project(name, width);
    MakeWindow();
    Core().CurrentPlotter.MediaWidth = Core().CurrentPlotter.PrintableWidth = 1000;
    Core().CurrentPlotter.PrintableLength = 0;
    window->FirstShow(path);
    QApplication::processEvents();
    EXPECT_TRUE(Core().CurrentJob);
    if (Core().CurrentJob) Core().CurrentJob->Modified = false;
    Core().SaveEnabled = false;
    return path;
}

void WindowTest::EnterLength(const char* edit, const char* text) {
    auto* e = Find<TmmNumEdit>(edit);
    e->setText(QString::fromUtf8(text));
    Q_EMIT e->editingFinished();
}

}  // namespace corvan::test
