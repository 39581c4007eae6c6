// kv2208-cli: inspect, build, send and get configurations without the window.
#include <iostream>
#include <string>

#include "cli/command_registry.h"
#include "kv_version.h"
#ifdef _WIN32
#include "cli/windows_console.h"
#endif

namespace kv::cli {
std::vector<CommandAdder>& Commands() {
    static std::vector<CommandAdder> commands;
    return commands;
}
} // namespace kv::cli

int main(int argc, char** argv) {
#ifdef _WIN32
    kv::cli::PrepareWindowsConsole(argc, argv);
#endif
    CLI::App app{"kv2208-cli: configuration tool of the KV2200-8 multiplexer, without the window"};
    app.set_version_flag("--version", std::string("kv2208-cli ") + kv::Version);
    app.require_subcommand(1);
    // Options are --name on every system: on Windows a path such as /tmp/a.MUX stays a path.
    app.allow_windows_style_options(false);
    app.footer(
        "Exit status: 0 done; 64 usage error; 65 data refused (a damaged file, a rate out of range, a\n"
        "configuration that does not fit an image); 66 an input file cannot be opened; 73 an output file\n"
        "cannot be created; 74 another input/output error (a port that cannot be opened); send and get\n"
        "exit with the transfer's result code 1..11 once it has started (get: 3 when nothing came back);\n"
        "check exits 1 with warnings only and 65 with errors; diff and verify exit 1 when they differ.\n"
        "An output file named - is standard output; messages go to standard error.");
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
