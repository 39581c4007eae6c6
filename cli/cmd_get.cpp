// kv2208-cli get --port N -o PROJECT.MUX: "Get" without the window: captures
// the device's image into the read-back file, then saves it as a project the
// way `decode` does. Exit 3 when nothing could be captured, 11 when the port
// cannot be opened, 65 when the Config folder cannot be written.
#include <iostream>
#include <memory>
#include <string>

#include "cli/command_registry.h"
#include "cli/project_image.h"
#include "link/serial_channel.h"
#include "link/transfer.h"
#include "model/app_paths.h"

namespace kv::cli {
namespace {

constexpr int CaptureFailed = 3;
constexpr int LinkLost = 11;

struct GetArguments {
    int port = 0;
    std::string output;
};

int Get(const GetArguments& args) {
    const std::string folder = ExecutableFolder();
    if (const std::string problem = PrepareConfigFolder(folder); !problem.empty()) {
        std::cerr << problem << '\n';
        return ExitDataErr;
    }
    SerialChannel channel(folder, [](const std::string& message) { std::cerr << message << '\n'; });
    if (!channel.Open(args.port)) return LinkLost;
    const std::string readBack = ReadBackFilePath(folder);
    const int captured = ReceiveImage(channel, readBack);
    channel.Close();
    if (captured != 0) {
        std::cerr << "Mux memory is empty!" << '\n';
        return CaptureFailed;
    }
    return DecodeImageFile(readBack, args.output);
}

const RegisterCommand registration([](CLI::App& app, int& status) {
    auto args = std::make_shared<GetArguments>();
    CLI::App* cmd =
        app.add_subcommand("get", "Read the multiplexer's configuration back into a project file (\"Get\")");
    cmd->add_option("--port", args->port, "serial port number N (COMN)")
        ->required()
        ->check(CLI::Range(0, 32767));
    cmd->add_option("-o,--output", args->output, "project file (*.MUX) to write")->required();
    cmd->callback([args, &status] { status = Get(*args); });
});

} // namespace
} // namespace kv::cli
