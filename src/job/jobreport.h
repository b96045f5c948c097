#pragma once
// The job report of the preflight summary: one line per setting, a caption,
// one or two tabs and the value.
#include <string>
#include <vector>

namespace corvan {

class JobSession;
class TemfPlotter;

// The device labels of the main window: name and description, and
// resolution with media size.
std::string DriverInfoText(const TemfPlotter& plotter);
std::string DriverInfoText2(const TemfPlotter& plotter, bool metric);

// Empty for kind > 0 or without a job.
std::vector<std::string> JobReport(JobSession& app, int kind);

}  // namespace corvan
