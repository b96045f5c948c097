#include "platform/companions.h"

#include "platform/folders.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <cstdlib>
#include <vector>

namespace corvan {

namespace {
bool Executable(const std::string& path) {
    const QFileInfo info(QString::fromStdString(path));
    return info.isFile() && info.isExecutable();
}

// The first of: the program named by the environment variable (nothing
// when it is not executable), the candidates, the name on the PATH.
std::string FindCompanion(const char* variable, const std::vector<std::string>& candidates,
                          const char* onPath) {
    if (const char* env = std::getenv(variable); env && *env) return Executable(env) ? env : "";
    for (const std::string& candidate : candidates)
        if (Executable(candidate)) return candidate;
    return QStandardPaths::findExecutable(QString::fromUtf8(onPath)).toStdString();
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    return home ? home : "";
}

}  // namespace

std::string FindVinylSpooler() {
    return FindCompanion("CORVANRIP_VINYL_SPOOLER", {"/opt/lathepro/spooler", HomeFolder() + "/lathepro/spooler"},
                         "lathepro-spooler");
}

std::string FindCurveEditModule() {
    return FindCompanion("CORVANRIP_CURVE_EDITOR",
                         {ProgramFolder() + "curvist", "/opt/lathepro/curvist", HomeFolder() + "/lathepro/curvist"},
                         "lathepro-curvist");
}

bool StartDetached(const std::string& program) {
    return QProcess::startDetached(QString::fromStdString(program), {});
}

}  // namespace corvan
