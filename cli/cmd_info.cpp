#include "command.h"

#include <iostream>

namespace corvan::cli {
namespace {

int RunInfo(const std::vector<std::string>&) {
    std::cout << "CorvanRIP " << CORVAN_VERSION << "\n";
    return kOk;
}

CommandRegistrar reg({"info", "                      version, program folder, folders, logging", &RunInfo});

}  // namespace
}  // namespace corvan::cli
