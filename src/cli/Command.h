#pragma once
#include <string>
#include <vector>

namespace versilla::cli {

/// A subcommand: gets the arguments after its name, returns the exit code
/// (0 success, 1 refused or failed, 2 wrong command line).
using CommandFn = int (*)(const std::vector<std::string>& args);

/// Registers a subcommand at static-initialisation time; each cmd_*.cpp holds one.
struct Command {
    Command(const char* name, const char* usage, CommandFn fn);
};

/// Prints "usage: versilla-cli <name> <usage>" on standard error and returns 2.
int usageError(const char* name, const std::string& detail = {});

} // namespace versilla::cli
