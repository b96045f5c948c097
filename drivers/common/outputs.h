#pragma once
// Where a driver's output goes: a file (written through a temporary file and
// a rename), a device node, or a CUPS queue through "lp".
#include <string>
#include <vector>

namespace drv {

bool WriteFileAtomic(const std::string& path, const std::string& bytes);
// Writes to an existing file or device node without creating or truncating
// it first (a cutter on /dev/usb/lp0 or a serial port).
bool WriteToDevice(const std::string& path, const std::string& bytes);

// CUPS destinations in name order: the queue index of data type 15.
std::vector<std::string> CupsQueueNames();
// Hands a file to a queue with "lp"; true when lp accepted it.
bool SendToQueue(const std::string& queue, const std::string& file, const std::string& title);

// Runs a program (no shell) and returns its exit status; -1 when it could
// not run. Standard output is collected when out is given.
int RunProgram(const std::vector<std::string>& argv, std::string* out);

// A new empty file in the temporary folder.
std::string MakeTempFile(const std::string& prefix);
// The folder of the driver library that contains this code, ending in "/".
std::string DriverFolder();

}  // namespace drv
