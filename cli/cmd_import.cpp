// kv2208-cli import CAPTURE --input N [--service ID ...] [--into BASE.MUX] -o OUT.MUX:
// the services of a capture of input N into a project, as "Services from
// capture..." takes them. Services that do not fit are named on stderr and
// the exit status is 65; the project is written with those that fit.
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/capture_output.h"
#include "cli/cli_output.h"
#include "cli/command_registry.h"
#include "cli/project_input.h"
#include "ops/capture_import.h"

namespace kv::cli {
namespace {

struct ImportArguments {
    std::string capture;
    int input = 1;
    std::vector<int> services;
    std::string into;
    std::string output;
};

int Import(const ImportArguments& args) {
    Capture capture;
    if (const int status = LoadCapture(args.capture, CaptureReading::Psi, capture)) return status;
    auto store = std::make_unique<ConfigStore>();
    std::memset(store.get(), 0, sizeof(ConfigStore));
    if (!args.into.empty())
        if (const int status = LoadProjectFile(args.into, *store)) return status;

    bool allTaken = true;
    for (const int id : args.services) {
        const bool known = std::any_of(capture.Services.begin(), capture.Services.end(),
                                       [id](const CaptureService& s) { return s.ServiceId == id; });
        if (!known) {
            Complain(args.capture, "Service " + std::to_string(id) + " is not in the capture.");
            allTaken = false;
        }
    }
    const CaptureImport result = ImportCaptureServices(*store, capture, args.input, args.services);
    for (const std::string& name : result.Added) std::cout << "Added " << name << '\n';
    for (const std::string& left : result.Left) Complain(args.capture, "Not taken: " + left);
    for (const std::string& refused : result.NotAdded) Complain(args.capture, "Not added: " + refused);
    if (!result.NotAdded.empty()) allTaken = false;

    std::vector<uint8_t> bytes(sizeof(ConfigStore));
    std::memcpy(bytes.data(), store.get(), bytes.size());
    if (const int status = WriteOutputFile(args.output, bytes)) return status;
    return allTaken ? 0 : ExitDataErr;
}

const RegisterCommand registration([](CLI::App& app, int& status) {
    auto args = std::make_shared<ImportArguments>();
    CLI::App* cmd = app.add_subcommand("import", "Take the services of a capture of an input into a project");
    cmd->add_option("CAPTURE", args->capture, "transport stream file of the input")->required();
    cmd->add_option("--input", args->input, "the input the capture was taken from, 1..8")
        ->required()
        ->check(CLI::Range(1, InputCount));
    cmd->add_option("--service", args->services, "service IDs to take (default: every service)")
        ->check(CLI::Range(0, 65535));
    cmd->add_option("--into", args->into, "project file (*.MUX) to add them to (default: an empty one)");
    cmd->add_option("-o,--output", args->output, "project file to write, - for standard output")->required();
    cmd->callback([args, &status] { status = Import(*args); });
});

} // namespace
} // namespace kv::cli
