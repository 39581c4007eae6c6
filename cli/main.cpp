// kv2208-cli: inspect, build, send and get configurations without the window.
#include <iostream>
#include <string>

#include "cli/command_registry.h"
#include "kv_version.h"

namespace kv::cli {
std::vector<CommandAdder>& Commands() {
    static std::vector<CommandAdder> commands;
    return commands;
}
} // namespace kv::cli

int main(int argc, char** argv) {
    CLI::App app{"kv2208-cli: configuration tool of the KV2200-8 multiplexer, without the window"};
    app.set_version_flag("--version", std::string("kv2208-cli ") + kv::Version);
    app.require_subcommand(1);
    int status = 0;
    for (auto& add : kv::cli::Commands()) add(app, status);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? 0 : kv::cli::ExitUsage;
    }
    return status;
}
