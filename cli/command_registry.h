#pragma once
// Each subcommand of kv2208-cli lives in its own file and registers itself
// here; main() builds the argument parser from the registrations.

#include <CLI/CLI.hpp>
#include <functional>
#include <vector>

namespace kv::cli {

inline constexpr int ExitUsage = 64;   // wrong arguments
inline constexpr int ExitDataErr = 65; // a file or store that cannot be used

// Adds one subcommand to `app`. The subcommand's callback stores its exit
// status in `status`.
using CommandAdder = std::function<void(CLI::App& app, int& status)>;

std::vector<CommandAdder>& Commands();

struct RegisterCommand {
    explicit RegisterCommand(CommandAdder adder) { Commands().push_back(std::move(adder)); }
};

} // namespace kv::cli
