#include "support/tempdirs.h"

#include <QDir>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <sys/resource.h>

namespace corvan::test {

namespace {
bool Save(const char* name, std::string& out) {
    const char* v = std::getenv(name);
    if (v) out = v;
    return v != nullptr;
}
void Restore(const char* name, bool had, const std::string& value) {
    if (had) setenv(name, value.c_str(), 1);
    else unsetenv(name);
}
}  // namespace

ScratchHome::ScratchHome() {
    hadHome_ = Save("CORVANRIP_HOME", oldHome_);
    hadConfig_ = Save("XDG_CONFIG_HOME", oldConfig_);
    QDir(dir_.path()).mkpath("home");
    QDir(dir_.path()).mkpath("config");
    setenv("CORVANRIP_HOME", Home().c_str(), 1);
    setenv("XDG_CONFIG_HOME", Config().c_str(), 1);
}

ScratchHome::~ScratchHome() {
    Restore("CORVANRIP_HOME", hadHome_, oldHome_);
    Restore("XDG_CONFIG_HOME", hadConfig_, oldConfig_);
}

std::string ScratchHome::Home() const { return dir_.path().toStdString() + "/home/"; }
std::string ScratchHome::Config() const { return dir_.path().toStdString() + "/config/"; }

FileSizeLimit::FileSizeLimit(unsigned long bytes) {
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    oldSoft_ = old.rlim_cur;
    oldHard_ = old.rlim_max;
    rlimit lim{bytes, old.rlim_max};
    setrlimit(RLIMIT_FSIZE, &lim);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit old{oldSoft_, oldHard_};
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler_);
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

}  // namespace corvan::test
