#include "platform/folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cstdlib>
#include <mutex>
#include <set>

namespace corvan {

namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

std::string HomeFolder() {
    std::string home = Env("HOME");
    return home.empty() ? QDir::homePath().toStdString() : home;
}

std::string XdgFolder(const char* var, const char* fallbackBelowHome) {
    std::string v = Env(var);
    if (!v.empty()) return WithTrailingSlash(v);
    return WithTrailingSlash(HomeFolder()) + fallbackBelowHome;
}

}  // namespace

std::string WithTrailingSlash(std::string path) {
    if (path.empty() || path.back() != '/') path += '/';
    return path;
}

std::string ExecutablePath() {
    QString p = QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : QString();
    if (p.isEmpty()) p = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return p.toStdString();
}

std::string ExecutableBaseName() {
    return QFileInfo(QString::fromStdString(ExecutablePath())).completeBaseName().toStdString();
}

std::string InstalledDataFolder() {
    std::string v = Env("CORVANRIP_DATA");
    if (!v.empty()) return WithTrailingSlash(v);
    const QString exeDir = QFileInfo(QString::fromStdString(ExecutablePath())).absolutePath();
    return WithTrailingSlash(QDir::cleanPath(exeDir + "/../share/corvanrip").toStdString());
}

std::string ProgramFolder() {
    std::string folder = Env("CORVANRIP_HOME");
    folder = folder.empty() ? XdgFolder("XDG_DATA_HOME", ".local/share/") + "CorvanRIP/"
                            : WithTrailingSlash(folder);
    // Seed once per folder and process; later calls are cheap.
    static std::mutex mutex;
    static std::set<std::string> seeded;
    std::lock_guard lock(mutex);
    if (seeded.insert(folder).second) {
        ForceFolders(folder);
        // The working folders an installation starts with; the folder
        // defaults point into them once they exist.
        for (const char* sub : {"Documents", "Images", "Layers", "Profiles", "Data", "Cache",
                                "Ripped", "Cutfiles"})
            ForceFolders(folder + sub);
        SeedMissingFiles(InstalledDataFolder(), folder);
    }
    return folder;
}

std::string ConfigFolder() { return XdgFolder("XDG_CONFIG_HOME", ".config/") + "CorvanRip/"; }
std::string RegistryFile() { return ConfigFolder() + "registry.ini"; }
std::string WindowStateFile() { return ConfigFolder() + "CorvanRIP.INI"; }

std::string SystemTempFolder() {
    std::string t = Env("TMPDIR");
    return WithTrailingSlash(t.empty() ? std::string("/tmp") : t);
}

std::string CutterSpoolFolder() {
    std::string v = Env("CORVANRIP_CUTTER_SPOOL");
    return WithTrailingSlash(v.empty() ? std::string("/var/spool/lathepro/current") : v);
}

std::string SystemSpoolFolder() { return "/var/spool/cups/"; }

bool FolderExists(const std::string& path) {
    return !path.empty() && QFileInfo(QString::fromStdString(path)).isDir();
}

bool FileExists(const std::string& path) {
    return !path.empty() && QFileInfo(QString::fromStdString(path)).isFile();
}

bool ForceFolders(const std::string& path) {
    if (path.empty()) return false;
    return QDir().mkpath(QString::fromStdString(path)) && FolderExists(path);
}

std::string FileNamePart(const std::string& path) {
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool HasFolderPart(const std::string& path) { return path.find_first_of("/\\") != std::string::npos; }

void SeedMissingFiles(const std::string& from, const std::string& to) {
    const QString src = QString::fromStdString(from);
    if (!QFileInfo(src).isDir()) return;
    QDirIterator it(src, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    const QDir srcDir(src);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString rel = srcDir.relativeFilePath(file);
        if (rel.startsWith(".keep") || rel.endsWith("/.keep")) continue;
        const QString dest = QString::fromStdString(to) + rel;
        if (QFileInfo::exists(dest)) continue;
        QDir().mkpath(QFileInfo(dest).absolutePath());
        QFile::copy(file, dest);
    }
}

}  // namespace corvan
