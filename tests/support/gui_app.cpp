#include "support/gui_app.h"

#include <QGuiApplication>

namespace corvan::test {

void EnsureGuiApp() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "corvan_test";
    static char* argv[] = {name, nullptr};
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(argc, argv);  // lives for the rest of the test run
}

}  // namespace corvan::test
