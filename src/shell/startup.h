#pragma once
// What happens after the main window first shows, when it closes, and when
// the preferences change: engine rules, with every dialog reached through
// the core's seams and the UserInterface port.
#include <string>

namespace corvan {

class AppCore;

// The first display: a file named on the command line (all arguments joined
// with blanks) is loaded; otherwise the deferred start is posted. Runs once.
void FirstShow(AppCore& app, const std::string& commandLine);

// The start checks and questions after the window is up: no system printer,
// a newly installed driver, the large paper forms, unset folders (path
// editor), the quick-start guide, then the start wizard and its choice.
void DeferredStart(AppCore& app);
// Carries out a start wizard choice (1 open, 2 image as new job, 3 new job,
// 4 help, 5 most recent project, 6 settings; anything else nothing).
void RunWizardChoice(AppCore& app, int choice);

// The installed quick start guide (a page the desktop opens), or empty.
std::string QuickStartGuide();

// The close question; true when the window may close. The job's modified
// flag is cleared when it may.
bool CloseQuery(AppCore& app);

// Reads "max_preview" (at least 10; below that the draft view is chosen) and
// "use_metric". True when the preview size changed while a job is loaded
// (the preview is then rebuilt).
bool ApplyPreferences(AppCore& app);

// The hidden diagnostics command's code words.
enum class DiagnosticAction { None, DivideByZero, RipTrace, ShowUpdateBox };
DiagnosticAction DiagnosticsCode(const std::string& word);

}  // namespace corvan
