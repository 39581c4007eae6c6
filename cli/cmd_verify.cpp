// kv2208-cli verify FILE (--port N | --device PATH) [--json]: whether the
// device still holds what sending FILE would put on it. Both sides are
// decoded as "Get" decodes them (the PAT version aside) and compared as
// `diff` compares. Exit 0 when they match, 1 with the differences, the read's
// status when the device cannot be read.
#include <iostream>
#include <memory>
#include <string>

#include "cli/cli_output.h"
#include "cli/cli_port.h"
#include "cli/command_registry.h"
#include "cli/config_source.h"
#include "cli/device_read.h"
#include "cli/diff_output.h"
#include "tables/image_file.h"

namespace kv::cli {
namespace {

struct VerifyArguments {
    std::string file;
    PortArguments port;
    bool json = false;
    bool quiet = false;
};

int Verify(const VerifyArguments& args) {
    SetQuiet(args.quiet);
    std::vector<uint8_t> image;
    if (const int status = ImageToSend(args.file, image)) return status;
    auto expected = std::make_unique<ConfigStore>();
    if (const int status = DecodeAsGet(args.file, image, *expected)) return status;

    std::string readBack;
    if (const int status = ReadDeviceImage(args.port, readBack)) return status;
    const auto held = ReadImageFile(readBack);
    if (!held) {
        Complain(readBack, "Cannot open input file.", OpenFailureReason(readBack));
        return ExitIoErr;
    }
    auto device = std::make_unique<ConfigStore>();
    if (const int status = DecodeAsGet("device", *held, *device)) return status;

    const MultiplexDiff diff = DiffMultiplex(*expected, *device);
    if (diff.Empty() && !args.json) {
        std::cout << "Device matches " << args.file << "." << '\n';
        return 0;
    }
    return PrintDiff(diff, args.json);
}

const RegisterCommand registration([](CLI::App& app, int& status) {
    auto args = std::make_shared<VerifyArguments>();
    CLI::App* cmd = app.add_subcommand(
        "verify", "Compare the multiplexer's configuration with what sending a project would make it hold");
    cmd->add_option("FILE", args->file, "project file (*.MUX), description (*.json) or configuration image")
        ->required();
    AddPortOptions(*cmd, args->port);
    cmd->add_flag("--json", args->json, "the differences as JSON (as diff --json)");
    cmd->add_flag("-q,--quiet", args->quiet, "no progress on the terminal");
    cmd->callback([args, &status] {
        RequirePort(args->port);
        status = Verify(*args);
    });
});

} // namespace
} // namespace kv::cli
