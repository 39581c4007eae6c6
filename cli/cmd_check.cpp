// kv2208-cli check FILE [--json]: the multiplex check of a project file, or
// of an image decoded as "Get" decodes it. One finding a line; exit 0 with no
// findings, 1 with warnings only, 65 with errors.
#include <iostream>
#include <memory>
#include <string>

#include "cli/check_output.h"
#include "cli/command_registry.h"
#include "cli/config_source.h"

namespace kv::cli {
namespace {

struct CheckArguments {
    std::string file;
    bool json = false;
};

int Check(const CheckArguments& args) {
    auto store = std::make_unique<ConfigStore>();
    if (const int status = LoadConfiguration(args.file, *store)) return status;
    const MultiplexReport report = CheckMultiplex(*store);
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
    cmd->callback([args, &status] { status = Check(*args); });
});

} // namespace
} // namespace kv::cli
