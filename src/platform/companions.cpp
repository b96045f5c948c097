#include "platform/companions.h"

#include "platform/folders.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <cstdlib>

namespace corvan {

namespace {
bool Executable(const std::string& path) {
    const QFileInfo info(QString::fromStdString(path));
    return info.isFile() && info.isExecutable();
}
}  // namespace

std::string FindVinylSpooler() {
    if (const char* env = std::getenv("CORVANRIP_VINYL_SPOOLER"); env && *env) return Executable(env) ? env : "";
    const char* home = std::getenv("HOME");
    for (const std::string& candidate :
         {std::string("/opt/lathepro/spooler"), std::string(home ? home : "") + "/lathepro/spooler"})
        if (Executable(candidate)) return candidate;
    return QStandardPaths::findExecutable("lathepro-spooler").toStdString();
}

bool StartDetached(const std::string& program) {
    return QProcess::startDetached(QString::fromStdString(program), {});
}

}  // namespace corvan
