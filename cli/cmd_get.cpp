// kv2208-cli get (--port N | --device PATH) -o PROJECT.MUX: "Get" without
// the window: captures the device's image into the read-back file, then
// saves it as a project the way `decode` does. Exit 3 when nothing could be
// captured, 73 when the Config folder cannot be written.
#include <memory>
#include <string>

#include "cli/cli_output.h"
#include "cli/cli_port.h"
#include "cli/command_registry.h"
#include "cli/device_read.h"
#include "cli/project_image.h"

namespace kv::cli {
namespace {

struct GetArguments {
    PortArguments port;
    std::string output;
    bool quiet = false;
};

int Get(const GetArguments& args) {
    SetQuiet(args.quiet);
    std::string readBack;
    if (const int status = ReadDeviceImage(args.port, readBack)) return status;
    return DecodeImageFile(readBack, args.output, false);
}

const RegisterCommand registration([](CLI::App& app, int& status) {
    auto args = std::make_shared<GetArguments>();
    CLI::App* cmd =
        app.add_subcommand("get", "Read the multiplexer's configuration back into a project file (\"Get\")");
    AddPortOptions(*cmd, args->port);
    cmd->add_option("-o,--output", args->output, "project file (*.MUX) to write")->required();
    cmd->add_flag("-q,--quiet", args->quiet, "no progress on the terminal");
    cmd->callback([args, &status] {
        RequirePort(args->port);
        status = Get(*args);
    });
});

} // namespace
} // namespace kv::cli
