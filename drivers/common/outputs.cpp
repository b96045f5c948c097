#include "common/outputs.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <dlfcn.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace drv {

namespace {
bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}
}  // namespace

bool WriteFileAtomic(const std::string& path, const std::string& bytes) {
    std::string tmp = path + ".XXXXXX";
    const int fd = mkstemp(tmp.data());
    if (fd < 0) return false;
    bool ok = WriteAll(fd, bytes);
    ok = fsync(fd) == 0 && ok;
    ok = close(fd) == 0 && ok;
    ok = ok && fchmodat(AT_FDCWD, tmp.c_str(), 0644, 0) == 0;
    ok = ok && std::rename(tmp.c_str(), path.c_str()) == 0;
    if (!ok) unlink(tmp.c_str());
    return ok;
}

bool WriteToDevice(const std::string& path, const std::string& bytes) {
    const int fd = open(path.c_str(), O_WRONLY | O_NOCTTY);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, bytes);
    ok = close(fd) == 0 && ok;
    return ok;
}

int RunProgram(const std::vector<std::string>& argv, std::string* out) {
    if (argv.empty()) return -1;
    int pipefd[2] = {-1, -1};
    if (pipe(pipefd) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipefd[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipefd[0]);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipefd[1]);
    char buf[4096];
    ssize_t n = 0;
    while ((n = read(pipefd[0], buf, sizeof buf)) > 0)
        if (out) out->append(buf, static_cast<std::size_t>(n));
    close(pipefd[0]);
    if (rc != 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) < 0) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> CupsQueueNames() {
    std::string out;
    std::vector<std::string> names;
    if (RunProgram({"lpstat", "-e"}, &out) != 0) return names;
    std::size_t start = 0;
    while (start < out.size()) {
        std::size_t end = out.find('\n', start);
        if (end == std::string::npos) end = out.size();
        const std::string name = out.substr(start, end - start);
        if (!name.empty()) names.push_back(name);
        start = end + 1;
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool SendToQueue(const std::string& queue, const std::string& file, const std::string& title) {
    std::vector<std::string> argv = {"lp", "-d", queue};
    if (!title.empty()) argv.insert(argv.end(), {"-t", title});
    argv.insert(argv.end(), {"--", file});
    std::string out;
    return RunProgram(argv, &out) == 0;
}

std::string MakeTempFile(const std::string& prefix) {
    const char* dir = std::getenv("TMPDIR");
    std::string tmpl = std::string(dir && *dir ? dir : "/tmp") + "/" + prefix + "XXXXXX";
    const int fd = mkstemp(tmpl.data());
    if (fd < 0) return {};
    close(fd);
    return tmpl;
}

std::string DriverFolder() {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&DriverFolder), &info) || !info.dli_fname) return "./";
    const std::string path = info.dli_fname;
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

}  // namespace drv
