// kv2208-cli scan CAPTURE [--json] [--pids]: the services and PIDs of a
// capture of an input. Without --pids reading stops once the PAT, every PMT
// and the SDT are complete; --pids reads the whole capture for the PID
// statistics. A damaged capture is listed as far as it was read, then
// refused (exit 65).
#include <iostream>
#include <memory>
#include <string>

#include "cli/capture_output.h"
#include "cli/cli_output.h"
#include "cli/command_registry.h"

namespace kv::cli {
namespace {

struct ScanArguments {
    std::string file;
    bool json = false;
    bool pids = false;
};

int Scan(const ScanArguments& args) {
    Capture capture;
    const CaptureReading reading = args.pids ? CaptureReading::Pids : CaptureReading::Psi;
    if (const int status = LoadCapture(args.file, reading, capture, true)) return status;
    if (args.json)
        std::cout << CaptureJson(capture).dump(2) << '\n';
    else
        std::cout << CaptureText(capture, args.pids);
    for (const std::string& damage : capture.Damage) Complain(args.file, "Damaged capture: " + damage);
    return capture.Damage.empty() ? 0 : ExitDataErr;
}

const RegisterCommand registration([](CLI::App& app, int& status) {
    auto args = std::make_shared<ScanArguments>();
    CLI::App* cmd = app.add_subcommand("scan", "List the services and PIDs of a capture of an input");
    cmd->add_option("CAPTURE", args->file, "transport stream file (188-, 192- or 204-byte packets)")
        ->required();
    cmd->add_flag("--json", args->json, "the services, streams and PIDs as JSON");
    cmd->add_flag("--pids", args->pids, "read the whole capture: packet counts, scrambling and bit rates");
    cmd->callback([args, &status] { status = Scan(*args); });
});

} // namespace
} // namespace kv::cli
