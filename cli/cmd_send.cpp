// kv2208-cli send PROJECT.MUX --port N [--pat-version N]: "Send Mux" without
// the window: builds the project's image as `image` does, sends it over port
// N, has the device play it back and compares. Exits with the result code
// (0..11); 1 also when the Config folder cannot be written, 11 when the
// port cannot be opened.
#include <iostream>
#include <memory>
#include <string>

#include "cli/command_registry.h"
#include "cli/project_image.h"
#include "cli/project_input.h"
#include "link/serial_channel.h"
#include "link/transfer.h"
#include "model/app_paths.h"
#include "tables/image_writer.h"

namespace kv::cli {
namespace {

constexpr int LinkLost = 11;

struct SendArguments {
    std::string project;
    int port = 0;
    int patVersion = 1; // the first send of a run
};

int Send(const SendArguments& args) {
    auto store = std::make_unique<ConfigStore>();
    if (!LoadProjectFile(args.project, *store)) return ExitDataErr;
    if (!StoreFitsImage(*store)) return ExitDataErr;

    const std::string folder = ExecutableFolder();
    if (const std::string problem = PrepareConfigFolder(folder); !problem.empty()) {
        std::cerr << problem << '\n' << "Error 1" << '\n';
        return 1; // the image file cannot be written
    }
    SerialChannel channel(folder, [](const std::string& message) { std::cerr << message << '\n'; });
    if (!channel.Open(args.port)) return LinkLost;
    const int result =
        WriteConfigImage(*store, args.patVersion, ImageFilePath(folder), ReadBackFilePath(folder),
                         [&channel](const std::string& image, const std::string& readBack) {
                             return TransferAndVerify(channel, image, readBack);
                         });
    channel.Close();
    if (result == 0)
        std::cout << "Process successful!" << '\n';
    else
        std::cerr << "Error " << result << '\n';
    return result;
}

const RegisterCommand registration([](CLI::App& app, int& status) {
    auto args = std::make_shared<SendArguments>();
    CLI::App* cmd =
        app.add_subcommand("send", "Send a project's image to the multiplexer and verify it (\"Send Mux\")");
    cmd->add_option("PROJECT", args->project, "project file (*.MUX)")->required();
    cmd->add_option("--port", args->port, "serial port number N (COMN)")
        ->required()
        ->check(CLI::Range(0, 32767));
    cmd->add_option("--pat-version", args->patVersion, "PAT version_number, 0..31")->check(CLI::Range(0, 31));
    cmd->callback([args, &status] { status = Send(*args); });
});

} // namespace
} // namespace kv::cli
