// kv2208-cli simulate on Windows: the simulated multiplexer needs a
// pseudo-terminal, which Windows does not have. The command is there so that
// it answers for itself, with its own exit status.
#include <iostream>

#include "cli/command_registry.h"

namespace kv::cli {
namespace {

constexpr int ExitUnavailable = 69; // <sysexits.h> EX_UNAVAILABLE

const RegisterCommand registration([](CLI::App& app, int& status) {
    CLI::App* cmd = app.add_subcommand("simulate", "Play the multiplexer (not available on Windows)");
    cmd->allow_extras();
    cmd->callback([&status] {
        std::cerr << "simulate is not available on Windows: the simulated multiplexer needs a "
                     "pseudo-terminal. Run it on Linux.\n";
        status = ExitUnavailable;
    });
});

} // namespace
} // namespace kv::cli
