#include "command.h"

#include "platform/folders.h"
#include "platform/debuglog.h"
#include "platform/paths.h"

#include <iomanip>
#include <iostream>

namespace corvan::cli {
namespace {

int RunInfo(const std::vector<std::string>& args) {
    if (!args.empty()) return UsageError("info takes no arguments");
    std::cout << "CorvanRIP SE " << CORVAN_VERSION << "\n";
    std::cout << "Program folder: " << ProgramFolder() << "\n";
    std::cout << "Data files:     " << InstalledDataFolder() << "\n";
    std::cout << "Settings:       " << RegistryFile() << "\n";
    for (const char* name : kFolderValueNames)
        std::cout << std::left << std::setw(12) << name << "    " << ReadPath(name) << "\n";
    if (LogEnabled())
        std::cout << "Logging:        on, " << DebugLogPath() << "\n";
    else
        std::cout << "Logging:        off (no Debug.txt in the program folder)\n";
    return kOk;
}

CommandRegistrar reg({"info", "                      version, program folder, folders, logging", &RunInfo});

}  // namespace
}  // namespace corvan::cli
