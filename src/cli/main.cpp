#include "Command.h"

#include <cstdio>
#include <map>
#include <string>

namespace versilla::cli {
namespace {
struct Entry {
    const char* usage;
    CommandFn fn;
};
std::map<std::string, Entry>& registry() {
    static std::map<std::string, Entry> commands;
    return commands;
}
void printUsage() {
    std::fprintf(stderr, "usage: versilla-cli <command> [arguments]\ncommands:\n");
    for (const auto& [name, entry] : registry())
        std::fprintf(stderr, "  %s %s\n", name.c_str(), entry.usage);
}
} // namespace

Command::Command(const char* name, const char* usage, CommandFn fn) { registry()[name] = {usage, fn}; }

int usageError(const char* name, const std::string& detail) {
    if (!detail.empty())
        std::fprintf(stderr, "versilla-cli %s: %s\n", name, detail.c_str());
    auto it = registry().find(name);
    std::fprintf(stderr, "usage: versilla-cli %s %s\n", name, it == registry().end() ? "" : it->second.usage);
    return 2;
}

} // namespace versilla::cli

int main(int argc, char** argv) {
    using namespace versilla::cli;
    if (argc < 2) {
        printUsage();
        return 2;
    }
    auto it = registry().find(argv[1]);
    if (it == registry().end()) {
        std::fprintf(stderr, "versilla-cli: unknown command '%s'\n", argv[1]);
        printUsage();
        return 2;
    }
    std::vector<std::string> args(argv + 2, argv + argc);
    return it->second.fn(args);
}
