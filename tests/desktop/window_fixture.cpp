#include "window_fixture.h"

#include "job/projectfile.h"
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

}  // namespace corvan::test
