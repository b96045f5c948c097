#pragma once
// A scratch program folder with the debug log on, recording drivers copied
// in under names of the test's choosing, and readers for what the drivers
// and the logs saw.
#include "support/scripted_ui.h"
#include "support/tempdirs.h"

#include "job/emffile.h"

#include <string>
#include <vector>

namespace corvan::test {

class DriverHome : public ScratchHome {
public:
    DriverHome();
    ~DriverHome();

    // A folder below the program folder for drivers (created), ends in "/".
    std::string Folder(const std::string& name);
    // Copies a recording driver variant ("recorder", "recorder_queryonly",
    // "recorder_noquery") to dir + name + ".drv" with a configuration of
    // the given lines (log and tag are set here); returns the path.
    std::string AddRecorder(const std::string& dir, const std::string& name,
                            const std::vector<std::string>& config = {},
                            const std::string& variant = "recorder");
    // Every call the recording drivers logged, "tag Entry args".
    std::vector<std::string> Calls() const;
    void ClearCalls() const;
    // The debug and the critical log, line by line.
    std::vector<std::string> LogLines() const;
    std::vector<std::string> CriticalLines() const;
    void ClearLogs() const;

    ScriptedUi ui;
};

// A widget application for the process (the offscreen platform unless one
// is set), as the desktop program has; made once.
void EnsureWidgetApplication();

// The device record holds the "Printer Error" fallback values.
void ExpectPrinterError(const TemfPlotter& plotter);

// The lines of `all` that start with `prefix`.
std::vector<std::string> WithPrefix(const std::vector<std::string>& all, const std::string& prefix);
// True when `wanted` occurs in `all` in this order (other lines may lie between).
bool InOrder(const std::vector<std::string>& all, const std::vector<std::string>& wanted);

}  // namespace corvan::test
