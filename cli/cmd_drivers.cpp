#include "command.h"

#include "platform/folders.h"
#include "plugins/driverlist.h"
#include "platform/paths.h"

#include <iostream>

namespace corvan::cli {
namespace {

// The driver list as "Update Drivers" builds it: one line per loadable
// driver in the folder (default: the Data folder), then the system printer.
int RunDrivers(const std::vector<std::string>& args) {
    if (args.size() > 1) return UsageError("drivers takes at most one folder");
    const std::string dir = args.empty() ? ReadPath("DataDir") : args[0];
    if (!FolderExists(dir)) return Failure("no such folder: " + dir);
    for (const std::string& line : GetPrinterList(dir, true)) std::cout << line << "\n";
    std::cout << kWindowsPrinterLine << "\n";
    return kOk;
}

CommandRegistrar reg({"drivers",
                      "[DIR]              list the output drivers (default: the Data folder)",
                      &RunDrivers});

}  // namespace
}  // namespace corvan::cli
