#include "command.h"

#include "platform/debuglog.h"
#include "platform/userinterface.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace corvan::cli {

namespace {
std::vector<CommandInfo>& Registry() {
    static std::vector<CommandInfo> commands;
    return commands;
}

void PrintHelp(std::ostream& out) {
    out << "usage: corvanrip-cli COMMAND [ARGS]\n\ncommands:\n";
    auto commands = Registry();
    std::sort(commands.begin(), commands.end(),
              [](const CommandInfo& a, const CommandInfo& b) { return std::strcmp(a.name, b.name) < 0; });
    for (const auto& c : commands) out << "  " << c.name << " " << c.usage << "\n";
}
}  // namespace

CommandRegistrar::CommandRegistrar(CommandInfo info) { Registry().push_back(info); }

const std::vector<CommandInfo>& Commands() { return Registry(); }

bool TakeValue(const std::vector<std::string>& args, std::size_t& i, std::string& out) {
    if (i + 1 >= args.size()) {
        std::cerr << "corvanrip-cli: " << args[i] << " needs a value\n";
        return false;
    }
    out = args[++i];
    return true;
}

int UsageError(const std::string& message) {
    std::cerr << "corvanrip-cli: " << message << "\n";
    return kUsage;
}

int Failure(const std::string& message) {
    std::cerr << "corvanrip-cli: " << message << "\n";
    return kFailed;
}

}  // namespace corvan::cli

int main(int argc, char** argv) {
    using namespace corvan::cli;
    // Fonts and QPainter need a GUI application; without a display the
    // offscreen platform serves.
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        const std::string runtime = "/tmp/runtime-" + std::to_string(getuid());
        mkdir(runtime.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 0);
    }
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName("corvanrip-cli");

    if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
        PrintHelp(argc < 2 ? std::cerr : std::cout);
        return argc < 2 ? kUsage : kOk;
    }
    static corvan::ConsoleUserInterface logReporter;
    corvan::OpenLog(logReporter);
    const std::string name = argv[1];
    std::vector<std::string> args(argv + 2, argv + argc);
    for (const auto& c : Commands())
        if (name == c.name) return c.run(args);
    std::cerr << "corvanrip-cli: unknown command '" << name << "'\n";
    PrintHelp(std::cerr);
    return kUsage;
}
