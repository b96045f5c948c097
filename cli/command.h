#pragma once
// Each subcommand of corvanrip-cli lives in its own file and registers itself
// here, so adding one never touches the others.
#include <string>
#include <vector>

namespace corvan::cli {

// Exit codes: 0 success, 1 a reported failure, 2 bad usage.
enum ExitCode { kOk = 0, kFailed = 1, kUsage = 2 };

using CommandFn = int (*)(const std::vector<std::string>& args);

struct CommandInfo {
    const char* name;
    const char* usage;  // one line: arguments and flags
    CommandFn run;
};

// Registers a command at static-initialisation time.
struct CommandRegistrar {
    explicit CommandRegistrar(CommandInfo info);
};

const std::vector<CommandInfo>& Commands();

// Small helpers for flag parsing shared by the commands.
// Fails (prints usage error, returns false) when a flag that needs a value has none.
bool TakeValue(const std::vector<std::string>& args, std::size_t& i, std::string& out);
int UsageError(const std::string& message);
int Failure(const std::string& message);

}  // namespace corvan::cli
