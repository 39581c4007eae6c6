// kv2208-cli get (--port N | --device PATH) -o PROJECT.MUX: "Get" without
// the window: captures the device's image into the read-back file, then
// saves it as a project the way `decode` does. Exit 3 when nothing could be
// captured, 73 when the Config folder cannot be written.
#include <memory>
#include <string>

#include "cli/cli_output.h"
#include "cli/cli_port.h"
#include "cli/command_registry.h"
#include "cli/project_image.h"
#include "model/app_paths.h"
#include "ops/get_from_device.h"
#include "ops/operator_messages.h"

namespace kv::cli {
namespace {

constexpr int CaptureFailed = 3;

struct GetArguments {
    PortArguments port;
    std::string output;
    bool quiet = false;
};

int Get(const GetArguments& args) {
    SetQuiet(args.quiet);
    const std::string folder = ExecutableFolder();
    if (const std::string problem = PrepareConfigFolder(folder); !problem.empty()) {
        Complain("", problem);
        return ExitCantCreate;
    }
    CliChannel cli(folder);
    if (!cli.Open(args.port)) return ExitIoErr;
    const DeviceFiles files = DeviceFilesOf(folder);
    ShowProgress("Connecting");
    const CaptureResult capture = CaptureFromDevice(&cli.Channel(), files, {.Progress = ShowTransferProgress});
    cli.Channel().Close();
    EndProgress();
    if (!capture.Captured) {
        Complain("", msg::MuxMemoryEmpty);
        return CaptureFailed;
    }
    return DecodeImageFile(files.ReadBackFile, args.output, false);
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
