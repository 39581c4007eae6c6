#pragma once
// Each subcommand of kv2208-cli lives in its own file and registers itself
// here; main() builds the argument parser from the registrations.

#include <CLI/CLI.hpp>
#include <functional>
#include <vector>

namespace kv::cli {

// Exit statuses of <sysexits.h>; `send` and `get` exit with the transfer's
// result code (1..11) once a transfer has started.
inline constexpr int ExitUsage = 64;      // wrong arguments
inline constexpr int ExitDataErr = 65;    // a file, store or rate refused
inline constexpr int ExitNoInput = 66;    // an input file cannot be opened
inline constexpr int ExitCantCreate = 73; // an output file cannot be created
inline constexpr int ExitIoErr = 74;      // any other input or output error (a port that cannot be opened)

// Adds one subcommand to `app`. The subcommand's callback stores its exit
// status in `status`.
using CommandAdder = std::function<void(CLI::App& app, int& status)>;

std::vector<CommandAdder>& Commands();

struct RegisterCommand {
    explicit RegisterCommand(CommandAdder adder) { Commands().push_back(std::move(adder)); }
};

} // namespace kv::cli
