#include "platform/debuglog.h"

#include "platform/folders.h"
#include "platform/userinterface.h"

#include <QTime>

#include <cstdio>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>

namespace corvan {

namespace {

struct LogState {
    bool enabled = false;
    std::string debugPath;
    std::string criticalPath;
    int criticalCounter = 0;
    // Where the log's own failures are told; the caller of OpenLog owns it.
    UserInterface* reporter = nullptr;
    std::thread::id reporterThread;  // only that thread may use the reporter
};

LogState& State() {
    static LogState state;
    return state;
}

// Strip workers log too; lines must not interleave or race on the state.
std::recursive_mutex& LogMutex() {
    static std::recursive_mutex mutex;
    return mutex;
}

struct MemoryStatus {
    unsigned long long totalKb = 0;
    unsigned long long availableKb = 0;
    int loadPercent = 0;
};

MemoryStatus ReadMemoryStatus() {
    MemoryStatus m;
    std::ifstream in("/proc/meminfo");
    std::string key;
    unsigned long long value = 0;
    std::string unit;
    while (in >> key >> value >> unit) {
        if (key == "MemTotal:")
            m.totalKb = value;
        else if (key == "MemAvailable:")
            m.availableKb = value;
    }
    if (m.totalKb > 0)
        m.loadPercent = static_cast<int>(100 * (m.totalKb - m.availableKb) / m.totalKb);
    return m;
}

// Appends one CRLF-terminated line and closes the file again; false on any failure.
bool AppendLine(const std::string& path, const std::string& line) {
    std::FILE* f = std::fopen(path.c_str(), "ab");
    if (!f) return false;
    const std::string data = line + "\r\n";
    bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    ok = std::fflush(f) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    return ok;
}

}  // namespace

bool LogEnabled() {
    std::lock_guard lock(LogMutex());
    return State().enabled;
}
std::string DebugLogPath() {
    return State().debugPath;
}
std::string CriticalLogPath() {
    return State().criticalPath;
}

void CloseLog() {
    std::lock_guard lock(LogMutex());
    State() = LogState{};
}

void OpenLog(UserInterface& reporter) {
    std::lock_guard lock(LogMutex());
    LogState& s = State();
    s.enabled = false;
    s.reporter = &reporter;
    s.reporterThread = std::this_thread::get_id();
    const std::string folder = ProgramFolder();
    s.debugPath = folder + ExecutableBaseName() + ".log";
    s.criticalPath = folder + "critical.log";
    if (!FileExists(folder + "Debug.txt")) return;

    std::FILE* f = std::fopen(s.debugPath.c_str(), "wb");
    if (!f || std::fclose(f) != 0) {
        reporter.ShowPlain("Unable to Create a log file: \r" + s.debugPath);
        return;
    }
    s.enabled = true;

    const MemoryStatus mem = ReadMemoryStatus();
    LogLine("CorvanRIP SE " CORVAN_VERSION " for Linux");
    LogLine("-");
    LogLine("System Log File.  Email to: support@corvanrip.example");
    LogLine(" ");
    LogLine("Path: " + ExecutablePath());
    LogLine("Load.. " + QTime::currentTime().toString(Qt::TextDate).toStdString());
    LogLine("Memory Used - " + std::to_string(mem.loadPercent) + " %");
    LogLine("Total Memory - " + std::to_string(mem.totalKb) + " KB");
    LogLine("Memory  Free - " + std::to_string(mem.availableKb) + " KB");
    LogLine("-");
}

void LogLine(const std::string& text) {
    std::lock_guard lock(LogMutex());
    LogState& s = State();
    if (!s.enabled) return;
    const std::string line = text == "-" ? std::string(49, '-') : text;
    if (!AppendLine(s.debugPath, line)) {
        s.enabled = false;
        if (s.reporter && s.reporterThread == std::this_thread::get_id())
            s.reporter->ShowPlain("Unable to append to Debug Log.");
    }
}

void CriticalReset(const std::string& text) {
    std::lock_guard lock(LogMutex());
    LogState& s = State();
    if (!s.enabled) return;
    s.criticalCounter = 0;
    std::FILE* f = std::fopen(s.criticalPath.c_str(), "wb");
    if (!f) throw CriticalLogError("Unable to write " + s.criticalPath);
    std::fclose(f);
    if (!AppendLine(s.criticalPath, text))
        throw CriticalLogError("Unable to write " + s.criticalPath);
}

void CriticalLine(const std::string& text) {
    std::lock_guard lock(LogMutex());
    LogState& s = State();
    if (!s.enabled) return;
    ++s.criticalCounter;
    if (!AppendLine(s.criticalPath, std::to_string(s.criticalCounter) + "\t" + text))
        throw CriticalLogError("Unable to write " + s.criticalPath);
}

}  // namespace corvan
