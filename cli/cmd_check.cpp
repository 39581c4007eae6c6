// kv2208-cli check FILE [--json] [--input N=CAPTURE ...]: the multiplex check
// of a project file, or of an image decoded as "Get" decodes it, and against
// the captures of its inputs. One finding a line; exit 0 with no findings, 1
// with warnings only, 65 with errors.
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/check_output.h"
#include "cli/cli_output.h"
#include "cli/command_registry.h"
#include "cli/config_source.h"
#ifdef KV_HAS_CAPTURE
#include "cli/capture_output.h"
#include "ops/capture_check.h"
#endif

namespace kv::cli {
namespace {

struct CheckArguments {
    std::string file;
    bool json = false;
    std::vector<std::string> inputs; // "N=CAPTURE"
};

#ifdef KV_HAS_CAPTURE
// The captures of `--input N=CAPTURE`, read whole. 0 or the exit status.
int LoadInputCaptures(const std::vector<std::string>& given, std::vector<Capture>& captures,
                      std::vector<InputCapture>& inputs) {
    captures.resize(given.size());
    for (std::size_t k = 0; k < given.size(); ++k) {
        const std::string& text = given[k];
        const auto equals = text.find('=');
        const int input = equals == 1 ? text[0] - '0' : 0;
        if (input < 1 || input > InputCount) {
            Complain("--input " + text, "Give the input and its capture as N=CAPTURE, N 1..8.");
            return ExitUsage;
        }
        const std::string path = text.substr(equals + 1);
        if (const int status = LoadCapture(path, CaptureReading::Pids, captures[k])) return status;
        inputs.push_back({input, std::filesystem::path(path).filename().string(), &captures[k]});
    }
    return 0;
}
#endif

int Check(const CheckArguments& args) {
    auto store = std::make_unique<ConfigStore>();
    if (const int status = LoadConfiguration(args.file, *store)) return status;
    MultiplexReport report = CheckMultiplex(*store);
#ifdef KV_HAS_CAPTURE
    std::vector<Capture> captures;
    std::vector<InputCapture> inputs;
    if (const int status = LoadInputCaptures(args.inputs, captures, inputs)) return status;
    CheckAgainstCaptures(report, *store, inputs);
#endif
    if (args.json)
        std::cout << ReportJson(report).dump(2) << '\n';
    else
        for (const Finding& f : report.Findings) std::cout << FindingLine(f) << '\n';
    return CheckStatus(report);
}

const RegisterCommand registration([](CLI::App& app, int& status) {
    auto args = std::make_shared<CheckArguments>();
    CLI::App* cmd = app.add_subcommand(
        "check", "Check a multiplex for output PIDs used twice, Service IDs used twice and the image limits");
    cmd->add_option("FILE", args->file, "project file (*.MUX), description (*.json) or configuration image")
        ->required();
    cmd->add_flag("--json", args->json, "the findings, output PIDs and counts as JSON");
#ifdef KV_HAS_CAPTURE
    cmd->add_option("--input", args->inputs,
                    "N=CAPTURE: check the PIDs of input N against its capture (repeatable)");
#endif
    cmd->callback([args, &status] { status = Check(*args); });
});

} // namespace
} // namespace kv::cli
