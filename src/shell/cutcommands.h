#pragma once
// The print-and-cut commands of the window: the cut file of the current job
// written into the cut folder and handed to the vinyl spooler.
#include <string>

namespace corvan {

class AppCore;

// "Create Cut File": the next free numbered file in the cut folder, then the
// spooler. Returns the file written; empty when nothing was written (no
// job, all numbers taken, or the write failed and said why).
std::string CreateCutFileCommand(AppCore& app);

}  // namespace corvan
