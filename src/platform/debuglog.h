#pragma once
// The two optional support logs. Both are off unless the marker file
// "Debug.txt" lies in the program folder; then the debug log
// (<program folder>/<executable name>.log) is created anew at start and the
// critical log ("critical.log" beside it) is restarted by CriticalReset.
// Every line is appended, flushed and the file closed again, so the last
// line survives a crash.
#include <stdexcept>
#include <string>

namespace corvan {

// Raised by CriticalLine when the critical log cannot be written: the callers
// of the riskiest steps decide what a failed trace means.
class CriticalLogError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class UserInterface;

// Failures to create or append to the log are told through `reporter`,
// which must outlive the log (until CloseLog).
void OpenLog(UserInterface& reporter);
void LogLine(const std::string& text);
void CriticalReset(const std::string& text);
void CriticalLine(const std::string& text);

bool LogEnabled();
std::string DebugLogPath();
std::string CriticalLogPath();
// Switches logging off and forgets the paths (tests and program end).
void CloseLog();

}  // namespace corvan
