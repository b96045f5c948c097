#include "window_fixture.h"

#include "job/projectfile.h"

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

}  // namespace corvan::test
